#pragma once
// TReduceProgress: the step count of one ReduceFileSize run and its "Optimizing..." reports
// through the image's progress event.

#include <cstdint>

#include "platform/Graphic.h"

namespace corvane {

class TGIFImage;

class TReduceProgress {
 public:
  // total: the steps of the whole run.
  TReduceProgress(TGIFImage& image, int64_t total) : FImage(image), FTotal(total) {}

  void Step(int64_t count = 1) { FDone += count; }
  // Reports the share of the steps done so far, rounded to the nearest percent.
  void Report(TProgressStage stage = TProgressStage::psRunning);
  // Reports a fixed percentage.
  void Report(TProgressStage stage, uint8_t percent);

  int64_t Done() const { return FDone; }

 private:
  TGIFImage& FImage;
  int64_t FTotal;
  int64_t FDone = 0;
};

}  // namespace corvane
