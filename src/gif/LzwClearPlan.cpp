#include "LzwClearPlan.h"

namespace corvane {

namespace {
// Codes coded past the cycle's cheapest end before the run gives up looking for a cheaper one.
constexpr size_t kPatience = 1024;
// Codes a cycle may hold before it is cut at its cheapest end, which bounds the memory of a run.
constexpr size_t kLongestCycle = size_t(1) << 20;
// From this code size on the table holds at most a sixteenth of the pairs of pixel values.
constexpr int kWideCodeSize = 8;
}  // namespace

// After a clear the table grows until it is full; the full table then codes on as long as it
// pays. Cycles of growth and frozen coding repeat, so the frame is cheapest when each cycle
// ends where its bits per pixel, clear code included, are lowest. The run goes on with the full
// table until no new low has come for kPatience codes, and is cut back to the lowest point.
std::vector<uint16_t> PlanLzwCodes(const TLzwInput& input, TIncompressible incompressible) {
  const int minCodeSize = input.MinCodeSize;
  const uint16_t clear = uint16_t(1 << minCodeSize);
  std::vector<uint16_t> codes{clear};
  TFlexibleLzwRun run(input);
  run.Restart(0);
  auto average = [&](size_t count) {
    double bits = double(TFlexibleLzwRun::CodeBits(minCodeSize, count) + TFlexibleLzwRun::CodeWidth(minCodeSize, count));
    return bits / double(run.Ends()[count - 1] - run.Start());
  };
  while (true) {
    while (!run.Done() && !run.Full() && !run.Crowded()) run.Step();
    size_t cut = run.Codes().size();
    double lowest = cut > 0 ? average(cut) : 0;
    if (incompressible == TIncompressible::GiveUp && run.Start() == 0 && minCodeSize >= kWideCodeSize &&
        lowest > minCodeSize + 1)
      return {};
    while (!run.Done() && !run.Crowded() && run.Codes().size() - cut < kPatience && run.Codes().size() < kLongestCycle) {
      run.Step();
      double now = average(run.Codes().size());
      if (now >= lowest) continue;
      lowest = now;
      cut = run.Codes().size();
    }
    if (run.Done()) {
      codes.insert(codes.end(), run.Codes().begin(), run.Codes().end());
      return codes;
    }
    codes.insert(codes.end(), run.Codes().begin(), run.Codes().begin() + long(cut));
    codes.push_back(clear);
    run.Restart(run.Ends()[cut - 1]);
  }
}

}  // namespace corvane
