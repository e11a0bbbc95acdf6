#pragma once
// ReduceFileSize: makes a loaded GIF smaller in place, with the animation left as viewers
// show it, before it is written again.

#include <cstdint>

#include "gifopt/ReduceSteps.h"

namespace corvane {

class TGIFImage;

// Runs the chosen steps: colour-table packing, the transparency check and disposal review,
// masking, trimming and the final clean-up, reporting "Optimizing..." through the image's
// progress event. The image's painters are stopped first and its painter list stays locked
// throughout. ditherKind and targetBitDepth are accepted and not used: no colours are
// reduced. Raises "Invalid reduction method" for reductionMethod 9 with rsLowerColorDepth
// and without rsDropRedundant, after the other steps ran. An image without frames is left
// alone.
void ReduceFileSize(TGIFImage& image, TReduceSteps steps, uint8_t reductionMethod, int ditherKind,
                    int targetBitDepth);

}  // namespace corvane
