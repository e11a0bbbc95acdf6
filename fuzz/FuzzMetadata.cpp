// Fuzz target: the ICC profile, EXIF block and comments of a JPEG or PNG file, read as
// corvane jpeg --keep-metadata does, and written into a JPEG file.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ImportFuzzing.h"
#include "imageimport/PictureMetadata.h"
#include "jpegopt/JPEGImage.h"
#include "platform/Stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  corvane::fuzz::LimitImportPixelsForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    corvane::TJPEGImage jpeg;
    jpeg.Metadata = corvane::ReadPictureMetadata({data, size});
    jpeg.CopyFrom(corvane::TBitmap(1, 1, corvane::TPixelFormat::pf24bit));
    corvane::TMemoryStream out;
    jpeg.SaveToStream(out);
  } catch (const corvane::EPlatformError&) {
  }
  return 0;
}
