#pragma once
// Process-wide caps on the pixel memory of GIF frames, so that a hostile file cannot make the
// reader allocate more than a picture may take. Both are checked before any allocation.

#include <cstdint>

namespace corvane {

struct TGIFPixelLimits {
  int64_t FramePixels = int64_t(1) << 28;  // pixels of one frame
  int64_t ImageBytes = int64_t(1) << 31;   // pixel bytes of all frames of one image
};

TGIFPixelLimits GIFPixelLimits();
void SetGIFPixelLimits(const TGIFPixelLimits& limits);

}  // namespace corvane
