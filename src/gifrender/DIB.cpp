#include "DIB.h"

#include <new>

#include "gif/GIFException.h"
#include "platform/BitmapFile.h"
#include "platform/Stream.h"

namespace corvane {

namespace {

[[noreturn]] void OutOfDIBMemory() { throw EOutOfMemory("Failed to allocate memory for GIF DIB"); }

}  // namespace

TDIB::TDIB(TBitmap& bitmap, int bitsPerPixel) : FBitmap(bitmap), FBitsPerPixel(bitsPerPixel) {
  if (bitsPerPixel != 8 && bitsPerPixel != 24) throw GIFException("Unsupported PixelFormat");
}

TDIBReader::TDIBReader(TBitmap& bitmap, int bitsPerPixel) : TDIB(bitmap, bitsPerPixel) {
  bitmap.SetPixelFormat(Format());
}

TDIBWriter::TDIBWriter(TBitmap& bitmap, TPalette palette, int height, int width, int bitsPerPixel)
    : TDIB(bitmap, bitsPerPixel), FPalette(std::move(palette)), FWidth(width), FHeight(height), FRowSize(0) {
  if (width < 1 || height < 1) throw GIFException("Invalid image dimensions");
  FRowSize = int((int64_t(width) * bitsPerPixel + 31) / 32 * 4);
}

int64_t TDIBWriter::PixelOffset() const { return BitmapHeadersSize(FBitsPerPixel); }

void TDIBWriter::AllocateImage() {
  if (int64_t(FWidth) * FHeight > kMaxBitmapPixels) OutOfDIBMemory();
  try {
    FImage.assign(size_t(PixelOffset()) + size_t(FRowSize) * size_t(FHeight), 0);
  } catch (const std::bad_alloc&) {
    OutOfDIBMemory();
  }
}

uint8_t* TDIBWriter::RowAddress(int y) {
  if (y < 0 || y >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
  if (FImage.empty()) AllocateImage();
  return FImage.data() + PixelOffset() + int64_t(FHeight - 1 - y) * FRowSize;
}

void TDIBWriter::CommitDIB() {
  if (FImage.empty()) AllocateImage();
  WriteBitmapHeaders(FImage.data(), FWidth, FHeight, FBitsPerPixel, FPalette, uint32_t(FImage.size() - PixelOffset()));
  TMemoryStream stream(std::move(FImage));
  FBitmap.LoadFromStream(stream);
  FImage = stream.TakeBytes();
  if (FBitsPerPixel == 8 && FPalette) FBitmap.SetPalette(FPalette);
}

}  // namespace corvane
