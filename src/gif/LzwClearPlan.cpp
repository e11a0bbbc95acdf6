#include "LzwClearPlan.h"

#include <limits>

namespace corvane {

namespace {
// Codes coded past the cycle's cheapest end before the run gives up looking for a cheaper one.
constexpr size_t kPatience = 1024;
// The same for noise, whose cheapest end comes before the codes first widen.
constexpr size_t kGrowingPatience = 64;
// Codes a cycle may hold before it is cut at its cheapest end, which bounds the memory of a run.
constexpr size_t kLongestCycle = size_t(1) << 20;

// One cycle of a plan: the run from its restart on, cut where its bits per pixel, the clear
// code after it included, are lowest.
class TCycle {
 public:
  explicit TCycle(TFlexibleLzwRun& run) : FRun(run) {}

  // Codes while goOn says so to go on, keeping the cheapest end so far.
  template <typename TGoOn>
  void Extend(TGoOn goOn) {
    while (!FRun.Done() && !FRun.Crowded() && FRun.Codes().size() < kLongestCycle && goOn(*this)) {
      FRun.Step();
      const double now = Average(FRun.Codes().size());
      if (now >= FLowest) continue;
      FLowest = now;
      FCut = FRun.Codes().size();
    }
  }
  size_t Cut() const { return FCut; }
  size_t SinceCut() const { return FRun.Codes().size() - FCut; }
  double Average(size_t count) const {
    const int minCodeSize = FRun.MinCodeSize();
    const int64_t bits = TFlexibleLzwRun::CodeBits(minCodeSize, count) + TFlexibleLzwRun::CodeWidth(minCodeSize, count);
    return double(bits) / double(FRun.Ends()[count - 1] - FRun.Start());
  }

 private:
  TFlexibleLzwRun& FRun;
  size_t FCut = 0;
  double FLowest = std::numeric_limits<double>::infinity();
};

}  // namespace

// After a clear the table grows until it is full; the full table then codes on as long as it
// pays. Cycles of growth and frozen coding repeat, so the frame is cheapest when each cycle ends
// where its bits per pixel are lowest. The run goes on until no new low has come for kPatience
// codes and is cut back to the lowest point. Where the first table, once full, takes more bits
// per pixel than a code just after a clear (noise, which LZW expands), cycles may also end while
// the table grows, before its codes widen; elsewhere the table always grows until it is full,
// since a cheap start would cut off the longer strings a full table finds.
TLzwPlan PlanLzwCodes(const TLzwInput& input, size_t cycles) {
  const uint16_t clear = uint16_t(1 << input.MinCodeSize);
  std::vector<uint16_t> codes{clear};
  TFlexibleLzwRun run(input);
  run.Restart(0);
  bool endsWhileGrowing = false;
  bool first = true;
  for (size_t cycleCount = 1;; ++cycleCount) {
    TCycle cycle(run);
    cycle.Extend([&](const TCycle& c) {
      return c.Cut() == 0 || (!endsWhileGrowing && !run.Full()) || c.SinceCut() < (endsWhileGrowing ? kGrowingPatience : kPatience);
    });
    if (first && run.Full()) endsWhileGrowing = cycle.Average(run.CodesUntilFull()) > input.MinCodeSize + 1;
    first = false;
    if (run.Done()) {
      codes.insert(codes.end(), run.Codes().begin(), run.Codes().end());
      return {std::move(codes), input.Count};
    }
    codes.insert(codes.end(), run.Codes().begin(), run.Codes().begin() + long(cycle.Cut()));
    const size_t end = run.Ends()[cycle.Cut() - 1];
    if (cycleCount == cycles) return {std::move(codes), end};
    codes.push_back(clear);
    run.Restart(end);
  }
}

}  // namespace corvane
