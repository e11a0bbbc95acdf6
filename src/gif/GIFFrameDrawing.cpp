// Drawing one frame: its palette, its place in a target rectangle, and the stretched,
// masked or tiled copy of its bitmap.

#include <algorithm>
#include <limits>
#include <vector>

#include "gif/GIFImage.h"
#include "gif/WebPalette.h"
#include "platform/Canvas.h"

namespace corvane {

namespace {

// origin + position × size / total, rounded to the nearest, halves away from zero, and
// kept within the range of int.
int ScaleEdge(int origin, int64_t position, int64_t size, int64_t total) {
  int64_t product = position * size;
  int64_t scaled = product >= 0 ? (product + total / 2) / total : -((-product + total / 2) / total);
  int64_t edge = int64_t(origin) + scaled;
  return int(std::clamp<int64_t>(edge, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Viewers show every index of a frame without any colour table as black.
const TPalette& TablelessPalette() {
  static const TPalette palette =
      MakePalette(std::vector<TPaletteEntry>(TGIFColorMap::kMaxEntries, TPaletteEntry{0, 0, 0, pcNoCollapse}));
  return palette;
}

}  // namespace

TPalette TGIFSubImage::Palette() {
  if (FCachedBitmap && FCachedBitmap->PaletteRef()) return FCachedBitmap->PaletteRef();
  if (FFramePalette) return FFramePalette;
  TGIFImage& image = OwnerImage();
  if (image.NeedsDither())
    FFramePalette = WebPalette216();
  else if (FLocalTable->EntryCount() > 0)
    FFramePalette = FLocalTable->PlatformPalette();
  else if (image.Header().GlobalTable().EntryCount() > 0)
    return image.Palette();
  else
    FFramePalette = TablelessPalette();
  return FFramePalette;
}

bool TGIFSubImage::EnsureMask() {
  if (FMaskPending && HasTransparency()) {
    DropCachedBitmap();
    FrameBitmap();
  }
  return FCachedMask != nullptr;
}

TRect TGIFSubImage::FrameTargetRect(const TRect& rect) const {
  int64_t width = OwnerImage().Width(), height = OwnerImage().Height();
  if (width <= 0 || height <= 0) return {};
  int64_t rectWidth = int64_t(rect.Right) - rect.Left, rectHeight = int64_t(rect.Bottom) - rect.Top;
  return {ScaleEdge(rect.Left, FFrameLeft, rectWidth, width), ScaleEdge(rect.Top, FFrameTop, rectHeight, height),
          ScaleEdge(rect.Left, int64_t(FFrameLeft) + FFrameWidth, rectWidth, width),
          ScaleEdge(rect.Top, int64_t(FFrameTop) + FFrameHeight, rectHeight, height)};
}

void TGIFSubImage::ForEachTile(const TRect& rect, const std::function<void(const TRect& area)>& visit) const {
  int64_t width = OwnerImage().Width(), height = OwnerImage().Height();
  if (width <= 0 || height <= 0) return;
  for (int64_t x = int64_t(rect.Left) + FFrameLeft; x < rect.Right; x += width)
    for (int64_t y = int64_t(rect.Top) + FFrameTop; y < rect.Bottom; y += height)
      visit(Bounds(int(x), int(y), FFrameWidth, FFrameHeight));
}

void TGIFSubImage::DrawFrame(TCanvas& canvas, const TRect& rect, bool tile, bool transparent) {
  bool masked = transparent && HasTransparency() && EnsureMask();
  const TBitmap* bitmap = FrameBitmap();
  if (!bitmap) return;
  TRect source = Bounds(0, 0, bitmap->Width(), bitmap->Height());
  auto paint = [&](const TRect& area) {
    if (masked)
      canvas.MaskedStretchCopy(area, *bitmap, *FCachedMask, source);
    else
      canvas.CopyRect(area, *bitmap, source);
  };
  if (tile)
    ForEachTile(rect, paint);
  else
    paint(FrameTargetRect(rect));
}

void TGIFSubImage::CopyTo(TPersistent& target) const {
  auto* bitmap = dynamic_cast<TBitmap*>(&target);
  if (!bitmap) {
    TGIFItem::CopyTo(target);
    return;
  }
  // Rendering caches the bitmap.
  if (const TBitmap* rendered = const_cast<TGIFSubImage*>(this)->FrameBitmap())
    bitmap->CopyFrom(*rendered);
  else
    bitmap->SetSize(0, 0);
}

}  // namespace corvane
