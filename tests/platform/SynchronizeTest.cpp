#include "platform/Synchronize.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <chrono>
#include <thread>

#include "platform/Exceptions.h"

namespace corvane {

namespace {

// Drains the queue until the thread has ended.
void DrainUntilJoined(std::thread& worker, const std::atomic<bool>& done) {
  while (!done) CheckSynchronize(10);
  worker.join();
}

}  // namespace

TEST(Synchronize, RunsDirectlyOnTheUserInterfaceThread) {
  ASSERT_TRUE(IsMainThread());
  bool ran = false;
  Synchronize([&] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_FALSE(CheckSynchronize());
}

TEST(Synchronize, AnotherThreadWaitsUntilTheWorkRanOnTheUserInterfaceThread) {
  std::atomic<bool> done{false};
  bool ranOnMain = false;
  int value = 0;
  std::thread worker([&] {
    Synchronize([&] {
      ranOnMain = IsMainThread();
      value = 42;
    });
    EXPECT_EQ(value, 42);
    done = true;
  });
  // Waits for the work instead of polling: a broken queue makes this time out and fail.
  EXPECT_TRUE(CheckSynchronize(60000));
  worker.join();
  EXPECT_TRUE(done);
  EXPECT_TRUE(ranOnMain);
  EXPECT_FALSE(CheckSynchronize());
}

TEST(Synchronize, ErrorsOfTheWorkReachTheWaitingThread) {
  std::atomic<bool> done{false};
  std::string caught;
  std::thread worker([&] {
    try {
      Synchronize([] { throw std::runtime_error("failed on the user-interface thread"); });
    } catch (const std::runtime_error& e) {
      caught = e.what();
    }
    done = true;
  });
  DrainUntilJoined(worker, done);
  EXPECT_EQ(caught, "failed on the user-interface thread");
}

TEST(Synchronize, QueuedWorkBehindAFailureStaysQueued) {
  std::vector<int> order;
  std::thread worker([&] {
    QueueToMainThread([&] { order.push_back(1); });
    QueueToMainThread([] { throw std::runtime_error("queued failure"); });
    QueueToMainThread([&] { order.push_back(3); });
  });
  worker.join();
  EXPECT_THROW(CheckSynchronize(), std::runtime_error);
  EXPECT_EQ(order, std::vector<int>{1});
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(order, (std::vector<int>{1, 3}));
  EXPECT_FALSE(CheckSynchronize());
}

TEST(Synchronize, TimesOutOrWakesWithoutWork) {
  EXPECT_FALSE(CheckSynchronize(5));
  std::thread waker([] { WakeMainThread(); });
  EXPECT_FALSE(CheckSynchronize(kInfinite));  // ends on the wake-up, having run nothing
  waker.join();
}

TEST(Synchronize, TheHookFiresOnTheQueueingThreadForEachItem) {
  std::atomic<int> wakes{0};
  std::atomic<bool> hookOffMain{true};
  SetWakeMainThreadHook([&] {
    ++wakes;
    if (IsMainThread()) hookOffMain = false;
  });
  std::thread worker([] {
    QueueToMainThread([] {});
    QueueToMainThread([] {});
  });
  worker.join();
  SetWakeMainThreadHook(nullptr);
  EXPECT_EQ(wakes, 2);
  EXPECT_TRUE(hookOffMain);
  EXPECT_TRUE(CheckSynchronize());
}

TEST(Synchronize, OnlyTheNamedUserInterfaceThreadDrains) {
  std::atomic<bool> drained{false};
  std::string refusal;
  std::thread other([&] {
    try {
      CheckSynchronize();
    } catch (const EThread& e) {
      refusal = e.what();
    }
    SetMainThread();  // this thread now plays the user-interface thread
    while (!CheckSynchronize(kInfinite)) {
    }
    drained = true;
  });
  while (IsMainThread()) std::this_thread::yield();
  std::thread::id testThread = std::this_thread::get_id();
  bool ranThere = false;
  // Queued, since this thread is no longer the user-interface thread.
  Synchronize([&] { ranThere = std::this_thread::get_id() != testThread; });
  other.join();
  SetMainThread();
  EXPECT_FALSE(refusal.empty());
  EXPECT_TRUE(drained);
  EXPECT_TRUE(ranThere);
}

}  // namespace corvane

namespace corvane {

// Queued work that waits for another thread's Synchronize call serves the queue meanwhile,
// as deleting a painter does: the other thread's call, queued behind it, must still run.
TEST(Synchronize, WorkThatWaitsForAThreadFindsThatThreadsCallQueuedBehindIt) {
  std::atomic<bool> workerQueued{false}, workerDone{false};
  std::thread worker;
  QueueToMainThread([&] {
    for (int i = 0; i < 500 && !workerDone; ++i) CheckSynchronize(10);
    EXPECT_TRUE(workerDone);
  });
  worker = std::thread([&] {
    workerQueued = true;
    Synchronize([] {});
    workerDone = true;
  });
  while (!workerQueued) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let its call reach the queue
  CheckSynchronize();
  worker.join();
  EXPECT_TRUE(workerDone);
}

}  // namespace corvane
