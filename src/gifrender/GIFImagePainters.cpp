// The painters of an image: starting one, and stopping the active one or all of them.

#include "GIFImagePainters.h"

#include "gifrender/GIFImageDrawing.h"
#include "gifrender/GIFPainter.h"
#include "gifrender/GIFRenderer.h"
#include "platform/Exceptions.h"
#include "platform/Synchronize.h"

namespace corvane {

namespace {

// Lets the painters' queued steps, their releases among them, run on this thread.
void ServePainters() {
  if (!CheckSynchronize(10)) YieldProcessor();
}

}  // namespace

void StartPainter(TGIFImage& image, TGIFPainter*& slot, TCanvas& canvas, uint16_t flags, const TRect& rect) {
  slot = nullptr;
  if (image.Empty() || rect.IsEmpty()) return;
  if (image.FrameCount() == 1) flags &= uint16_t(~(dfThreaded | dfAnimate));
  if ((flags & dfThreaded) && !IsMainThread())
    throw EThread("Animations that play on a thread of their own are drawn on the user-interface thread only");
  // The codec stops and forgets painters through the hook.
  InstallGIFRenderer();
  auto lock = image.LockPainterList();
  auto painter = std::make_unique<TGIFPainter>(image, canvas, rect, flags, slot);
  image.PainterList().push_back(painter.get());
  slot = painter.get();
  if (painter->IsThreaded()) {
    painter->SetPriority(TThreadPriority(std::min<int>(image.FPainterPriority, int(TThreadPriority::tpTimeCritical))));
    // From here on the painter frees itself once it has run.
    painter.release();
    return;
  }
  painter->RunAnimation();
  painter->ReleasePainter();
  painter->RaisePendingError();
}

void StopActivePainter(TGIFImage& image) {
  for (;;) {
    auto lock = image.LockPainterList();
    TGIFPainter* painter = image.FActivePainter;
    if (!painter) break;
    painter->StopPainter();
    if (!painter->IsThreaded()) break;
    lock.unlock();
    ServePainters();
  }
  DropStill(image);
}

void StopPainters(TGIFImage& image) {
  for (;;) {
    auto lock = image.LockPainterList();
    int threaded = 0;
    for (TGIFPainter* painter : image.PainterList()) {
      if (painter->IsThreaded()) ++threaded;
      painter->StopPainter();
    }
    if (threaded == 0) break;
    lock.unlock();
    ServePainters();
  }
  DropStill(image);
}

void ForgetPainters(TGIFImage& image) {
  auto lock = image.LockPainterList();
  for (TGIFPainter* painter : image.PainterList()) painter->ForgetImage();
  image.PainterList().clear();
}

}  // namespace corvane
