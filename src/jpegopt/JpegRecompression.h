#pragma once
// The JPG tab's result rebuilt from the source bitmap: one job with the settings in force
// when it was asked for, run on any thread, and TJpegRecompressor, which runs jobs on a
// worker thread of its own and makes only the latest of those asked for meanwhile.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "JPEGImage.h"
#include "LatestJobWorker.h"

namespace corvane {

struct TJpegRecompressJob {
  std::shared_ptr<const TBitmap> Source;  // nobody changes it while jobs may read it
  int Quality = 60;
  // The radio buttons' settings; none for the first result after Open, which keeps the
  // defaults.
  std::optional<TJPEGPixelFormat> ColourDepth;
  std::optional<bool> GreyMode;
  std::filesystem::path TemporaryFile;
  // Decodes the result here rather than when its pane first paints it: for drawing into
  // a pane of PaneWidth by PaneHeight, or the whole picture while they are 0.
  bool Decode = false;
  int PaneWidth = 0;
  int PaneHeight = 0;
};

struct TJpegRecompressResult {
  std::unique_ptr<TJPEGImage> Shown;  // as loaded back from the temporary file
  int64_t Size = 0;                   // its bytes, as the pane would save them
};

// Compresses the source at the job's settings, writes the temporary file (this is where
// "Cannot create file %s" arises) and loads it back. Inside the library's work and between
// its steps it asks whether the job is still wanted, and raises EAbort when it is not.
TJpegRecompressResult RunRecompressJob(const TJpegRecompressJob& job,
                                       const std::function<bool()>& superseded = [] { return false; });

// Runs RunRecompressJob on a worker thread of its own.
using TJpegRecompressor = TLatestJobWorker<TJpegRecompressJob, TJpegRecompressResult>;

}  // namespace corvane
