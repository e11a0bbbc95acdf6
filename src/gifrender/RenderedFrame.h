#pragma once
// TRenderedFrame: what the renderer keeps of a frame: the 8-bit bitmap of its colour
// indices, the transparency mask and the palette they are shown with.

#include <memory>

#include "gif/GIFRenderHook.h"
#include "gif/GIFSubImage.h"
#include "platform/Bitmap.h"
#include "platform/MaskBitmap.h"
#include "platform/Palette.h"

namespace corvane {

class TRenderedFrame final : public TGIFFrameDrawing {
 public:
  void DropBitmap() override { Bitmap.reset(); }
  void DropMask() override {
    Mask.reset();
    MaskPending = true;
  }
  bool DropPalette() override;
  void CopyBitmapTo(std::unique_ptr<TGIFFrameDrawing>& target) const override;

  std::unique_ptr<TBitmap> Bitmap;
  // Bit 1 where a pixel is transparent; none when no pixel is.
  std::unique_ptr<TMaskBitmap> Mask;
  // The mask is made with the next rendering.
  bool MaskPending = true;
  TPalette FramePalette;
};

// The frame's drawings, made on first use.
TRenderedFrame& RenderedFrame(TGIFSubImage& frame);
// None before the frame is drawn.
const TRenderedFrame* RenderedFrameOf(const TGIFSubImage& frame);

}  // namespace corvane
