#include "GlobalTable.h"

#include <algorithm>
#include <numeric>

#include "gif/GIFTypes.h"

namespace corvane {

int TGlobalTable::PaddedCount() const { return Ids.empty() ? 0 : 1 << DepthForCount(int(Ids.size())); }

TGlobalTable MakeGlobalTable(const std::vector<int64_t>& usage) {
  constexpr size_t kMaxEntries = 256;
  std::vector<TRGBA> ids;
  for (size_t id = 1; id < usage.size(); ++id)
    if (usage[id] > 0) ids.push_back(TRGBA(id));
  std::stable_sort(ids.begin(), ids.end(), [&](TRGBA a, TRGBA b) { return usage[a] > usage[b]; });
  if (ids.size() > kMaxEntries) ids.resize(kMaxEntries);
  TGlobalTable table;
  table.IndexOf.assign(usage.size(), -1);
  for (size_t i = 0; i < ids.size(); ++i) table.IndexOf[ids[i]] = int16_t(i);
  table.Ids = std::move(ids);
  return table;
}

}  // namespace corvane
