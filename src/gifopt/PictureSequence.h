#pragma once
// TPictureSequence: the pictures an animation shows, one after the other, with their display
// times. Consecutive frames that leave the screen the same make one picture whose time is
// the sum of theirs, so that a frame which shows nothing new adds only time.

#include <cstdint>
#include <vector>

#include "gifopt/AnimationComposer.h"

namespace corvane {

class TPictureSequence {
 public:
  explicit TPictureSequence(const TGIFImage& image) : FComposer(image) {}

  // Moves to the next picture; false when none is left.
  bool Next();

  int Width() const { return FComposer.Width(); }
  int Height() const { return FComposer.Height(); }
  // Width × Height pixels, rows from top to bottom.
  const std::vector<TRGBA>& Picture() const { return FPicture; }
  // Hundredths of a second.
  int64_t Time() const { return FTime; }
  // The frame that first showed the picture.
  int FirstFrame() const { return FFirstFrame; }

 private:
  TAnimationComposer FComposer;
  TGIFBudgetReservation FPictureReserved = FComposer.ReserveScreen();
  bool FAhead = false;  // the composer has drawn a frame that belongs to the next picture
  std::vector<TRGBA> FPicture;
  int64_t FTime = 0;
  int FFirstFrame = -1;
};

}  // namespace corvane
