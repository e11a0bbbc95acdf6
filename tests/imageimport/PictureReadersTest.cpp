#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"
#include "support/PhotoPicture.h"

namespace corvane {

namespace {

class WrittenPictures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = test::ScratchDirectory("import");
    ASSERT_EQ(std::system((std::string(CORVANE_FIXTURE_TOOL) + " " + dir.string()).c_str()), 0);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir); }

  static std::filesystem::path dir;
};

std::filesystem::path WrittenPictures::dir;

void ExpectStandardPixels(const TBitmap& bitmap, const std::string& name) {
  ASSERT_EQ(bitmap.Width(), 7) << name;
  ASSERT_EQ(bitmap.Height(), 5) << name;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(bitmap.PixelColor(x, y), test::StandardColor(x, y)) << name << " " << x << "," << y;
}

}  // namespace

TEST_F(WrittenPictures, LosslessFormatsGiveTheExactPixels) {
  const std::vector<std::pair<std::string, std::string>> files = {
      {"bmp", "TBMPPicture"},    {"rle", "TBMPPicture"},    {"dib", "TBMPPicture"},    {"ico", "TICOPicture"},
      {"pcx", "TPCXPicture"},    {"pcc", "TPCXPicture"},    {"scr", "TPCXPicture"}, {"psd", "TPSDPicture"},
      {"pdd", "TPSDPicture"}, {"tga", "TTGAPicture"},    {"vst", "TTGAPicture"},    {"icb", "TTGAPicture"},
      {"vda", "TTGAPicture"},    {"win", "TTGAPicture"}, {"rgb", "TMagickPicture"}, {"rgba", "TMagickPicture"},
      {"sgi", "TMagickPicture"}, {"ppm", "TMagickPicture"}, {"png", "TPNGPicture"},    {"tif", "TTIFFPicture"},
      {"tiff", "TTIFFPicture"},
  };
  for (const auto& [extension, className] : files) {
    std::string name = "picture." + extension, reader;
    ExpectStandardPixels(*test::OpenPicture(dir / name, &reader), name);
    EXPECT_EQ(reader, className) << name;
  }
}

TEST_F(WrittenPictures, GreyBilevelAndPhotoCdPicturesLoad) {
  for (const char* name : {"picture.pgm", "picture.bw"}) {
    auto grey = test::OpenPicture(dir / name);
    ASSERT_EQ(grey->Width(), 7) << name;
    for (int x = 0; x < 7; ++x) {
      TColor c = grey->PixelColor(x, 4);
      EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << name;
    }
  }
  auto bilevel = test::OpenPicture(dir / "picture.pbm");
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      TColor c = bilevel->PixelColor(x, y);
      EXPECT_TRUE(c == clBlack || c == clWhite);
    }
  auto photoCd = test::OpenPicture(dir / "picture.pcd");
  EXPECT_EQ(photoCd->Width(), 768);  // the base image, not a thumbnail
  EXPECT_EQ(photoCd->Height(), 512);
}

TEST_F(WrittenPictures, TransparencyIsComposedOntoWhite) {
  for (const char* name : {"alpha.png", "alpha.tif", "alpha.tga"}) {
    auto bitmap = test::OpenPicture(dir / name);
    EXPECT_EQ(bitmap->PixelColor(0, 0), clWhite) << name;
    TColor half = bitmap->PixelColor(1, 0);
    EXPECT_NEAR(RedOf(half), (36 + 255) / 2, 2) << name;
    EXPECT_NEAR(GreenOf(half), 255 / 2, 2) << name;
    EXPECT_NEAR(BlueOf(half), (180 + 255) / 2, 2) << name;
    EXPECT_EQ(bitmap->PixelColor(2, 0), test::StandardColor(2, 0)) << name;
  }
}

TEST_F(WrittenPictures, TruncatedAndCorruptFilesGiveErrorsNotCrashes) {
  std::filesystem::path damaged = dir / "damaged";
  std::filesystem::create_directories(damaged);
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::vector<uint8_t> good = ReadWholeFile(entry.path());
    std::vector<std::vector<uint8_t>> variants = {
        {}, {good.begin(), good.begin() + long(std::min<size_t>(good.size(), 12))},
        {good.begin(), good.begin() + long(good.size() / 2)}, good};
    for (size_t i = good.size() / 4; i < good.size(); i += 5) variants.back()[i] ^= 0xA5;
    for (const std::vector<uint8_t>& bytes : variants) {
      std::filesystem::path file = damaged / entry.path().filename();
      WriteFileAtomically(file, bytes);
      try {
        auto bitmap = test::OpenPicture(file);
        EXPECT_GT(bitmap->Width(), 0) << file;
      } catch (const EPlatformError&) {
      }
    }
    if (good.empty()) continue;
    WriteFileAtomically(damaged / entry.path().filename(), {});
    EXPECT_THROW(test::OpenPicture(damaged / entry.path().filename()), EInvalidGraphic) << entry.path();
  }
}

}  // namespace corvane
