// Hostile coded data: the decoder warns or raises GIFException, never reads or writes outside
// its buffers (the sanitizer build checks that), and gives the same results as the plain
// decoder of ReferenceLzwDecoder.

#include <gtest/gtest.h>

#include <random>

#include "LzwTestSupport.h"
#include "ReferenceLzwDecoder.h"
#include "gif/GIFException.h"
#include "gif/LZWDecoder.h"
#include "gif/LZWEncoder.h"

namespace corvane::test {
namespace {

struct TOutcome {
  TBytes Pixels;
  std::vector<std::string> Warnings;
  std::string Error;  // empty without a GIFException
  int64_t EndPosition = 0;
  size_t Set = 0;  // the pixel count answered when there was no GIFException
};

template <typename TDecode>
TOutcome Run(const TBytes& coded, int width, int height, TDecode decode) {
  TOutcome outcome;
  outcome.Pixels.assign(size_t(width) * size_t(height), 0xEE);
  TMemoryStream stream(coded);
  try {
    outcome.Set = decode(stream, outcome.Pixels.data(), outcome.Warnings);
  } catch (const GIFException& e) {
    outcome.Error = e.what();
  }
  outcome.EndPosition = stream.Position();
  return outcome;
}

// Decodes with the fast decoder and the plain one; any failure other than a GIFException
// fails the test, and so does any difference. Answers whether it raised.
bool DecodeHostile(const TBytes& coded, int width, int height, bool interlaced) {
  TOutcome fast = Run(coded, width, height, [&](TStream& stream, uint8_t* pixels, auto& warnings) {
    return DecodeLzwPixels(stream, pixels, width, height, interlaced,
                           [&](const std::string& message) { warnings.push_back(message); });
  });
  TOutcome plain = Run(coded, width, height, [&](TStream& stream, uint8_t* pixels, auto& warnings) {
    return ReferenceDecodeLzwPixels(stream, pixels, width, height, interlaced, warnings);
  });
  EXPECT_EQ(fast.Error, plain.Error);
  EXPECT_EQ(fast.Warnings, plain.Warnings);
  EXPECT_EQ(fast.EndPosition, plain.EndPosition);
  EXPECT_EQ(fast.Set, plain.Set);
  EXPECT_TRUE(fast.Pixels == plain.Pixels) << "pixels differ";
  EXPECT_LE(fast.EndPosition, int64_t(coded.size()));
  return !fast.Error.empty();
}

TBytes RandomSubBlocks(std::mt19937& random, int count) {
  TBytes bytes;
  for (int b = 0; b < count; ++b) {
    int length = int(random() % 256);
    bytes.push_back(uint8_t(length));
    for (int i = 0; i < length; ++i) bytes.push_back(uint8_t(random()));
  }
  bytes.push_back(0);
  return bytes;
}

TEST(LzwHostile, EveryCodeSizeByte) {
  std::mt19937 random(11);
  for (int size = 0; size <= 255; ++size) {
    TBytes coded{uint8_t(size)};
    TBytes blocks = RandomSubBlocks(random, 4);
    coded.insert(coded.end(), blocks.begin(), blocks.end());
    for (bool interlaced : {false, true}) {
      bool raised = DecodeHostile(coded, 37, 29, interlaced);
      if (size > 11) {
        EXPECT_TRUE(raised) << "code size " << size;
      }
    }
  }
}

TEST(LzwHostile, TruncatedAtEveryOffset) {
  TLZWEncoder encoder;
  TBytes pixels = NoisePixels(60 * 40, 32, 12);
  for (bool interlaced : {false, true}) {
    TBytes coded = Encode(encoder, pixels, 60, 40, 5, interlaced);
    for (size_t cut = 0; cut < coded.size(); ++cut) {
      TBytes part(coded.begin(), coded.begin() + long(cut));
      DecodeHostile(part, 60, 40, interlaced);
    }
  }
}

TEST(LzwHostile, SubBlockLengthsPastTheEnd) {
  std::mt19937 random(13);
  for (int trial = 0; trial < 200; ++trial) {
    TBytes coded{uint8_t(2 + trial % 7)};
    int blocks = 1 + trial % 3;
    for (int b = 0; b < blocks; ++b) {
      int length = int(random() % 255) + 1;
      int present = b + 1 < blocks ? length : int(random() % uint32_t(length));
      coded.push_back(uint8_t(length));
      for (int i = 0; i < present; ++i) coded.push_back(uint8_t(random()));
    }
    DecodeHostile(coded, 50, 20, trial % 2 == 1);
  }
}

TEST(LzwHostile, RandomBytes) {
  std::mt19937 random(17);
  for (int trial = 0; trial < 3000; ++trial) {
    TBytes coded{uint8_t(random() % 12)};
    TBytes rest = trial % 2 ? RandomSubBlocks(random, int(random() % 5))
                            : NoisePixels(random() % 600, 256, uint32_t(random()));
    coded.insert(coded.end(), rest.begin(), rest.end());
    int width = int(random() % 70);
    int height = int(random() % 70);
    DecodeHostile(coded, width, height, random() % 2 == 0);
  }
}

// Valid codes followed by codes of random value: forward references, self references and
// cycles in the middle of well-formed data.
TEST(LzwHostile, RandomCodesAfterValidOnes) {
  std::mt19937 random(29);
  TLZWEncoder encoder;
  for (int trial = 0; trial < 400; ++trial) {
    int bits = 2 + trial % 7;
    TBytes pixels = NoisePixels(size_t(60 + trial), 1 << bits, uint32_t(trial));
    TCodeList list = ListCodes(Encode(encoder, pixels, 60 + trial, 1, uint8_t(bits)));
    TCodeWriter writer{uint8_t(bits)};
    size_t keep = 1 + random() % (list.Codes.size() - 1);
    for (size_t i = 0; i < keep; ++i) writer.Add(list.Codes[i], list.Widths[i]);
    int width = list.Widths[keep - 1];
    for (int i = 0; i < 300; ++i) writer.Add(int(random() % (1u << width)), width);
    DecodeHostile(writer.Bytes(), 30, 40, trial % 2 == 0);
  }
}

TEST(LzwHostile, FlippedBytesOfValidData) {
  TLZWEncoder encoder;
  TBytes pixels = NoisePixels(80 * 50, 8, 19);
  TBytes coded = Encode(encoder, pixels, 80, 50, 3);
  std::mt19937 random(23);
  for (int trial = 0; trial < 2000; ++trial) {
    TBytes damaged = coded;
    for (int flips = 0; flips < 1 + trial % 4; ++flips) {
      damaged[1 + random() % (damaged.size() - 1)] ^= uint8_t(1 << random() % 8);
    }
    DecodeHostile(damaged, 80, 50, trial % 3 == 0);
  }
}

}  // namespace
}  // namespace corvane::test
