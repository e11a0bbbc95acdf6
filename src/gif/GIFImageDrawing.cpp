// Drawing a whole image: its palette, the still bitmap and the drawing slot of the picture,
// which draws the first frame or plays the animation through a painter.

#include <string>

#include "gif/GIFImage.h"
#include "gif/GIFPainter.h"
#include "gif/WebPalette.h"
#include "platform/Canvas.h"
#include "platform/Display.h"
#include "platform/FlagScope.h"
#include "platform/Synchronize.h"

namespace corvane {

namespace {

// Displays of 8 bits per pixel or fewer show at most 256 colours at once.
bool PaletteDisplay() { return DisplayBitsPerPixel() < 9; }

}  // namespace

bool TGIFImage::NeedsDither() const {
  return (DrawFlags & dfDither) && (!(DrawFlags & dfDitherOnPaletteDisplay) || PaletteDisplay());
}

TColor TGIFImage::PaintFillColor() const {
  if (FDrawFillColor != clNone) return ColorToRGB(FDrawFillColor);
  if (FHeaderBlock->GlobalTable().EntryCount() == 0) return ColorToRGB(clWindow);
  return ScreenBackgroundColor();
}

TPalette TGIFImage::Palette() {
  if (FCachedBitmap && FCachedBitmap->PaletteRef()) return FCachedBitmap->PaletteRef();
  if (FScreenPalette) return FScreenPalette;
  if (NeedsDither()) {
    FScreenPalette = WebPalette216();
  } else if (FHeaderBlock->GlobalTable().EntryCount() > 0) {
    FScreenPalette = FHeaderBlock->GlobalTable().PlatformPalette();
  } else {
    if (Empty()) return nullptr;
    return Frame(0).Palette();
  }
  return FScreenPalette;
}

void TGIFImage::CheckDrawableSize() const {
  if (int64_t(Width()) * Height() > kMaxBitmapPixels)
    throw GIFException("Image too large to draw (" + std::to_string(Width()) + " x " + std::to_string(Height()) +
                       " pixels)");
}

TBitmap& TGIFImage::BlankStillBitmap() {
  DropStillBitmap();
  CheckDrawableSize();
  TPalette palette = Palette();
  const TPixelFormat format = PaletteDisplay() ? TPixelFormat::pf8bit : TPixelFormat::pf24bit;
  FStillReserved = ReserveBitmap(Width(), Height(), format);
  auto still = std::make_unique<TBitmap>(Width(), Height(), format);
  still->SetPalette(std::move(palette));
  still->Canvas().BrushColor = PaintFillColor();
  still->Canvas().FillRect(Bounds(0, 0, Width(), Height()));
  still->OnChange = [this](TGraphic&) { Changed(); };
  FCachedBitmap = std::move(still);
  return *FCachedBitmap;
}

TBitmap* TGIFImage::StillBitmap() {
  if (Empty()) return nullptr;
  if (FCachedBitmap) return FCachedBitmap.get();
  TGIFSubImage& first = Frame(0);
  const TBitmap* rendered = first.FrameWidth() == Width() && first.FrameHeight() == Height() ? first.FrameBitmap() : nullptr;
  if (!rendered) {
    TBitmap& still = BlankStillBitmap();
    first.DrawFrame(still.Canvas(), Bounds(0, 0, Width(), Height()), false, false);
    return &still;
  }
  FStillReserved = ReserveBitmap(rendered->Width(), rendered->Height(), rendered->PixelFormat());
  auto still = std::make_unique<TBitmap>();
  still->CopyFrom(*rendered);
  still->OnChange = [this](TGraphic&) { Changed(); };
  FCachedBitmap = std::move(still);
  return FCachedBitmap.get();
}

void TGIFImage::DropStillBitmap() {
  {
    auto lock = LockPainterList();
    if (FActivePainter) FActivePainter->StopPainter();
  }
  FCachedBitmap.reset();
  FStillReserved.Release();
}

void TGIFImage::DrawStill(TCanvas& canvas, const TRect& rect) {
  if (!FCachedBitmap) return;
  TRect source = Bounds(0, 0, FCachedBitmap->Width(), FCachedBitmap->Height());
  if (!(DrawFlags & dfTile)) {
    canvas.CopyRect(rect, *FCachedBitmap, source);
    return;
  }
  if (source.IsEmpty()) return;
  for (int64_t x = rect.Left; x < rect.Right; x += source.Right)
    for (int64_t y = rect.Top; y < rect.Bottom; y += source.Bottom)
      canvas.CopyRect(Bounds(int(x), int(y), source.Right, source.Bottom), *FCachedBitmap, source);
}

void TGIFImage::Draw(TCanvas& canvas, const TRect& rect) {
  if (FDrawBusy || Empty()) return;
  TFlagScope busy(FDrawBusy);
  if (FrameCount() == 1 || !(DrawFlags & dfAnimate)) {
    Frame(0).DrawFrame(canvas, rect, DrawFlags & dfTile, DrawFlags & dfTransparent);
    return;
  }
  if (FCachedBitmap && !(DrawFlags & dfDirect)) {
    DrawStill(canvas, rect);
    return;
  }
  DrawAnimated(canvas, rect);
}

void TGIFImage::DrawAnimated(TCanvas& canvas, const TRect& rect) {
  auto lock = LockPainterList();
  if (FActivePainter && FActivePainter->PaintsOn(canvas, rect)) return;
  StopActivePainter();
  TCanvas* paintCanvas = &canvas;
  TRect paintRect = rect;
  bool direct = DrawFlags & dfDirect;
  if (!direct) {
    // The still bitmap starts with what the target shows, so transparent parts keep it.
    TBitmap& still = BlankStillBitmap();
    paintRect = Bounds(0, 0, still.Width(), still.Height());
    still.Canvas().CopyRect(paintRect, canvas.Target(), rect);
    paintCanvas = &still.Canvas();
  }
  StartPainter(FActivePainter, *paintCanvas, DrawFlags, paintRect);
  TGIFPainter* painter = FActivePainter;
  if (!painter) return;
  painter->ResumePainter();
  if (direct) return;
  WaitForFirstFrame(painter);
  DrawStill(canvas, rect);
}

void TGIFImage::WaitForFirstFrame(const TGIFPainter* painter) {
  // The painter's steps run in this wait; its release clears the active painter.
  while (FActivePainter == painter && !painter->FirstShown())
    if (!CheckSynchronize(10)) YieldProcessor();
}

void TGIFImage::CopyTo(TPersistent& target) const {
  auto* bitmap = dynamic_cast<TBitmap*>(&target);
  if (!bitmap) {
    TGraphic::CopyTo(target);
    return;
  }
  // Making the still bitmap renders and caches it.
  if (const TBitmap* still = const_cast<TGIFImage*>(this)->StillBitmap())
    bitmap->CopyFrom(*still);
  else
    bitmap->SetSize(0, 0);
}

}  // namespace corvane
