#include "RLEEncoder.h"

#include <cmath>

namespace corvane {
namespace {

// The number of codes a run of count pixels takes when coded from a fresh clear with run
// lengths 1, 2, 3 …, the lengths starting again after every budget codes.
int64_t RunCost(int64_t count, int64_t budget) {
  int64_t perClear = budget * (budget + 1) / 2;
  int64_t cost = count / perClear * budget;
  count %= perClear;
  if (count > 0) {
    // The smallest n with n(n+1)/2 >= count.
    auto n = int64_t(std::sqrt(2.0 * double(count)));
    while (n > 0 && n * (n + 1) >= 2 * count) --n;
    while (n * (n + 1) < 2 * count) ++n;
    cost += n;
  }
  return cost;
}

}  // namespace

void TRLEEncoder::EncodeBody() {
  FWidenAtStart = FClearValue - 1;
  FClearAtStart = FMinCodeSize <= 3 ? 9 : FClearValue - 2;
  FCodeBudget = 4095 - FFirstFree;
  EmitClear();
  FRunPixel = -1;
  int64_t runLength = 0;
  do {
    int pixel = TakePixel();
    if (runLength > 0 && pixel != FRunPixel) {
      EmitRun(runLength);
      runLength = 0;
    }
    if (pixel == FRunPixel) {
      ++runLength;
    } else {
      FRunPixel = pixel;
      runLength = 1;
    }
  } while (AdvancePixel());
  EmitRun(runLength);
}

void TRLEEncoder::EmitClear() {
  FWidenAt = FWidenAtStart;
  FClearAt = FClearAtStart;
  FCodesSinceClear = 0;
  FLongestRun = 0;
  TGIFEncoder::EmitClear();
  FCodeSize = FStartCodeSize;
}

// Emits a code that defines a decoder entry, widening where the decoder widens: after
// FClearValue − 1 codes, then each time a further 2^(w − 1) codes have been emitted, w being
// the widened width.
void TRLEEncoder::EmitCounted(int code) {
  FJustCleared = false;
  EmitCode(code);
  ++FCodesSinceClear;
  if (FCodesSinceClear == FWidenAt) {
    ++FCodeSize;
    FWidenAt += 1 << (FCodeSize - 1);
  }
  if (FCodesSinceClear == FClearAt) EmitClear();
}

void TRLEEncoder::RestoreClearLimit() {
  FClearAt = FClearAtStart;
  if (FCodesSinceClear >= FClearAt) EmitClear();
}

void TRLEEncoder::EmitRun(int64_t count) {
  if (count == 1) {
    EmitCounted(FRunPixel);
  } else if (FJustCleared) {
    EmitRunAfterClear(count);
  } else if (FLongestRun >= 2 && FLongestRunPixel == FRunPixel) {
    EmitRunFromTable(count);
  } else {
    EmitRunClearOrRepeat(count);
  }
}

// Codes runs of growing length 1, 2, 3 …, each defining the next longer run in the decoder.
void TRLEEncoder::EmitRunAfterClear(int64_t count) {
  LiftClearLimit();
  FLongestRunPixel = FRunPixel;
  int64_t length = 1;
  while (count > 0) {
    if (length == 1) {
      FLongestRun = 1;
      EmitCounted(FRunPixel);
      count -= 1;
    } else if (length <= count) {
      FLongestRun = int(length);
      EmitCounted(RunCode(length));
      count -= length;
    } else {
      ++FLongestRun;
      EmitCounted(RunCode(count));
      break;
    }
    length = FCodesSinceClear == 0 ? 1 : length + 1;
  }
  RestoreClearLimit();
}

void TRLEEncoder::EmitRunClearOrRepeat(int64_t count) {
  if (RunCost(count, FCodeBudget) + 1 < count) {
    EmitClear();
    EmitRunAfterClear(count);
    return;
  }
  for (int64_t i = 0; i < count; ++i) EmitCounted(FRunPixel);
}

// Repeats the longest run the table holds, falling back to a clear when that is cheaper.
void TRLEEncoder::EmitRunFromTable(int64_t count) {
  int64_t longest = FLongestRun;
  int64_t repeats = count / longest;
  int64_t rest = count % longest;
  int64_t restCost = rest > 0 ? 1 : 0;
  if (FCodesSinceClear + repeats + restCost > FCodeBudget) {
    repeats = FCodeBudget - FCodesSinceClear;
    rest = count - repeats * longest;
    restCost = RunCost(rest, FCodeBudget) + 1;
  }
  if (RunCost(count, FCodeBudget) + 1 < repeats + restCost) {
    EmitClear();
    EmitRunAfterClear(count);
    return;
  }
  LiftClearLimit();
  for (int64_t i = 0; i < repeats; ++i) EmitCounted(RunCode(longest));
  if (rest > 0) {
    if (FJustCleared) {
      EmitRunAfterClear(rest);
    } else {
      EmitCounted(RunCode(rest));
    }
  }
  RestoreClearLimit();
}

}  // namespace corvane
