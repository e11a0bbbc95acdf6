#pragma once
// Chooses where a flexibly parsed LZW stream clears its table: the codes of a whole frame.

#include <cstdint>
#include <vector>

#include "gif/FlexibleLzwRun.h"

namespace corvane {

enum class TIncompressible { Code, GiveUp };

// The codes of the frame, clear codes included and the first one, without the end code. With
// GiveUp, none when the code size is 8 or more and the first table takes more bits per pixel
// than a code after a clear has: data that LZW expands, such as noise, where a table holds
// too few of the pairs of pixel values for any parse or clear to gain what it costs (measured:
// below 0.1 %). Smaller code sizes gain even on noise, from keeping the full table.
std::vector<uint16_t> PlanLzwCodes(const TLzwInput& input, TIncompressible incompressible);

}  // namespace corvane
