#include "BitmapFile.h"

#include <algorithm>

#include "LittleEndian.h"

namespace corvane {

uint32_t BitmapHeadersSize(int bitsPerPixel) {
  return kBitmapFileHeaderSize + kBitmapInfoHeaderSize + (bitsPerPixel == 8 ? 256 * 4 : 0);
}

void WriteBitmapHeaders(uint8_t* headers, int width, int height, int bitsPerPixel, const TPalette& palette,
                        uint32_t rowsSize) {
  uint32_t pixelOffset = BitmapHeadersSize(bitsPerPixel);
  headers[0] = 'B';
  headers[1] = 'M';
  Put32(headers + 2, pixelOffset + rowsSize);
  Put32(headers + 10, pixelOffset);
  uint8_t* info = headers + kBitmapFileHeaderSize;
  Put32(info, kBitmapInfoHeaderSize);
  Put32(info + 4, uint32_t(width));
  Put32(info + 8, uint32_t(height));
  Put16(info + 12, 1);
  Put16(info + 14, uint16_t(bitsPerPixel));
  Put32(info + 20, rowsSize);
  if (bitsPerPixel != 8) return;
  size_t count = palette ? std::min<size_t>(palette->Entries.size(), 256) : 0;
  Put32(info + 32, 256);
  Put32(info + 36, uint32_t(count));
  for (size_t i = 0; i < count; ++i) {
    const TPaletteEntry& e = palette->Entries[i];
    uint8_t* quad = info + kBitmapInfoHeaderSize + 4 * i;
    quad[0] = e.Blue;
    quad[1] = e.Green;
    quad[2] = e.Red;
  }
}

}  // namespace corvane
