#include "Clock.h"

#include <chrono>
#include <thread>

namespace corvane {

int64_t GetTickCount() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

void Sleep(uint32_t milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

void YieldProcessor() { std::this_thread::yield(); }

TClock& RealClock() {
  class TRealClock final : public TClock {
   public:
    int64_t Now() override { return GetTickCount(); }
    void Sleep(uint32_t milliseconds) override { corvane::Sleep(milliseconds); }
  };
  static TRealClock clock;
  return clock;
}

}  // namespace corvane
