#pragma once
// TCanvas: drawing operations on a TBitmap.

#include <array>
#include <cstdint>

#include "Bitmap.h"
#include "PaletteLookup.h"
#include "Types.h"

namespace corvane {

class TMaskBitmap;

class TCanvas {
 public:
  explicit TCanvas(TBitmap& target) : FTarget(target) {}

  TBitmap& Target() { return FTarget; }

  // Colour of FillRect.
  TColor BrushColor = clWhite;

  void FillRect(const TRect& rect);

  // Copies sourceRect of source into dest, stretched by nearest neighbour and clipped to
  // both bitmaps. Indexed pixels are taken through the source palette; into an indexed
  // target they keep their index when both bitmaps share one palette (or the target has
  // none) and otherwise take the nearest entry.
  void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect);

  // CopyRect through a mask of the source's size: pixels whose mask bit is 1 leave the
  // target unchanged. EInvalidGraphicOperation when the sizes differ.
  void MaskedStretchCopy(const TRect& dest, const TBitmap& source, const TMaskBitmap& mask, const TRect& sourceRect);

  // Draws the graphic stretched into rect.
  void StretchDraw(const TRect& rect, TGraphic& graphic) { graphic.Draw(*this, rect); }
  void Draw(int x, int y, TGraphic& graphic) { StretchDraw(Bounds(x, y, graphic.Width(), graphic.Height()), graphic); }

  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  // Searches of the palette made for colours drawn into an indexed target.
  int64_t PaletteSearches() const { return FLookup.Searches(); }

 private:
  void CopyPixels(const TRect& dest, const TBitmap& source, const TMaskBitmap* mask, const TRect& sourceRect);
  // An unscaled copy between bitmaps of one pixel layout: target (x, y) takes source
  // (x + dx, y + dy) within clip.
  void CopyRows(const TRect& clip, const TBitmap& source, int dx, int dy);
  void StoreColor(uint8_t* row, int x, TColor color);
  // For an indexed source: what each index becomes here (a colour for 24 bits, an index for
  // 8 bits).
  std::array<uint32_t, 256> IndexTranslation(const TBitmap& source);

  TBitmap& FTarget;
  TPaletteLookup FLookup;
};

}  // namespace corvane
