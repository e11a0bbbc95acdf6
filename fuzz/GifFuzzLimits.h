#pragma once
// The GIF pixel limits of the fuzz targets: frames of up to 1 M pixels, 8 MB of pixels in
// all, far within the fuzzer's memory limit and small enough to keep the runs fast. Set once
// from LLVMFuzzerInitialize.

#include <cstdint>

#include "gif/GIFLimits.h"

namespace corvane {

inline void LimitGifPixelsForFuzzing() { SetGIFPixelLimits({int64_t(1) << 20, int64_t(1) << 23}); }

}  // namespace corvane
