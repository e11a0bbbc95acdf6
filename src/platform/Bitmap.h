#pragma once
// TBitmap: an in-memory picture, 8-bit indexed with a palette or 24-bit blue-green-red.
// Rows run top to bottom, back to back, each padded to a multiple of 4 bytes.

#include <cstdint>
#include <memory>
#include <vector>

#include "Graphic.h"

namespace corvane {

enum class TPixelFormat : uint8_t { pf8bit, pf24bit };

// Largest bitmap, in pixels, that is ever allocated.
constexpr int64_t kMaxBitmapPixels = int64_t(1) << 28;

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
  ~TBitmap() override;
  // A bitmap's canvas refers to it, so bitmaps are copied with CopyFrom only.
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  std::string ClassName() const override { return "TBitmap"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TBitmap>(); }
  // From another bitmap: an exact copy. From any other picture: what the picture copies
  // into a bitmap (its CopyTo), or when it refuses, a 24-bit bitmap of its size, white,
  // with the picture drawn into it.
  void CopyFrom(const TPersistent& source) override;

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int value) override { SetSize(value, FHeight); }
  void SetHeight(int value) override { SetSize(FWidth, value); }
  // Resizes, keeping the pixels of the overlap; new pixels are 0 (black or index 0).
  // EOutOfMemory beyond kMaxBitmapPixels.
  void SetSize(int width, int height);
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the pixels: 8 to 24 bits through the palette, 24 to 8 to the nearest entry.
  void SetPixelFormat(TPixelFormat format);

  uint8_t* ScanLine(int y);
  const uint8_t* ScanLine(int y) const;
  int RowStride() const { return FStride; }
  static int StrideFor(int width, TPixelFormat format);

  TColor PixelColor(int x, int y) const;

  TPalette Palette() override { return FPalette; }
  const TPalette& PaletteRef() const { return FPalette; }
  void SetPalette(TPalette palette) override;

  TCanvas& Canvas();

  void Draw(TCanvas& canvas, const TRect& rect) override;

  // The Windows bitmap file format: 1, 4, 8, 24 and 32 bits uncompressed are read;
  // 8 and 24 bits are written.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;

  // Lets a canvas that drew into this bitmap fire its change notification.
  void NotifyCanvasChanged() { Changed(); }

  // Expires when the bitmap is destroyed, so that code holding on to a canvas of it can
  // tell whether it still exists.
  std::weak_ptr<const void> Liveness() const { return FLiveness; }

 private:
  void Allocate(int width, int height, TPixelFormat format);
  // Moves the pixels, size, format and palette of other into this bitmap.
  void TakePixelsOf(TBitmap& other);

  int FWidth = 0;
  int FHeight = 0;
  int FStride = 0;
  TPixelFormat FPixelFormat = TPixelFormat::pf24bit;
  std::vector<uint8_t> FPixels;
  TPalette FPalette;
  std::unique_ptr<TCanvas> FCanvas;
  std::shared_ptr<const int> FLiveness = std::make_shared<const int>(0);
};

}  // namespace corvane
