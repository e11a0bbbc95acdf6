// Plays arbitrary bytes that load as a GIF file, as 'corvane frames' does: without a thread,
// on a virtual clock, into a target of the screen's size and into a stretched one. The
// input's size picks the display depth, transparency and tiling. Only the refusal of a
// picture without colour tables may leave the drawing.

#include <cstdint>
#include <vector>

#include "gif/GIFPainter.h"
#include "platform/Canvas.h"
#include "platform/Display.h"

namespace {

using namespace corvane;

void Play(TGIFImage& image, int width, int height) {
  TBitmap target(width, height);
  image.DropStillBitmap();
  image.Draw(target.Canvas(), Bounds(0, 0, width, height));
  TBitmap still;
  still.CopyFrom(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool limited = [] {
    SetGIFPixelLimits({int64_t(1) << 20, int64_t(1) << 23});
    return true;
  }();
  (void)limited;
  TGIFImage image;
  image.FWarningHandler = [](const TPersistent*, int, const std::string&) {};
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  try {
    image.LoadFromStream(stream);
  } catch (const GIFException&) {
  }
  // Screens of up to 1 M pixels: the still bitmap and the painter's buffers stay small.
  if (image.Empty() || int64_t(image.Width()) * image.Height() > (int64_t(1) << 20)) return 0;
  SetDisplayBitsPerPixel(size % 2 ? 8 : 24);
  TVirtualClock clock;
  image.FPaintClock = &clock;
  image.DrawFlags &= uint16_t(~(dfThreaded | dfLoop));
  if (size & 2) image.DrawFlags &= uint16_t(~dfTransparent);
  if (size & 4) image.DrawFlags |= dfTile;
  try {
    Play(image, image.Width(), image.Height());
    Play(image, 37, 23);
    for (int i = 0; i < image.FrameCount(); ++i) {
      TBitmap frame;
      frame.CopyFrom(image.Frame(i));
    }
  } catch (const GIFException& e) {
    if (std::string(e.what()) != "No global or local color table defined") throw;
  }
  return 0;
}
