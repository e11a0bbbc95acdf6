#pragma once
// The steps that drop what has no effect on the animation: transparency that no pixel uses,
// disposals that make no difference, and the blocks and frames that show nothing.

#include "gifopt/ReduceSteps.h"

namespace corvane {

class TGIFExtension;
class TGIFImage;
class TGIFSubImage;
class TReduceProgress;

// Whether the keep bits of steps keep the extension.
bool IsKeptBlock(const TGIFExtension& extension, TReduceSteps steps);
bool HoldsKeptBlock(const TGIFSubImage& frame, TReduceSteps steps);

// Clears the transparency of every frame whose pixels do not hold its transparent index.
void ClearUnusedTransparency(TGIFImage& image, TReduceProgress& progress);

// Sets the disposal of a frame that restores to background or to previous to none where the
// next frame paints over all of it: that frame is opaque, holds the whole frame, and does not
// restore to previous itself.
void ReviewDisposals(TGIFImage& image, TReduceProgress& progress);

// From the last frame to the first: drops comments, plain text and unknown application
// blocks; keeps the loop extension only on the first frame of an animation (moving it there
// from a later frame); frees control extensions without effect; removes frames that show and
// carry nothing. The keep bits of steps keep their blocks as they are.
void DropRedundantBlocks(TGIFImage& image, TReduceProgress& progress, TReduceSteps steps = 0);

}  // namespace corvane
