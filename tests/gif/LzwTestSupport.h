#pragma once
// Helpers of the LZW tests: encoding and decoding frames in memory, hand-made code streams,
// and a minimal GIF file around a frame's coded data for giflib.

#include <cstdint>
#include <string>
#include <vector>

#include "gif/GIFEncoder.h"

namespace corvane::test {

using TBytes = std::vector<uint8_t>;

TBytes Encode(TGIFEncoder& encoder, const TBytes& pixels, int width, int height,
              uint8_t minCodeSize, bool interlaced = false, int colorCount = 256);

struct TDecoded {
  TBytes Pixels;
  std::vector<std::string> Warnings;
  int64_t EndPosition = 0;  // stream position after decoding
};

// Decodes coded data into a buffer filled with fill.
TDecoded Decode(const TBytes& coded, int width, int height, bool interlaced = false,
                uint8_t fill = 0);

// A GIF file holding one frame of the coded data under a global table of 2^tableBits entries.
TBytes WrapInGif(const TBytes& coded, int width, int height, int tableBits, bool interlaced);

// The pixels giflib decodes from the coded data.
TBytes DecodeWithGiflib(const TBytes& coded, int width, int height, int tableBits,
                        bool interlaced);

// Builds a coded frame from codes of given widths, packed into sub-blocks of blockSize.
class TCodeWriter {
 public:
  explicit TCodeWriter(uint8_t minCodeSize) : FMinCodeSize(minCodeSize) {}
  TCodeWriter& Add(int code, int width);
  // The minimum code size, the sub-blocks and, when wanted, the terminator.
  TBytes Bytes(bool terminator = true, int blockSize = 255) const;

 private:
  uint8_t FMinCodeSize;
  TBytes FData;
  uint32_t FBits = 0;
  int FBitCount = 0;
};

// The codes of a coded frame up to and including the end code, read at the widths a decoder
// uses; widths holds the width of each.
struct TCodeList {
  std::vector<int> Codes;
  std::vector<int> Widths;
};
TCodeList ListCodes(const TBytes& coded);

// The lengths of the sub-blocks of a coded frame, terminator excluded; fails the test when the
// data does not end with the terminator.
std::vector<int> SubBlockLengths(const TBytes& coded);

TBytes NoisePixels(size_t count, int colorCount, uint32_t seed);

// Pixels at code size 2 whose strings give an encoder 4005 keys that all probe the same 4004
// slots of the string table: a crafted frame that a bounded probe sequence must survive.
TBytes PixelsCrowdingOneProbeCycle();

}  // namespace corvane::test
