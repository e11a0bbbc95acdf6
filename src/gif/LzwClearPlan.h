#pragma once
// Chooses where a flexibly parsed LZW stream clears its table: the codes of a whole frame.

#include <cstdint>
#include <vector>

#include "gif/FlexibleLzwRun.h"

namespace corvane {

// The codes of the frame, clear codes included and the first one, without the end code.
std::vector<uint16_t> PlanLzwCodes(const TLzwInput& input);

}  // namespace corvane
