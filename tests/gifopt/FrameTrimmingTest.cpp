// Trimming of transparent borders and removal of frames that show nothing: where the time of
// a removed frame goes, and the frames that must stay for the animation to look the same.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "OptimizeTestSupport.h"
#include "gifopt/FrameTrimming.h"
#include "gifopt/ReduceProgress.h"
#include "gifopt/ViewerRules.h"

namespace corvane::test {
namespace {

using ::testing::ElementsAre;

constexpr uint8_t T = 9;  // the transparent index of the frames below

struct TAnimation {
  TGIFImage Image;
  TAnimation() {
    Image.SetWidth(4);
    Image.SetHeight(4);
    AddGreys(Image.Header().GlobalTable(), 10);
  }
  TGIFSubImage& Frame(int left, int top, int width, int height, uint8_t fill) {
    return AddFrame(Image, left, top, width, height, TBytes(size_t(width * height), fill));
  }
  void Trim() {
    TReduceProgress progress(Image, 6 * Image.FrameCount());
    TrimTransparentFrames(Image, progress);
  }
};

TEST(FrameTrimming, KeptRectangleHoldsEveryVisiblePixel) {
  TAnimation animation;
  TGIFSubImage& frame = animation.Frame(0, 0, 4, 3, T);
  frame.PixelData()[5] = 1;   // (1, 1)
  frame.PixelData()[10] = 2;  // (2, 2)
  EXPECT_EQ(KeptRectangle(frame), (TRect{0, 0, 4, 3})) << "an opaque frame keeps everything";
  AddControl(frame, 0, 0, T);
  EXPECT_EQ(KeptRectangle(frame), (TRect{1, 1, 3, 3}));
  animation.Trim();
  EXPECT_EQ(frame.BoundsRect(), (TRect{1, 1, 3, 3}));
  EXPECT_EQ(frame.PixelAt(0, 0), 1);
  EXPECT_EQ(frame.PixelAt(1, 1), 2);
  EXPECT_EQ(animation.Image.Width(), 4);
}

TEST(FrameTrimming, ARemovedFrameGivesItsTimeToThePreviousOne) {
  for (bool previousTransparent : {true, false}) {
    SCOPED_TRACE(previousTransparent);
    TAnimation animation;
    TGIFSubImage& first = animation.Frame(0, 0, 4, 4, 1);
    AddControl(first, 1, 30, previousTransparent ? T : -1);
    AddControl(animation.Frame(0, 0, 4, 4, T), 0, 20, T);
    animation.Trim();
    ASSERT_EQ(animation.Image.FrameCount(), 1);
    EXPECT_EQ(first.ControlBlock()->DelayTime(), 50);
  }
}

TEST(FrameTrimming, DelaysOf0Or1KeepTheFrameForViewersReadThemTwoWays) {
  // Browsers show 0 and 1 as 10 hundredths, other viewers as they are: no carried time
  // reads the same under both rules.
  for (auto [previous, empty] : {std::pair{-1, 20}, {0, 20}, {1, 20}, {20, 0}, {20, 1}}) {
    SCOPED_TRACE(testing::Message() << previous << " " << empty);
    TAnimation animation;
    TGIFSubImage& first = animation.Frame(0, 0, 4, 4, 1);
    if (previous >= 0) AddControl(first, 0, previous);
    AddControl(animation.Frame(0, 0, 4, 4, T), 0, empty, T);
    animation.Trim();
    EXPECT_EQ(animation.Image.FrameCount(), 2);
  }
}

TEST(FrameTrimming, AFrameThatShowsNothingStaysWhereRemovingItChangesThePictures) {
  // The first frame: nothing before it takes its time. After a frame that restores, the
  // screen it leaves differs from the one it showed.
  for (int disposal : {-1, 2, 3}) {
    SCOPED_TRACE(disposal);
    TAnimation animation;
    if (disposal >= 0) AddControl(animation.Frame(0, 0, 4, 4, 1), disposal, 10);
    TGIFSubImage& empty = animation.Frame(1, 1, 3, 3, T);
    AddControl(empty, 0, 20, T);
    animation.Trim();
    EXPECT_EQ(animation.Image.FrameCount(), disposal >= 0 ? 2 : 1);
    EXPECT_EQ(empty.BoundsRect(), (TRect{1, 1, 2, 2}));
    EXPECT_EQ(empty.ControlBlock()->DelayTime(), 20);
  }
}

TEST(FrameTrimming, TimesThatDoNotFitKeepTheFrame) {
  TAnimation animation;
  AddControl(animation.Frame(0, 0, 4, 4, 1), 0, 65000);
  AddControl(animation.Frame(0, 0, 4, 4, T), 0, 600, T);
  animation.Trim();
  EXPECT_EQ(animation.Image.FrameCount(), 2);
}

TEST(FrameTrimming, ARestoreToBackgroundFrameIsCroppedOnlyOverAClearScreen) {
  TAnimation over;
  over.Frame(0, 0, 4, 4, 1);
  TGIFSubImage& clearing = over.Frame(0, 0, 4, 4, T);
  clearing.PixelData()[5] = 2;
  AddControl(clearing, 2, 10, T);
  over.Trim();
  EXPECT_EQ(clearing.BoundsRect(), (TRect{0, 0, 4, 4})) << "it clears the first frame's pixels";

  TAnimation clear;
  TGIFSubImage& first = clear.Frame(0, 0, 4, 4, T);
  first.PixelData()[5] = 2;
  AddControl(first, 2, 10, T);
  clear.Trim();
  EXPECT_EQ(first.BoundsRect(), (TRect{1, 1, 2, 2}));
}

TEST(FrameTrimming, TheLoopExtensionOfARemovedFrameMovesToTheFirstFrame) {
  TAnimation animation;
  TGIFSubImage& first = animation.Frame(0, 0, 4, 4, 1);
  TGIFSubImage& second = animation.Frame(0, 0, 4, 4, 2);
  AddControl(second, 0, 10);
  TGIFSubImage& empty = animation.Frame(0, 0, 4, 4, T);
  AddControl(empty, 0, 20, T);
  AddExtension<TGIFAppExtNSLoop>(empty).FRepeatCount = 3;
  animation.Trim();
  ASSERT_EQ(animation.Image.FrameCount(), 2);
  EXPECT_EQ(second.ControlBlock()->DelayTime(), 30);
  ASSERT_EQ(first.Extensions().MemberCount(), 1);
  EXPECT_EQ(dynamic_cast<TGIFAppExtNSLoop&>(first.Extensions().Extension(0)).FRepeatCount, 3);

  // Of several loop extensions viewers follow different ones: each stays, with its frame.
  AddExtension<TGIFAppExtNSLoop>(second).FRepeatCount = 4;
  TGIFSubImage& last = animation.Frame(0, 0, 4, 4, T);
  AddControl(last, 0, 20, T);
  AddExtension<TGIFAppExtNSLoop>(last).FRepeatCount = 5;
  animation.Trim();
  EXPECT_EQ(animation.Image.FrameCount(), 3);
}

}  // namespace
}  // namespace corvane::test
