// Drawing one frame: its palette, its place in a target rectangle, and the stretched,
// masked or tiled copy of its bitmap.

#include "GIFFrameDrawing.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "gifrender/GIFImageDrawing.h"
#include "gifrender/RenderedFrame.h"
#include "gifrender/WebPalette.h"
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

TPalette FramePalette(TGIFSubImage& frame) {
  TRenderedFrame& drawn = RenderedFrame(frame);
  if (drawn.Bitmap && drawn.Bitmap->PaletteRef()) return drawn.Bitmap->PaletteRef();
  if (drawn.FramePalette) return drawn.FramePalette;
  TGIFImage& image = frame.OwnerImage();
  if (NeedsDither(image))
    drawn.FramePalette = WebPalette216();
  else if (frame.LocalTable().EntryCount() > 0)
    drawn.FramePalette = frame.LocalTable().PlatformPalette();
  else if (image.Header().GlobalTable().EntryCount() > 0)
    return ImagePalette(image);
  else
    drawn.FramePalette = TablelessPalette();
  return drawn.FramePalette;
}

bool EnsureMask(TGIFSubImage& frame) {
  TRenderedFrame& drawn = RenderedFrame(frame);
  if (drawn.MaskPending && frame.HasTransparency()) {
    drawn.DropBitmap();
    FrameBitmap(frame);
  }
  return drawn.Mask != nullptr;
}

const TMaskBitmap* FrameMask(const TGIFSubImage& frame) {
  const TRenderedFrame* drawn = RenderedFrameOf(frame);
  return drawn ? drawn->Mask.get() : nullptr;
}

TRect FrameTargetRect(const TGIFSubImage& frame, const TRect& rect) {
  int64_t width = frame.OwnerImage().Width(), height = frame.OwnerImage().Height();
  if (width <= 0 || height <= 0) return {};
  int64_t rectWidth = int64_t(rect.Right) - rect.Left, rectHeight = int64_t(rect.Bottom) - rect.Top;
  const int64_t left = frame.FrameLeft(), top = frame.FrameTop();
  return {ScaleEdge(rect.Left, left, rectWidth, width), ScaleEdge(rect.Top, top, rectHeight, height),
          ScaleEdge(rect.Left, left + frame.FrameWidth(), rectWidth, width),
          ScaleEdge(rect.Top, top + frame.FrameHeight(), rectHeight, height)};
}

void ForEachTile(const TGIFSubImage& frame, const TRect& rect, const std::function<void(const TRect& area)>& visit) {
  int64_t width = frame.OwnerImage().Width(), height = frame.OwnerImage().Height();
  if (width <= 0 || height <= 0) return;
  for (int64_t x = int64_t(rect.Left) + frame.FrameLeft(); x < rect.Right; x += width)
    for (int64_t y = int64_t(rect.Top) + frame.FrameTop(); y < rect.Bottom; y += height)
      visit(Bounds(int(x), int(y), frame.FrameWidth(), frame.FrameHeight()));
}

void DrawFrame(TGIFSubImage& frame, TCanvas& canvas, const TRect& rect, bool tile, bool transparent) {
  bool masked = transparent && frame.HasTransparency() && EnsureMask(frame);
  const TBitmap* bitmap = FrameBitmap(frame);
  if (!bitmap) return;
  const TMaskBitmap* mask = FrameMask(frame);
  TRect source = Bounds(0, 0, bitmap->Width(), bitmap->Height());
  auto paint = [&](const TRect& area) {
    if (masked)
      canvas.MaskedStretchCopy(area, *bitmap, *mask, source);
    else
      canvas.CopyRect(area, *bitmap, source);
  };
  if (tile)
    ForEachTile(frame, rect, paint);
  else
    paint(FrameTargetRect(frame, rect));
}

bool CopyFrameTo(TGIFSubImage& frame, TPersistent& target) {
  auto* bitmap = dynamic_cast<TBitmap*>(&target);
  if (!bitmap) return false;
  // Rendering caches the bitmap.
  if (const TBitmap* rendered = FrameBitmap(frame))
    bitmap->CopyFrom(*rendered);
  else
    bitmap->SetSize(0, 0);
  return true;
}

}  // namespace corvane
