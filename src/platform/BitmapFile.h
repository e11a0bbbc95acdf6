#pragma once
// The headers of the Windows bitmap file format, shared by TBitmap and the writers that
// build such files in memory.

#include <cstdint>

#include "Palette.h"

namespace corvane {

constexpr int kBitmapFileHeaderSize = 14;
constexpr int kBitmapInfoHeaderSize = 40;

// Bytes before the rows: file header, bitmap-info header and, for 8 bits per pixel, a
// colour table of 256 entries.
uint32_t BitmapHeadersSize(int bitsPerPixel);

// Fills the BitmapHeadersSize bytes at headers for bottom-up rows of rowsSize bytes in all,
// uncompressed. For 8 bits the colour table holds the palette's entries (at most 256, the
// rest zero), all counted as important. headers must be zero-filled.
void WriteBitmapHeaders(uint8_t* headers, int width, int height, int bitsPerPixel, const TPalette& palette,
                        uint32_t rowsSize);

}  // namespace corvane
