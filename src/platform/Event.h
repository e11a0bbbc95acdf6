#pragma once
// TEvent: an auto-reset event. SetEvent lets exactly one wait through, now or later;
// a wait that succeeds resets the event.

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "Clock.h"

namespace corvane {

enum class TWaitResult : uint8_t { wrSignaled, wrTimeout };

class TEvent {
 public:
  explicit TEvent(bool initiallySignaled = false) : FSignaled(initiallySignaled) {}
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  void SetEvent();
  void ResetEvent();
  // Waits until the event is signalled, at most milliseconds (kInfinite: without limit).
  TWaitResult WaitFor(uint32_t milliseconds = kInfinite);

 private:
  std::mutex FMutex;
  std::condition_variable FCondition;
  bool FSignaled;
};

}  // namespace corvane
