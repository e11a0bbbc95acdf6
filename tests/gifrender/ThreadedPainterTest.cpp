// Painters on threads of their own, served by this test thread as the user-interface
// thread: starting, looping until stopped, and stopping promptly.

#include <gtest/gtest.h>

#include <chrono>

#include "RenderTestSupport.h"
#include "platform/Synchronize.h"

namespace corvane {

namespace {

using namespace test;
using Clock = std::chrono::steady_clock;

// Serves the painters' steps until done() or the time runs out; answers done().
template <typename F>
bool ServeUntil(F done, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  auto end = Clock::now() + limit;
  while (!done() && Clock::now() < end) CheckSynchronize(5);
  return done();
}

std::unique_ptr<TGIFImage> Looping(int delay) {
  auto image = MakeImage(2, 2);
  AddLoop(AddSolidFrame(*image, Bounds(0, 0, 2, 2), iRed, 1, delay), 0);
  AddSolidFrame(*image, Bounds(0, 0, 2, 2), iGreen, 1, delay);
  return image;
}

std::chrono::milliseconds Since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

}  // namespace

TEST(ThreadedPainter, AOneFrameImageIsDrawnWithoutAPainter) {
  auto image = MakeImage(2, 1);
  AddSolidFrame(*image, Bounds(0, 0, 2, 1), iBlue);
  bool started = false;
  image->OnPaintStart = [&](TGIFPainter&) { started = true; };
  auto target = FilledBitmap(2, 1, kWhite);
  image->Draw(target->Canvas(), Bounds(0, 0, 2, 1));
  EXPECT_EQ(Colors(*target), std::vector<TColor>(2, kBlue));
  EXPECT_FALSE(started);
  EXPECT_TRUE(image->PainterList().empty());
}

TEST(ThreadedPainter, DrawShowsTheFirstFrameAndTheAnimationGoesOnInTheStillBitmap) {
  auto image = Looping(3);
  image->FPlaybackPercent = 1000;
  int loops = 0;
  image->OnPaintLoop = [&](TGIFPainter&) { ++loops; };
  auto target = FilledBitmap(2, 2, kWhite);
  image->Draw(target->Canvas(), Bounds(0, 0, 2, 2));
  EXPECT_EQ(Colors(*target), std::vector<TColor>(4, kRed));
  ASSERT_EQ(image->PainterList().size(), 1u);
  TGIFPainter* painter = image->FActivePainter;
  ASSERT_NE(painter, nullptr);
  EXPECT_TRUE(painter->IsThreaded());
  // A repeat count of 0 loops until the image is emptied.
  EXPECT_TRUE(ServeUntil([&] { return loops >= 3; }));
  image->DiscardContents();
  EXPECT_TRUE(image->PainterList().empty());
  EXPECT_EQ(image->FActivePainter, nullptr);
  int loopsWhenEmptied = loops;
  CheckSynchronize(20);
  EXPECT_EQ(loops, loopsWhenEmptied);
}

TEST(ThreadedPainter, RepeatedDrawsOfTheSameTargetKeepThePainter) {
  auto image = Looping(3);
  image->DrawFlags |= dfDirect;
  auto target = FilledBitmap(2, 2, kWhite);
  image->Draw(target->Canvas(), Bounds(0, 0, 2, 2));
  TGIFPainter* painter = image->FActivePainter;
  ASSERT_NE(painter, nullptr);
  image->Draw(target->Canvas(), Bounds(0, 0, 2, 2));
  EXPECT_EQ(image->FActivePainter, painter);
  // Another rectangle gets a painter of its own; the first one is stopped and released.
  image->Draw(target->Canvas(), Bounds(0, 0, 1, 1));
  EXPECT_NE(image->FActivePainter, nullptr);
  EXPECT_TRUE(ServeUntil([&] { return image->PainterList().size() == 1; }));
  StopActivePainter(*image);
  EXPECT_TRUE(image->PainterList().empty());
}

TEST(ThreadedPainter, EmptyingTheImageEndsALongDelayAtOnce) {
  auto image = Looping(1000);  // 12 seconds a frame
  bool ended = false;
  image->OnPaintEnd = [&](TGIFPainter&) { ended = true; };
  auto target = FilledBitmap(2, 2, kWhite);
  image->Draw(target->Canvas(), Bounds(0, 0, 2, 2));
  ASSERT_NE(image->FActivePainter, nullptr);
  auto start = Clock::now();
  image->DiscardContents();
  EXPECT_LT(Since(start).count(), 2000);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(image->PainterList().empty());
}

TEST(ThreadedPainter, DestroyingTheImageEndsItsPaintersFirst) {
  auto image = Looping(1000);
  bool ended = false;
  image->OnPaintEnd = [&](TGIFPainter&) { ended = true; };
  auto target = FilledBitmap(2, 2, kWhite);
  image->Draw(target->Canvas(), Bounds(0, 0, 2, 2));
  // A second painter that was never resumed.
  TGIFPainter* suspended = nullptr;
  StartPainter(*image, suspended, target->Canvas(), image->DrawFlags, Bounds(0, 0, 1, 1));
  ASSERT_NE(suspended, nullptr);
  EXPECT_EQ(image->PainterList().size(), 2u);
  auto start = Clock::now();
  image.reset();
  EXPECT_LT(Since(start).count(), 2000);
  EXPECT_TRUE(ended);
  EXPECT_EQ(suspended, nullptr);
}

TEST(ThreadedPainter, AThreadedPlayOfAFiniteAnimationEndsOnTheLastFrame) {
  auto image = MakeImage(1, 1);
  AddLoop(AddSolidFrame(*image, Bounds(0, 0, 1, 1), iRed, 1, 3), 2);
  AddSolidFrame(*image, Bounds(0, 0, 1, 1), iGreen, 1, 3);
  image->FPlaybackPercent = 1000;
  std::vector<int> frames;
  image->OnPaintAfter = [&](TGIFPainter& p) { frames.push_back(p.FrameIndex()); };
  auto target = FilledBitmap(1, 1, kWhite);
  image->Draw(target->Canvas(), Bounds(0, 0, 1, 1));
  EXPECT_TRUE(ServeUntil([&] { return image->PainterList().empty(); }));
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 0, 1}));
  image->Draw(target->Canvas(), Bounds(0, 0, 1, 1));
  EXPECT_EQ(Colors(*target), std::vector<TColor>{kGreen});
}

}  // namespace corvane
