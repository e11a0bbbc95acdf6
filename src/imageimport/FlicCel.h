#pragma once
// Animator Pro cels and pictures: the FLIC layout (magic 0xAF12, or 0xAF11 of the older
// animations), of which the first frame is shown: its 256 or 64-level palette and its
// run-length, copied or black pixels.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/Bitmap.h"

namespace corvane {

// Whether the bytes start like a FLIC file.
bool IsFlic(std::span<const uint8_t> bytes);
std::unique_ptr<TBitmap> DecodeFlicCel(std::span<const uint8_t> bytes);

}  // namespace corvane
