#pragma once
// Row access to a frame's bitmap while it is rendered. TDIBReader hands out the rows of a
// bitmap in a given pixel format; TDIBWriter builds a device-independent bitmap (rows
// bottom-up, each padded to 4 bytes) in memory and loads it into the bitmap in one go.

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Palette.h"

namespace corvane {

// A target bitmap and the bits per pixel of its rows: 8 or 24, "Unsupported PixelFormat"
// otherwise.
class TDIB {
 public:
  TDIB(TBitmap& bitmap, int bitsPerPixel);

  TBitmap& Bitmap() { return FBitmap; }
  int BitsPerPixel() const { return FBitsPerPixel; }

 protected:
  TPixelFormat Format() const { return FBitsPerPixel == 8 ? TPixelFormat::pf8bit : TPixelFormat::pf24bit; }

  TBitmap& FBitmap;
  int FBitsPerPixel;
};

class TDIBReader : public TDIB {
 public:
  // Converts the bitmap to the pixel format.
  TDIBReader(TBitmap& bitmap, int bitsPerPixel);

  // "Scan line index out of range" outside the bitmap.
  uint8_t* RowAddress(int y) { return FBitmap.ScanLine(y); }
};

class TDIBWriter : public TDIB {
 public:
  // "Invalid image dimensions" for a width or height below 1. For 8 bits the colour table
  // holds the palette's entries (none for no palette).
  TDIBWriter(TBitmap& bitmap, TPalette palette, int height, int width, int bitsPerPixel);

  int RowSize() const { return FRowSize; }
  // The start of row y (0 is the top row). The pixel memory, zero-filled, is made on first
  // use: EOutOfMemory "Failed to allocate memory for GIF DIB" when it cannot be had.
  // EInvalidGraphicOperation "Scan line index out of range" outside the rows.
  uint8_t* RowAddress(int y);

  // Loads the bitmap with the rows written so far. Explicit rather than on destruction, so
  // that a render that fails half-way leaves the bitmap alone and load errors reach the
  // caller. The bitmap keeps the palette object it was given.
  void CommitDIB();

 private:
  void AllocateImage();
  int64_t PixelOffset() const;

  TPalette FPalette;
  int FWidth;
  int FHeight;
  int FRowSize;
  // The whole BMP file image: file header, bitmap-info header, colour table, rows.
  std::vector<uint8_t> FImage;
};

}  // namespace corvane
