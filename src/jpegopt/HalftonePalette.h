#pragma once
// The palette a true-colour picture is shown through on a display of 256 colours or fewer.

#include "platform/Palette.h"

namespace corvane {

// A 6 × 6 × 6 colour cube followed by a ramp of 40 greys, 8 between each two of the
// cube's greys: 256 entries.
TPalette HalftonePalette();

}  // namespace corvane
