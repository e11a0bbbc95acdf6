#include "ReduceProgress.h"

#include "gif/GIFCodec.h"
#include "gif/GIFStreamIO.h"

namespace corvane {

void TReduceProgress::Report(TProgressStage stage) { Report(stage, RoundedPercent(FDone, FTotal)); }

void TReduceProgress::Report(TProgressStage stage, uint8_t percent) {
  FImage.Progress(&FImage, stage, percent, false, TRect{}, "Optimizing...");
}

}  // namespace corvane
