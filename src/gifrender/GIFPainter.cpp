#include "GIFPainter.h"

#include <algorithm>
#include <limits>

#include "gif/GIFAppExtensions.h"
#include "gif/GIFExtensions.h"
#include "gifrender/GIFFrameDrawing.h"
#include "gifrender/GIFImageDrawing.h"
#include "platform/Canvas.h"
#include "platform/Synchronize.h"

namespace corvane {

namespace {

// Non-threaded waits sleep in steps of at most this, serving the queued work between them.
constexpr int64_t kSleepStepMs = 100;
// The wait when the speed is 0 or less (non-threaded) or the arithmetic overflows.
constexpr int64_t kFallbackWaitMs = 12000;

// n / d rounded to the nearest, halves away from zero; d > 0.
int64_t RoundedDivide(int64_t n, int64_t d) { return n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d); }

std::unique_ptr<TBitmap> BufferLike(const TBitmap& target, const TRect& rect, TColor fill) {
  auto buffer = std::make_unique<TBitmap>(rect.Width(), rect.Height(), target.PixelFormat());
  buffer->SetPalette(target.PaletteRef());
  buffer->Canvas().BrushColor = fill;
  buffer->Canvas().FillRect(Bounds(0, 0, rect.Width(), rect.Height()));
  return buffer;
}

std::unique_ptr<TBitmap> CopyOfTarget(const TBitmap& target, const TRect& rect, TColor fill) {
  auto buffer = BufferLike(target, rect, fill);
  TRect visible = Intersect(rect, Bounds(0, 0, target.Width(), target.Height()));
  if (!visible.IsEmpty())
    buffer->Canvas().CopyRect(Bounds(visible.Left - rect.Left, visible.Top - rect.Top, visible.Width(), visible.Height()),
                              target, visible);
  return buffer;
}

}  // namespace

TGIFPainter::TGIFPainter(TGIFImage& image, TCanvas& canvas, const TRect& rect, uint16_t flags, TGIFPainter*& ownerSlot)
    : FPaintImage(&image),
      FPaintCanvas(&canvas),
      FPaintRect(rect),
      FPaintFlags(flags),
      FSpeedPercent(image.FPlaybackPercent),
      FOwnerSlot(&ownerSlot),
      FOnPaintStart(image.OnPaintStart),
      FOnPaintFrame(image.OnPaintFrame),
      FOnPaintAfter(image.OnPaintAfter),
      FOnPaintLoop(image.OnPaintLoop),
      FOnPaintEnd(image.OnPaintEnd),
      FFillColor(PaintFillColor(image)),
      FClock(IsThreaded() || !image.FPaintClock ? &RealClock() : image.FPaintClock) {
  if (IsThreaded() && (flags & dfAnimate) && image.FrameCount() > 1 && FSpeedPercent >= 0)
    FWakeEvent = std::make_unique<TEvent>();
  if (flags & dfCheckCanvas) FCanvasHandle = canvas.Target().Liveness();
  MakeBuffers(image);
  if (IsThreaded()) {
    SetFreeOnTerminate(true);
    OnTerminate = [](TThread& thread) { static_cast<TGIFPainter&>(thread).ReleasePainter(); };
  }
}

TGIFPainter::~TGIFPainter() { ReleasePainter(); }

void TGIFPainter::MakeBuffers(const TGIFImage& image) {
  unsigned disposals = 0;
  for (int i = 0; i < image.FrameCount(); ++i) {
    const TGIFExtensionList& extensions = image.Frame(i).Extensions();
    for (int j = 0; j < extensions.MemberCount(); ++j)
      if (const auto* control = dynamic_cast<const TGIFGraphicControlExtension*>(&extensions.Extension(j)))
        disposals |= 1u << control->Disposal();
  }
  if (FPaintFlags & dfClearOnLoop) disposals |= 1u << dmRestoreBackground;
  const TBitmap& target = FPaintCanvas->Target();
  const bool underlay = (disposals & (1u << dmRestoreBackground)) && (FPaintFlags & dfTransparent);
  const bool work = disposals & ((1u << dmRestoreBackground) | (1u << dmRestorePrevious));
  const int buffers = (underlay ? 1 : 0) + (work ? 2 : 0);
  FBuffersReserved = ReserveBitmap(image, FPaintRect.Width(), FPaintRect.Height() * buffers, target.PixelFormat());
  if (underlay) FUnderlay = CopyOfTarget(target, FPaintRect, FFillColor);
  if (work) {
    FWorkBuffer = CopyOfTarget(target, FPaintRect, FFillColor);
    FScratchBuffer = BufferLike(target, FPaintRect, FFillColor);
  }
}

template <typename F>
void TGIFPainter::OnUiThread(F&& work) {
  if (IsThreaded())
    Synchronize(work);
  else
    work();
}

void TGIFPainter::Fire(const TGIFPaintEvent& event) {
  if (event) OnUiThread([&] { event(*this); });
}

void TGIFPainter::StopPainter() {
  Terminate();
  if (!IsThreaded()) return;
  if (FWakeEvent) FWakeEvent->SetEvent();
  SetPriority(TThreadPriority::tpNormal);
  if (Suspended()) Resume();
}

void TGIFPainter::ReleasePainter() {
  if (FReleased) return;
  FReleased = true;
  if (FPaintImage) {
    auto lock = FPaintImage->LockPainterList();
    if (FOwnerSlot && *FOwnerSlot == this) *FOwnerSlot = nullptr;
    std::erase(FPaintImage->PainterList(), this);
  }
  FPaintImage = nullptr;
  FOwnerSlot = nullptr;
  FWorkBuffer.reset();
  FScratchBuffer.reset();
  FUnderlay.reset();
  FBuffersReserved.Release();
  FWakeEvent.reset();
}

void TGIFPainter::ForgetImage() {
  FPaintImage = nullptr;
  FOwnerSlot = nullptr;
}

void TGIFPainter::RaisePendingError() {
  if (std::exception_ptr error = std::exchange(FPendingError, nullptr)) std::rethrow_exception(error);
}

void TGIFPainter::RunAnimation() {
  try {
    FFrameIndex = 0;
    Fire(FOnPaintStart);
    FFirstShown = false;
    FPassesLeft = 1;
    FRestartFrame = 0;
    FLoopSeen = false;
    FDelay = IsThreaded() ? 0 : 1;
    FPrevDisposal = dmKeep;
    FLastTime = FClock->Now();
    FLastWait = 0;
    bool looping = (FPaintFlags & dfAnimate) && (FPaintFlags & dfLoop);
    while ((FPassesLeft != 0 || (FPaintFlags & dfLoopForever)) && !Stopped()) {
      bool played = PlayPass();
      if (FPassesLeft > 0) --FPassesLeft;
      // A pass without a frame to show would repeat without delays.
      if (!looping || !played) break;
    }
    FFrameIndex = -1;
    Fire(FOnPaintEnd);
  } catch (...) {
    Terminate();
    FPendingError = std::current_exception();
  }
}

bool TGIFPainter::PlayPass() {
  FFrameIndex = FRestartFrame;
  if (FFirstShown) Fire(FOnPaintLoop);
  bool played = false;
  do {
    if (!FramePlayable() || Stopped()) break;
    Delay();
    if (Stopped()) break;
    Fire(FOnPaintFrame);
    OnUiThread([this] { ShowFrame(); });
    played = true;
    if (Stopped()) break;
    int shown = FFrameIndex;
    Fire(FOnPaintAfter);
    if (FFrameIndex == shown) ++FFrameIndex;
  } while (FPaintFlags & dfAnimate);
  return played;
}

bool TGIFPainter::FramePlayable() {
  bool playable = false;
  OnUiThread([&] {
    int index = FFrameIndex;
    playable = FPaintImage && index >= 0 && index < FPaintImage->FrameCount() && !FPaintImage->Frame(index).IsBlank();
  });
  return playable;
}

void TGIFPainter::Delay() {
  if (FDelay < 1) {
    YieldProcessor();
    return;
  }
  // The frame is rendered during the wait before it is shown.
  OnUiThread([this] {
    if (FPaintImage) FrameBitmap(FPaintImage->Frame(FFrameIndex));
  });
  int64_t wait = ComputeWait(FClock->Now());
  if (IsThreaded())
    WaitThreaded(wait);
  else
    WaitNonThreaded(wait);
}

int64_t TGIFPainter::ComputeWait(int64_t now) {
  int64_t wait;
  if (FSpeedPercent < 1) {
    wait = IsThreaded() ? kUnlimited : kFallbackWaitMs;
  } else {
    // Half of the time the previous frame overran its wait comes off this one.
    int64_t overrun = now - FLastTime - FLastWait;
    wait = RoundedDivide((int64_t(FDelay) * kDelayUnitMs - overrun / 2) * 100, FSpeedPercent);
    if (wait < std::numeric_limits<int32_t>::min() || wait > std::numeric_limits<int32_t>::max()) {
      wait = kFallbackWaitMs;
      FLastWait = 0;
    } else {
      FLastWait = wait;
    }
  }
  FLastTime = now;
  return wait;
}

void TGIFPainter::WaitThreaded(int64_t wait) {
  // Without an event (a negative speed) the painter does not wait at all.
  if (!FWakeEvent || (wait <= 0 && FSpeedPercent != 0)) return;
  uint32_t milliseconds = wait == kUnlimited ? kInfinite : uint32_t(std::min<int64_t>(wait, kInfinite - 1));
  if (FWakeEvent->WaitFor(milliseconds) == TWaitResult::wrSignaled) {
    FLastWait = 0;
    FLastTime = FClock->Now();
  }
}

void TGIFPainter::WaitNonThreaded(int64_t wait) {
  int64_t remaining = std::max<int64_t>(wait, 1);
  while (remaining > 0 && !Stopped()) {
    int64_t start = FClock->Now();
    FClock->Sleep(uint32_t(std::min(remaining, kSleepStepMs)));
    if (IsMainThread()) CheckSynchronize();
    remaining -= FClock->Now() - start;
  }
}

void TGIFPainter::ShowFrame() {
  int index = FFrameIndex;
  if (!FPaintImage || index < 0 || index >= FPaintImage->FrameCount()) return;
  TGIFSubImage& frame = FPaintImage->Frame(index);
  ScanExtensions(frame);
  if (TargetGone()) {
    StopPainter();
  } else if (!Stopped() && !frame.IsBlank()) {
    if (FWorkBuffer)
      PaintFrameWithDisposal(frame);
    else
      PaintFramePlain(frame);
  }
  FPrevDisposal = FDisposal;
  FDelay = NextDelay(frame);
}

void TGIFPainter::ScanExtensions(const TGIFSubImage& frame) {
  FDisposal = dmKeep;
  const TGIFExtensionList& extensions = frame.Extensions();
  for (int i = 0; i < extensions.MemberCount(); ++i) {
    const TGIFExtension& extension = extensions.Extension(i);
    if (const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(&extension)) {
      if (FLoopSeen) continue;
      FLoopSeen = true;
      bool endless = loop->FRepeatCount == 0 || ((FPaintFlags & dfLoopForever) && IsThreaded());
      FPassesLeft = endless ? -1 : loop->FRepeatCount;
      FRestartFrame = FFrameIndex;
    } else if (const auto* control = dynamic_cast<const TGIFGraphicControlExtension*>(&extension)) {
      FDisposal = control->Disposal();
    }
  }
}

int TGIFPainter::NextDelay(const TGIFSubImage& frame) const {
  int delay = 10;
  if (const TGIFGraphicControlExtension* control = frame.ControlBlock(); control && control->DelayTime() != 0)
    delay = control->DelayTime();
  delay = std::max(delay, 3);
  if (delay > 1000 && !IsThreaded()) delay = 1000;
  return delay;
}

bool TGIFPainter::TargetGone() const { return (FPaintFlags & dfCheckCanvas) && FCanvasHandle.expired(); }

void TGIFPainter::PaintFramePlain(TGIFSubImage& frame) {
  DrawFrame(frame, *FPaintCanvas, FPaintRect, FPaintFlags & dfTile, FPaintFlags & dfTransparent);
  FFirstShown = true;
}

void TGIFPainter::PaintFrameWithDisposal(TGIFSubImage& frame) {
  TRect whole = Bounds(0, 0, FWorkBuffer->Width(), FWorkBuffer->Height());
  TBitmap* composeIn = nullptr;
  bool restore = false;
  switch (FDisposal) {
    case dmUnspecified:
    case dmKeep:
      composeIn = FWorkBuffer.get();
      break;
    case dmRestoreBackground:
      composeIn = FWorkBuffer.get();
      restore = true;
      break;
    case dmRestorePrevious:
      if (FPrevDisposal > dmRestorePrevious) return;
      if (FPrevDisposal >= dmRestoreBackground) {
        FScratchBuffer->CopyFrom(*FWorkBuffer);
        composeIn = FScratchBuffer.get();
      }
      break;
    default:
      return;  // reserved disposal values are not drawn
  }
  if ((FPaintFlags & dfClearOnLoop) && FFrameIndex == 0) RestoreFrameArea(frame);
  bool tile = FPaintFlags & dfTile, transparent = FPaintFlags & dfTransparent;
  if (composeIn) {
    DrawFrame(frame, composeIn->Canvas(), whole, tile, transparent);
    FPaintCanvas->CopyRect(FPaintRect, *composeIn, whole);
  } else {
    // Restore to previous after a frame that stays: the work buffer keeps the picture before it.
    DrawFrame(frame, *FPaintCanvas, FPaintRect, tile, transparent);
  }
  if (restore) RestoreFrameArea(frame);
  FFirstShown = true;
}

void TGIFPainter::RestoreFrameArea(const TGIFSubImage& frame) {
  TCanvas& canvas = FWorkBuffer->Canvas();
  bool fromUnderlay = (FPaintFlags & dfTransparent) && FUnderlay;
  auto restore = [&](const TRect& area) {
    if (fromUnderlay) {
      canvas.CopyRect(area, *FUnderlay, area);
    } else {
      canvas.BrushColor = FFillColor;
      canvas.FillRect(area);
    }
  };
  TRect whole = Bounds(0, 0, FWorkBuffer->Width(), FWorkBuffer->Height());
  if (FPaintFlags & dfTile)
    ForEachTile(frame, whole, restore);
  else
    restore(FrameTargetRect(frame, whole));
}

}  // namespace corvane
