#include "RenderTestSupport.h"

#include "gif/GIFExtensions.h"
#include "gifrender/GIFRenderer.h"
#include "platform/Display.h"

namespace corvane::test {

namespace {

// The images of these tests draw through the renderer from the first test on.
const bool kRendererInstalled = (InstallGIFRenderer(), true);

}  // namespace

std::unique_ptr<TGIFImage> MakeImage(int width, int height) {
  auto image = std::make_unique<TGIFImage>();
  for (TColor color : {kBlack, kRed, kGreen, kBlue, kWhite}) image->Header().GlobalTable().AppendColor(color);
  image->SetWidth(width);
  image->SetHeight(height);
  return image;
}

TGIFSubImage& AddSolidFrame(TGIFImage& image, const TRect& bounds, uint8_t index, int disposal, int delay,
                            int transparentIndex) {
  TGIFSubImage& frame =
      AddFrame(image, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), TBytes(size_t(bounds.Width() * bounds.Height()), index));
  if (disposal >= 0) AddControl(frame, disposal, delay, transparentIndex);
  return frame;
}

void AddLoop(TGIFSubImage& frame, int repeatCount) { AddExtension<TGIFAppExtNSLoop>(frame).FRepeatCount = uint16_t(repeatCount); }

std::unique_ptr<TBitmap> FilledBitmap(int width, int height, TColor color) {
  auto bitmap = std::make_unique<TBitmap>(width, height, TPixelFormat::pf24bit);
  bitmap->Canvas().BrushColor = color;
  bitmap->Canvas().FillRect(Bounds(0, 0, width, height));
  return bitmap;
}

std::vector<TColor> Colors(const TBitmap& bitmap) {
  std::vector<TColor> colors;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) colors.push_back(bitmap.PixelColor(x, y));
  return colors;
}

TDisplayScope::TDisplayScope(int bits) : FSaved(DisplayBitsPerPixel()) { SetDisplayBitsPerPixel(bits); }

TDisplayScope::~TDisplayScope() { SetDisplayBitsPerPixel(FSaved); }

std::vector<TShownPicture> TPlayRecorder::Play(TGIFImage& image, TColor background) {
  std::vector<TShownPicture> shown;
  // A play that has ended leaves its last picture, which later draws show.
  image.DropStillBitmap();
  image.FPaintClock = &Clock;
  image.DrawFlags &= uint16_t(~dfThreaded);
  image.OnPaintAfter = [&](TGIFPainter& painter) {
    shown.push_back({painter.FrameIndex(), Clock.Now(), Colors(painter.PaintCanvas().Target())});
  };
  auto target = FilledBitmap(image.Width(), image.Height(), background);
  image.Draw(target->Canvas(), Bounds(0, 0, image.Width(), image.Height()));
  image.OnPaintAfter = nullptr;
  return shown;
}

std::vector<int> TPlayRecorder::Frames(TGIFImage& image) {
  std::vector<int> frames;
  for (const TShownPicture& picture : Play(image)) frames.push_back(picture.Frame);
  return frames;
}

}  // namespace corvane::test
