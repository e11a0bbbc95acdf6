// Writing GIF files: the version, the flag bytes computed from the tables, padded tables,
// and the same bytes on every save.

#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "platform/PictureRegistry.h"

namespace corvane::test {
namespace {

std::string Signature(const TBytes& file) { return std::string(file.begin(), file.begin() + 6); }

TEST(GIFWrite, ImageWithoutFramesIsRefused) {
  TGIFImage image;
  try {
    Save(image);
    FAIL();
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Unsupported GIF version");
  }
}

TEST(GIFWrite, VersionFollowsTheContent) {
  TGIFImage image;
  TGIFSubImage& frame = AddFrame(image, 0, 0, 2, 2, {0, 1, 1, 0});
  AddGreys(frame.LocalTable(), 2);
  EXPECT_EQ(Signature(Save(image)), "GIF87a");
  image.Header().PixelAspect = 49;
  EXPECT_EQ(Signature(Save(image)), "GIF89a") << "the aspect byte is reserved in 87a";
  image.Header().PixelAspect = 0;
  AddExtension<TGIFCommentExtension>(frame).FTextLines = {"c"};
  EXPECT_EQ(Signature(Save(image)), "GIF89a");
}

TEST(GIFWrite, TablesArePaddedAndFlagsComputed) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 3);
  AddFrame(image, 0, 0, 2, 1, {0, 2});
  TBytes file = Save(image);
  EXPECT_EQ(file[10], 0x80 | 0x10 | 0x01) << "4 entries of 2 bits";
  ASSERT_GE(file.size(), 13u + 12u);
  EXPECT_EQ(TBytes(file.begin() + 22, file.begin() + 25), (TBytes{0, 0, 0})) << "the fourth entry is black";

  TGIFSubImage& frame = AddFrame(image, 0, 0, 2, 1, {0, 199});
  AddGreys(frame.LocalTable(), 200);
  file = Save(image);
  EXPECT_EQ(file[10] & 0x07, 1) << "size bits follow the global table";
  EXPECT_EQ((file[10] >> 4) & 0x07, 7) << "resolution follows the deepest table";
}

TEST(GIFWrite, ScreenWithoutGlobalTable) {
  TGIFImage image;
  AddGreys(AddFrame(image, 0, 0, 1, 1).LocalTable(), 16);
  EXPECT_EQ(Save(image)[10], 0x33);
  TGIFImage bare;
  AddFrame(bare, 0, 0, 1, 1);
  EXPECT_EQ(Save(bare)[10], 0x77) << "no table anywhere: all resolution and size bits";
}

TEST(GIFWrite, InterlacedFrameWithLocalTableIsWrittenProgressive) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 4);
  TBytes pixels = Ramp(6 * 9, 4);
  TGIFSubImage& plain = AddFrame(image, 0, 0, 6, 9, pixels);
  plain.SetFrameFlags(TGIFSubImage::kInterlaced);
  TGIFSubImage& local = AddFrame(image, 0, 0, 6, 9, pixels);
  local.SetFrameFlags(TGIFSubImage::kInterlaced);
  AddGreys(local.LocalTable(), 4);

  TLoaded loaded = Load(Save(image));
  ASSERT_EQ(loaded.Error, "");
  EXPECT_TRUE(loaded.Image->Frame(0).IsInterlaced());
  EXPECT_FALSE(loaded.Image->Frame(1).IsInterlaced());
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(TBytes(loaded.Image->Frame(i).PixelData(), loaded.Image->Frame(i).PixelData() + pixels.size()), pixels);
}

TEST(GIFWrite, PixelsOutsideTheTableAreRefused) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 4);
  AddFrame(image, 0, 0, 2, 1, {0, 4});
  EXPECT_THROW(Save(image), GIFException);
}

TEST(GIFWrite, SavingTwiceGivesTheSameBytes) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 16);
  TGIFSubImage& frame = AddFrame(image, 0, 0, 20, 10, Ramp(200, 16));
  AddExtension<TGIFGraphicControlExtension>(frame).SetDelayTime(7);
  AddExtension<TGIFAppExtNSLoop>(frame);
  TBytes first = Save(image);
  EXPECT_EQ(Save(image), first);
  TLoaded loaded = Load(first);
  EXPECT_EQ(Save(*loaded.Image), first);
}

TEST(GIFWrite, RunLengthCodingWritesTheSamePixels) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 8);
  TBytes pixels(64 * 16, 3);
  std::fill(pixels.begin() + 100, pixels.begin() + 400, 5);
  AddFrame(image, 0, 0, 64, 16, pixels);
  image.PixelCoding = pcRunLength;
  TLoaded loaded = Load(Save(image));
  ASSERT_EQ(loaded.Error, "");
  EXPECT_EQ(TBytes(loaded.Image->Frame(0).PixelData(), loaded.Image->Frame(0).PixelData() + pixels.size()), pixels);
}

TEST(GIFWrite, FileFormIsRegisteredAndWrittenAtomically) {
  RegisterGIFFormat();
  RegisterGIFFormat();
  std::optional<TFileFormat> format = FindFileFormat(".gif");
  ASSERT_TRUE(format);
  EXPECT_EQ(format->Description, "GIF Image");
  std::unique_ptr<TGraphic> graphic = format->Create();
  auto& image = dynamic_cast<TGIFImage&>(*graphic);
  AddGreys(image.Header().GlobalTable(), 2);
  AddFrame(image, 0, 0, 3, 3);
  std::filesystem::path file = std::filesystem::temp_directory_path() / "corvane-write-test.gif";
  image.SaveToFile(file);
  TGIFImage again;
  again.LoadFromFile(file);
  EXPECT_EQ(again.Width(), 3);
  image.Header().StoreToFile(file);
  TGIFImage headerOnly;
  headerOnly.Header().FetchFromFile(file);
  EXPECT_EQ(headerOnly.Header().CanvasWidth, 3);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace corvane::test
