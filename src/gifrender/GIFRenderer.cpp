#include "GIFRenderer.h"

#include "gifrender/GIFFrameDrawing.h"
#include "gifrender/GIFImageDrawing.h"
#include "gifrender/GIFImagePainters.h"

namespace corvane {

namespace {

class TGIFRenderer final : public TGIFRenderHook {
 public:
  void Draw(TGIFImage& image, TCanvas& canvas, const TRect& rect) override { DrawImage(image, canvas, rect); }
  TPalette Palette(TGIFImage& image) override { return ImagePalette(image); }
  bool CopyTo(TGIFImage& image, TPersistent& target) override { return CopyImageTo(image, target); }
  bool CopyTo(TGIFSubImage& frame, TPersistent& target) override { return CopyFrameTo(frame, target); }
  void DropStillPicture(TGIFImage& image) override { DropStill(image); }
  bool DropStillOfOtherPalette(TGIFImage& image) override {
    const auto* picture = static_cast<const TStillPicture*>(image.Drawing().get());
    if (!picture || !picture->Bitmap || picture->Bitmap->PaletteRef() == image.ScreenPalette()) return false;
    DropStill(image);
    return true;
  }
  void StopAllPainters(TGIFImage& image) override { StopPainters(image); }
  void ForgetImage(TGIFImage& image) override { ForgetPainters(image); }
};

}  // namespace

void InstallGIFRenderer() {
  static TGIFRenderer renderer;
  InstallGIFRenderHook(renderer);
}

}  // namespace corvane
