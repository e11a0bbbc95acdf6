// The painters of an image: starting one, and stopping the active one or all of them.

#include "gif/GIFImage.h"
#include "gif/GIFPainter.h"
#include "platform/Exceptions.h"
#include "platform/Synchronize.h"

namespace corvane {

namespace {

// Lets the painters' queued steps, their releases among them, run on this thread.
void ServePainters() {
  if (!CheckSynchronize(10)) YieldProcessor();
}

}  // namespace

void TGIFImage::StartPainter(TGIFPainter*& slot, TCanvas& canvas, uint16_t flags, const TRect& rect) {
  slot = nullptr;
  if (Empty() || rect.IsEmpty()) return;
  if (FrameCount() == 1) flags &= uint16_t(~(dfThreaded | dfAnimate));
  if ((flags & dfThreaded) && !IsMainThread())
    throw EThread("Animations that play on a thread of their own are drawn on the user-interface thread only");
  auto lock = LockPainterList();
  auto painter = std::make_unique<TGIFPainter>(*this, canvas, rect, flags, slot);
  FPainterList.push_back(painter.get());
  slot = painter.get();
  if (painter->IsThreaded()) {
    painter->SetPriority(TThreadPriority(std::min<int>(FPainterPriority, int(TThreadPriority::tpTimeCritical))));
    // From here on the painter frees itself once it has run.
    painter.release();
    return;
  }
  painter->RunAnimation();
  painter->ReleasePainter();
  painter->RaisePendingError();
}

void TGIFImage::StopActivePainter() {
  for (;;) {
    auto lock = LockPainterList();
    TGIFPainter* painter = FActivePainter;
    if (!painter) break;
    painter->StopPainter();
    if (!painter->IsThreaded()) break;
    lock.unlock();
    ServePainters();
  }
  DropStillBitmap();
}

void TGIFImage::StopAllPainters() {
  for (;;) {
    auto lock = LockPainterList();
    int threaded = 0;
    for (TGIFPainter* painter : FPainterList) {
      if (painter->IsThreaded()) ++threaded;
      painter->StopPainter();
    }
    if (threaded == 0) break;
    lock.unlock();
    ServePainters();
  }
  DropStillBitmap();
}

}  // namespace corvane
