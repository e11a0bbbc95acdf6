#include "FrameMasking.h"

#include <array>
#include <cstring>
#include <memory>
#include <optional>

#include "gif/GIFCodec.h"
#include "gifopt/ReduceProgress.h"
#include "gifopt/TableUsers.h"
#include "gifopt/ViewerRules.h"

namespace corvane {

namespace {

std::optional<uint8_t> TransparentIndexOf(const TGIFSubImage& frame) {
  if (!frame.HasTransparency() || !frame.ControlBlock()) return std::nullopt;
  return frame.ControlBlock()->TransparentIndex();
}

std::array<bool, 256> IndicesHeld(const TGIFSubImage& frame) {
  std::array<bool, 256> held{};
  if (frame.IsBlank()) return held;
  const uint8_t* pixels = frame.PixelData();
  for (int32_t i = 0; i < frame.PixelDataSize(); ++i) held[pixels[i]] = true;
  return held;
}

// The frame's own table is known to define every index its frames use.
void MaskWithDefinedTable(TGIFSubImage& frame, const TGIFSubImage* previous) {
  if (frame.IsBlank() || !previous || previous->IsBlank() || !StaysOnScreen(*previous)) return;
  const TRect overlap = Intersect(previous->BoundsRect(), frame.BoundsRect());
  if (overlap.IsEmpty()) return;
  std::optional<uint8_t> index = TransparentIndexOf(frame);
  const bool wasTransparent = index.has_value();
  if (!wasTransparent && !CanAddTransparentIndex(frame)) return;
  const std::optional<uint8_t> previousIndex = TransparentIndexOf(*previous);

  const TGIFColorMap& table = frame.ActiveTable();
  const TGIFColorMap& previousTable = previous->ActiveTable();
  const bool sameTable = &table == &previousTable;
  const int previousCount = previousTable.EntryCount();
  for (int y = overlap.Top; y < overlap.Bottom; ++y) {
    uint8_t* row = frame.PixelData() + size_t(y - frame.FrameTop()) * frame.FrameWidth() +
                   (overlap.Left - frame.FrameLeft());
    const uint8_t* previousRow = previous->PixelData() + size_t(y - previous->FrameTop()) * previous->FrameWidth() +
                                 (overlap.Left - previous->FrameLeft());
    for (int x = 0; x < overlap.Width(); ++x) {
      uint8_t c = row[x];
      uint8_t p = previousRow[x];
      if ((index && c == *index) || (previousIndex && p == *previousIndex) || p >= previousCount) continue;
      // Appending the transparent index may move the entries, so they are looked up anew.
      bool match = (sameTable && c == p) ||
                   std::memcmp(table.Entries() + size_t(c) * 3, previousTable.Entries() + size_t(p) * 3, 3) == 0;
      if (!match) continue;
      if (!index) index = ObtainTransparentIndex(frame);
      row[x] = *index;
    }
  }
  if (!wasTransparent && index) {
    if (!frame.ControlBlock())
      frame.Extensions().AppendMember(std::make_unique<TGIFGraphicControlExtension>(frame));
    frame.ControlBlock()->SetTransparent(true);
    frame.ControlBlock()->SetTransparentIndex(*index);
  }
  frame.DropCachedBitmap();
  frame.DropCachedMask();
}

// The frame whose pixels the screen shows just before frame i: frames that restore to
// previous leave the screen as the frame before them left it.
int PreviousForMasking(const TGIFImage& image, int i) {
  int j = i - 1;
  while (j > 0 && image.Frame(j).ControlBlock() && image.Frame(j).ControlBlock()->Disposal() == dmRestorePrevious) --j;
  return j;
}

}  // namespace

bool CanAddTransparentIndex(const TGIFSubImage& frame) {
  if (frame.LocalTable().EntryCount() > 0) return frame.LocalTable().EntryCount() < TGIFColorMap::kMaxEntries;
  const TGIFColorMap& global = frame.OwnerImage().Header().GlobalTable();
  return global.EntryCount() > 0 && global.EntryCount() < TGIFColorMap::kMaxEntries;
}

uint8_t ObtainTransparentIndex(TGIFSubImage& frame) {
  if (frame.LocalTable().EntryCount() > 0) return uint8_t(frame.LocalTable().AppendColor(clBlack));
  TGIFImage& image = frame.OwnerImage();
  TGIFGlobalColorMap& global = image.Header().GlobalTable();
  // Reusing an index that the frame's own pixels hold would make those pixels vanish.
  const std::array<bool, 256> held = IndicesHeld(frame);
  for (int i = 0; i < image.FrameCount(); ++i) {
    const TGIFSubImage& other = image.Frame(i);
    if (&other == &frame || other.LocalTable().EntryCount() > 0) continue;
    std::optional<uint8_t> index = TransparentIndexOf(other);
    if (index && *index < global.EntryCount() && !held[*index]) return *index;
  }
  return uint8_t(global.AppendColor(clBlack));
}

void MaskUnchangedPixels(TGIFSubImage& frame, const TGIFSubImage* previous) {
  if (TableHoldsUndefinedIndices(frame.ActiveTable())) return;
  MaskWithDefinedTable(frame, previous);
}

void MaskUnchangedFrames(TGIFImage& image, TReduceProgress& progress) {
  // Masking changes no table's use of undefined indices, so the global table is judged once.
  const TGIFColorMap& global = image.Header().GlobalTable();
  const bool globalDefined = !TableHoldsUndefinedIndices(global);
  for (int i = image.FrameCount() - 1; i >= 1; --i) {
    progress.Step();
    TGIFSubImage& frame = image.Frame(i);
    bool defined = &frame.ActiveTable() == &global ? globalDefined : !FrameHoldsUndefinedIndices(frame);
    if (defined) MaskWithDefinedTable(frame, &image.Frame(PreviousForMasking(image, i)));
    progress.Report();
  }
}

}  // namespace corvane
