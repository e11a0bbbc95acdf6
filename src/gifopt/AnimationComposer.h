#pragma once
// TAnimationComposer: plays an animation frame by frame as web browsers and image viewers
// show it, onto an RGBA screen of the logical screen's size that starts out transparent.
// Frames without pixels are not shown; each frame follows its last control extension;
// frames are clipped to the screen; restore to background clears to transparent; colour
// indices without a table entry show black. The screens count against the image's memory
// budget.

#include <cstdint>
#include <functional>
#include <vector>

#include "gif/GIFMemoryBudget.h"
#include "gifopt/ViewerRules.h"
#include "platform/Types.h"

namespace corvane {

class TGIFImage;
class TGIFSubImage;

// Red in the low byte, alpha in the high byte; every transparent pixel is 0.
using TRGBA = uint32_t;
inline constexpr TRGBA kOpaque = 0xFF000000;

// Turns an opaque colour into the non-zero value the screen holds for it; none keeps the colour.
using TColorKey = std::function<TRGBA(TRGBA color)>;

class TAnimationComposer {
 public:
  // Screens above this many pixels are not composed.
  static constexpr int64_t kMaxScreenPixels = int64_t(1) << 26;
  static bool CanCompose(const TGIFImage& image);

  // Raises GIFException "Logical screen too large to compose" when CanCompose is false, or
  // when the budget has no room for the screen. The image must outlive the composer and
  // stay unchanged while it plays.
  explicit TAnimationComposer(const TGIFImage& image, TColorKey key = {});

  const TGIFImage& Image() const { return FImage; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // Disposes of the frame drawn last and moves to the next frame that has pixels; false
  // when none is left. The screen then shows what lies beneath that frame.
  bool NextFrame();
  // Draws the current frame: the screen then shows the picture viewers display for
  // FrameTime().
  void DrawFrame();

  int FrameIndex() const { return FIndex; }
  // Hundredths of a second.
  int FrameTime() const;
  const std::vector<TRGBA>& Screen() const { return FScreen; }
  // Reserves the bytes of one more screen-sized picture through the image's account.
  TGIFBudgetReservation ReserveScreen() const;
  // Whether every pixel of area (screen coordinates, clipped to the screen) that lies
  // outside except is transparent.
  bool IsClearOutside(const TRect& area, const TRect& except) const;

 private:
  void Dispose();
  TRect OnScreen(const TRect& rect) const;

  const TGIFImage& FImage;
  TColorKey FKey;
  int FWidth = 0;
  int FHeight = 0;
  TGIFBudgetReservation FScreenReserved;
  TGIFBudgetReservation FSavedReserved;
  std::vector<TRGBA> FScreen;
  std::vector<TRGBA> FSaved;  // the screen beneath a frame that restores to previous
  int FIndex = -1;
  bool FDrawn = false;
  TDisposalEffect FDisposal = TDisposalEffect::Keep;
};

}  // namespace corvane
