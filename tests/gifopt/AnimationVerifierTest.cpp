// The composer shows animations as viewers do, and the verifier finds the first difference
// between two files.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "gifopt/AnimationVerifier.h"
#include "gifopt/PictureSequence.h"

namespace corvane::test {
namespace {

using TKind = TAnimationDifference::TKind;

constexpr TRGBA kGrey1 = 0xFF555555;  // entry 1 of a 2-bit grey table
constexpr TRGBA kGrey2 = 0xFFAAAAAA;

struct TShown {
  std::vector<std::vector<TRGBA>> Pictures;
  std::vector<int64_t> Times;
};

TShown Show(const TBytes& file) {
  TLoaded loaded = Load(file);
  EXPECT_EQ(loaded.Error, "");
  TShown shown;
  TPictureSequence sequence(*loaded.Image);
  while (sequence.Next()) {
    shown.Pictures.push_back(sequence.Picture());
    shown.Times.push_back(sequence.Time());
  }
  return shown;
}

TGifBuilder Screen(int width = 2, int height = 1) {
  TGifBuilder gif(width, height);
  gif.GlobalTable(2);
  return gif;
}

TEST(AnimationComposer, FramesThatShowNothingNewAddOnlyTime) {
  TGifBuilder gif = Screen();
  gif.Control(0, 20).Image(0, 0, 2, 1, {1, 2}, 2);
  gif.Control(0, 30, 0).Image(0, 0, 2, 1, {0, 2}, 2);
  gif.Control(0, 40).Image(0, 0, 1, 1, {3}, 2).Trailer();
  TShown shown = Show(gif.Data());
  EXPECT_THAT(shown.Times, testing::ElementsAre(50, 40));
}

TBytes TwoFrames(int delay, int secondPixel, int loop = -1) {
  TGifBuilder gif = Screen();
  if (loop >= 0) gif.Loop(loop);
  gif.Control(0, delay).Image(0, 0, 2, 1, {1, 2}, 2);
  gif.Control(0, 10).Image(1, 0, 1, 1, {uint8_t(secondPixel)}, 2).Trailer();
  return gif.Data();
}

TEST(AnimationVerifier, NamesTheFirstDifference) {
  EXPECT_TRUE(CompareAnimations(TwoFrames(20, 3), TwoFrames(20, 3)).Equal());

  TAnimationDifference pixel = CompareAnimations(TwoFrames(20, 3), TwoFrames(20, 1));
  EXPECT_EQ(pixel.Kind, TKind::Pixel);
  EXPECT_EQ(pixel.Picture, 1);
  EXPECT_EQ(pixel.X, 1);
  EXPECT_EQ(pixel.Y, 0);
  EXPECT_EQ(pixel.ColorA, 0xFFFFFFFFu);
  EXPECT_EQ(pixel.ColorB, kGrey1);
  EXPECT_EQ(pixel.Message, "picture 1 (frame 1 against frame 1) differs at (1, 0): #FFFFFFFF against #555555FF");

  TAnimationDifference time = CompareAnimations(TwoFrames(20, 3), TwoFrames(21, 3));
  EXPECT_EQ(time.Kind, TKind::Time);
  EXPECT_EQ(time.TimeA, 20);
  EXPECT_EQ(time.TimeB, 21);
  EXPECT_TRUE(CompareAnimations(TwoFrames(0, 3), TwoFrames(1, 3)).Equal());

  // The second frame repeats the first: one picture shown for 30 against one for 20.
  TAnimationDifference merged = CompareAnimations(TwoFrames(20, 2), TwoFrames(20, 3));
  EXPECT_EQ(merged.Kind, TKind::Time);
  EXPECT_EQ(merged.TimeA, 30);
  TGifBuilder first = Screen();
  first.Control(0, 20).Image(0, 0, 2, 1, {1, 2}, 2).Trailer();
  EXPECT_EQ(CompareAnimations(TwoFrames(20, 3), first.Data()).Kind, TKind::PictureCount);

  TAnimationDifference loop = CompareAnimations(TwoFrames(20, 3, 0), TwoFrames(20, 3));
  EXPECT_EQ(loop.Kind, TKind::LoopCount);
  EXPECT_EQ(loop.LoopA, 0);
  EXPECT_EQ(loop.LoopB, kPlaysOnce);
}

TEST(AnimationVerifier, AStillHasNeitherTimeNorLoops) {
  EXPECT_TRUE(CompareAnimations(TwoFrames(20, 2, 0), TwoFrames(70, 2)).Equal());
}

TEST(AnimationVerifier, RefusesWhatItCannotShowAsViewersDo) {
  TBytes cut = TwoFrames(20, 3);
  cut.resize(cut.size() - 6);  // the second image loses all of its data
  TAnimationDifference truncated = CompareAnimations(TwoFrames(20, 3), cut);
  EXPECT_EQ(truncated.Kind, TKind::Unreadable);
  EXPECT_EQ(truncated.Message, "The second file cannot be compared: The data of image 1 ends before its last pixel");
  cut.resize(cut.size() - 3);
  EXPECT_EQ(CompareAnimations(cut, TwoFrames(20, 3)).Message,
            "The first file cannot be compared: Premature end of data");

  EXPECT_EQ(CompareAnimations({}, TwoFrames(20, 3)).Kind, TKind::Unreadable);

  TGifBuilder whole = Screen(2, 2);
  whole.Image(0, 0, 2, 2, {1, 2, 1, 2}, 2).Trailer();
  TGifBuilder ended = Screen(2, 2);  // the end code comes after three of the four pixels
  ended.Descriptor(0, 0, 2, 2).Bytes(CodePixels({1, 2, 1}, 2)).Trailer();
  EXPECT_EQ(CompareAnimations(whole.Data(), ended.Data()).Message,
            "The second file cannot be compared: The data of image 0 ends before its last pixel");

  TGifBuilder wide = Screen(3, 1);
  wide.Image(0, 0, 2, 1, {1, 2}, 2).Trailer();
  EXPECT_EQ(CompareAnimations(TwoFrames(20, 3), wide.Data()).Kind, TKind::Screen);
}

}  // namespace
}  // namespace corvane::test
