// Runs and item tests on a worker: the window's calls on the serving thread in list
// order, an abort seen inside a file, errors passed on after the worker ended.

#include <thread>

#include "GifBatchTestSupport.h"
#include "gifbatch/GifRunOnWorker.h"
#include "platform/Exceptions.h"
#include "platform/Synchronize.h"

namespace corvane::test {
namespace {

class RunOnWorkerTest : public TGifBatchTest {
 protected:
  // The window's calls, each noted with whether it ran on the serving thread.
  TGifRunSeams WindowSeams() {
    TGifRunSeams seams = Seams();
    seams.ItemChanged = [this](int index) { Calls.push_back("row " + std::to_string(index) + Where()); };
    seams.ViewChanged = [this] { Calls.push_back("view" + Where()); };
    seams.FileEnded = [this](int index, const TGifFileResult&) { Calls.push_back("end " + std::to_string(index) + Where()); };
    return seams;
  }
  static std::string Where() { return IsMainThread() ? "" : " off the serving thread"; }

  std::vector<std::string> Calls;
};

TEST_F(RunOnWorkerTest, TheWindowHearsOfEveryFileOnItsOwnThreadInListOrder) {
  AddFile("a.gif", Animation(2, "dropped"));
  AddFile("b.gif", TBytes{'G', 'I', 'F'});
  Pass = [](TGIFImage& image, TReduceSteps) { DropComments(image); };
  ProcessGifListOnWorker(Batch, TGifMode::Optimize, Options, WindowSeams(), ServeSynchronizedCalls);
  EXPECT_EQ(Calls, (std::vector<std::string>{"view", "row 0", "row 0", "view", "end 0", "row 1", "row 1", "end 1",
                                             "view"}));
  EXPECT_EQ(MessageRuns, 1);
  EXPECT_EQ(ReadBytes(Dir / "a.gif"), Animation(2));
  EXPECT_EQ(Batch.Total(), int64_t(Animation(2, "dropped").size() - Animation(2).size()));

  std::optional<TBytes> chosen = TestItemOnWorker(Batch, 0, Options, WindowSeams(), ServeSynchronizedCalls);
  EXPECT_EQ(chosen, Animation(2));
}

TEST_F(RunOnWorkerTest, AnAbortFromTheServingThreadEndsTheFileUnderWork) {
  TBytes source = Animation(3, "dropped");
  AddFile("a.gif", source);
  AddFile("b.gif", source);
  std::atomic<bool> inPass{false}, released{false};
  Pass = [&](TGIFImage& image, TReduceSteps) {
    inPass.store(true);
    while (!released.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    DropComments(image);
  };
  auto serve = [&](const std::atomic<bool>& done) {
    while (!done.load()) {
      CheckSynchronize(5);
      if (inPass.load() && !released.load()) {
        Batch.Abort();  // the Abort button, clicked while the worker optimizes
        released.store(true);
      }
    }
  };
  ProcessGifListOnWorker(Batch, TGifMode::Optimize, Options, Seams(), serve);
  EXPECT_EQ(Endings, (std::vector<TGifFileEnding>{TGifFileEnding::Aborted}));
  EXPECT_EQ(Row(0), (std::vector<std::string>{"a.gif", std::to_string(source.size())}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"b.gif"}));
  EXPECT_EQ(ReadBytes(Dir / "a.gif"), source);
  EXPECT_EQ(MessageRuns, 0);
}

TEST_F(RunOnWorkerTest, AnErrorOfTheRunPassesOnOnceTheWorkerEnded) {
  AddFile("a.gif", Animation(1));
  Batch.List().Add((Dir / "missing.gif").string());
  EXPECT_THROW(ProcessGifListOnWorker(Batch, TGifMode::Test, Options, WindowSeams(), ServeSynchronizedCalls), EFOpenError);
  EXPECT_FALSE(Batch.View().AbortEnabled);
  EXPECT_EQ(Calls.back(), "view");
}

}  // namespace
}  // namespace corvane::test
