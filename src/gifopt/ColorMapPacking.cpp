#include "ColorMapPacking.h"

#include <cstring>
#include <utility>

#include "gif/GIFImage.h"
#include "gifopt/TableUsers.h"

namespace corvane {

void SortUsageDescending(TUsageTable& usage, int left, int right) {
  int i;
  do {
    i = left;
    int j = right;
    int pivot = usage[size_t((left + right) / 2)].Count;
    do {
      while (usage[size_t(i)].Count > pivot) ++i;
      while (usage[size_t(j)].Count < pivot) --j;
      if (i <= j) {
        std::swap(usage[size_t(i)], usage[size_t(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (left < j) SortUsageDescending(usage, left, j);
    left = i;
  } while (i < right);
}

void CountUsage(const TGIFColorMap& table, TUsageTable& usage) {
  for (int k = 0; k < table.EntryCount(); ++k) usage[size_t(k)] = {0, k};
  ForEachFrameUsing(table, [&usage](TGIFSubImage& frame) {
    if (frame.IsBlank()) return;
    const uint8_t* pixels = frame.PixelData();
    for (int32_t i = 0; i < frame.PixelDataSize(); ++i) ++usage[pixels[i]].Count;
  });
}

void RemapPixels(const TGIFColorMap& table, const TRemapTable& remap) {
  ForEachFrameUsing(table, [&remap](TGIFSubImage& frame) {
    if (!frame.IsBlank()) {
      uint8_t* pixels = frame.PixelData();
      for (int32_t i = 0; i < frame.PixelDataSize(); ++i) pixels[i] = remap[pixels[i]];
      frame.DropCachedBitmap();
      frame.DropCachedMask();
    }
    if (frame.HasTransparency() && frame.ControlBlock())
      frame.ControlBlock()->SetTransparentIndex(remap[frame.ControlBlock()->TransparentIndex()]);
  });
}

bool Pack(TGIFColorMap& table) {
  if (auto* global = dynamic_cast<TGIFGlobalColorMap*>(&table))
    if (global->Header().OwnerImage().FrameCount() == 0) return false;
  return PackByUsage(table);
}

bool PackByUsage(TGIFColorMap& table) {
  const int count = table.EntryCount();
  if (count <= 1) return false;
  // Such an index would be remapped through an entry that holds no defined position.
  if (TableHoldsUndefinedIndices(table)) return false;
  table.SetUsageOrdered(true);
  TUsageTable usage{};
  CountUsage(table, usage);
  SortUsageDescending(usage, 0, count - 1);
  bool unchanged = true;
  for (int k = 0; k < count && unchanged; ++k) unchanged = usage[size_t(k)].Index == k;
  if (unchanged) return true;

  TRemapTable remap{};
  for (int k = 0; k < count; ++k) remap[size_t(usage[size_t(k)].Index)] = uint8_t(k);
  RemapPixels(table, remap);

  std::array<uint8_t, TGIFColorMap::kMaxEntries * 3> packed{};
  const uint8_t* old = table.Entries();
  for (int j = 0; j < count; ++j) std::memcpy(&packed[size_t(remap[size_t(j)]) * 3], &old[size_t(j) * 3], 3);
  int newCount = count;
  for (int k = 0; k < count; ++k) {
    if (usage[size_t(k)].Count == 0) {
      newCount = k;
      break;
    }
  }
  table.StoreEntries(packed.data(), newCount);
  table.NotifyChanged();
  return true;
}

}  // namespace corvane
