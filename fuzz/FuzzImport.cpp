// Fuzz target: the picture readers chosen by extension. The first input byte picks the
// extension, the rest is the file; a picture that loads is drawn into a 24-bit bitmap.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imageimport/PictureFormats.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/PictureRegistry.h"
#include "platform/Stream.h"

namespace {

constexpr const char* kExtensions[] = {"jpg", "png", "tif", "bmp", "ico", "pcx", "pcd", "psd", "tga", "sgi", "cut",
                                       "rla", "wmf", "ppm", "pgm", "pbm", "cel", "pic", "psp", "emf", "pal"};
constexpr int64_t kMaxFuzzPixels = int64_t(1) << 22;

}  // namespace

// ImageMagick keeps caches for the life of the process; they are not leaks of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libMagickCore\nleak:libMagick++\nleak:libgomp\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const bool registered = (corvane::RegisterAllPictureFormats(), true);
  (void)registered;
  const char* extension = kExtensions[data[0] % std::size(kExtensions)];
  try {
    auto picture = corvane::FindFileFormat(extension)->Create();
    corvane::TMemoryStream stream(std::vector<uint8_t>(data + 1, data + size));
    picture->LoadFromStream(stream);
    if (int64_t(picture->Width()) * picture->Height() > kMaxFuzzPixels) return 0;
    corvane::TBitmap bitmap(picture->Width(), picture->Height(), corvane::TPixelFormat::pf24bit);
    bitmap.Canvas().Draw(0, 0, *picture);
  } catch (const corvane::EPlatformError&) {
  }
  return 0;
}
