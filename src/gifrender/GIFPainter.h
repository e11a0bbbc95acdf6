#pragma once
// TGIFPainter: plays an image's frames into a canvas rectangle with their delays, disposal
// methods and looping. A threaded painter runs on its own thread and hands every step that
// touches the image or the canvas to the user-interface thread; a non-threaded one plays
// inside the call that starts it. Painters are made by TGIFImage::StartPainter.

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>

#include "gif/GIFImage.h"
#include "platform/Bitmap.h"
#include "platform/Clock.h"
#include "platform/Event.h"
#include "platform/Thread.h"

namespace corvane {

class TGIFPainter final : public TThread {
 public:
  // Frame delays count in units of 12 ms.
  static constexpr int kDelayUnitMs = 12;

  // On the user-interface thread. A threaded painter frees itself once it has ended;
  // ownerSlot is cleared when the painter is released.
  TGIFPainter(TGIFImage& image, TCanvas& canvas, const TRect& rect, uint16_t flags, TGIFPainter*& ownerSlot);
  ~TGIFPainter() override;

  // Plays the animation: the thread's body, or called directly for a non-threaded painter.
  void RunAnimation();
  void ResumePainter() { Resume(); }
  // Ends the animation; a threaded painter's current delay ends at once.
  void StopPainter();
  // Takes the painter out of its image's list and frees its buffers; runs once.
  void ReleasePainter();
  // Cuts the link to an image that goes away.
  void ForgetImage();
  // Raises again what stopped the animation, if anything did.
  void RaisePendingError();

  bool Stopped() const { return Terminated(); }
  bool IsThreaded() const { return (FPaintFlags & dfThreaded) != 0; }
  bool FirstShown() const { return FFirstShown; }
  bool PaintsOn(const TCanvas& canvas, const TRect& rect) const { return FPaintCanvas == &canvas && FPaintRect == rect; }
  TCanvas& PaintCanvas() { return *FPaintCanvas; }
  // The image's frame shown now, −1 when not playing. Paint event handlers may set it to
  // choose the next frame.
  int FrameIndex() const { return FFrameIndex; }
  void SetFrameIndex(int index) { FFrameIndex = index; }

 protected:
  void Execute() override { RunAnimation(); }

 private:
  // A wait that ends only when the painter is stopped.
  static constexpr int64_t kUnlimited = INT64_MAX;

  void MakeBuffers(const TGIFImage& image);
  // Runs work where the image and the canvas may be used: on the user-interface thread for
  // a threaded painter, directly otherwise.
  template <typename F>
  void OnUiThread(F&& work);
  void Fire(const TGIFPaintEvent& event);
  // One pass over the frames; answers whether any frame was played.
  bool PlayPass();
  bool FramePlayable();
  void Delay();
  int64_t ComputeWait(int64_t now);
  void WaitThreaded(int64_t wait);
  void WaitNonThreaded(int64_t wait);
  void ShowFrame();
  void ScanExtensions(const TGIFSubImage& frame);
  int NextDelay(const TGIFSubImage& frame) const;
  bool TargetGone() const;
  void PaintFramePlain(TGIFSubImage& frame);
  void PaintFrameWithDisposal(TGIFSubImage& frame);
  void RestoreFrameArea(const TGIFSubImage& frame);

  TGIFImage* FPaintImage;
  TCanvas* FPaintCanvas;
  TRect FPaintRect;
  std::atomic<int32_t> FFrameIndex{-1};
  uint16_t FPaintFlags;
  int32_t FSpeedPercent;
  std::atomic<bool> FFirstShown{false};
  TGIFBudgetReservation FBuffersReserved;
  std::unique_ptr<TBitmap> FWorkBuffer;
  std::unique_ptr<TBitmap> FScratchBuffer;
  std::unique_ptr<TBitmap> FUnderlay;
  std::unique_ptr<TEvent> FWakeEvent;
  TGIFPainter** FOwnerSlot;
  // A TGIFDisposal or one of the undefined values 4 to 7.
  uint8_t FDisposal = dmKeep;
  uint8_t FPrevDisposal = dmKeep;
  // The target bitmap, watched with dfCheckCanvas.
  std::weak_ptr<const void> FCanvasHandle;
  std::exception_ptr FPendingError;
  TGIFPaintEvent FOnPaintStart, FOnPaintFrame, FOnPaintAfter, FOnPaintLoop, FOnPaintEnd;
  TColor FFillColor;
  // Time of a non-threaded painter; a threaded one waits in real time on FWakeEvent.
  TClock* FClock;
  bool FReleased = false;

  // Playing state, kept by the painter's own thread and read by the steps it hands over.
  int FPassesLeft = 1;  // −1: without end
  int FRestartFrame = 0;
  bool FLoopSeen = false;
  int FDelay = 0;  // hundredths of a second before the next frame
  int64_t FLastTime = 0;
  int64_t FLastWait = 0;
};

}  // namespace corvane
