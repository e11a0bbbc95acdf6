#pragma once
// The deep optimization level: a new encoding of an animation made from the pictures it shows
// rather than from its frames. Each frame covers only what changes on the screen, with the
// disposal of the frame before it chosen to make that least; pixels that stay the same are
// transparent or repeated, whichever codes smaller; one global table ordered by use holds the
// colours where it can, and each frame is coded with the fewest bits its indices need.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "gifopt/ReduceSteps.h"

namespace corvane {

class TGIFImage;

// The new encoding of image, read from source, once the verifier finds that it shows the same
// animation; none when the image cannot be encoded this way. The blocks that the keep bits of
// kept keep (rsKeepComments, rsKeepAppBlocks) are written as read, in their order, before the
// new frame that shows their frame's picture; a kept loop extension replaces the one written
// for the animation.
std::optional<std::vector<uint8_t>> DeepEncode(const TGIFImage& image, std::span<const uint8_t> source,
                                               TReduceSteps kept = 0);
// The same, unchecked.
std::optional<std::vector<uint8_t>> DeepEncodeUnchecked(const TGIFImage& image, TReduceSteps kept = 0);

}  // namespace corvane
