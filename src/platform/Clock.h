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

// The time and sleep of code that waits in steps. RealClock is the steady clock; a
// TVirtualClock lets such code run its waits at once, its time moving only by what it sleeps.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual int64_t Now() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

TClock& RealClock();

class TVirtualClock final : public TClock {
 public:
  int64_t Now() override { return FNow; }
  void Sleep(uint32_t milliseconds) override { FNow += milliseconds; }

 private:
  int64_t FNow = 0;
};

}  // namespace corvane
