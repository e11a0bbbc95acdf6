#include "GIFEncoder.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "gif/GIFException.h"
#include "gif/Interlace.h"

namespace corvane {

void TGIFEncoder::CompressPixels(TStream& stream, uint8_t minCodeSize, int width, int height,
                                 bool interlaced, const uint8_t* pixels, int colorCount) {
  // Above 11 the codes would not fit in 12 bits.
  if (minCodeSize > 11) throw GIFException("Invalid LZW code size");
  FOutStream = &stream;
  FMinCodeSize = std::max<uint8_t>(minCodeSize, 2);
  FFrameWidth = width;
  FFrameHeight = height;
  FInterlaced = interlaced;
  FPixels = pixels;
  FColorCount = colorCount;
  FStartCodeSize = FMinCodeSize + 1;
  stream.WriteByte(FMinCodeSize);

  FCodeSize = FStartCodeSize;
  FCodeLimit = LargestCode(FCodeSize);
  FClearValue = 1 << FMinCodeSize;
  FEndValue = FClearValue + 1;
  FFirstFree = FClearValue + 2;
  FJustCleared = false;
  FPixelCursor = pixels;
  FLeftInRow = interlaced ? width : int64_t(width) * height;
  FRowIndex = 0;
  FPassIndex = 0;

  TGIFWriter writer(stream);
  std::array<uint8_t, TCodePacker::kBufferSize> codeBytes;
  FPacker = TCodePacker(writer, codeBytes.data());
  try {
    if (pixels && width > 0 && height > 0) EncodeBody();
  } catch (const GIFException&) {
    FPacker.DrainWholeBytes();
    throw;
  }
  EmitCode(FEndValue);
  FPacker.Drain();
  writer.Finish();
  stream.WriteByte(0);
}

void TGIFEncoder::EmitCode(int code) { PackCode(FPacker, code, FCodeSize, FEndValue); }

// The largest value first, in blocks of a fixed size that the compiler vectorizes; the search
// only when one is outside.
const uint8_t* TGIFEncoder::FirstOutsideTable(const uint8_t* begin, const uint8_t* end) const {
  if (FColorCount > 255) return end;
  constexpr ptrdiff_t kBlock = 32;
  uint8_t largest = 0;
  const uint8_t* pixel = begin;
  for (; end - pixel >= kBlock; pixel += kBlock) {
    uint8_t blockLargest = 0;
    for (ptrdiff_t i = 0; i < kBlock; ++i) blockLargest = std::max(blockLargest, pixel[i]);
    largest = std::max(largest, blockLargest);
  }
  for (; pixel < end; ++pixel) largest = std::max(largest, *pixel);
  if (largest < FColorCount) return end;
  return std::find_if(begin, end, [this](uint8_t pixel) { return pixel >= FColorCount; });
}

void TGIFEncoder::EmitClear() {
  FJustCleared = true;
  EmitCode(FClearValue);
}

bool TGIFEncoder::NextRow() {
  if (!FInterlaced || !NextInterlacedRow(FRowIndex, FPassIndex, FFrameHeight)) return false;
  FLeftInRow = FFrameWidth;
  FPixelCursor = FPixels + size_t(FRowIndex) * size_t(FFrameWidth);
  return true;
}

}  // namespace corvane
