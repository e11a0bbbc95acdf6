#include "GIFEncoder.h"

#include <algorithm>

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
  FAccumulator = 0;
  FAccumulatedBits = 0;
  FJustCleared = false;
  FPixelCursor = pixels;
  FLeftInRow = interlaced ? width : int64_t(width) * height;
  FRowIndex = 0;
  FPassIndex = 0;

  TGIFWriter writer(stream);
  FBlockWriter = &writer;
  if (pixels && width > 0 && height > 0) EncodeBody();
  EmitCode(FEndValue);
  writer.Finish();
  stream.WriteByte(0);
}

void TGIFEncoder::EmitCode(int code) {
  if (FAccumulatedBits > 0) {
    FAccumulator = (FAccumulator & ((1u << FAccumulatedBits) - 1)) |
                   uint32_t(code) << FAccumulatedBits;
  } else {
    FAccumulator = uint32_t(code);
  }
  FAccumulatedBits += FCodeSize;
  while (FAccumulatedBits >= 8) {
    FBlockWriter->PutByte(uint8_t(FAccumulator));
    FAccumulator >>= 8;
    FAccumulatedBits -= 8;
  }
  if (code == FEndValue && FAccumulatedBits > 0) {
    FBlockWriter->PutByte(uint8_t(FAccumulator & ((1u << FAccumulatedBits) - 1)));
    FAccumulatedBits = 0;
  }
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
