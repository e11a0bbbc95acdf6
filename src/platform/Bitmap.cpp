#include "Bitmap.h"

#include <algorithm>
#include <cstring>

#include "BitmapFile.h"
#include "Canvas.h"
#include "Exceptions.h"
#include "LittleEndian.h"
#include "Stream.h"

namespace corvane {

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) { Allocate(width, height, format); }

TBitmap::~TBitmap() = default;

int TBitmap::StrideFor(int width, TPixelFormat format) {
  int bytes = format == TPixelFormat::pf8bit ? width : width * 3;
  return (bytes + 3) & ~3;
}

void TBitmap::Allocate(int width, int height, TPixelFormat format) {
  if (width < 0 || height < 0 || int64_t(width) * height > kMaxBitmapPixels)
    throw EOutOfMemory("Bitmap too large");
  FWidth = width;
  FHeight = height;
  FPixelFormat = format;
  FStride = StrideFor(width, format);
  FPixels.assign(size_t(FStride) * size_t(height), 0);
}

void TBitmap::TakePixelsOf(TBitmap& other) {
  FWidth = other.FWidth;
  FHeight = other.FHeight;
  FStride = other.FStride;
  FPixelFormat = other.FPixelFormat;
  FPixels = std::move(other.FPixels);
  FPalette = std::move(other.FPalette);
  other.Allocate(0, 0, other.FPixelFormat);
}

void TBitmap::CopyFrom(const TPersistent& source) {
  if (auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
    if (bitmap == this) return;
    FWidth = bitmap->FWidth;
    FHeight = bitmap->FHeight;
    FStride = bitmap->FStride;
    FPixelFormat = bitmap->FPixelFormat;
    FPixels = bitmap->FPixels;
    FPalette = bitmap->FPalette;
    Changed();
    return;
  }
  if (auto* graphic = dynamic_cast<const TGraphic*>(&source)) {
    try {
      graphic->CopyTo(*this);
      return;
    } catch (const EConvertError&) {
    }
    TGraphic& picture = const_cast<TGraphic&>(*graphic);  // drawing may decode and cache
    Allocate(picture.Width(), picture.Height(), TPixelFormat::pf24bit);
    FPalette = nullptr;
    std::fill(FPixels.begin(), FPixels.end(), 0xFF);
    if (!Empty()) Canvas().StretchDraw(Bounds(0, 0, FWidth, FHeight), picture);
    Changed();
    return;
  }
  TGraphic::CopyFrom(source);
}

void TBitmap::SetSize(int width, int height) {
  if (width == FWidth && height == FHeight) return;
  TBitmap old;
  old.FWidth = FWidth;
  old.FHeight = FHeight;
  old.FStride = FStride;
  old.FPixels = std::move(FPixels);
  Allocate(width, height, FPixelFormat);
  int rowBytes = std::min(old.FStride, FStride);
  for (int y = 0; y < std::min(old.FHeight, FHeight); ++y)
    std::memcpy(ScanLine(y), old.ScanLine(y), size_t(rowBytes));
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == FPixelFormat) return;
  TBitmap converted(FWidth, FHeight, format);
  converted.FPalette = FPalette;
  if (!Empty()) converted.Canvas().CopyRect(Bounds(0, 0, FWidth, FHeight), *this, Bounds(0, 0, FWidth, FHeight));
  FStride = converted.FStride;
  FPixels = std::move(converted.FPixels);
  FPixelFormat = format;
  Changed();
}

uint8_t* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
  return FPixels.data() + size_t(y) * size_t(FStride);
}

const uint8_t* TBitmap::ScanLine(int y) const { return const_cast<TBitmap*>(this)->ScanLine(y); }

TColor TBitmap::PixelColor(int x, int y) const {
  if (x < 0 || x >= FWidth) throw EInvalidGraphicOperation("Pixel index out of range");
  const uint8_t* row = ScanLine(y);
  if (FPixelFormat == TPixelFormat::pf24bit) return MakeColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
  uint8_t index = row[x];
  return FPalette && index < FPalette->Entries.size() ? EntryColor(FPalette->Entries[index]) : clBlack;
}

void TBitmap::SetPalette(TPalette palette) {
  if (palette == FPalette) return;
  FPalette = std::move(palette);
  PaletteModified = true;
  Changed();
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(*this);
  return *FCanvas;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
  canvas.CopyRect(rect, *this, Bounds(0, 0, FWidth, FHeight));
}

namespace {

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic("Bitmap image is not valid"); }

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
  int64_t start = stream.Position();
  uint8_t header[kBitmapFileHeaderSize + kBitmapInfoHeaderSize];
  if (stream.Read(header, sizeof header) != int64_t(sizeof header)) InvalidBitmap();
  if (header[0] != 'B' || header[1] != 'M') InvalidBitmap();
  const uint8_t* info = header + kBitmapFileHeaderSize;
  uint32_t pixelOffset = Get32(header + 10);
  uint32_t infoSize = Get32(info);
  int32_t width = int32_t(Get32(info + 4));
  int32_t rawHeight = int32_t(Get32(info + 8));
  uint16_t bits = Get16(info + 14);
  uint32_t compression = Get32(info + 16);
  uint32_t colorsUsed = Get32(info + 32);
  if (infoSize < kBitmapInfoHeaderSize || compression != 0 || width < 0 || rawHeight == INT32_MIN) InvalidBitmap();
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) InvalidBitmap();
  bool topDown = rawHeight < 0;
  int32_t height = topDown ? -rawHeight : rawHeight;
  if (int64_t(width) * height > kMaxBitmapPixels) InvalidBitmap();

  std::vector<TPaletteEntry> entries;
  if (bits <= 8) {
    uint32_t count = colorsUsed ? colorsUsed : 1u << bits;
    if (count > 256) InvalidBitmap();
    std::vector<uint8_t> quads(size_t(count) * 4);
    stream.SetPosition(start + kBitmapFileHeaderSize + infoSize);
    if (stream.Read(quads.data(), int64_t(quads.size())) != int64_t(quads.size())) InvalidBitmap();
    for (uint32_t i = 0; i < count; ++i) entries.push_back({quads[4 * i + 2], quads[4 * i + 1], quads[4 * i], 0});
  }
  int64_t fileStride = ((int64_t(width) * bits + 31) / 32) * 4;
  std::vector<uint8_t> row(static_cast<size_t>(fileStride));
  TBitmap result(width, height, bits <= 8 ? TPixelFormat::pf8bit : TPixelFormat::pf24bit);
  if (bits <= 8) result.FPalette = MakePalette(std::move(entries));
  stream.SetPosition(start + pixelOffset);
  for (int32_t i = 0; i < height; ++i) {
    if (stream.Read(row.data(), fileStride) != fileStride) InvalidBitmap();
    uint8_t* out = result.ScanLine(topDown ? i : height - 1 - i);
    for (int32_t x = 0; x < width; ++x) {
      switch (bits) {
        case 1: out[x] = (row[size_t(x) / 8] >> (7 - x % 8)) & 1; break;
        case 4: out[x] = (row[size_t(x) / 2] >> (x % 2 ? 0 : 4)) & 15; break;
        case 8: out[x] = row[size_t(x)]; break;
        default: std::memcpy(out + 3 * x, row.data() + size_t(x) * (bits / 8), 3); break;
      }
    }
  }
  TakePixelsOf(result);
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
  int bits = FPixelFormat == TPixelFormat::pf8bit ? 8 : 24;
  uint32_t rowsSize = uint32_t(FStride) * uint32_t(FHeight);
  std::vector<uint8_t> headers(BitmapHeadersSize(bits), 0);
  WriteBitmapHeaders(headers.data(), FWidth, FHeight, bits, FPalette, rowsSize);
  stream.WriteBytes(headers);
  for (int y = FHeight - 1; y >= 0; --y) stream.WriteBuffer(ScanLine(y), FStride);
}

}  // namespace corvane
