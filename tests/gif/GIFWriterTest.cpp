// The sub-block writer, the encoders' string table and the colour check of the encoders.

#include <gtest/gtest.h>

#include "LzwTestSupport.h"
#include "gif/GIFException.h"
#include "gif/GIFWriter.h"
#include "gif/HashTable.h"
#include "gif/LZWEncoder.h"
#include "gif/RLEEncoder.h"

namespace corvane::test {
namespace {

TEST(GIFWriter, PacksWritesIntoSubBlocks) {
  TMemoryStream out;
  TBytes data = NoisePixels(600, 256, 1);
  {
    TGIFWriter writer(out);
    writer.Write(data.data(), 300);
    writer.Write(data.data() + 300, 0);
    writer.Write(data.data() + 300, 300);
  }
  const TBytes& bytes = out.Bytes();
  ASSERT_EQ(bytes.size(), 603u);
  EXPECT_EQ(bytes[0], 255);
  EXPECT_EQ(bytes[256], 255);
  EXPECT_EQ(bytes[512], 90);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 255, bytes.begin() + 1));
  EXPECT_TRUE(std::equal(data.begin() + 510, data.end(), bytes.begin() + 513));
}

TEST(GIFWriter, RefusesReadingAndSeeking) {
  TMemoryStream out;
  TGIFWriter writer(out);
  uint8_t byte;
  EXPECT_THROW(writer.Read(&byte, 1), GIFException);
  try {
    writer.Seek(0, TSeekOrigin::Beginning);
    FAIL() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Invalid stream operation");
  }
}

TEST(GIFEncoder, ColourOutsideTheTableStopsBeforeEndCodeAndTerminator) {
  TBytes pixels = NoisePixels(2000, 4, 2);
  pixels.push_back(4);
  TLZWEncoder lzw;
  TRLEEncoder rle;
  for (TGIFEncoder* encoder : {static_cast<TGIFEncoder*>(&lzw), static_cast<TGIFEncoder*>(&rle)}) {
    TMemoryStream out;
    try {
      encoder->CompressPixels(out, 2, int(pixels.size()), 1, false, pixels.data(), 4);
      FAIL() << "no error";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), "Color not in color table");
    }
    // The code size byte and the sub-blocks written so far, the partial one included.
    const TBytes& bytes = out.Bytes();
    size_t i = 1;
    while (i < bytes.size()) i += bytes[i] + 1u;
    EXPECT_EQ(i, bytes.size());
    EXPECT_NE(bytes.back(), 0) << "no terminator";
  }
}

// Keys whose first slots lie on the same doubling cycle share its 4004 slots; the table says
// so instead of probing forever.
TEST(HashTable, FullProbeCycleIsReportedNotLoopedOn) {
  THashTable table;
  int stored = 0;
  int key = 0;
  auto onCycleOfSlotOne = [](int k) {
    int slot = (k ^ (k >> 4)) % 8009;
    for (int s = 1, i = 0; i < 4004; ++i, s = s * 2 % 8009) {
      if (s == slot) return true;
    }
    return false;
  };
  for (; stored < 4004; ++key) {
    if (onCycleOfSlotOne(key)) {
      ASSERT_TRUE(table.StoreCode(key, stored++ % 4096));
    }
  }
  while (!onCycleOfSlotOne(key)) ++key;
  EXPECT_FALSE(table.StoreCode(key, 1));
  EXPECT_EQ(table.FindCode(key), -1);
}

}  // namespace
}  // namespace corvane::test
