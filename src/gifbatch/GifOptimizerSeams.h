#pragma once
// The optimizer and the verifier as the program runs them on a list.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "gif/GIFCodec.h"
#include "gifopt/ReduceSteps.h"

namespace corvane {

// A pass of the program: ReduceFileSize with the steps and no colour reduction
// (reduction method 0, dither kind 0, 8 bits).
void ReduceForList(TGIFImage& image, TReduceSteps steps);

// The check before a file is replaced: how the new encoding looks different from the
// original in viewers, in words, or nothing when both show the same animation.
std::optional<std::string> VisibleDifference(std::span<const uint8_t> original, std::span<const uint8_t> encoding);

}  // namespace corvane
