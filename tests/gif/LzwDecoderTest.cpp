// The decoder on hand-made and altered code streams: what it makes of irregular data, where
// it leaves the stream, and how it stops on damaged tables.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "LzwTestSupport.h"
#include "gif/GIFException.h"
#include "gif/LZWDecoder.h"
#include "gif/LZWEncoder.h"

namespace corvane::test {
namespace {

using testing::ElementsAre;

// Clear 4, end 5; after the first code each code defines an entry, from 6 on; width 4 from the
// code that defines 7.
TCodeWriter OneTwoOneTwo(bool leadingClear) {
  TCodeWriter writer(2);
  if (leadingClear) writer.Add(4, 3);
  writer.Add(1, 3).Add(2, 3).Add(6, 3);
  return writer;
}

TEST(LzwDecoder, DataWithoutLeadingClearDecodesTheSame) {
  for (bool clear : {true, false}) {
    TBytes coded = OneTwoOneTwo(clear).Add(5, 4).Bytes();
    TDecoded decoded = Decode(coded, 4, 1);
    EXPECT_EQ(decoded.Pixels, (TBytes{1, 2, 1, 2}));
    EXPECT_EQ(decoded.EndPosition, int64_t(coded.size()));
  }
  // The same on an encoder's data from which the leading clear is cut out.
  TLZWEncoder encoder;
  TBytes pixels = NoisePixels(30 * 20, 8, 3);
  TCodeList list = ListCodes(Encode(encoder, pixels, 30, 20, 3));
  TCodeWriter writer(3);
  for (size_t i = 1; i < list.Codes.size(); ++i) writer.Add(list.Codes[i], list.Widths[i]);
  EXPECT_EQ(Decode(writer.Bytes(), 30, 20).Pixels, pixels);
}

TEST(LzwDecoder, ClearThenEndLeavesTheFill) {
  TBytes coded = TCodeWriter(2).Add(4, 3).Add(5, 3).Bytes();
  TDecoded decoded = Decode(coded, 3, 2, false, 9);
  EXPECT_EQ(decoded.Pixels, TBytes(6, 9));
  EXPECT_EQ(decoded.EndPosition, int64_t(coded.size()));
  EXPECT_TRUE(decoded.Warnings.empty());
}

TEST(LzwDecoder, StreamEndsAfterTheTerminatorOfPaddedData) {
  TLZWEncoder encoder;
  TBytes pixels = NoisePixels(50 * 50, 256, 4);
  TBytes coded = Encode(encoder, pixels, 50, 50, 8);
  coded.insert(coded.end() - 1, {3, 0xAA, 0xBB, 0xCC, 1, 0xDD});
  size_t frameEnd = coded.size();
  coded.insert(coded.end(), {0x21, 0xF9, 0x04});
  TDecoded decoded = Decode(coded, 50, 50);
  EXPECT_EQ(decoded.Pixels, pixels);
  EXPECT_EQ(decoded.EndPosition, int64_t(frameEnd));
}

// An end code before the last pixel ends the decode: the bytes after the frame's terminator
// belong to the next block and are not read as coded data.
TEST(LzwDecoder, EarlyEndCodeReadsNothingAfterTheTerminator) {
  TBytes coded = OneTwoOneTwo(true).Add(5, 4).Bytes();
  size_t frameEnd = coded.size();
  coded.insert(coded.end(), {0x21, 0xFE, 3, 'a', 'b', 'c', 0, 0x3B});
  TDecoded decoded = Decode(coded, 4, 4, false, 7);
  EXPECT_THAT(decoded.Pixels, ElementsAre(1, 2, 1, 2, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7));
  EXPECT_EQ(decoded.EndPosition, int64_t(frameEnd));
  EXPECT_TRUE(decoded.Warnings.empty());
}

TEST(LzwDecoder, InterlacedDataThatEndsEarlyFillsItsRows) {
  // Two rows of two pixels: decode-order row 0 is row 0, row 1 is row 1 only for height 2;
  // with height 5 the second decoded row is row 4.
  TBytes coded = OneTwoOneTwo(true).Add(5, 4).Bytes();
  TDecoded decoded = Decode(coded, 2, 5, true, 0);
  EXPECT_THAT(decoded.Pixels, ElementsAre(1, 2, 0, 0, 0, 0, 0, 0, 1, 2));
}

TEST(LzwDecoder, CodesNeededAfterTheTerminatorWarnOfUnderRun) {
  TBytes coded = TCodeWriter(2).Add(4, 3).Add(1, 3).Add(2, 3).Bytes();
  TDecoded decoded = Decode(coded, 16, 1, false, 7);
  EXPECT_EQ(decoded.Pixels[0], 1);
  EXPECT_EQ(decoded.Pixels[1], 2);
  EXPECT_THAT(decoded.Warnings, ElementsAre("Decoder bit buffer under-run"));
  EXPECT_EQ(decoded.EndPosition, int64_t(coded.size()));
}

TEST(LzwDecoder, SubBlockPastTheEndWarnsAndDecodesWhatIsThere) {
  TLZWEncoder encoder;
  TBytes pixels = NoisePixels(40 * 40, 16, 6);
  TBytes coded = Encode(encoder, pixels, 40, 40, 4);
  coded.resize(100);  // inside the first sub-block, which claims 255 bytes
  TDecoded decoded = Decode(coded, 40, 40, false, 0xEE);
  EXPECT_THAT(decoded.Warnings, ElementsAre("Premature end of data"));
  EXPECT_TRUE(std::equal(pixels.begin(), pixels.begin() + 80, decoded.Pixels.begin()));
  EXPECT_EQ(decoded.Pixels.back(), 0xEE);
  EXPECT_EQ(decoded.EndPosition, 100);
}

void ExpectCircular(const TBytes& coded, const TBytes& expectedStart) {
  TBytes pixels(64, 0xEE);
  TMemoryStream stream(coded);
  try {
    DecodeLzwPixels(stream, pixels.data(), 8, 8, false, {});
    FAIL() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Circular decoder table entry");
  }
  EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), pixels.begin()));
  EXPECT_EQ(pixels[expectedStart.size()], 0xEE) << "nothing of the failing string is stored";
}

// Code 7 arrives while 6 is the next entry; the code after it then defines 7 with itself as
// prefix, and reading 7 again meets the loop.
TEST(LzwDecoder, EntryThatIsItsOwnPrefixIsCircular) {
  TBytes coded = TCodeWriter(2).Add(4, 3).Add(1, 3).Add(7, 3).Add(0, 3).Add(7, 4).Add(5, 4).Bytes();
  ExpectCircular(coded, {1, 1, 1, 0});
}

// Entries 11 and 12 become each other's prefix; the chain through them is stopped when it
// would overflow the output stack.
TEST(LzwDecoder, PrefixCycleThroughTwoEntriesIsCircular) {
  TBytes coded =
      TCodeWriter(3).Add(8, 4).Add(1, 4).Add(12, 4).Add(11, 4).Add(0, 4).Add(11, 4).Add(9, 4).Bytes();
  ExpectCircular(coded, {1, 1, 1, 0, 0, 1, 0});
}

TEST(LzwDecoder, MinimumCodeSizeAboveElevenIsRefused) {
  for (uint8_t size : {12, 13, 255}) {
    TBytes pixels(4);
    TMemoryStream stream(TBytes{size, 1, 0, 0});
    try {
      DecodeLzwPixels(stream, pixels.data(), 2, 2, false, {});
      FAIL() << "no error";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), "Invalid LZW code size");
    }
  }
}

TEST(LzwDecoder, MissingCodeSizeByteLeavesTheFill) {
  TDecoded decoded = Decode({}, 3, 3, false, 4);
  EXPECT_EQ(decoded.Pixels, TBytes(9, 4));
  EXPECT_EQ(decoded.EndPosition, 0);
}

// Eleven-bit codes: clear 2048 and pixel values above 255, of which the low 8 bits are stored.
TEST(LzwDecoder, LargeMinimumCodeSizeStoresLowBits) {
  TBytes coded = TCodeWriter(11).Add(2048, 12).Add(0x1FF, 12).Add(3, 12).Add(2050, 12).Add(2049, 12).Bytes();
  TDecoded decoded = Decode(coded, 4, 1);
  EXPECT_THAT(decoded.Pixels, ElementsAre(0xFF, 3, 0xFF, 3));
  EXPECT_EQ(decoded.EndPosition, int64_t(coded.size()));
}

}  // namespace
}  // namespace corvane::test
