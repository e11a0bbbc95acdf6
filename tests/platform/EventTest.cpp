#include "platform/Event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Clock.h"

namespace corvane {

TEST(Event, ResetsItselfWhenAWaitSucceeds) {
  TEvent event;
  EXPECT_EQ(event.WaitFor(0), TWaitResult::wrTimeout);
  event.SetEvent();
  event.SetEvent();  // signals do not add up
  EXPECT_EQ(event.WaitFor(0), TWaitResult::wrSignaled);
  EXPECT_EQ(event.WaitFor(0), TWaitResult::wrTimeout);
  TEvent initially(true);
  initially.ResetEvent();
  EXPECT_EQ(initially.WaitFor(0), TWaitResult::wrTimeout);
}

TEST(Event, TimedWaitsLastTheirTimeOnTheClock) {
  TEvent event;
  int64_t start = GetTickCount();
  EXPECT_EQ(event.WaitFor(20), TWaitResult::wrTimeout);
  int64_t afterWait = GetTickCount();
  EXPECT_GE(afterWait - start, 19);  // the clock counts whole milliseconds
  Sleep(5);
  EXPECT_GE(GetTickCount() - afterWait, 4);
}

TEST(Event, ASignalFromAnotherThreadEndsAnInfiniteWait) {
  TEvent event;
  std::thread signaller([&] { event.SetEvent(); });
  EXPECT_EQ(event.WaitFor(kInfinite), TWaitResult::wrSignaled);
  signaller.join();
}

TEST(Event, EachSignalReleasesOneWaiter) {
  TEvent event;
  std::atomic<int> released{0};
  auto waiter = [&] {
    event.WaitFor();
    ++released;
  };
  std::thread first(waiter), second(waiter);
  event.SetEvent();
  while (released == 0) YieldProcessor();
  // The second waiter, or the signal if both still wait, is only taken by a second signal.
  EXPECT_EQ(event.WaitFor(20), TWaitResult::wrTimeout);
  EXPECT_EQ(released, 1);
  event.SetEvent();
  first.join();
  second.join();
  EXPECT_EQ(released, 2);
}

}  // namespace corvane
