#pragma once
// The JPG tab's source read from a picture file, on any thread, and TJpegSourceReader, which
// reads on a worker thread of its own and only the file asked for last.

#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>

#include "JPEGImage.h"
#include "LatestJobWorker.h"

namespace corvane {

struct TJpegSource {
  std::unique_ptr<TJPEGImage> Jpeg;       // holds a copy of the drawn picture, nothing compressed
  std::shared_ptr<const TBitmap> Pixels;  // the drawn picture, which the recompressions read
  std::unique_ptr<TGraphic> Shown;        // Jpeg's copy for the source pane
  int64_t Size = 0;                       // of the file
  std::exception_ptr SizeError;           // the file's size could not be read
};

// Draws the picture in the file into a 24-bit bitmap and makes the source of it: the reader's
// error when it cannot read the file. Between its steps it asks whether it is still wanted,
// and raises EAbort when it is not.
TJpegSource ReadJpegSource(const std::filesystem::path& fileName,
                           const std::function<bool()>& superseded = [] { return false; });

using TJpegSourceReader = TLatestJobWorker<std::filesystem::path, TJpegSource>;

}  // namespace corvane
