#pragma once
// TMaskBitmap: the transparency mask of a picture, one bit per pixel, bit 1 where the
// pixel is transparent. The most significant bit of a byte is the leftmost pixel and each
// row is padded with 0 bits to a multiple of 16 bits.

#include <cstdint>
#include <vector>

namespace corvane {

class TMaskBitmap {
 public:
  TMaskBitmap() = default;
  // All pixels opaque. EOutOfMemory beyond kMaxBitmapPixels.
  TMaskBitmap(int width, int height);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  int RowStride() const { return FStride; }
  static int StrideFor(int width) { return (width + 15) / 16 * 2; }

  // EInvalidGraphicOperation outside the mask.
  uint8_t* ScanLine(int y);
  const uint8_t* ScanLine(int y) const;
  bool IsTransparent(int x, int y) const;
  void SetTransparent(int x, int y, bool transparent = true);

  // Whether any pixel is transparent.
  bool AnyTransparent() const;

 private:
  void CheckColumn(int x) const;

  int FWidth = 0;
  int FHeight = 0;
  int FStride = 0;
  std::vector<uint8_t> FBits;
};

}  // namespace corvane
