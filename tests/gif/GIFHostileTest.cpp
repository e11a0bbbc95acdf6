// Hostile files: truncated, flipped, oversized or with broken lengths. The reader loads with
// warnings or raises GIFException; whatever loads saves and reads back the same. The sanitizer
// build checks that nothing reads or writes out of bounds.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "GifTestSupport.h"
#include "gif/GIFMemoryBudget.h"
#include "platform/FileUtils.h"

namespace corvane::test {
namespace {

std::vector<TBytes> Corpus() {
  std::vector<TBytes> files;
  for (const auto& entry : std::filesystem::directory_iterator(CORVANE_SAMPLES_DIR))
    if (entry.path().extension() == ".gif") files.push_back(ReadWholeFile(entry.path()));
  TGifBuilder gif(32, 24);
  gif.GlobalTable(4).Loop(2).Comment({"note"}).Application("XMP DataXMP", {{1, 2, 3}}).PlainText({"t"});
  gif.Control(2, 4, 1).Image(1, 2, 20, 10, Ramp(200, 16), 4, 0, true).Image(0, 0, 8, 8, Ramp(64, 8), 3, 3);
  files.push_back(gif.Trailer().Data());
  // A frame that takes the empty width of the screen has no pixels.
  files.push_back(TGifBuilder(0, 1).GlobalTable(1).Descriptor(0, 0, 0, 1).Bytes({2, 1, 0x4C, 0}).Trailer().Data());
  return files;
}

// Loads; what loads must save (or refuse with GIFException) and read back to the same bytes.
void ExpectSafe(const TBytes& file) {
  TLoaded loaded = Load(file);
  if (!loaded.Error.empty()) return;
  TBytes saved;
  try {
    saved = Save(*loaded.Image);
  } catch (const GIFException&) {
    return;
  }
  TLoaded again = Load(saved);
  ASSERT_EQ(again.Error, "");
  // Frames without pixels or extensions are not written, so a file of only such frames reads
  // back without frames.
  if (again.Image->FrameCount() > 0) {
    ASSERT_EQ(Save(*again.Image), saved);
  }
}

TEST(GIFHostile, TruncatedAtEveryOffset) {
  for (const TBytes& file : Corpus())
    for (size_t length = 0; length < file.size(); ++length) {
      SCOPED_TRACE(length);
      TBytes cut(file.begin(), file.begin() + long(length));
      // Every cut loads or raises; the save and reload run on a spread of them to keep the
      // sanitizer build fast.
      if (length % 37 == 0) {
        ExpectSafe(cut);
      } else {
        Load(cut);
      }
      if (HasFatalFailure()) return;
    }
}

TEST(GIFHostile, RandomByteFlips) {
  // Flips in a descriptor make frames of up to 65535 × 65535 pixels; small limits keep the
  // run quick.
  TPixelLimitsScope limits({1 << 20, 1 << 23});
  std::mt19937 random(20240611);
  std::vector<TBytes> corpus = Corpus();
  for (int round = 0; round < 1500; ++round) {
    TBytes file = corpus[size_t(round) % corpus.size()];
    int flips = 1 + int(random() % 4);
    for (int i = 0; i < flips; ++i) file[random() % file.size()] = uint8_t(random());
    SCOPED_TRACE(round);
    ExpectSafe(file);
    if (HasFatalFailure()) return;
  }
}

TEST(GIFHostile, FramesGetOnlyTheRowsTheirDataCanFill) {
  // Eight frames of 2^28 pixels in a few hundred bytes: a row each.
  TGifBuilder tiny(65535, 4096);
  tiny.GlobalTable(1);
  for (int i = 0; i < 8; ++i) tiny.Descriptor(0, 0, 65535, 4096).Bytes({2, 2, 0x4C, 0x01, 0});
  TLoaded loaded = Load(tiny.Data());
  EXPECT_EQ(loaded.Error, "");
  ASSERT_EQ(loaded.Image->FrameCount(), 8);
  EXPECT_EQ(loaded.Image->PixelBytes(), 8 * 65535);
  EXPECT_EQ(loaded.Image->Frame(7).FrameHeight(), 1);
  ExpectSafe(tiny.Data());
}

TEST(GIFHostile, FramesTheirDataCanFillAreRefusedBeyondTheLimitsBeforeAllocating) {
  TPixelLimitsScope limits({1 << 16, 3 << 16});
  TGifBuilder huge(16, 16);
  huge.GlobalTable(1).Image(0, 0, 2, 2, {0, 1, 1, 0}, 2).Descriptor(0, 0, 65535, 65535).Byte(2).SubBlocks(TBytes(600));
  TLoaded loaded = Load(huge.Data());
  EXPECT_EQ(loaded.Error.rfind("Frame too large (65535 x ", 0), 0u) << loaded.Error;
  EXPECT_EQ(loaded.Image->PixelBytes(), 4);

  TGifBuilder gif(256, 256);
  gif.GlobalTable(1);
  for (int i = 0; i < 5; ++i) gif.Image(0, 0, 256, 256, TBytes(256 * 256), 2);
  loaded = Load(gif.Data());
  EXPECT_EQ(loaded.Error.rfind("Image too large", 0), 0u) << loaded.Error;
  EXPECT_EQ(loaded.Image->FrameCount(), 3);
}

TEST(GIFHostile, ImagesSharingABudgetAreRefusedBeyondIt) {
  TGIFMemoryBudget budget(100000);
  TGIFBudgetAccount account(budget);
  TGifBuilder gif(256, 256);
  gif.GlobalTable(1).Image(0, 0, 256, 256, TBytes(256 * 256), 2).Image(0, 0, 256, 256, TBytes(256 * 256), 2);
  TGIFImage first, second;
  first.SetBudgetAccount(&account);
  second.SetBudgetAccount(&account);
  TMemoryStream stream(gif.Data());
  EXPECT_THROW(first.LoadFromStream(stream), GIFException);
  EXPECT_EQ(first.FrameCount(), 1);
  EXPECT_EQ(budget.Used(), 65536);
  try {
    second.LoadFromStream(stream);
    FAIL() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(),
                 "Not enough memory: the file needs more than 131072 bytes of pixels, and the memory budget is 100000 "
                 "bytes");
  }
  first.DiscardContents();
  second.DiscardContents();
  EXPECT_EQ(budget.Used(), 0);
  TLoaded alone = Load(gif.Data());
  EXPECT_EQ(alone.Error, "");
}

TEST(GIFHostile, ManyTinyFramesSaveWithoutWalkingAllFramesForEach) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 2);
  constexpr int kFrames = 100000;
  for (int i = 0; i < kFrames; ++i) AddFrame(image, 0, 0, 1, 1, {uint8_t(i % 2)});
  TLoaded again = Load(Save(image));
  ASSERT_EQ(again.Error, "");
  EXPECT_EQ(again.Image->FrameCount(), kFrames);
  EXPECT_EQ(again.Image->Frame(kFrames - 1).PixelData()[0], 1);
}

TEST(GIFHostile, EveryLzwCodeSizeByte) {
  for (int codeSize = 0; codeSize < 256; ++codeSize) {
    TGifBuilder gif(8, 8);
    gif.GlobalTable(8).Descriptor(0, 0, 8, 8).Byte(uint8_t(codeSize)).SubBlocks(Ramp(40, 256)).Trailer();
    SCOPED_TRACE(codeSize);
    ExpectSafe(gif.Data());
    if (codeSize > 11) {
      EXPECT_NE(Load(gif.Data()).Error, "");
    }
  }
}

TEST(GIFHostile, SubBlockLengthsPastTheEnd) {
  TGifBuilder pixels(4, 4);
  pixels.GlobalTable(2).Descriptor(0, 0, 4, 4).Bytes({2, 200, 0x8C, 0x2D});
  TLoaded loaded = Load(pixels.Data());
  EXPECT_EQ(loaded.Error, "");
  ASSERT_FALSE(loaded.Warnings.empty());
  EXPECT_EQ(loaded.Warnings.front(), "Premature end of data");
  ExpectSafe(pixels.Data());

  for (const TBytes& extension : {TBytes{0x21, 0xFE, 50, 'a'}, TBytes{0x21, 0x01, 12, 0, 0},
                                  TBytes{0x21, 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 9, 1},
                                  TBytes{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1}}) {
    TGifBuilder gif(4, 4);
    EXPECT_EQ(Load(gif.GlobalTable(2).Bytes(extension).Data()).Error, "Premature end of data");
  }
}

}  // namespace
}  // namespace corvane::test
