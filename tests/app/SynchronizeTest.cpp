// The event loop runs the work other threads hand to the user-interface thread, woken by
// the platform's hook rather than by polling.

#include <gtest/gtest.h>

#include <QTest>
#include <atomic>
#include <thread>
#include <vector>

#include "FakeUi.h"
#include "platform/Synchronize.h"

namespace corvane {

TEST(EventLoopSynchronize, RunsAThreadsSynchronizeCallOnTheUserInterfaceThread) {
  std::atomic<bool> returned{false};
  bool ranOnMainThread = false;
  std::thread worker([&] {
    Synchronize([&] { ranOnMainThread = IsMainThread(); });
    returned = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 5000));
  worker.join();
  EXPECT_TRUE(ranOnMainThread);
}

TEST(EventLoopSynchronize, RunsQueuedWorkInOrderAndGoesOnPastWorkThatFails) {
  FakeUi().Reset();
  std::vector<int> ran;
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i) QueueToMainThread([&ran, i] { ran.push_back(i); });
    QueueToMainThread([] { throw std::runtime_error("Painter failed"); });
    QueueToMainThread([&ran] { ran.push_back(50); });
  });
  worker.join();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ran.size() == 51; }, 5000));
  for (int i = 0; i < int(ran.size()); ++i) EXPECT_EQ(ran[size_t(i)], i);
  ASSERT_EQ(FakeUi().Errors.size(), 1u);
  EXPECT_EQ(FakeUi().Errors[0].second, "Painter failed.");
}

}  // namespace corvane
