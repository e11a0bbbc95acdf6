#include "MaskBitmap.h"

#include <algorithm>

#include "Bitmap.h"
#include "Exceptions.h"

namespace corvane {

TMaskBitmap::TMaskBitmap(int width, int height) {
  if (width < 0 || height < 0 || int64_t(width) * height > kMaxBitmapPixels) throw EOutOfMemory("Mask too large");
  FWidth = width;
  FHeight = height;
  FStride = StrideFor(width);
  FBits.assign(size_t(FStride) * size_t(height), 0);
}

uint8_t* TMaskBitmap::ScanLine(int y) {
  if (y < 0 || y >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
  return FBits.data() + size_t(y) * size_t(FStride);
}

const uint8_t* TMaskBitmap::ScanLine(int y) const { return const_cast<TMaskBitmap*>(this)->ScanLine(y); }

void TMaskBitmap::CheckColumn(int x) const {
  if (x < 0 || x >= FWidth) throw EInvalidGraphicOperation("Pixel index out of range");
}

bool TMaskBitmap::IsTransparent(int x, int y) const {
  CheckColumn(x);
  return (ScanLine(y)[x / 8] >> (7 - x % 8)) & 1;
}

void TMaskBitmap::SetTransparent(int x, int y, bool transparent) {
  CheckColumn(x);
  uint8_t& byte = ScanLine(y)[x / 8];
  uint8_t bit = uint8_t(0x80 >> (x % 8));
  byte = transparent ? uint8_t(byte | bit) : uint8_t(byte & ~bit);
}

bool TMaskBitmap::AnyTransparent() const {
  return std::any_of(FBits.begin(), FBits.end(), [](uint8_t b) { return b != 0; });
}

}  // namespace corvane
