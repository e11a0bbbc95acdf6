#include "RenderedFrame.h"

#include "gifrender/GIFRenderer.h"

namespace corvane {

bool TRenderedFrame::DropPalette() {
  if (!FramePalette) return false;
  FramePalette = nullptr;
  if (!Bitmap || !Bitmap->PaletteRef()) return false;
  DropBitmap();
  return true;
}

void TRenderedFrame::CopyBitmapTo(std::unique_ptr<TGIFFrameDrawing>& target) const {
  if (!Bitmap) return;
  if (!target) target = std::make_unique<TRenderedFrame>();
  auto& copy = static_cast<TRenderedFrame&>(*target);
  copy.Bitmap = std::make_unique<TBitmap>();
  copy.Bitmap->CopyFrom(*Bitmap);
}

TRenderedFrame& RenderedFrame(TGIFSubImage& frame) {
  std::unique_ptr<TGIFFrameDrawing>& drawing = frame.Drawing();
  if (!drawing) {
    // The codec drops what is kept here through the hook.
    InstallGIFRenderer();
    drawing = std::make_unique<TRenderedFrame>();
  }
  return static_cast<TRenderedFrame&>(*drawing);
}

const TRenderedFrame* RenderedFrameOf(const TGIFSubImage& frame) {
  return static_cast<const TRenderedFrame*>(frame.Drawing());
}

}  // namespace corvane
