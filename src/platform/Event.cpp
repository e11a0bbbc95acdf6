#include "Event.h"

#include <chrono>

namespace corvane {

void TEvent::SetEvent() {
  {
    std::lock_guard lock(FMutex);
    FSignaled = true;
  }
  FCondition.notify_one();
}

void TEvent::ResetEvent() {
  std::lock_guard lock(FMutex);
  FSignaled = false;
}

TWaitResult TEvent::WaitFor(uint32_t milliseconds) {
  std::unique_lock lock(FMutex);
  auto signaled = [this] { return FSignaled; };
  if (milliseconds == kInfinite)
    FCondition.wait(lock, signaled);
  else if (!FCondition.wait_for(lock, std::chrono::milliseconds(milliseconds), signaled))
    return TWaitResult::wrTimeout;
  FSignaled = false;
  return TWaitResult::wrSignaled;
}

}  // namespace corvane
