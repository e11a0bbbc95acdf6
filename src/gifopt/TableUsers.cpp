#include "TableUsers.h"

#include <algorithm>
#include <type_traits>

#include "gif/GIFCodec.h"

namespace corvane {

namespace {

// To, const when From is.
template <typename From, typename To>
using ConstLike = std::conditional_t<std::is_const_v<From>, const To, To>;

// Table is TGIFColorMap or const TGIFColorMap; the frames are handed out alike.
template <typename Table, typename Visit>
void VisitFramesUsing(Table& table, const Visit& visit) {
  if (auto* local = dynamic_cast<ConstLike<Table, TGIFLocalColorMap>*>(&table)) {
    if (&local->Frame().ActiveTable() == &table) visit(local->Frame());
    return;
  }
  auto& image = dynamic_cast<ConstLike<Table, TGIFGlobalColorMap>&>(table).Header().OwnerImage();
  for (int i = 0; i < image.FrameCount(); ++i) {
    auto& frame = image.Frame(i);
    if (&frame.ActiveTable() == &table) visit(frame);
  }
}

}  // namespace

void ForEachFrameUsing(TGIFColorMap& table, const std::function<void(TGIFSubImage&)>& visit) {
  VisitFramesUsing(table, visit);
}

void ForEachFrameUsing(const TGIFColorMap& table, const std::function<void(const TGIFSubImage&)>& visit) {
  VisitFramesUsing(table, visit);
}

bool FrameHoldsUndefinedIndices(const TGIFSubImage& frame) {
  int count = frame.ActiveTable().EntryCount();
  const TGIFGraphicControlExtension* control = frame.ControlBlock();
  if (frame.HasTransparency() && control && control->TransparentIndex() >= count) return true;
  if (count >= TGIFColorMap::kMaxEntries || frame.IsBlank()) return false;
  const uint8_t* pixels = frame.PixelData();
  return *std::max_element(pixels, pixels + frame.PixelDataSize()) >= count;
}

bool TableHoldsUndefinedIndices(const TGIFColorMap& table) {
  bool found = false;
  ForEachFrameUsing(table, [&found](const TGIFSubImage& frame) { found = found || FrameHoldsUndefinedIndices(frame); });
  return found;
}

}  // namespace corvane
