#include "TableUsers.h"

#include <algorithm>

#include "gif/GIFCodec.h"

namespace corvane {

void ForEachFrameUsing(const TGIFColorMap& table, const std::function<void(TGIFSubImage&)>& visit) {
  if (const auto* local = dynamic_cast<const TGIFLocalColorMap*>(&table)) {
    if (&local->Frame().ActiveTable() == &table) visit(local->Frame());
    return;
  }
  const auto& global = dynamic_cast<const TGIFGlobalColorMap&>(table);
  const TGIFImage& image = global.Header().OwnerImage();
  for (int i = 0; i < image.FrameCount(); ++i) {
    TGIFSubImage& frame = image.Frame(i);
    if (&frame.ActiveTable() == &table) visit(frame);
  }
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
  ForEachFrameUsing(table, [&found](TGIFSubImage& frame) { found = found || FrameHoldsUndefinedIndices(frame); });
  return found;
}

}  // namespace corvane
