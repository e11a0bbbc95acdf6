// The smallest-stream coder: its flexible streams and its choice decode back to the frame's
// pixels through our decoder and through giflib, it is never longer than the default encoder,
// its size estimate is exact, and it fails as the default encoder does.

#include <gtest/gtest.h>

#include <random>

#include "LzwTestSupport.h"
#include "gif/GIFException.h"
#include "gif/LZWEncoder.h"
#include "gif/SmallestLzw.h"
#include "platform/Stream.h"

namespace corvane::test {
namespace {

// A gradient with noise on it, as an indexed photo looks to the coder.
TBytes PhotoLike(int width, int height, int colorCount, uint32_t seed) {
  std::mt19937 random(seed);
  TBytes pixels(size_t(width) * size_t(height));
  for (size_t i = 0; i < pixels.size(); ++i) {
    uint32_t x = uint32_t(i % size_t(width)), y = uint32_t(i / size_t(width));
    pixels[i] = uint8_t((x / 7 + y / 5 + random() % 4) % uint32_t(colorCount));
  }
  return pixels;
}

// Runs of random lengths and colours: long strings, tables that fill slowly.
TBytes Runs(int width, int height, int colorCount, uint32_t seed) {
  std::mt19937 random(seed);
  TBytes pixels;
  while (pixels.size() < size_t(width) * size_t(height)) {
    pixels.insert(pixels.end(), random() % 30 + 1, uint8_t(random() % uint32_t(colorCount)));
  }
  pixels.resize(size_t(width) * size_t(height));
  return pixels;
}

// Sparse marks in bands on a flat ground, as a logo or text: a table fitted to one band fits
// the next one badly.
TBytes MarksInBands(int width, int height, int colorCount, uint32_t seed) {
  std::mt19937 random(seed);
  TBytes pixels(size_t(width) * size_t(height));
  for (size_t i = 0; i < pixels.size(); ++i) {
    const bool band = i / size_t(width) / 16 % 2 == 0;
    pixels[i] = band && random() % 4 == 0 ? uint8_t(random() % uint32_t(colorCount)) : 0;
  }
  return pixels;
}

TBytes Noise(int width, int height, int colorCount, uint32_t seed) {
  return NoisePixels(size_t(width) * size_t(height), colorCount, seed);
}

using TGenerator = TBytes (*)(int, int, int, uint32_t);

// The clears that follow more codes than the default encoder codes with a full table: the
// table was kept after it filled. No code may be 4095, which giflib never defines.
int DeferredClears(const TBytes& coded) {
  TCodeList list = ListCodes(coded);
  int clear = 1 << coded[0];
  int deferred = 0;
  int sinceClear = 0;
  for (int code : list.Codes) {
    EXPECT_LT(code, 4095);
    if (code == clear && sinceClear > 4096 - (clear + 2) + 1) ++deferred;
    sinceClear = code == clear ? 0 : sinceClear + 1;
  }
  return deferred;
}

struct TCase {
  int Width;
  int Height;
  bool Interlaced;
  TGenerator Generate;
};

TEST(SmallestLzw, DecodesBackAndIsNeverLonger) {
  const TCase cases[] = {
      {1, 1, false, Noise},       {7, 1, false, Runs},          {1, 7, true, Noise},
      {17, 13, false, PhotoLike}, {255, 2, false, Runs},        {33, 9, true, PhotoLike},
      {300, 200, false, Noise},   {300, 200, true, PhotoLike},  {1000, 300, false, PhotoLike},
      {1000, 300, false, Runs},   {640, 480, false, MarksInBands},
  };
  uint32_t seed = 1;
  int deferred = 0;
  int shorter = 0;
  for (int bits = 1; bits <= 8; ++bits) {
    for (const TCase& c : cases) {
      SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << " bits " << bits << (c.Interlaced ? " interlaced" : ""));
      int colorCount = 1 << bits;
      TBytes pixels = c.Generate(c.Width, c.Height, colorCount, seed++);
      TMemoryStream flexible;
      CompressPixelsFlexible(flexible, uint8_t(bits), c.Width, c.Height, c.Interlaced, pixels.data());
      TMemoryStream smallest;
      CompressPixelsSmallest(smallest, uint8_t(bits), c.Width, c.Height, c.Interlaced, pixels.data(), colorCount);
      TLZWEncoder encoder;
      TBytes greedy = Encode(encoder, pixels, c.Width, c.Height, uint8_t(bits), c.Interlaced, colorCount);
      for (const TBytes& coded : {flexible.Bytes(), smallest.Bytes()}) {
        TDecoded ours = Decode(coded, c.Width, c.Height, c.Interlaced, 0xEE);
        EXPECT_EQ(ours.Pixels, pixels);
        EXPECT_TRUE(ours.Warnings.empty());
        EXPECT_EQ(ours.EndPosition, int64_t(coded.size()));
        EXPECT_EQ(DecodeWithGiflib(coded, c.Width, c.Height, bits, c.Interlaced), pixels);
        SubBlockLengths(coded);
        deferred += DeferredClears(coded);
      }
      EXPECT_LE(smallest.Size(), int64_t(greedy.size()));
      EXPECT_TRUE(smallest.Bytes() == greedy || smallest.Bytes() == flexible.Bytes());
      EXPECT_EQ(SmallestCodedSize(uint8_t(bits), c.Width, c.Height, c.Interlaced, pixels.data(), colorCount), smallest.Size());
      shorter += smallest.Size() < int64_t(greedy.size());
    }
  }
  // The frames exercise what the default encoder never writes.
  EXPECT_GT(deferred, 20);
  EXPECT_GT(shorter, 20);
}

// Keys crafted to share one probe sequence of the string table make the coder clear, as they
// make the default encoder clear, rather than search the crowded sequence for every pixel.
TEST(SmallestLzw, KeysCrowdingOneProbeCycle) {
  TBytes pixels = PixelsCrowdingOneProbeCycle();
  int height = int(pixels.size() / 4000);
  TMemoryStream coded;
  CompressPixelsFlexible(coded, 2, 4000, height, false, pixels.data());
  EXPECT_EQ(Decode(coded.Bytes(), 4000, height).Pixels, pixels);
  EXPECT_EQ(DecodeWithGiflib(coded.Bytes(), 4000, height, 2, false), pixels);
}

// Noise, which a full table expands, costs little more than one bit over its code size: the
// table is cleared before its codes widen.
TEST(SmallestLzw, NoiseIsNotExpanded) {
  for (int bits : {6, 8}) {
    const TBytes pixels = Noise(300, 200, 1 << bits, uint32_t(bits));
    const int64_t size = SmallestCodedSize(uint8_t(bits), 300, 200, false, pixels.data(), 1 << bits);
    EXPECT_LT(size * 8, int64_t(pixels.size()) * (bits + 1) * 102 / 100) << bits;
  }
}

// A code size below the colour table's depth, as the deep level picks for frames that use
// only the low entries of a large table.
TEST(SmallestLzw, CodeSizeBelowTheTableDepth) {
  TBytes pixels = PhotoLike(200, 100, 4, 3);
  TMemoryStream coded;
  CompressPixelsSmallest(coded, 2, 200, 100, false, pixels.data(), 256);
  EXPECT_EQ(coded.Bytes()[0], 2);
  EXPECT_EQ(Decode(coded.Bytes(), 200, 100).Pixels, pixels);
  EXPECT_EQ(SmallestCodedSize(2, 200, 100, false, pixels.data(), 256), coded.Size());
}

// Whatever the default encoder refuses or codes specially, it codes itself: same bytes, same
// error, same partial output.
TEST(SmallestLzw, FramesTheDefaultEncoderCodesAsItDoes) {
  TBytes outside = PhotoLike(50, 40, 16, 5);
  outside[1234] = 16;
  TBytes aboveClear(50 * 40, 5);  // fits the colour count, not code size 2
  struct TOdd {
    const uint8_t* Pixels;
    int Width, Height, MinCodeSize, ColorCount;
  } odds[] = {
      {outside.data(), 50, 40, 4, 16}, {aboveClear.data(), 50, 40, 2, 256}, {outside.data(), 50, 40, 12, 16},
      {nullptr, 50, 40, 4, 16},        {outside.data(), 0, 40, 4, 16},
  };
  for (const TOdd& odd : odds) {
    auto run = [&](auto compress) {
      TMemoryStream stream;
      std::string error;
      try {
        compress(stream);
      } catch (const GIFException& e) {
        error = e.what();
      }
      return std::pair{stream.TakeBytes(), error};
    };
    auto theirs = run([&](TStream& s) {
      TLZWEncoder encoder;
      encoder.CompressPixels(s, uint8_t(odd.MinCodeSize), odd.Width, odd.Height, false, odd.Pixels, odd.ColorCount);
    });
    auto ours = run([&](TStream& s) {
      CompressPixelsSmallest(s, uint8_t(odd.MinCodeSize), odd.Width, odd.Height, false, odd.Pixels, odd.ColorCount);
    });
    EXPECT_EQ(ours, theirs) << "code size " << odd.MinCodeSize;
    if (theirs.second.empty()) {
      EXPECT_EQ(SmallestCodedSize(uint8_t(odd.MinCodeSize), odd.Width, odd.Height, false, odd.Pixels, odd.ColorCount),
                int64_t(theirs.first.size()));
    } else {
      EXPECT_THROW(SmallestCodedSize(uint8_t(odd.MinCodeSize), odd.Width, odd.Height, false, odd.Pixels, odd.ColorCount),
                   GIFException);
    }
  }
}

}  // namespace
}  // namespace corvane::test
