// The encoders' bytes for a fixed set of frames, as a digest: a change to the code widths, the
// clears, the sub-blocks or the partial output before a colour error changes the files the
// program writes, even where every decoder still reads them back.

#include <gtest/gtest.h>

#include <random>

#include "LzwTestSupport.h"
#include "gif/GIFException.h"
#include "gif/LZWEncoder.h"
#include "gif/RLEEncoder.h"
#include "platform/Stream.h"

namespace corvane::test {
namespace {

// FNV-1a, 64 bits.
class TDigest {
 public:
  void Add(const TBytes& bytes) {
    for (uint8_t byte : bytes) FValue = (FValue ^ byte) * 0x100000001B3ull;
    FValue = (FValue ^ bytes.size()) * 0x100000001B3ull;
  }
  uint64_t Value() const { return FValue; }

 private:
  uint64_t FValue = 0xCBF29CE484222325ull;
};

// Noise, runs and a gradient mixed, so that strings of every length occur.
TBytes Mixed(int width, int height, int colorCount, std::mt19937& random) {
  TBytes pixels(size_t(width) * size_t(height));
  for (size_t i = 0; i < pixels.size(); ++i) {
    uint32_t x = uint32_t(i % size_t(width));
    uint32_t value = random() % 3 == 0 ? random() : x / 6 + uint32_t(i / size_t(width)) / 4;
    pixels[i] = uint8_t(value % uint32_t(colorCount));
  }
  return pixels;
}

// The coded data, or the bytes written before the colour error and a mark for it.
TBytes Coded(TGIFEncoder& encoder, const TBytes& pixels, int width, int height, int bits,
             bool interlaced, int colorCount) {
  TMemoryStream stream;
  try {
    encoder.CompressPixels(stream, uint8_t(bits), width, height, interlaced, pixels.data(), colorCount);
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Color not in color table");
    stream.WriteByte(0xEE);
  }
  return stream.TakeBytes();
}

uint64_t DigestOfFixedFrames(TGIFEncoder& encoder) {
  std::mt19937 random(7);
  TDigest digest;
  const std::pair<int, int> shapes[] = {{1, 1}, {7, 3}, {300, 200}, {4096, 3}};
  for (int bits = 1; bits <= 8; ++bits) {
    for (auto [width, height] : shapes) {
      TBytes pixels = Mixed(width, height, 1 << bits, random);
      digest.Add(Coded(encoder, pixels, width, height, bits, false, 1 << bits));
      digest.Add(Coded(encoder, pixels, width, height, bits, true, 1 << bits));
    }
  }
  for (int height = 1; height <= 9; ++height)
    digest.Add(Coded(encoder, Mixed(33, height, 16, random), 33, height, 4, true, 16));
  // The table fills many times; then a colour the table lacks, in the third row.
  TBytes noise = NoisePixels(400 * 300, 256, 3);
  digest.Add(Coded(encoder, noise, 400, 300, 8, false, 256));
  noise[2 * 400 + 17] = 200;
  digest.Add(Coded(encoder, noise, 400, 300, 8, true, 200));
  digest.Add(Coded(encoder, noise, 400, 300, 8, false, 200));
  return digest.Value();
}

TEST(LzwDigest, EncodersWriteTheSameBytesAsBefore) {
  TLZWEncoder lzw;
  EXPECT_EQ(DigestOfFixedFrames(lzw), 0x465615eaa7171649ull);
  TRLEEncoder rle;
  EXPECT_EQ(DigestOfFixedFrames(rle), 0xb2f75020724096e6ull);
}

}  // namespace
}  // namespace corvane::test
