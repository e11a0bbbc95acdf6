// Masking of pixels that repeat the previous frame: the transparent index it takes, the
// predecessors it may compare with, and the frames it leaves alone.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "OptimizeTestSupport.h"
#include "gifopt/FrameMasking.h"
#include "gifopt/FrameTrimming.h"

namespace corvane::test {
namespace {

using ::testing::ElementsAre;

TBytes PixelsOf(const TGIFSubImage& frame) {
  return TBytes(frame.PixelData(), frame.PixelData() + frame.PixelDataSize());
}

struct TTwoFrames {
  TGIFImage Image;
  TGIFSubImage* First;
  TGIFSubImage* Second;
  TTwoFrames(int entries, const TBytes& first, const TBytes& second) {
    AddGreys(Image.Header().GlobalTable(), entries);
    First = &AddFrame(Image, 0, 0, int(first.size()), 1, first);
    Second = &AddFrame(Image, 0, 0, int(second.size()), 1, second);
  }
};

TEST(FrameMasking, WorkedExample) {
  TTwoFrames frames(10, {1, 2, 3, 4}, {1, 5, 3, 6});
  MaskUnchangedPixels(*frames.Second, frames.First);
  EXPECT_EQ(frames.Image.Header().GlobalTable().EntryCount(), 11);
  EXPECT_EQ(frames.Image.Header().GlobalTable().ColorAt(10), clBlack);
  EXPECT_THAT(PixelsOf(*frames.Second), ElementsAre(10, 5, 10, 6));
  ASSERT_NE(frames.Second->ControlBlock(), nullptr);
  EXPECT_TRUE(frames.Second->HasTransparency());
  EXPECT_EQ(frames.Second->ControlBlock()->TransparentIndex(), 10);
  EXPECT_EQ(frames.Second->ControlBlock()->DelayTime(), 0);

  TrimTransparentBorders(*frames.Second);
  EXPECT_EQ(frames.Second->FrameLeft(), 1);
  EXPECT_EQ(frames.Second->FrameWidth(), 3);
  EXPECT_THAT(PixelsOf(*frames.Second), ElementsAre(5, 10, 6));
}

TEST(FrameMasking, OnlyAPredecessorThatStaysOnScreenIsComparedWith) {
  for (int disposal = 0; disposal <= 7; ++disposal) {
    SCOPED_TRACE(disposal);
    TTwoFrames frames(10, {1, 2}, {1, 2});
    AddControl(*frames.First, disposal, 0);
    MaskUnchangedPixels(*frames.Second, frames.First);
    EXPECT_EQ(PixelsOf(*frames.Second)[0] == 1, disposal > 1);
  }
}

TEST(FrameMasking, FramesLeftAlone) {
  TTwoFrames full(256, {1, 2}, {1, 2});
  MaskUnchangedPixels(*full.Second, full.First);
  EXPECT_THAT(PixelsOf(*full.Second), ElementsAre(1, 2));
  EXPECT_FALSE(full.Second->HasTransparency());

  TTwoFrames beside(10, {1, 2}, {1, 2});
  beside.Second->SetFrameLeft(2);
  MaskUnchangedPixels(*beside.Second, beside.First);
  EXPECT_THAT(PixelsOf(*beside.Second), ElementsAre(1, 2));

  // Index 12 has no entry in the 10 of the table.
  TTwoFrames undefined(10, {1, 2}, {1, 12});
  MaskUnchangedPixels(*undefined.Second, undefined.First);
  EXPECT_THAT(PixelsOf(*undefined.Second), ElementsAre(1, 12));
  EXPECT_EQ(undefined.Image.Header().GlobalTable().EntryCount(), 10);
}

TEST(FrameMasking, ComparesColoursAcrossTablesAndSkipsWhatThePredecessorDoesNotShow) {
  TTwoFrames frames(10, {1, 2, 3, 9}, {0, 2, 3, 1});
  AddGreys(frames.Second->LocalTable(), 4);  // grey 2 and 3 at the same indices
  AddControl(*frames.First, 1, 0, 9);
  MaskUnchangedPixels(*frames.Second, frames.First);
  // Black went into the local table as entry 4; the position where the predecessor is
  // transparent stays.
  EXPECT_EQ(frames.Second->LocalTable().EntryCount(), 5);
  EXPECT_THAT(PixelsOf(*frames.Second), ElementsAre(0, 4, 4, 1));
}

TEST(FrameMasking, ReusesAnotherFramesTransparentIndexUnlessThePixelsHoldIt) {
  TTwoFrames frames(10, {1, 2, 3}, {1, 7, 3});
  TGIFSubImage& third = AddFrame(frames.Image, 0, 0, 1, 1, {4});
  AddControl(third, 0, 0, 7);
  // The second frame holds 7 itself: taking it would make that pixel vanish.
  EXPECT_EQ(ObtainTransparentIndex(*frames.Second), 10);
  TGIFSubImage& fourth = AddFrame(frames.Image, 0, 0, 1, 1, {4});
  AddControl(fourth, 0, 0, 8);
  EXPECT_EQ(ObtainTransparentIndex(*frames.Second), 8);
  MaskUnchangedPixels(*frames.Second, frames.First);
  EXPECT_THAT(PixelsOf(*frames.Second), ElementsAre(8, 7, 8));
  EXPECT_EQ(frames.Image.Header().GlobalTable().EntryCount(), 11);
}

TEST(FrameMasking, CanAddTransparentIndex) {
  TGIFImage image;
  TGIFSubImage& frame = AddFrame(image, 0, 0, 1, 1);
  EXPECT_FALSE(CanAddTransparentIndex(frame));
  AddGreys(image.Header().GlobalTable(), 255);
  EXPECT_TRUE(CanAddTransparentIndex(frame));
  AddGreys(frame.LocalTable(), 256);
  EXPECT_FALSE(CanAddTransparentIndex(frame));
}

}  // namespace
}  // namespace corvane::test
