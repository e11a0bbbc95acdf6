#pragma once
// What the import fuzz targets do with an input: load it with the reader registered for
// an extension and, when it loads and is not too large, draw it into a 24-bit bitmap.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imageimport/ImportedPicture.h"
#include "imageimport/PictureFormats.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/PictureRegistry.h"
#include "platform/Stream.h"

namespace corvane::fuzz {

constexpr int64_t kMaxFuzzPixels = int64_t(1) << 22;

// Pictures above 4 M pixels are refused, far within the fuzzer's memory limit and small
// enough to keep the runs fast. Called once, from LLVMFuzzerInitialize.
inline void LimitImportPixelsForFuzzing() { SetImportPixelLimit(kMaxFuzzPixels); }

inline void LoadAndDraw(const char* extension, const uint8_t* data, size_t size) {
  static const bool registered = (RegisterAllPictureFormats(), true);
  (void)registered;
  try {
    auto picture = FindFileFormat(extension)->Create();
    TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    picture->LoadFromStream(stream);
    // The JPEG object keeps limits of its own.
    if (int64_t(picture->Width()) * picture->Height() > kMaxFuzzPixels) return;
    TBitmap bitmap(picture->Width(), picture->Height(), TPixelFormat::pf24bit);
    bitmap.Canvas().Draw(0, 0, *picture);
  } catch (const EPlatformError&) {
  }
}

}  // namespace corvane::fuzz
