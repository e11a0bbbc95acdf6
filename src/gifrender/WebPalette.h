#pragma once
// WebPalette216: the palette that frames are dithered to on displays of 256 colours or
// fewer. Entry 36 r + 6 g + b (r, g, b from 0 to 5) is red 51 r, green 51 g, blue 51 b.

#include "platform/Palette.h"

namespace corvane {

// Distance between two neighbouring levels of a component.
constexpr int kWebLevelStep = 51;

// One palette object shared by every user.
const TPalette& WebPalette216();

}  // namespace corvane
