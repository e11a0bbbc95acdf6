#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Exceptions.h"

namespace corvane {

TEST(MemoryStream, WritesReadsAndSeeks) {
  TMemoryStream s;
  const uint8_t data[] = {1, 2, 3, 4, 5};
  s.WriteBuffer(data, 5);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Position(), 5);
  s.Seek(-2, TSeekOrigin::End);
  uint8_t b = 0;
  ASSERT_TRUE(s.ReadByte(b));
  EXPECT_EQ(b, 4);
  s.SetPosition(1);
  uint8_t two[2];
  s.ReadBuffer(two, 2);
  EXPECT_EQ(two[0], 2);
  EXPECT_EQ(two[1], 3);
}

TEST(MemoryStream, WritingPastTheEndGrowsAndShortReadsFail) {
  TMemoryStream s;
  s.SetPosition(3);
  s.WriteByte(9);
  EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{0, 0, 0, 9}));
  uint8_t buf[8];
  s.SetPosition(2);
  EXPECT_EQ(s.Read(buf, 8), 2);
  s.SetPosition(2);
  EXPECT_THROW(s.ReadBuffer(buf, 3), EReadError);
  EXPECT_THROW(s.Seek(-1, TSeekOrigin::Beginning), EStreamError);
}

TEST(MemoryStream, CopyFromWholeStreamStartsAtTheBeginning) {
  TMemoryStream source(std::vector<uint8_t>{7, 8, 9});
  source.SetPosition(2);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 3);
  EXPECT_EQ(target.Bytes(), source.Bytes());
}

TEST(FileStream, ReportsOpenAndCreateErrorsWithTheFileName) {
  try {
    TFileStream f("/nonexistent-dir/x.gif", TFileMode::OpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file /nonexistent-dir/x.gif: No such file or directory");
  }
  EXPECT_THROW(TFileStream("/nonexistent-dir/x.gif", TFileMode::Create), EFCreateError);
}

TEST(FileStream, RoundTripsThroughAFile) {
  auto path = std::filesystem::temp_directory_path() / "corvane-stream-test.bin";
  {
    TFileStream f(path, TFileMode::Create);
    f.WriteBytes(std::vector<uint8_t>{10, 20, 30});
  }
  TMemoryStream m;
  m.LoadFromFile(path);
  EXPECT_EQ(m.Bytes(), (std::vector<uint8_t>{10, 20, 30}));
  std::filesystem::remove(path);
}

}  // namespace corvane
