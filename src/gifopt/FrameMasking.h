#pragma once
// Masking: every pixel of a frame that shows the colour the previous frame leaves at the
// same place on the screen becomes transparent, so that the previous picture shows through.

#include <cstdint>

namespace corvane {

class TGIFImage;
class TGIFSubImage;
class TReduceProgress;

// Whether the frame's table has room for one more entry.
bool CanAddTransparentIndex(const TGIFSubImage& frame);
// A colour index that can serve as the frame's transparent index: black appended to its
// local table, else the transparent index of the first other frame that draws with the
// global table (unless the frame's own pixels hold it), else black appended to the global
// table.
uint8_t ObtainTransparentIndex(TGIFSubImage& frame);

// Masks frame against previous (none allowed). Nothing changes when previous does not stay
// on the screen (its disposal is not 0 or 1), when the two do not overlap, when the frame
// needs a transparent index that its table has no room for, or when the frame's table is
// used with indices it does not define.
void MaskUnchangedPixels(TGIFSubImage& frame, const TGIFSubImage* previous);

// Masks every frame from the last to the second against the frame that the screen shows
// before it: the previous one, or further back past frames that restore to previous.
void MaskUnchangedFrames(TGIFImage& image, TReduceProgress& progress);

}  // namespace corvane
