#include "GlobalTable.h"

#include <algorithm>

#include "gif/GIFTypes.h"

namespace corvane {

namespace {

constexpr size_t kMaxEntries = 256;

// Places colours level by level: within the first 2, 4, 8 … entries, less one that stays free
// for a frame's transparent pixels, the colours of the frames that gain most bits for each
// colour they add, so that as many pixels as possible are coded with narrow codes.
class TTablePacker {
 public:
  TTablePacker(const std::vector<TRGBA>& ids, size_t idCount) : FKept(idCount, false), FPlaced(idCount, false) {
    for (TRGBA id : ids) FKept[id] = true;
  }

  std::vector<TRGBA> Pack(const std::vector<TRGBA>& ids, const std::vector<TFrameColors>& frames) {
    for (size_t level = 2; level < kMaxEntries && FOrder.size() < ids.size(); level *= 2) PlaceLevel(frames, level - 1);
    for (TRGBA id : ids) Place(id);
    return std::move(FOrder);
  }

 private:
  size_t Missing(const TFrameColors& frame) const {
    size_t missing = 0;
    for (TRGBA id : frame.Ids) {
      if (!FKept[id]) return kMaxEntries;
      missing += !FPlaced[id];
    }
    return missing;
  }

  void PlaceLevel(const std::vector<TFrameColors>& frames, size_t room) {
    std::vector<std::pair<double, const TFrameColors*>> gains;
    for (const TFrameColors& frame : frames) {
      const size_t missing = Missing(frame);
      if (missing > 0 && FOrder.size() + missing <= room) gains.emplace_back(double(frame.Weight) / double(missing), &frame);
    }
    std::stable_sort(gains.begin(), gains.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [gain, frame] : gains)
      if (FOrder.size() + Missing(*frame) <= room)
        for (TRGBA id : frame->Ids) Place(id);
  }

  void Place(TRGBA id) {
    if (FPlaced[id]) return;
    FPlaced[id] = true;
    FOrder.push_back(id);
  }

  std::vector<bool> FKept;
  std::vector<bool> FPlaced;
  std::vector<TRGBA> FOrder;
};

}  // namespace

int TGlobalTable::PaddedCount() const { return Ids.empty() ? 0 : 1 << DepthForCount(int(Ids.size())); }

TGlobalTable MakeGlobalTable(const std::vector<TColorUse>& usage, const std::vector<TFrameColors>& frames) {
  std::vector<TRGBA> ids;
  for (size_t id = 1; id < usage.size(); ++id)
    if (usage[id].Pixels > 0) ids.push_back(TRGBA(id));
  std::stable_sort(ids.begin(), ids.end(), [&](TRGBA a, TRGBA b) {
    return usage[a].Frames != usage[b].Frames ? usage[a].Frames > usage[b].Frames : usage[a].Pixels > usage[b].Pixels;
  });
  if (ids.size() > kMaxEntries) ids.resize(kMaxEntries);
  TGlobalTable table;
  table.Ids = TTablePacker(ids, usage.size()).Pack(ids, frames);
  table.IndexOf.assign(usage.size(), -1);
  for (size_t i = 0; i < table.Ids.size(); ++i) table.IndexOf[table.Ids[i]] = int16_t(i);
  return table;
}

}  // namespace corvane
