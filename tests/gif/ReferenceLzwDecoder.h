#pragma once
// A deliberately plain decoder for comparison: one pixel value at a time through the prefix
// chains and an output stack, the way the format defines the decoding. The fast decoder must
// give the same pixels, pixel count, warnings, errors and stream position on any data.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Stream.h"

namespace corvane::test {

// Answers the number of pixels the data set.
size_t ReferenceDecodeLzwPixels(TStream& stream, uint8_t* pixels, int width, int height,
                                bool interlaced, std::vector<std::string>& warnings);

}  // namespace corvane::test
