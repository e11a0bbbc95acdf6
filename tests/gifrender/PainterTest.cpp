// Playing animations without a thread, on a virtual clock: looping, delays, speed and the
// composition of disposal methods.

#include <gtest/gtest.h>

#include <stdexcept>

#include "RenderTestSupport.h"

namespace corvane {

namespace {

using namespace test;

// Two full-screen frames of 2 × 1 pixels, red then green.
std::unique_ptr<TGIFImage> TwoFrames(int repeatCount = -1) {
  auto image = MakeImage(2, 1);
  TGIFSubImage& first = AddSolidFrame(*image, Bounds(0, 0, 2, 1), iRed);
  if (repeatCount >= 0) AddLoop(first, repeatCount);
  AddSolidFrame(*image, Bounds(0, 0, 2, 1), iGreen);
  return image;
}

std::vector<int64_t> Waits(const std::vector<TShownPicture>& shown) {
  std::vector<int64_t> waits;
  for (size_t i = 1; i < shown.size(); ++i) waits.push_back(shown[i].Time - shown[i - 1].Time);
  return waits;
}

}  // namespace

TEST(Painter, WithoutLoopExtensionPlaysOnceAndKeepsTheLastFrame) {
  auto image = TwoFrames();
  TPlayRecorder recorder;
  EXPECT_EQ(recorder.Frames(*image), (std::vector<int>{0, 1}));
  EXPECT_TRUE(image->PainterList().empty());
  EXPECT_EQ(image->FActivePainter, nullptr);
  // Later draws show the still bitmap: the last frame.
  auto target = FilledBitmap(4, 2, kWhite);
  image->Draw(target->Canvas(), Bounds(0, 0, 4, 2));
  EXPECT_EQ(Colors(*target), std::vector<TColor>(8, kGreen));
}

TEST(Painter, RepeatCountIsTheNumberOfPassesAndLaterPassesStartAtTheLoopFrame) {
  auto three = TwoFrames(3);
  TPlayRecorder recorder;
  EXPECT_EQ(recorder.Frames(*three), (std::vector<int>{0, 1, 0, 1, 0, 1}));

  auto image = MakeImage(1, 1);
  AddSolidFrame(*image, Bounds(0, 0, 1, 1), iRed);
  AddLoop(AddSolidFrame(*image, Bounds(0, 0, 1, 1), iGreen), 2);
  AddSolidFrame(*image, Bounds(0, 0, 1, 1), iBlue);
  EXPECT_EQ(recorder.Frames(*image), (std::vector<int>{0, 1, 2, 1, 2}));
}

TEST(Painter, LoopingNeedsBothAnimateAndLoop) {
  auto image = TwoFrames(3);
  image->DrawFlags &= uint16_t(~dfLoop);
  TPlayRecorder recorder;
  EXPECT_EQ(recorder.Frames(*image), (std::vector<int>{0, 1}));
}

TEST(Painter, DelaysCountTwelveMillisecondsAndShortOnesWaitThreeUnits) {
  auto image = MakeImage(1, 1);
  for (int delay : {1, 2, 0, 50, 7}) AddSolidFrame(*image, Bounds(0, 0, 1, 1), iRed, 1, delay);
  AddSolidFrame(*image, Bounds(0, 0, 1, 1), iRed, -1);  // no control extension
  AddSolidFrame(*image, Bounds(0, 0, 1, 1), iRed);
  TPlayRecorder recorder;
  std::vector<TShownPicture> shown = recorder.Play(*image);
  // The first frame of a painter without a thread waits one unit.
  EXPECT_EQ(shown[0].Time, 12);
  EXPECT_EQ(Waits(shown), (std::vector<int64_t>{36, 36, 120, 600, 84, 120}));
}

TEST(Painter, SpeedPercentScalesTheWaits) {
  auto image = MakeImage(1, 1);
  for (int delay : {10, 5, 3}) AddSolidFrame(*image, Bounds(0, 0, 1, 1), iRed, 1, delay);
  image->FPlaybackPercent = 200;
  TPlayRecorder recorder;
  EXPECT_EQ(Waits(recorder.Play(*image)), (std::vector<int64_t>{60, 30}));
  image->FPlaybackPercent = 50;
  EXPECT_EQ(Waits(recorder.Play(*image)), (std::vector<int64_t>{240, 120}));
}

// A 4 × 1 screen: a red frame on the left half that is restored to the background, then
// a green one on the right half.
std::unique_ptr<TGIFImage> RestoreToBackground() {
  auto image = MakeImage(4, 1);
  image->Header().BackdropIndex = iBlue;
  AddSolidFrame(*image, Bounds(0, 0, 2, 1), iRed, 2);
  AddSolidFrame(*image, Bounds(2, 0, 2, 1), iGreen, 1);
  return image;
}

TEST(Painter, RestoreToBackgroundShowsTheTargetsContentWithTransparency) {
  auto image = RestoreToBackground();
  TPlayRecorder recorder;
  const TColor grey = MakeColor(10, 20, 30);
  std::vector<TShownPicture> shown = recorder.Play(*image, grey);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Pixels, (std::vector<TColor>{kRed, kRed, grey, grey}));
  EXPECT_EQ(shown[1].Pixels, (std::vector<TColor>{grey, grey, kGreen, kGreen}));
}

TEST(Painter, RestoreToBackgroundFillsWithTheFillColourWithoutTransparency) {
  auto image = RestoreToBackground();
  image->DrawFlags &= uint16_t(~dfTransparent);
  TPlayRecorder recorder;
  std::vector<TShownPicture> shown = recorder.Play(*image);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].Pixels, (std::vector<TColor>{kBlue, kBlue, kGreen, kGreen}));

  image->FDrawFillColor = kWhite;
  EXPECT_EQ(recorder.Play(*image)[1].Pixels, (std::vector<TColor>{kWhite, kWhite, kGreen, kGreen}));
}

TEST(Painter, TransparentPixelsShowThePictureBelow) {
  auto image = MakeImage(3, 1);
  AddSolidFrame(*image, Bounds(0, 0, 3, 1), iRed, 1);
  TGIFSubImage& second = AddFrame(*image, 0, 0, 3, 1, {iGreen, iWhite, iGreen});
  auto& control = AddExtension<TGIFGraphicControlExtension>(second);
  control.SetTransparent(true);
  control.SetTransparentIndex(iWhite);
  TPlayRecorder recorder;
  EXPECT_EQ(recorder.Play(*image)[1].Pixels, (std::vector<TColor>{kGreen, kRed, kGreen}));
  image->DrawFlags &= uint16_t(~dfTransparent);
  EXPECT_EQ(recorder.Play(*image)[1].Pixels, (std::vector<TColor>{kGreen, kWhite, kGreen}));
}

TEST(Painter, APassEndsAtAFrameWithoutPixels) {
  auto image = TwoFrames(0);
  image->Frame(1).ReleasePixels();
  image->DrawFlags |= dfLoopForever;
  TPlayRecorder recorder;
  // Endless looping over frame 0 alone; the handler stops it after a few passes.
  int loops = 0;
  image->OnPaintLoop = [&](TGIFPainter& painter) {
    if (++loops == 3) painter.StopPainter();
  };
  EXPECT_EQ(recorder.Frames(*image), (std::vector<int>{0, 0, 0}));
}

TEST(Painter, EventsRunInOrderAndAHandlerMayChooseTheNextFrame) {
  auto image = MakeImage(1, 1);
  for (uint8_t index : {iRed, iGreen, iBlue}) AddSolidFrame(*image, Bounds(0, 0, 1, 1), index);
  std::vector<std::string> events;
  image->OnPaintStart = [&](TGIFPainter&) { events.push_back("start"); };
  image->OnPaintFrame = [&](TGIFPainter& p) { events.push_back("frame " + std::to_string(p.FrameIndex())); };
  image->OnPaintEnd = [&](TGIFPainter& p) { events.push_back("end " + std::to_string(p.FrameIndex())); };
  TVirtualClock clock;
  image->FPaintClock = &clock;
  image->DrawFlags &= uint16_t(~dfThreaded);
  image->OnPaintAfter = [](TGIFPainter& p) {
    if (p.FrameIndex() == 0) p.SetFrameIndex(2);
  };
  auto target = FilledBitmap(1, 1, kWhite);
  image->Draw(target->Canvas(), Bounds(0, 0, 1, 1));
  EXPECT_EQ(events, (std::vector<std::string>{"start", "frame 0", "frame 2", "end -1"}));
}

TEST(Painter, AnErrorWhilePlayingStopsThePainterAndReachesTheCaller) {
  auto image = TwoFrames();
  image->OnPaintFrame = [](TGIFPainter& p) {
    if (p.FrameIndex() == 1) throw std::runtime_error("handler failed");
  };
  TPlayRecorder recorder;
  EXPECT_THROW(
      {
        try {
          recorder.Play(*image);
        } catch (const std::runtime_error& e) {
          EXPECT_STREQ(e.what(), "handler failed");
          throw;
        }
      },
      std::runtime_error);
  EXPECT_TRUE(image->PainterList().empty());
  EXPECT_EQ(image->FActivePainter, nullptr);
}

TEST(Painter, TheTargetGoingAwayStopsAPainterThatChecksIt) {
  auto image = TwoFrames();
  image->DrawFlags |= dfCheckCanvas | dfDirect;
  auto target = std::make_unique<TBitmap>(2, 1);
  int shown = 0;
  image->OnPaintAfter = [&](TGIFPainter&) {
    ++shown;
    target.reset();
  };
  TVirtualClock clock;
  image->FPaintClock = &clock;
  image->DrawFlags &= uint16_t(~dfThreaded);
  image->Draw(target->Canvas(), Bounds(0, 0, 2, 1));
  EXPECT_EQ(shown, 1);
}

}  // namespace corvane
