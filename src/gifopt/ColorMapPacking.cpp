#include "ColorMapPacking.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "gif/GIFCodec.h"
#include "gifopt/TableUsers.h"
#include "gifopt/ViewerRules.h"

namespace corvane {

namespace {

// Whether the program may show the screen's background colour: where the first frame leaves
// the screen uncovered or transparent, or where a frame's disposal clears or restores.
bool BackgroundMayShow(const TGIFImage& image) {
  int first = 0;
  while (first < image.FrameCount() && image.Frame(first).IsBlank()) ++first;
  if (first == image.FrameCount()) return false;
  const TGIFSubImage& frame = image.Frame(first);
  if (frame.HasTransparency() || frame.BoundsRect() != Bounds(0, 0, image.Width(), image.Height())) return true;
  for (int i = 0; i < image.FrameCount(); ++i)
    if (FrameDisposalEffect(image.Frame(i)) != TDisposalEffect::Keep) return true;
  return false;
}

// Points the screen's background index at its entry's new place when the background may
// show. An entry no pixel uses would be cut off: it moves to the first place past the kept
// ones instead. Answers the number of entries kept.
int KeepBackground(TGIFHeader& header, const TRemapTable& remap,
                   std::array<uint8_t, TGIFColorMap::kMaxEntries * 3>& packed, int kept) {
  const int count = header.GlobalTable().EntryCount();
  const int background = header.BackdropIndex;
  if (background >= count || !BackgroundMayShow(header.OwnerImage())) return kept;
  int place = remap[size_t(background)];
  if (place >= kept) {
    std::swap_ranges(&packed[size_t(place) * 3], &packed[size_t(place) * 3 + 3], &packed[size_t(kept) * 3]);
    place = kept++;
  }
  header.BackdropIndex = uint8_t(place);
  return kept;
}

}  // namespace

void SortUsageDescending(TUsageTable& usage, int left, int right) {
  int i;
  do {
    i = left;
    int j = right;
    int64_t pivot = usage[size_t((left + right) / 2)].Count;
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
  ForEachFrameUsing(table, [&usage](const TGIFSubImage& frame) {
    if (!frame.IsBlank()) AddUsage({frame.PixelData(), size_t(frame.PixelDataSize())}, usage);
  });
}

void AddUsage(std::span<const uint8_t> pixels, TUsageTable& usage) {
  for (uint8_t index : pixels) ++usage[index].Count;
}

void RemapPixels(TGIFColorMap& table, const TRemapTable& remap) {
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
  if (auto* global = dynamic_cast<TGIFGlobalColorMap*>(&table))
    newCount = KeepBackground(global->Header(), remap, packed, newCount);
  table.StoreEntries(packed.data(), newCount);
  table.NotifyChanged();
  return true;
}

}  // namespace corvane
