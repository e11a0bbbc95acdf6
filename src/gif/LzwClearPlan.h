#pragma once
// Chooses where a flexibly parsed LZW stream clears its table: the codes of a whole frame.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gif/FlexibleLzwRun.h"

namespace corvane {

struct TLzwPlan {
  std::vector<uint16_t> Codes;  // clear codes included and the first one, without the end code
  size_t Pixels = 0;            // the pixels they code
};

// The codes of the frame, or of its first cycles: from the first clear up to (not including)
// the clear that starts cycle number cycles.
TLzwPlan PlanLzwCodes(const TLzwInput& input, size_t cycles = SIZE_MAX);

}  // namespace corvane
