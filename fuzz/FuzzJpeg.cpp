// Fuzz target: a TJPEGImage loads the input as a JPEG file and decodes it, once plainly
// and once as 8-bit with every scan shown, each time after decoding it at the reduced scale
// a pane a quarter of its size draws.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "jpegopt/JPEGImage.h"
#include "platform/Stream.h"

namespace {

// Larger pictures only take time: the size caps themselves are tested elsewhere.
constexpr int64_t kMaxFuzzPixels = int64_t(1) << 22;

void Decode(const uint8_t* data, size_t size, bool palettedPasses) {
  corvane::TJPEGImage jpeg;
  corvane::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  jpeg.LoadFromStream(stream);
  if (int64_t(jpeg.Width()) * jpeg.Height() > kMaxFuzzPixels) return;
  if (palettedPasses) {
    jpeg.SetColourDepth(corvane::TJPEGPixelFormat::Depth8);
    jpeg.ShowPasses = true;
  }
  jpeg.DecodeToDraw(jpeg.Width() / 4, jpeg.Height() / 4);
  jpeg.DecodeBitmap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (bool palettedPasses : {false, true}) {
    try {
      Decode(data, size, palettedPasses);
    } catch (const corvane::EPlatformError&) {
    }
  }
  return 0;
}
