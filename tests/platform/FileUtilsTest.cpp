#include "platform/FileUtils.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Exceptions.h"

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

TEST(FileNamePart, TakesTheTextAfterTheLastSeparator) {
  EXPECT_EQ(FileNamePart("/a/b/c.gif"), "c.gif");
  EXPECT_EQ(FileNamePart("C:\\x\\y.gif"), "y.gif");
  EXPECT_EQ(FileNamePart("d:z.gif"), "z.gif");
  EXPECT_EQ(FileNamePart("plain.gif"), "plain.gif");
}

}  // namespace corvane
