#include "GIFPlayback.h"

#include "gifrender/GIFImageDrawing.h"
#include "gifrender/GIFPainter.h"
#include "gifrender/GIFRenderer.h"
#include "platform/Canvas.h"

namespace corvane {

void CheckPlayable(const TGIFImage& image) {
  if (image.Empty()) throw GIFException("The file holds no frames");
  if (image.Width() == 0 || image.Height() == 0) throw GIFException("The logical screen has no area");
  image.CheckDrawableSize();
}

void PlayOnce(TGIFImage& image, const TPictureShown& shown) {
  InstallGIFRenderer();
  CheckPlayable(image);
  TVirtualClock clock;
  uint16_t flags = image.DrawFlags;
  image.DrawFlags = uint16_t(flags & ~(dfThreaded | dfLoop | dfLoopForever | dfDirect));
  image.FPaintClock = &clock;
  int pictures = 0;
  int64_t start = 0;
  image.OnPaintAfter = [&](TGIFPainter& painter) {
    if (pictures++ == 0) start = clock.Now();
    shown(painter.PaintCanvas().Target(), painter.FrameIndex(), clock.Now() - start);
  };
  auto restore = [&] {
    image.OnPaintAfter = nullptr;
    image.FPaintClock = nullptr;
    image.DrawFlags = flags;
  };
  try {
    // What a picture control shows behind the picture: the colour restored areas get.
    TGIFBudgetReservation reserved = ReserveBitmap(image, image.Width(), image.Height(), TPixelFormat::pf24bit);
    TBitmap target(image.Width(), image.Height());
    target.Canvas().BrushColor = PaintFillColor(image);
    TRect whole = Bounds(0, 0, image.Width(), image.Height());
    target.Canvas().FillRect(whole);
    image.DropStillBitmap();
    image.Draw(target.Canvas(), whole);
    // A still picture is drawn without a painter.
    if (pictures == 0) shown(target, 0, 0);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

}  // namespace corvane
