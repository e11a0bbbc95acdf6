#include "platform/FileUtils.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Exceptions.h"
#include "platform/FileStamp.h"

namespace corvane {

namespace fs = std::filesystem;

class FileUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() / ("corvane-fileutils-" + std::to_string(::getpid()));
    fs::remove_all(FDir);
    fs::create_directories(FDir);
  }
  void TearDown() override {
    fs::permissions(FDir, fs::perms::owner_all);
    fs::remove_all(FDir);
  }
  size_t EntryCount() const { return size_t(std::distance(fs::directory_iterator(FDir), fs::directory_iterator())); }
  fs::path FDir;
};

TEST_F(FileUtilsTest, AtomicWriteReplacesContentAndKeepsPermissions) {
  fs::path file = FDir / "a.gif";
  WriteFileAtomically(file, std::vector<uint8_t>{1, 2, 3});
  ::chmod(file.c_str(), 0640);
  WriteFileAtomically(file, std::vector<uint8_t>{4});
  EXPECT_EQ(ReadWholeFile(file), std::vector<uint8_t>{4});
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileUtilsTest, AtomicWriteThroughALinkReplacesTheFileItNames) {
  fs::path file = FDir / "a.gif", link = FDir / "link.gif";
  WriteFileAtomically(file, std::vector<uint8_t>{1, 2, 3});
  fs::create_symlink(file, link);
  WriteFileAtomically(link, std::vector<uint8_t>{4});
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadWholeFile(file), std::vector<uint8_t>{4});
}

TEST_F(FileUtilsTest, FailedAtomicWriteLeavesTheTargetAndNoTemporaryFile) {
  fs::path file = FDir / "sub";
  fs::create_directory(file);  // a directory cannot be replaced by a file
  EXPECT_THROW(WriteFileAtomically(file, std::vector<uint8_t>{1}), EFCreateError);
  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileUtilsTest, ReadingAMissingFileOrADirectoryIsAnOpenError) {
  EXPECT_THROW(ReadWholeFile(FDir / "missing.gif"), EFOpenError);
  EXPECT_THROW(ReadWholeFile(FDir), EFOpenError);
}

TEST_F(FileUtilsTest, ANewFileNeverTakesANameInUse) {
  fs::path file = FDir / "a.gif";
  EXPECT_TRUE(WriteNewFile(file, std::vector<uint8_t>{1, 2}));
  EXPECT_FALSE(WriteNewFile(file, std::vector<uint8_t>{3}));
  EXPECT_EQ(ReadWholeFile(file), (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(EntryCount(), 1u);
  EXPECT_THROW(WriteNewFile(FDir / "no folder" / "b.gif", std::vector<uint8_t>{1}), EFCreateError);
}

TEST_F(FileUtilsTest, AReplacementKeepsTheTimeOnRequestAndIsLeftWhenTheCheckBeforeTheRenameRaises) {
  fs::path file = FDir / "a.gif";
  WriteFileAtomically(file, std::vector<uint8_t>{1});
  const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), old, 0), 0);
  WriteFileAtomically(file, std::vector<uint8_t>{2}, {true, {}});
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
  WriteFileAtomically(file, std::vector<uint8_t>{3});
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_GT(st.st_mtim.tv_sec, 1000000000);

  EXPECT_THROW(WriteFileAtomically(file, std::vector<uint8_t>{4}, {false, [] { throw EAbort(); }}), EAbort);
  EXPECT_EQ(ReadWholeFile(file), std::vector<uint8_t>{3});
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileUtilsTest, AFileIsStillTheOneReadWhileItsStatusAndInDoubtItsBytesAgree) {
  fs::path file = FDir / "a.gif";
  std::vector<uint8_t> bytes{1, 2, 3}, other{1, 2, 4};
  WriteFileAtomically(file, bytes);
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_TRUE(StillTheFileRead(file, StampOfRead(st, FileClockNow(), bytes)));
  EXPECT_FALSE(StillTheFileRead(file, StampOfRead(st, FileClockNow(), other)))
      << "changed in the clock step of the reading: the bytes tell";
  timespec muchLater = FileClockNow();
  muchLater.tv_sec += 60;
  EXPECT_TRUE(StillTheFileRead(file, StampOfRead(st, muchLater, other))) << "older times are trusted";

  TFileStamp stamp = StampOfRead(st, FileClockNow(), bytes);
  WriteFileAtomically(file, bytes);
  EXPECT_FALSE(StillTheFileRead(file, stamp)) << "another inode";
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  stamp = StampOfRead(st, FileClockNow(), bytes);
  fs::remove(file);
  EXPECT_FALSE(StillTheFileRead(file, stamp)) << "gone";
}

TEST(FileNamePart, TakesTheTextAfterTheLastSeparator) {
  EXPECT_EQ(FileNamePart("/a/b/c.gif"), "c.gif");
  EXPECT_EQ(FileNamePart("C:\\x\\y.gif"), "y.gif");
  EXPECT_EQ(FileNamePart("d:z.gif"), "z.gif");
  EXPECT_EQ(FileNamePart("plain.gif"), "plain.gif");
}

}  // namespace corvane
