// The pipeline for one file: which passes run, which encoding wins, the texts of a row,
// the backup copy, and the endings that leave a file untouched.

#include "GifBatchTestSupport.h"
#include "gifbatch/BackupCopy.h"
#include "platform/MulDiv.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

using ProcessGifFileTest = TGifBatchTest;

std::string Reduction(size_t before, size_t after) {
  return std::to_string(MulDiv(int32_t(before) - int32_t(after), 100, int32_t(before))) + "%";
}

TEST_F(ProcessGifFileTest, SingleFrameRunsTheMainPassOnlyEvenWithTwoPasses) {
  AddFile("still.gif", Animation(1));
  Options.TwoPass = true;
  Run(TGifMode::Test);
  EXPECT_EQ(Steps, (std::vector<int>{kMainPassSteps}));
}

TEST_F(ProcessGifFileTest, TwoPassesOnAnAnimationRunTheFirstPassOnACopyThenTheMainPass) {
  AddFile("anim.gif", Animation(2));
  Options.TwoPass = true;
  std::vector<int> framesSeen;
  Pass = [&](TGIFImage& image, uint8_t) { framesSeen.push_back(image.FrameCount()); };
  Run(TGifMode::Test);
  EXPECT_EQ(Steps, (std::vector<int>{kFirstPassSteps, kMainPassSteps}));
  EXPECT_EQ(framesSeen, (std::vector<int>{2, 2}));
}

TEST_F(ProcessGifFileTest, OnEqualSizesTheMainPassWins) {
  std::string path = AddFile("anim.gif", Animation(3, "a comment of some length"));
  Options.TwoPass = true;
  Pass = [](TGIFImage& image, TReduceSteps steps) {
    DropComments(image);
    AddComment(image, steps == kMainPassSteps ? "main" : "copy");
  };
  Run(TGifMode::Optimize);
  TBytes written = ReadBytes(path);
  EXPECT_NE(std::search(written.begin(), written.end(), std::begin("main"), std::end("main") - 1), written.end());
}

TEST_F(ProcessGifFileTest, TheFirstPassWinsOnlyWhenStrictlySmaller) {
  TBytes source = Animation(3, "a comment of some length");
  std::string path = AddFile("anim.gif", source);
  Options.TwoPass = true;
  Pass = [](TGIFImage& image, TReduceSteps steps) {
    DropComments(image);
    if (steps == kMainPassSteps) AddComment(image, "longer");
  };
  Run(TGifMode::Optimize);
  TBytes firstPass = Animation(3);
  EXPECT_EQ(ReadBytes(path), firstPass);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"anim.gif", std::to_string(source.size()), std::to_string(firstPass.size()),
                                              Reduction(source.size(), firstPass.size())}));
}

TEST_F(ProcessGifFileTest, ALargerResultShowsANegativeReductionAndLeavesTheFile) {
  TBytes source = Animation(2);
  std::string path = AddFile("anim.gif", source);
  Pass = [](TGIFImage& image, uint8_t) { AddComment(image, "grows the file"); };
  Run(TGifMode::Optimize);
  std::vector<std::string> row = Row(0);
  ASSERT_EQ(row.size(), 4u);
  EXPECT_EQ(row[3], Reduction(source.size(), std::stoul(row[2])));
  EXPECT_EQ(row[3].front(), '-');
  EXPECT_EQ(ReadBytes(path), source);
  EXPECT_EQ(Batch.Total(), 0);
}

TEST_F(ProcessGifFileTest, AnEqualResultShowsZeroPercentAndLeavesTheFile) {
  TBytes source = Animation(2);
  std::string path = AddFile("anim.gif", source);
  fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1));
  auto stamp = fs::last_write_time(path);
  Run(TGifMode::Optimize);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"anim.gif", std::to_string(source.size()), std::to_string(source.size()), "0%"}));
  EXPECT_EQ(fs::last_write_time(path), stamp);
}

TEST_F(ProcessGifFileTest, AFileThatDoesNotParseShowsItsSizeThenTheReadersMessage) {
  AddFile("notes.gif", TBytes{'h', 'e', 'l', 'l', 'o'});
  AddFile("next.gif", Animation(1));
  Run(TGifMode::Test);
  std::vector<std::string> row = Row(0);
  ASSERT_EQ(row.size(), 3u);
  EXPECT_EQ(row[1], "5");
  EXPECT_FALSE(row[2].empty());
  EXPECT_EQ(Row(1).size(), 4u) << "the run goes on";
  EXPECT_EQ(Endings, (std::vector{TGifFileEnding::Failed, TGifFileEnding::Complete}));
  EXPECT_EQ(MessageRuns, 1) << "messages run after complete files only";
}

TEST_F(ProcessGifFileTest, AnImageLeftWithoutFramesFailsWithTheWritersMessage) {
  TBytes source = Animation(2);
  std::string path = AddFile("anim.gif", source);
  Pass = [](TGIFImage& image, uint8_t) { image.Frames().DeleteAll(); };
  Run(TGifMode::Optimize);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"anim.gif", std::to_string(source.size()), "Unsupported GIF version"}));
  EXPECT_EQ(ReadBytes(path), source);
}

TEST_F(ProcessGifFileTest, EveryFileReadIsBackedUpAsReadWhateverBecomesOfIt) {
  fs::create_directories(Dir / "backup");
  Options.Backup = true;
  Options.BackupDirectory = (Dir / "backup").string();
  TBytes smaller = Animation(2, "dropped"), broken{'G', 'I', 'F', '8', '9', 'a'}, same = Animation(1);
  AddFile("smaller.gif", smaller);
  AddFile("broken.gif", broken);
  AddFile("same.gif", same);
  Pass = DropComments;
  Run(TGifMode::Optimize);
  EXPECT_EQ(ReadBytes(Dir / "backup" / "smaller.gif"), smaller);
  EXPECT_EQ(ReadBytes(Dir / "backup" / "broken.gif"), broken);
  EXPECT_EQ(ReadBytes(Dir / "backup" / "same.gif"), same);
  EXPECT_EQ(ReadBytes(Dir / "smaller.gif"), Animation(2));
}

TEST_F(ProcessGifFileTest, TestRunsWriteNeitherBackupsNorFiles) {
  fs::create_directories(Dir / "backup");
  Options.Backup = true;
  Options.BackupDirectory = (Dir / "backup").string();
  TBytes source = Animation(2, "dropped");
  std::string path = AddFile("anim.gif", source);
  Pass = DropComments;
  Run(TGifMode::Test);
  EXPECT_TRUE(fs::is_empty(Dir / "backup"));
  EXPECT_EQ(ReadBytes(path), source);
  EXPECT_EQ(Batch.Total(), int64_t(source.size() - Animation(2).size()));
}

TEST_F(ProcessGifFileTest, ABackupNeverReplacesAnotherAndTheRowTellsTheNameItTook) {
  fs::create_directories(Dir / "backup");
  Options.Backup = true;
  Options.BackupDirectory = (Dir / "backup").string();
  AddFile("one/anim.gif", Animation(1));
  AddFile("two/anim.gif", Animation(3));
  AddFile("three/anim.gif", Animation(1));
  Run(TGifMode::Optimize);
  EXPECT_EQ(ReadBytes(Dir / "backup" / "anim.gif"), Animation(1));
  EXPECT_EQ(ReadBytes(Dir / "backup" / "anim (2).gif"), Animation(3));
  EXPECT_EQ(Row(1).back(), "Backed up as " + (Dir / "backup" / "anim (2).gif").string());
  EXPECT_EQ(Row(2).size(), 4u) << "the same bytes share the first copy";
  EXPECT_FALSE(fs::exists(Dir / "backup" / "anim (3).gif"));
}

TEST_F(ProcessGifFileTest, ABackupDirectoryThatIsAFilesFolderIsRefusedBeforeTheRun) {
  TBytes source = Animation(2, "dropped");
  AddFile("sub/anim.gif", source);
  std::string path = AddFile("anim.gif", source);
  Options.Backup = true;
  Options.BackupDirectory = Dir.string();
  Pass = DropComments;
  EXPECT_THROW(Run(TGifMode::Optimize), EBackupDirectory);
  EXPECT_EQ(ReadBytes(path), source);
  EXPECT_TRUE(Ended.empty());
  EXPECT_FALSE(Batch.View().AbortEnabled);
}

TEST_F(ProcessGifFileTest, AnAbortInsideAFileEndsTheRunAndLeavesTheFile) {
  TBytes source = Animation(2, "dropped");
  std::string first = AddFile("first.gif", source);
  std::string second = AddFile("second.gif", source);
  Pass = [&](TGIFImage& image, uint8_t) {
    DropComments(image);
    Batch.Abort();
  };
  Run(TGifMode::Optimize);
  EXPECT_EQ(ReadBytes(first), source);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"first.gif", std::to_string(source.size())}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"second.gif"}));
  EXPECT_EQ(Endings, (std::vector{TGifFileEnding::Aborted}));
  EXPECT_EQ(Batch.View().TotalLabel, "0 bytes");
}

TEST_F(ProcessGifFileTest, ImagesAreEmptiedInEveryEnding) {
  TGifWorkingSet work;
  TGifListItem item{(Dir / "anim.gif").string(), {"anim.gif"}, {}};
  WriteBytes(item.Caption, Animation(3));
  std::atomic<bool> abort{false};
  TGifRunSeams seams;
  seams.Reduce = [&](TGIFImage&, uint8_t) { abort = true; };
  TGifOptions options;
  options.TwoPass = true;
  EXPECT_EQ(ProcessGifFile(item, 0, TGifMode::Test, options, work, abort, seams).Ending, TGifFileEnding::Aborted);
  EXPECT_EQ(work.ImageM.FrameCount(), 0);
  EXPECT_EQ(work.ImageC.FrameCount(), 0);
}

}  // namespace
}  // namespace corvane::test
