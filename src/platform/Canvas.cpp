#include "Canvas.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "Exceptions.h"
#include "MaskBitmap.h"

namespace corvane {

namespace {

// Whether pixels move between the bitmaps unchanged: both 24-bit, or both indexed with
// the indices kept.
bool SameLayout(const TBitmap& source, const TBitmap& target) {
  if (source.PixelFormat() != target.PixelFormat()) return false;
  return source.PixelFormat() == TPixelFormat::pf24bit || !target.PaletteRef() ||
         target.PaletteRef() == source.PaletteRef();
}

}  // namespace

void TCanvas::StoreColor(uint8_t* row, int x, TColor color) {
  if (FTarget.PixelFormat() == TPixelFormat::pf24bit) {
    row[3 * x] = BlueOf(color);
    row[3 * x + 1] = GreenOf(color);
    row[3 * x + 2] = RedOf(color);
  } else {
    row[x] = FTarget.PaletteRef() ? FLookup.IndexOf(FTarget.PaletteRef(), color) : 0;
  }
}

std::array<uint32_t, 256> TCanvas::IndexTranslation(const TBitmap& source) {
  std::array<uint32_t, 256> table{};
  const TPalette& from = source.PaletteRef();
  const TPalette& to = FTarget.PaletteRef();
  bool keepIndices = FTarget.PixelFormat() == TPixelFormat::pf8bit && (!to || to == from);
  for (int i = 0; i < 256; ++i) {
    TColor color = from && size_t(i) < from->Entries.size() ? EntryColor(from->Entries[i]) : clBlack;
    if (keepIndices)
      table[i] = uint32_t(i);
    else if (FTarget.PixelFormat() == TPixelFormat::pf8bit)
      table[i] = FLookup.IndexOf(to, color);
    else
      table[i] = color;
  }
  return table;
}

void TCanvas::FillRect(const TRect& rect) {
  TRect r = Intersect(rect, Bounds(0, 0, FTarget.Width(), FTarget.Height()));
  if (r.IsEmpty()) return;
  TColor color = ColorToRGB(BrushColor);
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint8_t* row = FTarget.ScanLine(y);
    StoreColor(row, r.Left, color);
    int size = FTarget.PixelFormat() == TPixelFormat::pf24bit ? 3 : 1;
    for (int x = r.Left + 1; x < r.Right; ++x) std::memcpy(row + size * x, row + size * r.Left, size_t(size));
  }
  FTarget.NotifyCanvasChanged();
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
  CopyPixels(dest, source, nullptr, sourceRect);
}

void TCanvas::MaskedStretchCopy(const TRect& dest, const TBitmap& source, const TMaskBitmap& mask,
                                const TRect& sourceRect) {
  if (mask.Width() != source.Width() || mask.Height() != source.Height())
    throw EInvalidGraphicOperation("Mask size does not match the bitmap");
  CopyPixels(dest, source, &mask, sourceRect);
}

void TCanvas::CopyPixels(const TRect& dest, const TBitmap& source, const TMaskBitmap* mask, const TRect& sourceRect) {
  if (dest.IsEmpty() || sourceRect.IsEmpty() || source.Empty()) return;
  TRect clip = Intersect(dest, Bounds(0, 0, FTarget.Width(), FTarget.Height()));
  if (clip.IsEmpty()) return;
  int64_t dw = dest.Width(), dh = dest.Height(), sw = sourceRect.Width(), sh = sourceRect.Height();
  if (!mask && dw == sw && dh == sh && SameLayout(source, FTarget)) {
    CopyRows(clip, source, sourceRect.Left - dest.Left, sourceRect.Top - dest.Top);
    return;
  }
  auto sourceX = [&](int x) { return sourceRect.Left + int((x - dest.Left) * sw / dw); };
  auto sourceY = [&](int y) { return sourceRect.Top + int((y - dest.Top) * sh / dh); };

  std::vector<int> columns(size_t(clip.Width()));
  for (int x = clip.Left; x < clip.Right; ++x) columns[size_t(x - clip.Left)] = sourceX(x);
  bool indexedSource = source.PixelFormat() == TPixelFormat::pf8bit;
  bool indexedTarget = FTarget.PixelFormat() == TPixelFormat::pf8bit;
  std::array<uint32_t, 256> translation{};
  if (indexedSource) translation = IndexTranslation(source);

  for (int y = clip.Top; y < clip.Bottom; ++y) {
    int sy = sourceY(y);
    if (sy < 0 || sy >= source.Height()) continue;
    const uint8_t* in = source.ScanLine(sy);
    const uint8_t* maskRow = mask ? mask->ScanLine(sy) : nullptr;
    uint8_t* out = FTarget.ScanLine(y);
    for (int x = clip.Left; x < clip.Right; ++x) {
      int sx = columns[size_t(x - clip.Left)];
      if (sx < 0 || sx >= source.Width()) continue;
      if (maskRow && (maskRow[sx / 8] >> (7 - sx % 8)) & 1) continue;
      if (indexedSource && indexedTarget) {
        out[x] = uint8_t(translation[in[sx]]);
      } else if (indexedSource) {
        StoreColor(out, x, translation[in[sx]]);
      } else if (!indexedTarget) {
        std::memcpy(out + 3 * x, in + 3 * sx, 3);
      } else {
        StoreColor(out, x, MakeColor(in[3 * sx + 2], in[3 * sx + 1], in[3 * sx]));
      }
    }
  }
  FTarget.NotifyCanvasChanged();
}

void TCanvas::CopyRows(const TRect& clip, const TBitmap& source, int dx, int dy) {
  TRect area = Intersect(clip, Bounds(-dx, -dy, source.Width(), source.Height()));
  if (area.IsEmpty()) return;
  size_t pixelBytes = source.PixelFormat() == TPixelFormat::pf24bit ? 3 : 1;
  for (int y = area.Top; y < area.Bottom; ++y)
    std::memmove(FTarget.ScanLine(y) + pixelBytes * size_t(area.Left),
                 source.ScanLine(y + dy) + pixelBytes * size_t(area.Left + dx), pixelBytes * size_t(area.Width()));
  FTarget.NotifyCanvasChanged();
}

TColor TCanvas::Pixel(int x, int y) const { return FTarget.PixelColor(x, y); }

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (x < 0 || x >= FTarget.Width() || y < 0 || y >= FTarget.Height()) return;
  StoreColor(FTarget.ScanLine(y), x, ColorToRGB(color));
  FTarget.NotifyCanvasChanged();
}

}  // namespace corvane
