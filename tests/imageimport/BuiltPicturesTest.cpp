#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"
#include "support/GifBuilder.h"
#include "support/PhotoPicture.h"

namespace corvane {

namespace {

void Put16(std::vector<uint8_t>& bytes, unsigned value) {
  bytes.push_back(uint8_t(value));
  bytes.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
  Put16(bytes, value & 0xFFFF);
  Put16(bytes, value >> 16);
}

// An Animator picture of the given size whose pixel (x, y) has index x + y and whose
// palette entry i is (i, 2i, 3i) in 6-bit values.
std::vector<uint8_t> AnimatorPicture(int width, int height) {
  std::vector<uint8_t> bytes;
  Put16(bytes, 0x9119);
  Put16(bytes, unsigned(width));
  Put16(bytes, unsigned(height));
  Put16(bytes, 0);
  Put16(bytes, 0);
  bytes.push_back(8);
  bytes.push_back(0);
  Put32(bytes, uint32_t(width * height));
  bytes.resize(32, 0);
  for (int i = 0; i < 256; ++i)
    for (int c = 1; c <= 3; ++c) bytes.push_back(uint8_t((i * c) % 64));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bytes.push_back(uint8_t(x + y));
  return bytes;
}

// A Dr. Halo picture of 4 × 2 pixels with indices 0 1 2 3 / 3 2 1 0, each row one literal run.
std::vector<uint8_t> HaloPicture() {
  std::vector<uint8_t> bytes;
  Put16(bytes, 4);
  Put16(bytes, 2);
  Put16(bytes, 0);
  for (std::vector<uint8_t> row : {std::vector<uint8_t>{0, 1, 2, 3}, std::vector<uint8_t>{3, 2, 1, 0}}) {
    Put16(bytes, unsigned(row.size() + 2));
    bytes.push_back(uint8_t(row.size()));
    bytes.insert(bytes.end(), row.begin(), row.end());
    bytes.push_back(0);
  }
  return bytes;
}

// A Dr. Halo palette: index i takes colours[i], each channel out of 255.
std::vector<uint8_t> HaloPalette(const std::vector<TColor>& colours) {
  std::vector<uint8_t> bytes = {'A', 'H'};
  Put16(bytes, 0xE3);  // version
  Put16(bytes, 0);     // size
  bytes.push_back('P');
  bytes.push_back(0);
  Put16(bytes, 0);  // board
  Put16(bytes, 0);  // graphics mode
  Put16(bytes, unsigned(colours.size() - 1));
  for (int c = 0; c < 3; ++c) Put16(bytes, 255);
  std::string id = "Dr. Halo";
  id.resize(20, '\0');
  bytes.insert(bytes.end(), id.begin(), id.end());
  for (TColor colour : colours) {
    Put16(bytes, RedOf(colour));
    Put16(bytes, GreenOf(colour));
    Put16(bytes, BlueOf(colour));
  }
  return bytes;
}

// A placeable Windows metafile of 100 × 100 units at 96 units per inch: a red rectangle
// filling the picture.
std::vector<uint8_t> MetafilePicture() {
  std::vector<uint8_t> bytes;
  Put32(bytes, 0x9AC6CDD7);
  for (unsigned word : {0u, 0u, 0u, 100u, 100u, 96u}) Put16(bytes, word);
  unsigned checksum = 0;
  for (size_t i = 0; i < bytes.size(); i += 2) checksum ^= unsigned(bytes[i] | bytes[i + 1] << 8);
  Put16(bytes, checksum);
  Put32(bytes, 0);
  const std::vector<std::vector<unsigned>> records = {
      {0x020B, 0, 0},                   // SetWindowOrg
      {0x020C, 100, 100},               // SetWindowExt
      {0x02FC, 0, 0x00FF, 0x0000, 0},   // CreateBrushIndirect: solid, red
      {0x012D, 0},                      // SelectObject
      {0x041B, 100, 100, 0, 0},         // Rectangle: bottom, right, top, left
      {0x0000},                         // end of file
  };
  uint32_t words = 9;
  for (const auto& r : records) words += uint32_t(r.size() + 2);
  for (unsigned word : {1u, 9u, 0x0300u}) Put16(bytes, word);
  Put32(bytes, words);
  Put16(bytes, 1);
  Put32(bytes, 7);
  Put16(bytes, 0);
  for (const auto& r : records) {
    Put32(bytes, uint32_t(r.size() + 2));
    for (unsigned word : r) Put16(bytes, word);
  }
  return bytes;
}

class BuiltPictures : public ::testing::Test {
 protected:
  void SetUp() override { dir = test::ScratchDirectory("built"); }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::unique_ptr<TBitmap> Open(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteFileAtomically(dir / name, bytes);
    return test::OpenPicture(dir / name);
  }
  std::string ErrorOpening(const std::string& name, const std::vector<uint8_t>& bytes) {
    try {
      Open(name, bytes);
    } catch (const EInvalidGraphic& e) {
      return e.what();
    }
    return "no error";
  }

  std::filesystem::path dir;
};

}  // namespace

TEST_F(BuiltPictures, GifsGiveTheirFirstFrameWithTransparentPartsOnWhite) {
  // Two frames on a 3 x 1 screen; the first has a transparent middle pixel.
  test::TGifBuilder gif(3, 1);
  gif.GlobalTable(2, {0xFF0000, 0x00FF00, 0x0000FF, 0x000000}).Loop(0).Control(1, 10, 1).Image(0, 0, 3, 1, {0, 1, 2}, 2);
  gif.Control(1, 10).Image(0, 0, 3, 1, {2, 2, 2}, 2).Trailer();
  std::string reader;
  WriteFileAtomically(dir / "anim.GIF", gif.Data());
  std::unique_ptr<TBitmap> bitmap = test::OpenPicture(dir / "anim.GIF", &reader);
  EXPECT_EQ(reader, "TGIFPicture");
  ASSERT_EQ(bitmap->Width(), 3);
  EXPECT_EQ(bitmap->PixelColor(0, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(bitmap->PixelColor(1, 0), clWhite);
  EXPECT_EQ(bitmap->PixelColor(2, 0), MakeColor(0, 0, 255));
  EXPECT_EQ(ErrorOpening("cut.gif", {'G', 'I', 'F', '8', '9', 'a', 3}), "Premature end of data");
}

TEST_F(BuiltPictures, AnimatorCelsAndPicsAreReadWithTheirPalette) {
  for (const char* name : {"frame.cel", "frame.PIC"}) {
    auto bitmap = Open(name, AnimatorPicture(5, 3));
    ASSERT_EQ(bitmap->Width(), 5);
    ASSERT_EQ(bitmap->Height(), 3);
    EXPECT_EQ(bitmap->PixelColor(0, 0), clBlack);
    auto eightBit = [](int sixBit) { return uint8_t((sixBit * 255 + 31) / 63); };
    EXPECT_EQ(bitmap->PixelColor(4, 2), MakeColor(eightBit(6), eightBit(12), eightBit(18)));
  }
  std::vector<uint8_t> good = AnimatorPicture(5, 3);
  EXPECT_EQ(ErrorOpening("cut.cel", {good.begin(), good.end() - 1}),
            "Autodesk picture cannot be read: the file is truncated");
  std::vector<uint8_t> badPalette = good;
  badPalette[40] = 64;
  EXPECT_EQ(ErrorOpening("palette.cel", badPalette), "Autodesk picture cannot be read: the palette holds a value above 63");
  std::vector<uint8_t> huge = good;
  for (int i : {2, 3, 4, 5}) huge[size_t(i)] = 0xFF;
  EXPECT_EQ(ErrorOpening("huge.cel", huge), "Autodesk picture too large (65535 x 65535 pixels, limit 268435456 pixels)");
  EXPECT_EQ(ErrorOpening("other.pic", {'G', 'I', 'F'}), "Autodesk picture cannot be read: not an Animator picture");
}

TEST_F(BuiltPictures, HaloPicturesTakeTheColoursOfThePaletteBesideThem) {
  auto grey = Open("halo.cut", HaloPicture());
  ASSERT_EQ(grey->Width(), 4);
  ASSERT_EQ(grey->Height(), 2);
  EXPECT_EQ(grey->PixelColor(0, 0), grey->PixelColor(3, 1));

  std::vector<TColor> colours = {MakeColor(255, 0, 0), MakeColor(0, 255, 0), MakeColor(0, 0, 255), MakeColor(9, 99, 199)};
  WriteFileAtomically(dir / "halo.pal", HaloPalette(colours));
  auto coloured = test::OpenPicture(dir / "halo.cut");
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(coloured->PixelColor(x, 0), colours[size_t(x)]) << x;
    EXPECT_EQ(coloured->PixelColor(x, 1), colours[size_t(3 - x)]) << x;
  }
  std::vector<uint8_t> truncated = HaloPicture();
  truncated.resize(9);
  try {
    Open("short.cut", truncated);
  } catch (const EInvalidGraphic&) {
  }
  EXPECT_THROW(Open("empty.cut", {}), EInvalidGraphic);
}

TEST_F(BuiltPictures, WavefrontNamesGoToTheWavefrontCoder) {
  for (const char* name : {"frame.rla", "frame.rpf"})
    EXPECT_EQ(ErrorOpening(name, std::vector<uint8_t>(800, 0x11)).rfind("Wavefront RLA picture cannot be read: ", 0), 0u)
        << name;
}

TEST_F(BuiltPictures, MetafilesAreDrawn) {
  auto bitmap = Open("shape.wmf", MetafilePicture());
  ASSERT_GT(bitmap->Width(), 10);
  TColor centre = bitmap->PixelColor(bitmap->Width() / 2, bitmap->Height() / 2);
  EXPECT_GT(RedOf(centre), 200);
  EXPECT_LT(GreenOf(centre), 50);
  std::vector<uint8_t> truncated = MetafilePicture();
  truncated.resize(30);
  try {
    Open("short.wmf", truncated);
  } catch (const EInvalidGraphic&) {
  }
}

TEST_F(BuiltPictures, TypesWithoutAReaderNameTheReason) {
  EXPECT_EQ(ErrorOpening("a.psp", {'P', 'a', 'i', 'n', 't'}),
            "Paint Shop Pro pictures (.psp) cannot be read: no reader for this format is available");
  EXPECT_EQ(ErrorOpening("a.emf", {1, 0, 0, 0}), "Enhanced metafile cannot be read: not an enhanced metafile");
  EXPECT_EQ(ErrorOpening("lone.pal", HaloPalette({clWhite})),
            "A Dr. Halo palette (.pal) holds colours, not a picture: open the .cut picture that uses it");
}

TEST(PictureFormats, EveryTypeOfTheOpenDialogHasAReader) {
  RegisterAllPictureFormats();
  const char* allGraphics =
      "*.bmp; *.rle; *.dib; *.jpeg; *.jpg; *.jpe; *.ico; *.gif;*.png; *.pcd; *.psd; *.pdd; *.psp; *.tif; *.tiff; *.emf; "
      "*.wmf;*.bw; *.rgb; *.rgba; *.sgi; *.cel; *.pic; *.tga; *.vst; *.icb; *.vda; *.win;*.pcx; *.pcc; *.scr; *.ppm; "
      "*.pgm; *.pbm; *.cut; *.pal; *.rla; *.rpf";
  std::string list = allGraphics;
  for (size_t star = list.find("*."); star != std::string::npos; star = list.find("*.", star + 1)) {
    std::string extension = list.substr(star + 2, list.find(';', star) - star - 2);
    EXPECT_TRUE(FindFileFormat(extension)) << extension;
  }
}

}  // namespace corvane
