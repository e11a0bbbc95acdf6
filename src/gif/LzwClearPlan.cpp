#include "LzwClearPlan.h"

namespace corvane {

namespace {
// The codes over which the frozen table's current rate is taken.
constexpr size_t kRateWindow = 192;
}  // namespace

// After a clear the table grows until it is full; the full table then codes on as long as it
// pays. Over one cycle of growth and frozen coding the cost per pixel is lowest about where
// the frozen table's current rate (bits per pixel over the last codes) reaches the cycle's
// average rate, clear code included: beyond it each pixel costs more than a fresh cycle's.
std::vector<uint16_t> PlanLzwCodes(const TLzwInput& input) {
  const int minCodeSize = input.MinCodeSize;
  const uint16_t clear = uint16_t(1 << minCodeSize);
  std::vector<uint16_t> codes{clear};
  TFlexibleLzwRun run(input);
  run.Restart(0);
  while (true) {
    while (!run.Done() && !run.Full() && !run.Crowded()) run.Step();
    const size_t fullAt = run.Codes().size();
    while (!run.Done() && !run.Crowded()) {
      run.Step();
      const size_t count = run.Codes().size();
      if (count - fullAt < kRateWindow) continue;
      const auto& ends = run.Ends();
      double cycleBits = double(TFlexibleLzwRun::CodeBits(minCodeSize, count) + TFlexibleLzwRun::CodeWidth(minCodeSize, count));
      double average = cycleBits / double(run.Position() - run.Start());
      double current = double(TFlexibleLzwRun::kMaxCodeSize * kRateWindow) / double(run.Position() - ends[count - 1 - kRateWindow]);
      if (current > average) break;
    }
    codes.insert(codes.end(), run.Codes().begin(), run.Codes().end());
    if (run.Done()) return codes;
    codes.push_back(clear);
    run.Restart(run.Position());
  }
}

}  // namespace corvane
