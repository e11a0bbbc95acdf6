#pragma once
// Trimming: a transparent frame loses the outer rows and columns that hold only its
// transparent index, and a frame that holds nothing else is removed from the animation.

#include "gifopt/ReduceSteps.h"

namespace corvane {

class TGIFImage;
class TGIFSubImage;
class TReduceProgress;
struct TRect;

// The smallest rectangle (frame coordinates) that holds every pixel of the frame that differs
// from its transparent index; empty when there is none. The whole frame for a blank or
// opaque frame.
TRect KeptRectangle(const TGIFSubImage& frame);

// Crops a transparent frame to KeptRectangle; a frame that holds only its transparent index
// is cleared (ClearFrame) and left blank.
void TrimTransparentBorders(TGIFSubImage& frame);

// Trims every transparent frame from the last to the first where the animation stays the
// same, and removes those that show nothing, their time going to the previous frame, unless
// they hold blocks the keep bits of steps keep.
void TrimTransparentFrames(TGIFImage& image, TReduceProgress& progress, TReduceSteps steps = 0);

}  // namespace corvane
