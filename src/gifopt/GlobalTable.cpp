#include "GlobalTable.h"

#include <algorithm>
#include <bitset>

#include "gif/GIFTypes.h"

namespace corvane {

namespace {

constexpr size_t kMaxEntries = kTableEntries;
// Frames whose colours are tried as the whole table.
constexpr size_t kTableCandidates = 16;
// Frames tried as the first of a level's greedy choice.
constexpr size_t kSeeds = 32;

using TEntrySet = std::bitset<kMaxEntries>;

// A frame's colours as places in the list of colours the table keeps.
struct TFrameSet {
  TEntrySet Colors;
  int64_t Weight = 0;
};

// Places colours level by level: within the first 2, 4, 8 … entries, less one that stays free
// for a frame's transparent pixels, the colours of a group of frames that fit there together,
// chosen to hold as many of the frames' pixels as it can, so that they code with narrow codes.
class TTablePacker {
 public:
  explicit TTablePacker(std::vector<TFrameSet> frames) : FFrames(std::move(frames)) {}

  // The kept colours' places, in table order.
  std::vector<size_t> Pack(size_t kept) {
    for (size_t level = 2; level < kMaxEntries && FOrder.size() < kept; level *= 2) Place(BestGroup(level - 1));
    TEntrySet all;
    for (size_t i = 0; i < kept; ++i) all.set(i);
    Place(all);
    return FOrder;
  }

 private:
  // Frames not yet placed that fit within room, the most pixels per colour added first.
  std::vector<const TFrameSet*> Candidates(size_t room) const {
    std::vector<std::pair<double, const TFrameSet*>> ranked;
    for (const TFrameSet& frame : FFrames) {
      const size_t missing = (frame.Colors & ~FPlaced).count();
      if (missing > 0 && (frame.Colors | FPlaced).count() <= room)
        ranked.emplace_back(double(frame.Weight) / double(missing), &frame);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<const TFrameSet*> candidates;
    for (const auto& entry : ranked) candidates.push_back(entry.second);
    return candidates;
  }

  // The colours placed when the greedy choice starts with seed.
  static TEntrySet Grow(TEntrySet placed, const std::vector<const TFrameSet*>& candidates, size_t seed, size_t room) {
    placed |= candidates[seed]->Colors;
    for (const TFrameSet* frame : candidates)
      if ((placed | frame->Colors).count() <= room) placed |= frame->Colors;
    return placed;
  }

  int64_t WeightWithin(const TEntrySet& placed) const {
    int64_t weight = 0;
    for (const TFrameSet& frame : FFrames)
      if ((frame.Colors & ~placed).none()) weight += frame.Weight;
    return weight;
  }

  TEntrySet BestGroup(size_t room) const {
    const std::vector<const TFrameSet*> candidates = Candidates(room);
    TEntrySet best = FPlaced;
    int64_t bestWeight = -1;
    for (size_t seed = 0; seed < std::min(candidates.size(), kSeeds); ++seed) {
      const TEntrySet group = Grow(FPlaced, candidates, seed, room);
      const int64_t weight = WeightWithin(group);
      if (weight > bestWeight) {
        best = group;
        bestWeight = weight;
      }
    }
    return best;
  }

  // Appends the colours of group not yet placed, in the order they are kept.
  void Place(const TEntrySet& group) {
    for (size_t i = 0; i < kMaxEntries; ++i) {
      if (!group.test(i) || FPlaced.test(i)) continue;
      FPlaced.set(i);
      FOrder.push_back(i);
    }
  }

  std::vector<TFrameSet> FFrames;
  TEntrySet FPlaced;
  std::vector<size_t> FOrder;
};

// The frames whose colours the table keeps, as sets of places.
std::vector<TFrameSet> FrameSets(const std::vector<TFrameColors>& frames, const std::vector<int16_t>& placeOf) {
  std::vector<TFrameSet> sets;
  for (const TFrameColors& frame : frames) {
    TFrameSet set{{}, frame.Weight};
    bool kept = true;
    for (TRGBA id : frame.Ids) {
      kept = placeOf[id] >= 0;
      if (!kept) break;
      set.Colors.set(size_t(placeOf[id]));
    }
    if (kept) sets.push_back(set);
  }
  return sets;
}

// The colours that frames draw, those in the most frames first.
std::vector<TRGBA> ColorsByUse(const std::vector<TColorUse>& usage) {
  std::vector<TRGBA> ids;
  for (size_t id = 1; id < usage.size(); ++id)
    if (usage[id].Pixels > 0) ids.push_back(TRGBA(id));
  std::stable_sort(ids.begin(), ids.end(), [&](TRGBA a, TRGBA b) {
    return usage[a].Frames != usage[b].Frames ? usage[a].Frames > usage[b].Frames : usage[a].Pixels > usage[b].Pixels;
  });
  return ids;
}

// Chooses colour sets of at most a table's entries that hold frames drawn only from their
// colours, measured by those frames' pixels.
class TTableChoice {
 public:
  TTableChoice(const std::vector<TFrameColors>& frames, size_t idCount) : FFrames(frames), FHeld(idCount, 0) {}

  // Grows colors by every frame, the largest first, whose colours still fit with them.
  std::vector<TRGBA> Grow(std::vector<TRGBA> colors, const std::vector<const TFrameColors*>& largestFirst) {
    for (TRGBA id : colors) FHeld[id] = 1;
    for (const TFrameColors* frame : largestFirst) {
      const auto missing = size_t(std::count_if(frame->Ids.begin(), frame->Ids.end(), [&](TRGBA id) { return !FHeld[id]; }));
      if (colors.size() + missing > kMaxEntries) continue;
      for (TRGBA id : frame->Ids)
        if (!FHeld[id]) colors.push_back(id), FHeld[id] = 1;
    }
    for (TRGBA id : colors) FHeld[id] = 0;
    return colors;
  }

  int64_t WeightHeld(const std::vector<TRGBA>& colors) {
    for (TRGBA id : colors) FHeld[id] = 1;
    int64_t weight = 0;
    for (const TFrameColors& frame : FFrames)
      if (std::all_of(frame.Ids.begin(), frame.Ids.end(), [&](TRGBA id) { return FHeld[id] != 0; }))
        weight += frame.Weight;
    for (TRGBA id : colors) FHeld[id] = 0;
    return weight;
  }

 private:
  const std::vector<TFrameColors>& FFrames;
  std::vector<uint8_t> FHeld;
};

// The colours the table keeps. Where they do not all fit, frames drawn from colour tables of
// their own often share most colours (a converter that quantizes each frame anew finds nearly
// the same palette for similar pictures): starting from each of the largest frames, the frames
// whose colours fit together are gathered, the set filled up with the most used colours, and
// the set that holds the most pixels is kept — the most used colours alone among them.
std::vector<TRGBA> KeptColors(const std::vector<TColorUse>& usage, const std::vector<TFrameColors>& frames) {
  std::vector<TRGBA> byUse = ColorsByUse(usage);
  if (byUse.size() <= kMaxEntries) return byUse;
  std::vector<uint8_t> taken(usage.size(), 0);
  auto filled = [&](std::vector<TRGBA> colors) {
    for (TRGBA id : colors) taken[id] = 1;
    for (size_t i = 0; i < byUse.size() && colors.size() < kMaxEntries; ++i)
      if (!taken[byUse[i]]) colors.push_back(byUse[i]);
    for (TRGBA id : colors) taken[id] = 0;
    return colors;
  };
  std::vector<const TFrameColors*> largestFirst;
  for (const TFrameColors& frame : frames) largestFirst.push_back(&frame);
  std::stable_sort(largestFirst.begin(), largestFirst.end(),
                   [](const TFrameColors* a, const TFrameColors* b) { return a->Weight > b->Weight; });
  TTableChoice choice(frames, usage.size());
  byUse.resize(kMaxEntries);
  std::vector<TRGBA> best = byUse;
  int64_t bestWeight = choice.WeightHeld(best);
  for (size_t i = 0; i < std::min(largestFirst.size(), kTableCandidates); ++i) {
    std::vector<TRGBA> colors = filled(choice.Grow(largestFirst[i]->Ids, largestFirst));
    if (const int64_t weight = choice.WeightHeld(colors); weight > bestWeight) {
      best = std::move(colors);
      bestWeight = weight;
    }
  }
  return best;
}

}  // namespace

int TGlobalTable::PaddedCount() const { return Ids.empty() ? 0 : 1 << DepthForCount(int(Ids.size())); }

TGlobalTable MakeGlobalTable(const std::vector<TColorUse>& usage, const std::vector<TFrameColors>& frames) {
  const std::vector<TRGBA> kept = KeptColors(usage, frames);
  std::vector<int16_t> placeOf(usage.size(), -1);
  for (size_t i = 0; i < kept.size(); ++i) placeOf[kept[i]] = int16_t(i);
  TGlobalTable table;
  for (size_t place : TTablePacker(FrameSets(frames, placeOf)).Pack(kept.size())) table.Ids.push_back(kept[place]);
  table.IndexOf.assign(usage.size(), -1);
  for (size_t i = 0; i < table.Ids.size(); ++i) table.IndexOf[table.Ids[i]] = int16_t(i);
  return table;
}

}  // namespace corvane
