#pragma once
// Decoding of device-independent bitmaps, the pictures inside Windows bitmap files,
// packed DIBs and icons: OS/2 and Windows headers of every size, 1 to 32 bits per
// pixel, RLE4 and RLE8, bit-field masks of any width scaled to 8 bits. The spare byte of
// 32-bit pixels counts as alpha only where a header or mask names it, and alpha that is
// 0 everywhere counts as none. Pixels that RLE skips take palette entry 0.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "platform/Bitmap.h"

namespace corvane {

struct TDIBSource {
  std::span<const uint8_t> Bytes;  // from the info header to the end of the file or entry
  // Where the pixels start, counted from the info header; none: right after the palette.
  std::optional<size_t> PixelOffset;
  bool Icon = false;  // the height counts the AND mask too, which follows the pixels
};

// The picture composed onto white; EInvalidGraphic naming the reason when it cannot be read.
std::unique_ptr<TBitmap> DecodeDIB(const TDIBSource& source, const std::string& format);

// Width, height and bits per pixel from an info header, for choosing among icon entries.
struct TDIBSize {
  int64_t Width = 0, Height = 0;
  int Bits = 0;
};
TDIBSize DIBSizeOf(std::span<const uint8_t> header, bool icon);

}  // namespace corvane
