#include "platform/PictureRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"

namespace corvane {

TEST(PictureRegistry, FindsFormatsWithoutRegardToCaseOrDot) {
  RegisterFileFormat("BMPTEST", "Test Bitmap", [] { return std::make_unique<TBitmap>(); });
  ASSERT_TRUE(FindFileFormat(".bmptest"));
  EXPECT_EQ(FindFileFormat("BmpTest")->Description, "Test Bitmap");
  UnregisterFileFormat("bmptest");
  EXPECT_FALSE(FindFileFormat("bmptest"));
}

TEST(Picture, LoadsByExtensionAndKeepsItsPictureOnFailure) {
  RegisterFileFormat("bmptest", "Test Bitmap", [] { return std::make_unique<TBitmap>(); });
  auto dir = std::filesystem::temp_directory_path();
  TBitmap bitmap(3, 2);
  bitmap.SaveToFile(dir / "corvane-pic.bmptest");
  WriteFileAtomically(dir / "corvane-bad.bmptest", std::vector<uint8_t>{'B', 'M', 0});

  TPicture picture;
  picture.LoadFromFile(dir / "corvane-pic.bmptest");
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_THROW(picture.LoadFromFile(dir / "corvane-bad.bmptest"), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(dir / "corvane-pic.unknownext"), EInvalidGraphic);
  EXPECT_EQ(picture.Height(), 2);

  UnregisterFileFormat("bmptest");
  std::filesystem::remove(dir / "corvane-pic.bmptest");
  std::filesystem::remove(dir / "corvane-bad.bmptest");
}

}  // namespace corvane
