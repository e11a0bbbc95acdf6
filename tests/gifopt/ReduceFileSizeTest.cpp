// The optimize driver: its progress reports, the painter list lock, the reduction method
// check, the transparency check, the disposal review and the final clean-up.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

#include "GifTestSupport.h"
#include "OptimizeTestSupport.h"
#include "gifrender/GIFImageDrawing.h"
#include "gifrender/GIFPainter.h"
#include "gifrender/GIFRenderer.h"
#include "gifopt/ReduceFileSize.h"
#include "platform/Canvas.h"

namespace corvane::test {
namespace {

struct TReport {
  TProgressStage Stage;
  int Percent;
};

struct TAnimation {
  TGIFImage Image;
  std::vector<TReport> Reports;
  explicit TAnimation(int entries = 10) {
    AddGreys(Image.Header().GlobalTable(), entries);
    Image.OnProgress = [this](TPersistent* sender, TProgressStage stage, uint8_t percent, bool redraw,
                              const TRect& rect, const std::string& message) {
      if (message != "Optimizing...") return;
      EXPECT_EQ(sender, &Image);
      EXPECT_FALSE(redraw);
      EXPECT_EQ(rect, TRect{});
      Reports.push_back({stage, percent});
    };
  }
  TGIFSubImage& Frame(int left, int top, int width, int height, uint8_t fill) {
    return AddFrame(Image, left, top, width, height, TBytes(size_t(width * height), fill));
  }
};

TEST(ReduceFileSize, ReportsProgressFromStartToEnd) {
  TAnimation animation;
  for (int i = 0; i < 5; ++i) AddControl(animation.Frame(0, 0, 3, 3, uint8_t(i % 2)), 1, 10);
  ReduceFileSize(animation.Image, kMainPassSteps, 0, 0, 8);
  ASSERT_GE(animation.Reports.size(), 3u);
  EXPECT_EQ(animation.Reports.front().Stage, TProgressStage::psStarting);
  EXPECT_EQ(animation.Reports.front().Percent, 0);
  EXPECT_EQ(animation.Reports.back().Stage, TProgressStage::psEnding);
  EXPECT_EQ(animation.Reports.back().Percent, 100);
  for (size_t i = 1; i + 1 < animation.Reports.size(); ++i) {
    EXPECT_EQ(animation.Reports[i].Stage, TProgressStage::psRunning);
    EXPECT_LE(animation.Reports[i].Percent, 100);
    EXPECT_GE(animation.Reports[i].Percent, animation.Reports[i - 1].Percent);
  }
}

TEST(ReduceFileSize, AnImageWithoutFramesIsLeftAlone) {
  TAnimation animation;
  ReduceFileSize(animation.Image, kMainPassSteps, 9, 0, 8);
  EXPECT_TRUE(animation.Reports.empty());
  EXPECT_EQ(animation.Image.Header().GlobalTable().EntryCount(), 10);
}

TEST(ReduceFileSize, HoldsThePainterListUntilItHasReportedItsEnd) {
  TAnimation animation;
  AddControl(animation.Frame(0, 0, 2, 2, 1), 0, 10);
  std::atomic<bool> ended = false;
  std::atomic<bool> endedBeforeLock = false;
  std::thread painter;
  auto report = animation.Image.OnProgress;
  animation.Image.OnProgress = [&](TPersistent* sender, TProgressStage stage, uint8_t percent, bool redraw,
                                   const TRect& rect, const std::string& message) {
    report(sender, stage, percent, redraw, rect, message);
    if (stage == TProgressStage::psStarting) {
      painter = std::thread([&] {
        auto lock = animation.Image.LockPainterList();
        endedBeforeLock = ended.load();
      });
    }
    if (stage == TProgressStage::psEnding) ended = true;
  };
  ReduceFileSize(animation.Image, kMainPassSteps, 0, 0, 8);
  painter.join();
  EXPECT_TRUE(endedBeforeLock);
}

TEST(ReduceFileSize, StopsARunningPainterBeforeItRewritesFrames) {
  InstallGIFRenderer();
  TAnimation animation;
  AddControl(animation.Frame(0, 0, 2, 2, 1), 0, 1000);
  AddControl(animation.Frame(0, 0, 2, 2, 2), 0, 1000);
  bool ended = false;
  animation.Image.OnPaintEnd = [&](TGIFPainter&) { ended = true; };
  TBitmap target(2, 2);
  animation.Image.Draw(target.Canvas(), Bounds(0, 0, 2, 2));
  ASSERT_EQ(animation.Image.PainterList().size(), 1u);
  ReduceFileSize(animation.Image, kMainPassSteps, 0, 0, 8);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(animation.Image.PainterList().empty());
  EXPECT_EQ(StillBitmap(animation.Image)->Width(), 2);
}

TEST(ReduceFileSize, RefusesThePaletteReductionOnlyWithoutDropRedundant) {
  TAnimation refused;
  TGIFSubImage& frame = refused.Frame(0, 0, 2, 2, 1);
  AddExtension<TGIFCommentExtension>(frame);
  TBytes before = Save(refused.Image);
  try {
    ReduceFileSize(refused.Image, rsLowerColorDepth, kPaletteReduction, 0, 8);
    ADD_FAILURE() << "no exception";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Invalid reduction method");
  }
  EXPECT_EQ(Save(refused.Image), before);
  ASSERT_EQ(refused.Reports.size(), 2u);
  EXPECT_EQ(refused.Reports[0].Stage, TProgressStage::psStarting);
  EXPECT_EQ(refused.Reports[1].Stage, TProgressStage::psEnding);
  EXPECT_EQ(refused.Reports[1].Percent, 0);
  std::thread([&refused] { auto lock = refused.Image.LockPainterList(); }).join();

  for (TReduceSteps steps : {TReduceSteps(20), kMainPassSteps}) {
    TAnimation accepted;
    accepted.Frame(0, 0, 2, 2, 1);
    EXPECT_NO_THROW(ReduceFileSize(accepted.Image, steps, kPaletteReduction, 0, 8));
  }
}

TEST(ReduceFileSize, AStillKeepsOnlyAControlExtensionWithTransparency) {
  TAnimation still;
  TGIFSubImage& frame = still.Frame(0, 0, 2, 2, 1);
  AddControl(frame, 2, 50);
  AddExtension<TGIFAppExtNSLoop>(frame);
  AddExtension<TGIFCommentExtension>(frame);
  ReduceFileSize(still.Image, kMainPassSteps, 0, 0, 8);
  EXPECT_EQ(frame.Extensions().MemberCount(), 0);

  TAnimation transparent;
  TGIFSubImage& kept = transparent.Frame(0, 0, 2, 2, 1);
  kept.PixelData()[0] = 3;
  AddControl(kept, 2, 50, 3);
  ReduceFileSize(transparent.Image, kMainPassSteps, 0, 0, 8);
  ASSERT_NE(kept.ControlBlock(), nullptr);
  EXPECT_TRUE(kept.HasTransparency());
}

TEST(ReduceFileSize, AnUnusedTransparentIndexGoesAndWithItAnIdleControlExtension) {
  TAnimation animation;
  TGIFSubImage& first = animation.Frame(0, 0, 2, 2, 1);
  AddControl(first, 1, 0, 5);
  TGIFSubImage& second = animation.Frame(0, 0, 2, 2, 2);
  AddControl(second, 1, 10, 5);
  ReduceFileSize(animation.Image, kMainPassSteps, 0, 0, 8);
  EXPECT_EQ(first.ControlBlock(), nullptr);
  ASSERT_NE(second.ControlBlock(), nullptr);
  EXPECT_FALSE(second.HasTransparency());
}

TEST(ReduceFileSize, MaskingIsTheOnlyDifferenceOfTheFirstPass) {
  for (TReduceSteps steps : {kFirstPassSteps, kMainPassSteps}) {
    TAnimation animation;
    AddControl(animation.Frame(0, 0, 3, 1, 1), 0, 10);
    TGIFSubImage& second = animation.Frame(0, 0, 3, 1, 1);
    second.PixelData()[1] = 2;
    AddControl(second, 0, 10);
    ReduceFileSize(animation.Image, steps, 0, 0, 8);
    bool masked = steps == kMainPassSteps;
    EXPECT_EQ(second.HasTransparency(), masked);
    EXPECT_EQ(second.FrameWidth(), masked ? 1 : 3);
    EXPECT_EQ(animation.Image.Header().GlobalTable().EntryCount(), masked ? 3 : 2);
  }
}

TEST(ReduceFileSize, ABlankFrameWithADelayStays) {
  TAnimation animation;
  animation.Frame(0, 0, 2, 2, 1);
  animation.Frame(0, 0, 2, 2, 2);
  auto blank = std::make_unique<TGIFSubImage>(animation.Image);
  AddControl(*blank, 0, 30);
  animation.Image.AppendFrame(std::move(blank));
  ReduceFileSize(animation.Image, kMainPassSteps, 0, 0, 8);
  EXPECT_EQ(animation.Image.FrameCount(), 3);
}

TEST(ReduceFileSize, TheLastControlExtensionOfAFrameIsTheOneThatStays) {
  TAnimation animation;
  animation.Frame(0, 0, 2, 2, 1);
  TGIFSubImage& second = animation.Frame(0, 0, 2, 2, 1);
  second.PixelData()[0] = 2;
  AddControl(second, 0, 0);
  AddControl(second, 1, 70, 1);
  ReduceFileSize(animation.Image, rsPackColorTables, 0, 0, 8);
  ASSERT_EQ(second.Extensions().MemberCount(), 1);
  EXPECT_EQ(second.ControlBlock()->DelayTime(), 70);
  EXPECT_TRUE(second.HasTransparency());
  EXPECT_EQ(second.ControlBlock()->TransparentIndex(), second.PixelData()[1]);
}

TEST(ReduceFileSize, ALoopExtensionAfterTheFirstFrameMovesThere) {
  TAnimation animation;
  TGIFSubImage& first = animation.Frame(0, 0, 2, 2, 1);
  AddControl(first, 0, 10);
  TGIFSubImage& second = animation.Frame(0, 0, 2, 2, 2);
  AddExtension<TGIFAppExtNSLoop>(second).FRepeatCount = 2;
  ReduceFileSize(animation.Image, kMainPassSteps, 0, 0, 8);
  EXPECT_EQ(second.Extensions().MemberCount(), 0);
  ASSERT_EQ(first.Extensions().MemberCount(), 2);
  EXPECT_EQ(dynamic_cast<TGIFAppExtNSLoop&>(first.Extensions().Extension(1)).FRepeatCount, 2);

  // Viewers differ on which of several they follow: they all stay where they are.
  TAnimation several;
  TGIFSubImage& one = several.Frame(0, 0, 2, 2, 1);
  AddControl(one, 0, 10);
  AddExtension<TGIFAppExtNSLoop>(one).FRepeatCount = 5;
  TGIFSubImage& two = several.Frame(0, 0, 2, 2, 2);
  AddExtension<TGIFAppExtNSLoop>(two).FRepeatCount = 2;
  ReduceFileSize(several.Image, kMainPassSteps, 0, 0, 8);
  ASSERT_EQ(two.Extensions().MemberCount(), 1);
  EXPECT_EQ(dynamic_cast<TGIFAppExtNSLoop&>(two.Extensions().Extension(0)).FRepeatCount, 2);
  EXPECT_EQ(one.Extensions().MemberCount(), 2);
}

// A comment and an application block on the first frame, a comment and the loop extension on
// the second, whose pixels repeat the first, and a comment after the last image: the keep bits
// keep their blocks where they stand, and the frames that hold them.
TEST(ReduceFileSize, TheKeepBitsKeepTheirBlocksWhereTheyStand) {
  const std::map<int, std::vector<std::string>> expected = {
      {0, {""}},
      {rsKeepComments, {"Control Comment Loop", "Control Comment", "Comment"}},
      {rsKeepAppBlocks, {"Control Application", "Control Loop"}},
      {rsKeepComments | rsKeepAppBlocks, {"Control Comment Application", "Control Comment Loop", "Comment"}}};
  auto kind = [](const TGIFExtension& extension) -> std::string {
    if (dynamic_cast<const TGIFGraphicControlExtension*>(&extension)) return "Control";
    if (dynamic_cast<const TGIFCommentExtension*>(&extension)) return "Comment";
    return dynamic_cast<const TGIFAppExtNSLoop*>(&extension) ? "Loop" : "Application";
  };
  auto kinds = [&](const TGIFSubImage& frame) {
    std::string names;
    for (int i = 0; i < frame.Extensions().MemberCount(); ++i)
      names += (i ? " " : "") + kind(frame.Extensions().Extension(i));
    return names;
  };
  for (const auto& [kept, frames] : expected) {
    SCOPED_TRACE(kept);
    TAnimation animation;
    TGIFSubImage& first = animation.Frame(0, 0, 2, 2, 1);
    AddControl(first, 0, 10);
    AddExtension<TGIFCommentExtension>(first);
    AddExtension<TGIFUnknownAppExtension>(first);
    TGIFSubImage& second = animation.Frame(0, 0, 2, 2, 1);
    AddControl(second, 0, 10);
    AddExtension<TGIFCommentExtension>(second);
    AddExtension<TGIFAppExtNSLoop>(second);
    auto trailing = std::make_unique<TGIFSubImage>(animation.Image);
    AddExtension<TGIFCommentExtension>(*trailing);
    animation.Image.AppendFrame(std::move(trailing));
    ReduceFileSize(animation.Image, TReduceSteps(kMainPassSteps | kept), 0, 0, 8);
    ASSERT_EQ(animation.Image.FrameCount(), int(frames.size()));
    for (int i = 0; i < animation.Image.FrameCount(); ++i) EXPECT_EQ(kinds(animation.Image.Frame(i)), frames[size_t(i)]);
  }
}

TEST(ReduceFileSize, TheDisposalReviewChangesOnlyFramesPaintedOver) {
  struct TCase {
    TRect First, Second;
    int SecondDisposal;
    int Expected;
  };
  for (TCase c : {TCase{{1, 1, 3, 3}, {0, 0, 4, 4}, 0, 0}, TCase{{0, 0, 4, 4}, {1, 1, 3, 3}, 0, 2},
                  TCase{{1, 1, 3, 3}, {0, 0, 4, 4}, 3, 2}, TCase{{1, 1, 3, 3}, {0, 0, 4, 4}, 4, 2}}) {
    TAnimation animation;
    TGIFSubImage& first = animation.Frame(c.First.Left, c.First.Top, c.First.Width(), c.First.Height(), 1);
    AddControl(first, 2, 10);
    AddControl(animation.Frame(c.Second.Left, c.Second.Top, c.Second.Width(), c.Second.Height(), 2), c.SecondDisposal,
            10);
    ReduceFileSize(animation.Image, rsDropRedundant, 0, 0, 8);
    EXPECT_EQ(first.ControlBlock()->Disposal(), c.Expected);
  }
}

}  // namespace
}  // namespace corvane::test
