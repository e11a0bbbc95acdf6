// Drawing a whole image: its palette, the still bitmap and the drawing slot of the picture,
// which draws the first frame or plays the animation through a painter.

#include "GIFImageDrawing.h"

#include <string>

#include "gifrender/GIFFrameDrawing.h"
#include "gifrender/GIFImagePainters.h"
#include "gifrender/GIFPainter.h"
#include "gifrender/GIFRenderer.h"
#include "gifrender/WebPalette.h"
#include "platform/Canvas.h"
#include "platform/Display.h"
#include "platform/FlagScope.h"
#include "platform/Synchronize.h"

namespace corvane {

namespace {

// Displays of 8 bits per pixel or fewer show at most 256 colours at once.
bool PaletteDisplay() { return DisplayBitsPerPixel() < 9; }

// Waits until the painter has shown its first frame; its steps run in this wait, and its
// release clears the active painter.
void WaitForFirstFrame(const TGIFImage& image, const TGIFPainter* painter) {
  while (image.FActivePainter == painter && !painter->FirstShown())
    if (!CheckSynchronize(10)) YieldProcessor();
}

void DrawAnimated(TGIFImage& image, TCanvas& canvas, const TRect& rect) {
  auto lock = image.LockPainterList();
  if (image.FActivePainter && image.FActivePainter->PaintsOn(canvas, rect)) return;
  StopActivePainter(image);
  TCanvas* paintCanvas = &canvas;
  TRect paintRect = rect;
  bool direct = image.DrawFlags & dfDirect;
  if (!direct) {
    // The still bitmap starts with what the target shows, so transparent parts keep it.
    TBitmap& still = BlankStillBitmap(image);
    paintRect = Bounds(0, 0, still.Width(), still.Height());
    still.Canvas().CopyRect(paintRect, canvas.Target(), rect);
    paintCanvas = &still.Canvas();
  }
  StartPainter(image, image.FActivePainter, *paintCanvas, image.DrawFlags, paintRect);
  TGIFPainter* painter = image.FActivePainter;
  if (!painter) return;
  painter->ResumePainter();
  if (direct) return;
  WaitForFirstFrame(image, painter);
  DrawStill(image, canvas, rect);
}

}  // namespace

TStillPicture& StillPicture(TGIFImage& image) {
  std::unique_ptr<TGIFImageDrawing>& drawing = image.Drawing();
  if (!drawing) {
    // The codec drops what is kept here through the hook.
    InstallGIFRenderer();
    drawing = std::make_unique<TStillPicture>();
  }
  return static_cast<TStillPicture&>(*drawing);
}

bool NeedsDither(const TGIFImage& image) {
  return (image.DrawFlags & dfDither) && (!(image.DrawFlags & dfDitherOnPaletteDisplay) || PaletteDisplay());
}

TColor PaintFillColor(const TGIFImage& image) {
  if (image.FDrawFillColor != clNone) return ColorToRGB(image.FDrawFillColor);
  if (image.Header().GlobalTable().EntryCount() == 0) return ColorToRGB(clWindow);
  return image.ScreenBackgroundColor();
}

TPalette ImagePalette(TGIFImage& image) {
  const TBitmap* still = StillPicture(image).Bitmap.get();
  if (still && still->PaletteRef()) return still->PaletteRef();
  if (image.ScreenPalette()) return image.ScreenPalette();
  if (NeedsDither(image)) {
    image.KeepScreenPalette(WebPalette216());
  } else if (image.Header().GlobalTable().EntryCount() > 0) {
    image.KeepScreenPalette(image.Header().GlobalTable().PlatformPalette());
  } else {
    if (image.Empty()) return nullptr;
    return FramePalette(image.Frame(0));
  }
  return image.ScreenPalette();
}

TGIFBudgetReservation ReserveBitmap(const TGIFImage& image, int width, int height, TPixelFormat format) {
  return {image.BudgetAccount(), int64_t(TBitmap::StrideFor(width, format)) * height};
}

TBitmap& BlankStillBitmap(TGIFImage& image) {
  DropStill(image);
  image.CheckDrawableSize();
  TPalette palette = ImagePalette(image);
  const int width = image.Width(), height = image.Height();
  const TPixelFormat format = PaletteDisplay() ? TPixelFormat::pf8bit : TPixelFormat::pf24bit;
  TStillPicture& picture = StillPicture(image);
  picture.Reserved = ReserveBitmap(image, width, height, format);
  auto still = std::make_unique<TBitmap>(width, height, format);
  still->SetPalette(std::move(palette));
  still->Canvas().BrushColor = PaintFillColor(image);
  still->Canvas().FillRect(Bounds(0, 0, width, height));
  still->OnChange = [&image](TGraphic&) { image.Changed(); };
  picture.Bitmap = std::move(still);
  return *picture.Bitmap;
}

TBitmap* StillBitmap(TGIFImage& image) {
  if (image.Empty()) return nullptr;
  TStillPicture& picture = StillPicture(image);
  if (picture.Bitmap) return picture.Bitmap.get();
  TGIFSubImage& first = image.Frame(0);
  const TBitmap* rendered =
      first.FrameWidth() == image.Width() && first.FrameHeight() == image.Height() ? FrameBitmap(first) : nullptr;
  if (!rendered) {
    TBitmap& still = BlankStillBitmap(image);
    DrawFrame(first, still.Canvas(), Bounds(0, 0, image.Width(), image.Height()), false, false);
    return &still;
  }
  picture.Reserved = ReserveBitmap(image, rendered->Width(), rendered->Height(), rendered->PixelFormat());
  auto still = std::make_unique<TBitmap>();
  still->CopyFrom(*rendered);
  still->OnChange = [&image](TGraphic&) { image.Changed(); };
  picture.Bitmap = std::move(still);
  return picture.Bitmap.get();
}

void DropStill(TGIFImage& image) {
  {
    auto lock = image.LockPainterList();
    if (image.FActivePainter) image.FActivePainter->StopPainter();
  }
  if (!image.Drawing()) return;
  TStillPicture& picture = StillPicture(image);
  picture.Bitmap.reset();
  picture.Reserved.Release();
}

void DrawStill(TGIFImage& image, TCanvas& canvas, const TRect& rect) {
  const TBitmap* still = StillPicture(image).Bitmap.get();
  if (!still) return;
  TRect source = Bounds(0, 0, still->Width(), still->Height());
  if (!(image.DrawFlags & dfTile)) {
    canvas.CopyRect(rect, *still, source);
    return;
  }
  if (source.IsEmpty()) return;
  for (int64_t x = rect.Left; x < rect.Right; x += source.Right)
    for (int64_t y = rect.Top; y < rect.Bottom; y += source.Bottom)
      canvas.CopyRect(Bounds(int(x), int(y), source.Right, source.Bottom), *still, source);
}

void DrawImage(TGIFImage& image, TCanvas& canvas, const TRect& rect) {
  TStillPicture& picture = StillPicture(image);
  if (picture.DrawBusy || image.Empty()) return;
  TFlagScope busy(picture.DrawBusy);
  if (image.FrameCount() == 1 || !(image.DrawFlags & dfAnimate)) {
    DrawFrame(image.Frame(0), canvas, rect, image.DrawFlags & dfTile, image.DrawFlags & dfTransparent);
    return;
  }
  if (picture.Bitmap && !(image.DrawFlags & dfDirect)) {
    DrawStill(image, canvas, rect);
    return;
  }
  DrawAnimated(image, canvas, rect);
}

bool CopyImageTo(TGIFImage& image, TPersistent& target) {
  auto* bitmap = dynamic_cast<TBitmap*>(&target);
  if (!bitmap) return false;
  // Making the still bitmap renders and caches it.
  if (const TBitmap* still = StillBitmap(image))
    bitmap->CopyFrom(*still);
  else
    bitmap->SetSize(0, 0);
  return true;
}

}  // namespace corvane
