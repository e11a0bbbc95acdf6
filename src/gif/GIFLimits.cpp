#include "GIFLimits.h"

#include <atomic>

namespace corvane {

namespace {
std::atomic<int64_t> gFramePixels{TGIFPixelLimits{}.FramePixels};
std::atomic<int64_t> gImageBytes{TGIFPixelLimits{}.ImageBytes};
}  // namespace

TGIFPixelLimits GIFPixelLimits() { return {gFramePixels.load(), gImageBytes.load()}; }

void SetGIFPixelLimits(const TGIFPixelLimits& limits) {
  gFramePixels = limits.FramePixels;
  gImageBytes = limits.ImageBytes;
}

}  // namespace corvane
