#pragma once
// The colour of every value a frame's pixel can hold, taken from its colour table.

#include <array>
#include <cstdint>
#include <span>

#include "platform/Types.h"

namespace corvane {

using TIndexColors = std::array<TColor, 256>;

// table holds red, green, blue bytes per entry (at most 256 entries are used). Values at
// or above the entry count are black, so hostile pixel data never reads outside the table.
TIndexColors IndexColors(std::span<const uint8_t> table);

}  // namespace corvane
