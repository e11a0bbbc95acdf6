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
  bool NoiseLike = false;       // cycles may end while the table grows (see PlanLzwCodes)
};

// How a cycle's end is chosen. Greedy: where the cycle's own bits per pixel are lowest.
// AtFull: as soon as the table is full, as the default encoder clears. LookAhead: among ends
// around the greedy one, the one after which the cycle and the start of the next code the
// most pixels per bit, so that a region of the picture tends to fall into one table. Each is
// the smallest on some pictures; looking ahead costs up to four times the coding.
enum class TClearSearch { Greedy, AtFull, LookAhead };

// The codes of the frame, or of its first cycles: from the first clear up to (not including)
// the clear that starts cycle number cycles. Looking ahead plans noise-like frames greedily.
TLzwPlan PlanLzwCodes(const TLzwInput& input, size_t cycles = SIZE_MAX,
                      TClearSearch search = TClearSearch::Greedy);
// The greedy plan of the whole frame, going on from the plan of its first cycles.
TLzwPlan ContinueLzwPlan(const TLzwInput& input, TLzwPlan begun);

}  // namespace corvane
