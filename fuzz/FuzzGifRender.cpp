// Plays arbitrary bytes that load as a GIF file as 'corvane frames' does, and once more into
// a stretched target. The input's size picks the display depth, transparency and tiling.
// Nothing may leave the drawing: a frame without any colour table draws black.

#include <cstdint>
#include <vector>

#include "GifFuzzLimits.h"
#include "gifrender/GIFPainter.h"
#include "gifrender/GIFPlayback.h"
#include "gifrender/GIFRenderer.h"
#include "platform/Canvas.h"
#include "platform/Display.h"

namespace {

using namespace corvane;

// Plays once more into a target of another size, the painter's pictures stretched.
void PlayStretched(TGIFImage& image) {
  TVirtualClock clock;
  image.FPaintClock = &clock;
  image.DrawFlags &= uint16_t(~(dfThreaded | dfLoop));
  TBitmap target(37, 23);
  image.DropStillBitmap();
  image.Draw(target.Canvas(), Bounds(0, 0, 37, 23));
  TBitmap still;
  still.CopyFrom(image);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LimitGifPixelsForFuzzing();
  InstallGIFRenderer();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGIFImage image;
  image.FWarningHandler = [](const TPersistent*, int, const std::string&) {};
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  try {
    image.LoadFromStream(stream);
  } catch (const GIFException&) {
  }
  // Screens of up to 1 M pixels: the still bitmap and the painter's buffers stay small.
  if (image.Empty() || image.Width() == 0 || image.Height() == 0 ||
      int64_t(image.Width()) * image.Height() > (int64_t(1) << 20))
    return 0;
  SetDisplayBitsPerPixel(size % 2 ? 8 : 24);
  if (size & 2) image.DrawFlags &= uint16_t(~dfTransparent);
  if (size & 4) image.DrawFlags |= dfTile;
  PlayOnce(image, [](const TBitmap& picture, int, int64_t) { (void)picture.ScanLine(0); });
  PlayStretched(image);
  for (int i = 0; i < image.FrameCount(); ++i) {
    TBitmap frame;
    frame.CopyFrom(image.Frame(i));
  }
  return 0;
}
