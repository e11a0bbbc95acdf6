#pragma once
// Timing for the animation painters: a steady millisecond clock, sleeping and yielding.

#include <cstdint>

namespace corvane {

// A wait time that never runs out.
constexpr uint32_t kInfinite = 0xFFFFFFFF;

// Milliseconds since an arbitrary start; never goes backwards.
int64_t GetTickCount();

void Sleep(uint32_t milliseconds);

// Lets other threads run before this one goes on.
void YieldProcessor();

}  // namespace corvane
