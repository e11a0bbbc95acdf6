// Both encoders' output must decode back to the frame's pixels through our decoder and
// through giflib, with well-formed sub-blocks.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

#include "LzwTestSupport.h"
#include "gif/LZWEncoder.h"
#include "gif/RLEEncoder.h"

namespace corvane::test {
namespace {

enum class TCoder { LZW, RLE };

std::unique_ptr<TGIFEncoder> MakeEncoder(TCoder coder) {
  if (coder == TCoder::RLE) return std::make_unique<TRLEEncoder>();
  return std::make_unique<TLZWEncoder>();
}

const char* NameOf(TCoder coder) { return coder == TCoder::RLE ? "RLE" : "LZW"; }

// Encodes pixels with a table of 2^bits colours and checks the result; returns the coded data.
TBytes ExpectRoundTrip(TCoder coder, const TBytes& pixels, int width, int height, int bits,
                       bool interlaced = false) {
  SCOPED_TRACE(testing::Message() << NameOf(coder) << " " << width << "x" << height << " bits "
                                  << bits << (interlaced ? " interlaced" : ""));
  auto encoder = MakeEncoder(coder);
  TBytes coded = Encode(*encoder, pixels, width, height, uint8_t(bits), interlaced, 1 << bits);
  std::vector<int> lengths = SubBlockLengths(coded);
  for (size_t i = 0; i + 1 < lengths.size(); ++i) EXPECT_EQ(lengths[i], 255) << "sub-block " << i;

  TDecoded ours = Decode(coded, width, height, interlaced, 0xEE);
  EXPECT_EQ(ours.Pixels, pixels);
  EXPECT_TRUE(ours.Warnings.empty());
  EXPECT_EQ(ours.EndPosition, int64_t(coded.size()));
  EXPECT_EQ(DecodeWithGiflib(coded, width, height, bits, interlaced), pixels);
  return coded;
}

// Rows of runs of a few colours, so that strings grow long.
TBytes Stripes(int width, int height, int colorCount) {
  TBytes pixels(size_t(width) * size_t(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels[size_t(y) * size_t(width) + size_t(x)] = uint8_t((x / 5 + y / 3) % colorCount);
  }
  return pixels;
}

TEST(LzwRoundTrip, EveryShapeAndCodeSize) {
  const std::pair<int, int> shapes[] = {{1, 1},   {1, 7},   {7, 1},    {5, 3},   {17, 13},
                                        {255, 2}, {256, 3}, {1000, 9}, {4096, 2}};
  uint32_t seed = 1;
  for (TCoder coder : {TCoder::LZW, TCoder::RLE}) {
    for (int bits = 1; bits <= 8; ++bits) {
      for (auto [width, height] : shapes) {
        size_t count = size_t(width) * size_t(height);
        ExpectRoundTrip(coder, NoisePixels(count, 1 << bits, seed++), width, height, bits);
        ExpectRoundTrip(coder, Stripes(width, height, 1 << bits), width, height, bits);
      }
    }
  }
}

TEST(LzwRoundTrip, InterlacedHeightsOneToNine) {
  uint32_t seed = 100;
  for (TCoder coder : {TCoder::LZW, TCoder::RLE}) {
    for (int height = 1; height <= 9; ++height) {
      for (int width : {1, 6, 33}) {
        for (int bits : {2, 8}) {
          size_t count = size_t(width) * size_t(height);
          ExpectRoundTrip(coder, NoisePixels(count, 1 << bits, seed++), width, height, bits, true);
        }
      }
    }
  }
  ExpectRoundTrip(TCoder::LZW, Stripes(300, 203, 16), 300, 203, 4, true);
}

TEST(LzwRoundTrip, SingleColourFrames) {
  for (TCoder coder : {TCoder::LZW, TCoder::RLE}) {
    for (int bits = 1; bits <= 8; ++bits) {
      uint8_t colour = uint8_t((1 << bits) - 1);
      for (auto [width, height] : {std::pair{1, 1}, {2, 1}, {100, 100}, {4096, 30}}) {
        ExpectRoundTrip(coder, TBytes(size_t(width) * size_t(height), colour), width, height, bits);
      }
    }
  }
}

// One run of 8.6 million pixels is longer than the run-length coder's codes between two clears
// can hold, so it clears in the middle of the run.
TEST(LzwRoundTrip, RunsLongerThanOneClearHolds) {
  for (int bits : {2, 8}) {
    ExpectRoundTrip(TCoder::RLE, TBytes(4096 * 2100, 1), 4096, 2100, bits);
  }
}

// Runs of random lengths, mostly of two colours, so that runs repeat the longest run the table
// holds, fall back to clears, and restart after clears.
TEST(LzwRoundTrip, RunsOfRandomLengths) {
  std::mt19937 random(7);
  for (int bits : {1, 2, 3, 4, 8}) {
    TBytes pixels;
    while (pixels.size() < 200000) {
      uint8_t colour = uint8_t(random() % 8 == 0 ? random() % (1u << bits) : random() % 2);
      size_t length = random() % 4 == 0 ? random() % 6000 : random() % 40 + 1;
      pixels.insert(pixels.end(), length, colour);
    }
    pixels.resize(200000);
    ExpectRoundTrip(TCoder::RLE, pixels, 500, 400, bits);
    ExpectRoundTrip(TCoder::RLE, pixels, 500, 400, bits, true);
    ExpectRoundTrip(TCoder::LZW, pixels, 500, 400, bits);
  }
}

// Noise fills the 4096-code table dozens of times; the encoder clears once it has assigned
// 4094, never uses 4095 and never codes wider than 12 bits.
TEST(LzwRoundTrip, ClearsAfterCode4094) {
  for (int bits : {2, 8}) {
    TBytes coded = ExpectRoundTrip(TCoder::LZW, NoisePixels(1000 * 300, 1 << bits, 5), 1000, 300, bits);
    TCodeList list = ListCodes(coded);
    int clear = 1 << bits;
    int clears = 0;
    int definedSinceClear = 0;
    for (size_t i = 0; i < list.Codes.size(); ++i) {
      int code = list.Codes[i];
      EXPECT_LE(list.Widths[i], 12);
      EXPECT_LT(code, 4095);
      if (code == clear) {
        if (i > 0) {
          ++clears;
          // The decoder has defined clear + 2 … 4094, the last with the code before the clear.
          EXPECT_EQ(definedSinceClear, 4094 - (clear + 2) + 1) << "clear at code " << i;
        }
        definedSinceClear = -1;
      } else {
        ++definedSinceClear;
      }
    }
    EXPECT_GT(clears, 10);
  }
}

TEST(LzwRoundTrip, OneBitTablesUseCodeSizeTwo) {
  TBytes pixels = NoisePixels(40 * 20, 2, 9);
  for (TCoder coder : {TCoder::LZW, TCoder::RLE}) {
    TBytes coded = ExpectRoundTrip(coder, pixels, 40, 20, 1);
    EXPECT_EQ(coded[0], 2);
    TCodeList list = ListCodes(coded);
    EXPECT_EQ(list.Codes[0], 4);
    EXPECT_EQ(list.Widths[0], 3);
    EXPECT_EQ(list.Codes.back(), 5);
  }
}

TEST(LzwRoundTrip, Exactly255TimesNBytesMakeNFullSubBlocks) {
  TLZWEncoder encoder;
  for (int width = 100; width < 2000; ++width) {
    TBytes pixels = NoisePixels(size_t(width) * 10, 256, uint32_t(width));
    TBytes coded = Encode(encoder, pixels, width, 10, 8);
    size_t dataBytes = coded.size() - 2;  // the code size byte and the terminator
    if (dataBytes % 256 != 0) continue;   // n full sub-blocks take 256 × n bytes
    std::vector<int> lengths = SubBlockLengths(coded);
    EXPECT_EQ(lengths, std::vector<int>(dataBytes / 256, 255));
    EXPECT_EQ(Decode(coded, width, 10).Pixels, pixels);
    EXPECT_EQ(DecodeWithGiflib(coded, width, 10, 8, false), pixels);
    return;
  }
  FAIL() << "no width gave a multiple of 255 bytes";
}

TEST(LzwRoundTrip, ZeroSizeFramesCodeOnlyTheEndCode) {
  TLZWEncoder lzw;
  TRLEEncoder rle;
  EXPECT_EQ(Encode(lzw, {}, 0, 5, 2), (TBytes{2, 1, 5, 0}));
  EXPECT_EQ(Encode(rle, {}, 7, 0, 8), (TBytes{8, 2, 0x01, 0x01, 0}));
  TDecoded decoded = Decode({8, 2, 0x01, 0x01, 0}, 0, 0);
  EXPECT_EQ(decoded.EndPosition, 5);
  EXPECT_TRUE(decoded.Warnings.empty());
}

TEST(LzwRoundTrip, KeysCrowdingOneProbeCycleMakeTheEncoderClear) {
  TBytes pixels = PixelsCrowdingOneProbeCycle();
  int height = int(pixels.size() / 4000);
  TBytes coded = ExpectRoundTrip(TCoder::LZW, pixels, 4000, height, 2);
  TCodeList list = ListCodes(coded);
  size_t secondClear = 1;
  while (list.Codes[secondClear] != 4) ++secondClear;
  // 4004 keys fill the cycle; the 4005th cannot be stored, so its code is followed by a clear
  // long before code 4094 would be assigned.
  EXPECT_EQ(secondClear, 4006u);
}

}  // namespace
}  // namespace corvane::test
