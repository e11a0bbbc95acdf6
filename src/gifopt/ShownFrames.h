#pragma once
// TShownFrames: the frames a new encoding of an animation needs, each a picture the animation
// shows with the delay to write for it. Consecutive frames that show the same picture become
// one whose delay is the sum of theirs, but only where every delay is 2 or more: viewers
// disagree on delays of 0 and 1 (browsers show them as 10, others as given), so such a sum
// would read differently under the two rules.

#include <cstdint>
#include <vector>

#include "gifopt/AnimationComposer.h"

namespace corvane {

class TShownFrames {
 public:
  TShownFrames(const TGIFImage& image, TColorKey key) : FComposer(image, std::move(key)) {}

  // Moves to the next frame; false when none is left.
  bool Next();

  int Width() const { return FComposer.Width(); }
  int Height() const { return FComposer.Height(); }
  // Width × Height screen values, rows from top to bottom; 0 is transparent.
  const std::vector<TRGBA>& Picture() const { return FPicture; }
  // Hundredths of a second, as written in a control extension.
  uint16_t Delay() const { return FDelay; }
  // The index of the first frame of the image that this frame stands for.
  int FirstFrame() const { return FFirst; }

 private:
  TAnimationComposer FComposer;
  TGIFBudgetReservation FPictureReserved = FComposer.ReserveScreen();
  bool FAhead = false;  // the composer has drawn a frame that belongs to the next one
  std::vector<TRGBA> FPicture;
  uint16_t FDelay = 0;
  int FFirst = 0;
};

}  // namespace corvane
