// Runs on several workers: results reported in list order and equal to a run in order,
// a path or a backup name listed twice handled in list order, abort and errors.

#include <algorithm>
#include <numeric>
#include <thread>

#include "GifBatchTestSupport.h"
#include "gif/GIFException.h"
#include "platform/Exceptions.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

using ParallelRunTest = TGifBatchTest;

TEST_F(ParallelRunTest, FilesAreReportedInListOrderWithTheResultsOfARunInOrder) {
  for (int i = 0; i < 12; ++i) AddFile("f" + std::to_string(i) + ".gif", Animation(1 + i % 4, i % 3 ? "dropped" : ""));
  AddFile("broken.gif", TBytes{'G', 'I', 'F'});
  Pass = [](TGIFImage& image, uint8_t) {
    // Later files finish first unless the reports wait for the list order.
    std::this_thread::sleep_for(std::chrono::milliseconds(image.FrameCount() == 1 ? 20 : 1));
    DropComments(image);
  };
  Run(TGifMode::Test, 1);
  std::vector<std::vector<std::string>> inOrder;
  for (int i = 0; i < Batch.List().Count(); ++i) inOrder.push_back(Row(i));
  int64_t total = Batch.Total();
  Ended.clear();
  for (int i = 0; i < Batch.List().Count(); ++i) Batch.List().Item(i).SubItems.resize(1);

  Run(TGifMode::Test, 3);
  std::vector<int> all(size_t(Batch.List().Count()));
  std::iota(all.begin(), all.end(), 0);
  EXPECT_EQ(Ended, all);
  for (int i = 0; i < Batch.List().Count(); ++i) EXPECT_EQ(Row(i), inOrder[size_t(i)]) << i;
  EXPECT_EQ(Batch.Total(), total);
  EXPECT_EQ(Batch.View().TotalLabel, std::to_string(total) + " bytes");
}

TEST_F(ParallelRunTest, APathListedTwiceIsOptimizedTwiceInListOrder) {
  TBytes source = Animation(2, "a comment");
  std::string path = AddFile("a.gif", source);
  AddFile("b.gif", Animation(3));
  Batch.List().Add((Dir / "." / "a.gif").string());
  Pass = [](TGIFImage& image, uint8_t) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    DropComments(image);
  };
  Run(TGifMode::Optimize, 3);
  EXPECT_EQ(Row(2)[1], Row(0)[2]) << "the second time reads the rewritten file";
  EXPECT_EQ(Row(2)[3], "0%");
  EXPECT_EQ(ReadBytes(path), Animation(2));
}

TEST_F(ParallelRunTest, BackupsOfOneNameTakeTheirNamesInListOrder) {
  fs::create_directories(Dir / "backup");
  Options.Backup = true;
  Options.BackupDirectory = (Dir / "backup").string();
  AddFile("one/anim.gif", Animation(4));
  AddFile("two/anim.gif", Animation(1));
  Pass = [](TGIFImage& image, uint8_t) { std::this_thread::sleep_for(std::chrono::milliseconds(5 * image.FrameCount())); };
  Run(TGifMode::Optimize, 2);
  EXPECT_EQ(ReadBytes(Dir / "backup" / "anim.gif"), Animation(4));
  EXPECT_EQ(ReadBytes(Dir / "backup" / "anim (2).gif"), Animation(1));
}

TEST_F(ParallelRunTest, AnAbortStopsTakingFilesAndLeavesTheRestUntouched) {
  TBytes big = Animation(2, "dropped");
  for (int i = 0; i < 8; ++i) AddFile("f" + std::to_string(i) + ".gif", big);
  Pass = [](TGIFImage& image, uint8_t) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    DropComments(image);
  };
  Messages = [&] { Batch.Abort(); };
  Run(TGifMode::Optimize, 2);
  ASSERT_FALSE(Ended.empty());
  EXPECT_TRUE(std::is_sorted(Ended.begin(), Ended.end()));
  EXPECT_EQ(Row(7), (std::vector<std::string>{"f7.gif"}));
  EXPECT_EQ(ReadBytes(Dir / "f7.gif"), big);
  for (int i = 0; i < 8; ++i) {
    if (Row(i).size() < 4) {
      EXPECT_EQ(ReadBytes(Dir / ("f" + std::to_string(i) + ".gif")), big) << i;
    }
  }
}

TEST_F(ParallelRunTest, AnErrorOnAWorkerEndsTheRunAsARunInOrderWould) {
  TBytes big = Animation(2, "dropped");
  AddFile("a.gif", big);
  AddFile("b.gif", Animation(3));
  std::string later = AddFile("c.gif", big);
  Pass = [](TGIFImage& image, uint8_t) {
    if (image.FrameCount() != 3) return DropComments(image);
    // The file after the error is done by then.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    throw GIFException("Invalid reduction method");
  };
  EXPECT_THROW(Run(TGifMode::Optimize, 2), GIFException);
  EXPECT_EQ(Row(0).size(), 4u);
  EXPECT_EQ(Ended, std::vector<int>{0});
  EXPECT_EQ(Row(2).size(), 1u) << "the texts of a file after the error are taken back";
  EXPECT_EQ(ReadBytes(later), big) << "and the file is not replaced";
  EXPECT_FALSE(Batch.View().AbortEnabled);

  Batch.List().Item(1).Caption = (Dir / "missing.gif").string();
  EXPECT_THROW(Run(TGifMode::Test, 2), EFOpenError);
}

}  // namespace
}  // namespace corvane::test
