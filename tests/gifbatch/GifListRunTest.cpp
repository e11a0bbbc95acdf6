// The run over the list: the total and its label, the run's view state, abort between
// files, errors that end the run, the item test, the check before a file is replaced and
// replacement that never leaves a file half-written.

#include <sys/resource.h>

#include <csignal>

#include "GifBatchTestSupport.h"
#include "platform/Exceptions.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

using GifListRunTest = TGifBatchTest;

TEST_F(GifListRunTest, TheTotalCountsSmallerFilesInBothModesAndItsLabelKeepsThePreviousRun) {
  TBytes big = Animation(2, "dropped"), small = Animation(2);
  AddFile("a.gif", big);
  AddFile("b.gif", big);
  Pass = DropComments;
  Run(TGifMode::Test);
  int64_t saved = 2 * int64_t(big.size() - small.size());
  EXPECT_EQ(Batch.Total(), saved);
  EXPECT_EQ(Batch.View().TotalLabel, std::to_string(saved) + " bytes");

  Pass = nullptr;
  Run(TGifMode::Test);
  EXPECT_EQ(Batch.Total(), 0);
  EXPECT_EQ(Batch.View().TotalLabel, std::to_string(saved) + " bytes") << "no file got smaller";
}

TEST_F(GifListRunTest, TheViewShowsTheRunWhileItLastsAndAnEmptyListChangesNothing) {
  std::vector<std::pair<bool, TCursor>> views;
  TGifRunSeams seams = Seams();
  seams.ViewChanged = [&] { views.emplace_back(Batch.View().AbortEnabled, Batch.View().Cursor); };
  Batch.ProcessGifList(TGifMode::Optimize, Options, seams);
  EXPECT_EQ(views, (std::vector<std::pair<bool, TCursor>>{{true, TCursor::crHourGlass}, {false, TCursor::crDefault}}));
  EXPECT_EQ(Batch.View().TotalLabel, "0 bytes");
}

TEST_F(GifListRunTest, AnAbortBetweenFilesLeavesTheLaterFilesUntouched) {
  TBytes big = Animation(2, "dropped");
  std::string first = AddFile("a.gif", big);
  std::string second = AddFile("b.gif", big);
  Pass = DropComments;
  Messages = [&] { Batch.Abort(); };
  Run(TGifMode::Optimize);
  EXPECT_EQ(ReadBytes(first), Animation(2));
  EXPECT_EQ(ReadBytes(second), big);
  EXPECT_EQ(Row(1), (std::vector<std::string>{"b.gif"}));
  EXPECT_EQ(Ended, (std::vector<int>{0, 1})) << "the second file ends aborted before it is read";
}

TEST_F(GifListRunTest, AFileThatCannotBeOpenedEndsTheRunAfterItsCleanUp) {
  AddFile("a.gif", Animation(1));
  Batch.List().Add((Dir / "missing.gif").string());
  AddFile("c.gif", Animation(1));
  fs::create_directories(Dir / "folder.gif");
  Batch.List().Add((Dir / "folder.gif").string());
  try {
    Run(TGifMode::Test);
    FAIL() << "the run went on";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + (Dir / "missing.gif").string() + ": No such file or directory");
  }
  EXPECT_EQ(Row(0).size(), 4u) << "earlier results stay";
  EXPECT_EQ(Row(2).size(), 1u);
  EXPECT_FALSE(Batch.View().AbortEnabled);
  EXPECT_EQ(Batch.View().Cursor, TCursor::crDefault);

  Batch.List().Delete(1);
  EXPECT_THROW(Run(TGifMode::Test), EFOpenError) << "a folder is not a file to read";
}

TEST_F(GifListRunTest, AnUnwritableBackupEndsTheRunWithTheCreateMessage) {
  AddFile("a.gif", Animation(1));
  Options.Backup = true;
  Options.BackupDirectory = (Dir / "no such folder").string();
  try {
    Run(TGifMode::Optimize);
    FAIL() << "the run went on";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file " + (Dir / "no such folder" / "a.gif").string() + ": No such file or directory");
  }
  EXPECT_FALSE(fs::exists(Dir / "no such folder")) << "the run does not create the backup folder";
}

TEST_F(GifListRunTest, AnErrorInsideTheOptimizerEndsTheRun) {
  AddFile("a.gif", Animation(1));
  AddFile("b.gif", Animation(1));
  Pass = [](TGIFImage&, uint8_t) { throw GIFException("Invalid reduction method"); };
  EXPECT_THROW(Run(TGifMode::Test), GIFException);
  EXPECT_EQ(Row(0).size(), 2u);
  EXPECT_EQ(Row(1).size(), 1u);
}

TEST_F(GifListRunTest, TestingAnItemTwiceAppendsAfterTheFirstResults) {
  TBytes big = Animation(2, "dropped");
  AddFile("a.gif", big);
  Pass = DropComments;
  std::optional<TBytes> chosen = Batch.TestItem(0, Options, Seams());
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, Animation(2));
  Batch.TestItem(0, Options, Seams());
  std::vector<std::string> once{std::to_string(big.size()), std::to_string(Animation(2).size())};
  std::vector<std::string> row = Row(0);
  ASSERT_EQ(row.size(), 7u);
  EXPECT_EQ(row[1], row[4]);
  EXPECT_EQ(row[2], row[5]);
  EXPECT_EQ(row[3], row[6]);
  EXPECT_EQ(ReadBytes(Dir / "a.gif"), big);
}

TEST_F(GifListRunTest, AnEncodingThatLooksDifferentIsNotWrittenNorCounted) {
  TBytes big = Animation(2, "dropped");
  std::string path = AddFile("a.gif", big);
  Pass = DropComments;
  std::vector<size_t> checked;
  Check = [&](std::span<const uint8_t> original, std::span<const uint8_t> encoding) -> std::optional<std::string> {
    checked = {original.size(), encoding.size()};
    return "frame 1 differs at 0,0";
  };
  Run(TGifMode::Optimize);
  EXPECT_EQ(checked, (std::vector<size_t>{big.size(), Animation(2).size()}));
  EXPECT_EQ(ReadBytes(path), big);
  EXPECT_EQ(Row(0).back(), "Not replaced: frame 1 differs at 0,0");
  EXPECT_EQ(Batch.Total(), 0);
}

TEST_F(GifListRunTest, ACheckThatRaisesRefusesTheFileToo) {
  TBytes big = Animation(2, "dropped");
  std::string path = AddFile("a.gif", big);
  Pass = DropComments;
  Check = [](std::span<const uint8_t>, std::span<const uint8_t>) -> std::optional<std::string> {
    throw GIFException("Premature end of data");
  };
  Run(TGifMode::Optimize);
  EXPECT_EQ(ReadBytes(path), big);
  EXPECT_EQ(Row(0).back(), "Not replaced: Premature end of data");
}

TEST_F(GifListRunTest, AnEncodingThatLooksTheSameReplacesTheFile) {
  std::string path = AddFile("a.gif", Animation(2, "dropped"));
  Pass = DropComments;
  Check = [](std::span<const uint8_t>, std::span<const uint8_t>) { return std::optional<std::string>(); };
  Run(TGifMode::Optimize);
  EXPECT_EQ(ReadBytes(path), Animation(2));
}

// Writes fail beyond the size limit while it is in force.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &FOld);
    rlimit limited = FOld;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }

 private:
  rlimit FOld{};
  void (*FOldHandler)(int);
};

TEST_F(GifListRunTest, AReplacementThatCannotBeWrittenLeavesTheFileWhole) {
  TBytes big = Animation(40, "dropped");
  std::string path = AddFile("a.gif", big);
  Pass = DropComments;
  {
    TFileSizeLimit limit(64);
    EXPECT_THROW(Run(TGifMode::Optimize), EFCreateError);
  }
  EXPECT_EQ(ReadBytes(path), big);
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1) << "no temporary file is left";
}

TEST_F(GifListRunTest, AReplacedFileKeepsItsPermissionsAndALinkKeepsPointingAtIt) {
  std::string target = AddFile("a.gif", Animation(2, "dropped"));
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(target, Dir / "link.gif");
  Batch.List().Clear();
  Batch.List().Add((Dir / "link.gif").string());
  Pass = DropComments;
  Run(TGifMode::Optimize);
  EXPECT_TRUE(fs::is_symlink(Dir / "link.gif"));
  EXPECT_EQ(ReadBytes(target), Animation(2));
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace corvane::test
