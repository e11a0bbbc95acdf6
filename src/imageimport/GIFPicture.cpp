#include "GIFPicture.h"

#include "gif/GIFImage.h"
#include "gifrender/GIFRenderer.h"
#include "platform/Canvas.h"
#include "platform/Stream.h"

namespace corvane {

std::unique_ptr<TBitmap> TGIFPicture::Decode(std::span<const uint8_t> bytes) {
  InstallGIFRenderer();
  TGIFImage image;
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  image.LoadFromStream(stream);
  if (image.Empty()) throw EInvalidGraphic("GIF picture holds no frames");
  CheckPictureSize(image.Width(), image.Height(), "GIF");
  auto bitmap = std::make_unique<TBitmap>(image.Width(), image.Height(), TPixelFormat::pf24bit);
  TRect whole = Bounds(0, 0, image.Width(), image.Height());
  bitmap->Canvas().BrushColor = clWhite;
  bitmap->Canvas().FillRect(whole);
  // The first frame only: no painter starts.
  image.DrawFlags &= uint16_t(~dfAnimate);
  image.Draw(bitmap->Canvas(), whole);
  return bitmap;
}

}  // namespace corvane
