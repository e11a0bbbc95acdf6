// Fuzz target: the picture readers chosen by extension. The first input byte picks the
// extension, the rest is the file; a picture that loads is drawn into a 24-bit bitmap.

#include "ImportFuzzing.h"

namespace {

constexpr const char* kExtensions[] = {"jpg", "png", "tif", "bmp", "ico", "pcx", "pcd", "psd", "tga", "sgi", "cut",
                                       "rla", "wmf", "ppm", "pgm", "pbm", "cel", "pic", "psp", "emf", "pal"};

}  // namespace

// ImageMagick keeps caches for the life of the process; they are not leaks of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libMagickCore\nleak:libMagick++\nleak:libgomp\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  corvane::fuzz::LimitImportPixelsForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  corvane::fuzz::LoadAndDraw(kExtensions[data[0] % std::size(kExtensions)], data + 1, size - 1);
  return 0;
}
