#pragma once
// Where a frame may show a pixel either in its own colour or as transparent (the screen beneath
// already shows that colour), picks the value that lets LZW match longer strings: a greedy
// coder's walk through its string table takes whichever value continues the current string.

#include <cstdint>
#include <span>

namespace corvane {

// values: the pixels in coding order, each free pixel holding its own colour's index. free: 1
// where the pixel may become transparent instead. Free pixels are set to their choice.
void ChooseMaskedValues(std::span<uint8_t> values, std::span<const uint8_t> free, uint8_t transparent, int codeSize);

// The same choice made for the fewest runs of equal values, the measure of a frame's simplest
// strings; ties go to the transparent index.
void ChooseFewestRuns(std::span<uint8_t> values, std::span<const uint8_t> free, uint8_t transparent);

}  // namespace corvane
