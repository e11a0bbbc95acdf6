#include "platform/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>

#include "platform/Event.h"
#include "platform/Exceptions.h"
#include "platform/Synchronize.h"

namespace corvane {

namespace {

// Runs a function as its Execute and reports its own destruction.
class TTestThread : public TThread {
 public:
  explicit TTestThread(std::function<void(TTestThread&)> body, bool* destroyed = nullptr)
      : FBody(std::move(body)), FDestroyed(destroyed) {}
  ~TTestThread() override {
    if (!Suspended() && !Finished()) {
      Terminate();
      WaitFor();
    }
    if (FDestroyed) *FDestroyed = true;
  }

  using TThread::SetReturnValue;

 protected:
  void Execute() override { FBody(*this); }

 private:
  std::function<void(TTestThread&)> FBody;
  bool* FDestroyed;
};

}  // namespace

TEST(Thread, RunsOnlyOnceResumedAndAnswersItsReturnValue) {
  std::atomic<int> runs{0};
  TTestThread thread([&](TTestThread& self) {
    ++runs;
    self.SetReturnValue(7);
  });
  EXPECT_TRUE(thread.Suspended());
  EXPECT_EQ(thread.WaitFor(), 0);  // nothing to wait for yet
  EXPECT_EQ(runs, 0);
  thread.Resume();
  thread.Resume();
  EXPECT_EQ(thread.WaitFor(), 7);
  EXPECT_TRUE(thread.Finished());
  EXPECT_EQ(runs, 1);
}

TEST(Thread, TerminateEndsALoopThatWaitsOnAnEvent) {
  TEvent wake;
  std::atomic<int> rounds{0};
  TTestThread thread([&](TTestThread& self) {
    while (!self.Terminated()) {
      wake.WaitFor();
      ++rounds;
    }
  });
  thread.Resume();
  thread.Terminate();
  wake.SetEvent();
  thread.WaitFor();
  EXPECT_TRUE(thread.Terminated());
  EXPECT_LE(rounds, 1);
}

TEST(Thread, WaitingOnTheUserInterfaceThreadRunsTheThreadsSynchronisedWork) {
  std::atomic<bool> onMain{false};
  bool endHandlerOnMain = false;
  TTestThread thread([&](TTestThread&) { Synchronize([&] { onMain = IsMainThread(); }); });
  thread.OnTerminate = [&](TThread& sender) { endHandlerOnMain = IsMainThread() && &sender == &thread; };
  thread.Resume();
  thread.WaitFor();  // would deadlock if it did not serve the queue
  EXPECT_TRUE(onMain);
  EXPECT_TRUE(endHandlerOnMain);
}

TEST(Thread, AnErrorInExecuteIsKeptAndEndsTheThread) {
  TTestThread thread([](TTestThread&) { throw std::runtime_error("broken frame"); });
  thread.Resume();
  thread.WaitFor();
  ASSERT_TRUE(thread.FatalException());
  try {
    std::rethrow_exception(thread.FatalException());
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "broken frame");
  }
}

TEST(Thread, AThreadThatFreesItselfIsDeletedOnTheUserInterfaceThreadAfterItsEndHandler) {
  bool destroyed = false;
  bool handlerSawLiveThread = false;
  auto* thread = new TTestThread([](TTestThread&) {}, &destroyed);
  thread->SetFreeOnTerminate(true);
  thread->OnTerminate = [&](TThread&) { handlerSawLiveThread = !destroyed && IsMainThread(); };
  EXPECT_THROW(thread->WaitFor(), EThread);
  thread->Resume();
  while (!destroyed) CheckSynchronize(kInfinite);
  EXPECT_TRUE(handlerSawLiveThread);
}

TEST(Thread, DeletingARunningThreadTerminatesAndWaitsForIt) {
  TEvent wake;
  std::atomic<bool> ended{false};
  bool destroyed = false;
  {
    TTestThread thread(
        [&](TTestThread& self) {
          while (!self.Terminated()) wake.WaitFor(1);
          ended = true;
        },
        &destroyed);
    thread.Resume();
  }
  EXPECT_TRUE(ended);
  EXPECT_TRUE(destroyed);
  std::atomic<bool> ran{false};
  { TTestThread never([&](TTestThread&) { ran = true; }); }
  EXPECT_FALSE(ran);
}

TEST(Thread, KeepsItsPriorityAndRefusesToWaitForItself) {
  std::string refusal;
  TTestThread thread([&](TTestThread& self) {
    try {
      self.WaitFor();
    } catch (const EThread& e) {
      refusal = e.what();
    }
  });
  EXPECT_EQ(thread.Priority(), TThreadPriority::tpNormal);
  thread.SetPriority(TThreadPriority::tpLowest);
  EXPECT_EQ(thread.Priority(), TThreadPriority::tpLowest);
  thread.Resume();
  thread.WaitFor();
  EXPECT_FALSE(refusal.empty());
}

}  // namespace corvane
