#include "LzwClearPlan.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>

namespace corvane {

namespace {
// Codes coded past the cycle's cheapest end before the run gives up looking for a cheaper one.
constexpr size_t kPatience = 1024;
// The same for noise, whose cheapest end comes before the codes first widen.
constexpr size_t kGrowingPatience = 64;
// Codes a cycle may hold before it is cut at its cheapest end, which bounds the memory of a run.
constexpr size_t kLongestCycle = size_t(1) << 20;
// The ends a look-ahead tries besides the cheapest, as fractions of the cheapest's codes.
constexpr double kLookAheadEnds[] = {0.7, 1.3};
// The next cycle's codes a look-ahead counts: until its table is full and half as long again,
// long enough to show how well a fresh table fits the picture that follows.
constexpr size_t kLookAheadHalfTables = 3;
// The pixels a plan may code for each pixel of the frame while it searches for cycle ends (a
// look-ahead on real pictures: up to about 13); past it, cycles end when the table is full.
// Smaller frames count as kSmallestBudget pixels: a look-ahead's probes code one and a half
// tables whatever the frame's size.
constexpr size_t kSearchBudget = 24;
constexpr size_t kSmallestBudget = size_t(1) << 16;

// The bits of count codes after a clear and of the clear code that ends them.
int64_t CycleBits(int minCodeSize, size_t count) {
  return TFlexibleLzwRun::CodeBits(minCodeSize, count) + TFlexibleLzwRun::CodeWidth(minCodeSize, count);
}

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
    return double(CycleBits(FRun.MinCodeSize(), count)) / double(FRun.Ends()[count - 1] - FRun.Start());
  }

 private:
  TFlexibleLzwRun& FRun;
  size_t FCut = 0;
  double FLowest = std::numeric_limits<double>::infinity();
};

// Chooses a cycle's end among the cheapest and kLookAheadEnds around it by the bits per pixel of
// the cycle together with the first codes of a fresh table after it.
class TLookAhead {
 public:
  explicit TLookAhead(const TLzwInput& input) : FProbe(input) {}

  size_t PixelsCoded() const { return FProbe.PixelsCoded(); }

  // Codes on to the latest end Cut may take.
  static void Extend(TFlexibleLzwRun& run, size_t cheapest) {
    const auto latest = size_t(double(cheapest) * kLookAheadEnds[std::size(kLookAheadEnds) - 1]);
    while (!run.Done() && !run.Crowded() && run.Codes().size() < latest) run.Step();
  }

  size_t Cut(const TFlexibleLzwRun& run, size_t cheapest) {
    size_t best = cheapest;
    double lowest = Rate(run, cheapest);
    for (double fraction : kLookAheadEnds) {
      const auto cut = size_t(double(cheapest) * fraction);
      if (cut == 0 || cut > run.Codes().size()) continue;
      const double rate = Rate(run, cut);
      if (rate >= lowest) continue;
      lowest = rate;
      best = cut;
    }
    return best;
  }

 private:
  double Rate(const TFlexibleLzwRun& run, size_t cut) {
    FProbe.Restart(run.Ends()[cut - 1]);
    const size_t window = FProbe.CodesUntilFull() * kLookAheadHalfTables / 2;
    while (!FProbe.Done() && !FProbe.Crowded() && FProbe.Codes().size() < window) FProbe.Step();
    const size_t next = FProbe.Codes().size();
    const int minCodeSize = run.MinCodeSize();
    const int64_t bits = CycleBits(minCodeSize, cut) + (next ? CycleBits(minCodeSize, next) : 0);
    const size_t end = next ? FProbe.Ends()[next - 1] : FProbe.Start();
    return double(bits) / double(end - run.Start());
  }

  TFlexibleLzwRun FProbe;
};

// Plans from the cycles begun holds on (from the first pixel when it holds none), up to cycle
// number cycles of those it adds.
//
// After a clear the table grows until it is full; the full table then codes on as long as it
// pays. Cycles of growth and frozen coding repeat, so the frame is cheapest when each cycle ends
// where its bits per pixel are lowest. The run goes on until no new low has come for kPatience
// codes and is cut back to the lowest point. Where the first table, once full, takes more bits
// per pixel than a code just after a clear (noise, which LZW expands), cycles may also end while
// the table grows, before its codes widen; elsewhere the table always grows until it is full,
// since a cheap start would cut off the longer strings a full table finds. That is the greedy
// search; the others move its ends (see TClearSearch). Searching codes the pixels past each
// end again: on pictures crafted so that the cheapest ends come early, every cycle would code
// a whole table for a few codes kept, so a plan that has spent its budget ends the rest of its
// cycles at full.
TLzwPlan Plan(const TLzwInput& input, size_t cycles, TClearSearch search, TLzwPlan begun) {
  const uint16_t clear = uint16_t(1 << input.MinCodeSize);
  std::vector<uint16_t> codes = std::move(begun.Codes);
  codes.push_back(clear);
  TFlexibleLzwRun run(input);
  run.Restart(begun.Pixels);
  std::optional<TLookAhead> lookAhead;
  if (search == TClearSearch::LookAhead) lookAhead.emplace(input);
  bool endsWhileGrowing = begun.NoiseLike;
  bool first = begun.Pixels == 0;
  const size_t budget = kSearchBudget * std::max(input.Count, kSmallestBudget);
  for (size_t cycleCount = 1;; ++cycleCount) {
    const bool spent = run.PixelsCoded() + (lookAhead ? lookAhead->PixelsCoded() : 0) > budget;
    const bool atFull = search == TClearSearch::AtFull || spent;
    TCycle cycle(run);
    cycle.Extend([&](const TCycle& c) {
      if (atFull) return !run.Full();
      return c.Cut() == 0 || (!endsWhileGrowing && !run.Full()) || c.SinceCut() < (endsWhileGrowing ? kGrowingPatience : kPatience);
    });
    if (first && run.Full()) endsWhileGrowing = cycle.Average(run.CodesUntilFull()) > input.MinCodeSize + 1;
    first = false;
    const bool looksAhead = lookAhead && !endsWhileGrowing && !atFull;
    if (looksAhead) TLookAhead::Extend(run, cycle.Cut());
    if (run.Done()) {
      codes.insert(codes.end(), run.Codes().begin(), run.Codes().end());
      return {std::move(codes), input.Count, endsWhileGrowing};
    }
    size_t cut = looksAhead ? lookAhead->Cut(run, cycle.Cut()) : cycle.Cut();
    if (atFull && run.Full()) cut = run.Codes().size();
    codes.insert(codes.end(), run.Codes().begin(), run.Codes().begin() + long(cut));
    const size_t end = run.Ends()[cut - 1];
    if (cycleCount == cycles) return {std::move(codes), end, endsWhileGrowing};
    codes.push_back(clear);
    run.Restart(end);
  }
}

}  // namespace

TLzwPlan PlanLzwCodes(const TLzwInput& input, size_t cycles, TClearSearch search) {
  return Plan(input, cycles, search, {});
}

TLzwPlan ContinueLzwPlan(const TLzwInput& input, TLzwPlan begun) {
  return Plan(input, SIZE_MAX, TClearSearch::Greedy, std::move(begun));
}

}  // namespace corvane
