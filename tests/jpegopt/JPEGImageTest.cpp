#include "jpegopt/JPEGImage.h"

#include <gtest/gtest.h>

#include <tuple>

#include "jpegopt/JPEGException.h"
#include "jpegopt/JpegSession.h"
#include "platform/Canvas.h"
#include "platform/PictureRegistry.h"
#include "platform/Stream.h"
#include "support/JpegBytes.h"
#include "support/PhotoPicture.h"

namespace corvane {

namespace {

using test::JpegBytes;

std::unique_ptr<TJPEGImage> Loaded(const std::vector<uint8_t>& bytes) {
  auto jpeg = std::make_unique<TJPEGImage>();
  TMemoryStream in(bytes);
  jpeg->LoadFromStream(in);
  return jpeg;
}

// The picture's bytes with the frame header's height and width replaced.
std::vector<uint8_t> WithDeclaredSize(std::vector<uint8_t> bytes, int width, int height) {
  for (size_t i = 2; i + 9 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
      bytes[i + 5] = uint8_t(height >> 8);
      bytes[i + 6] = uint8_t(height);
      bytes[i + 7] = uint8_t(width >> 8);
      bytes[i + 8] = uint8_t(width);
      return bytes;
    }
  ADD_FAILURE() << "no frame header";
  return bytes;
}

class JpegPeer : public ::testing::Test {
 protected:
  void SetUp() override { dir = test::ScratchDirectory("jpegpeer"); }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::vector<uint8_t> Cjpeg(const TBitmap& bitmap, const std::string& options) {
    WriteFileAtomically(dir / "in.ppm", test::PpmBytes(bitmap));
    std::string command = "cjpeg " + options + " -outfile " + (dir / "peer.jpg").string() + " " + (dir / "in.ppm").string();
    EXPECT_EQ(test::RunCommand(command), 0) << command;
    return ReadWholeFile(dir / "peer.jpg");
  }

  std::filesystem::path dir;
};

}  // namespace

TEST_F(JpegPeer, BytesEqualThePeerEncoderForTheSamePixels) {
  test::PhotoBitmap photo(97, 61, 7);
  for (int quality : {1, 25, 60, 100}) {
    std::string q = " -quality " + std::to_string(quality) + " -baseline";
    EXPECT_EQ(JpegBytes(photo, quality), Cjpeg(photo, q)) << quality;
    EXPECT_EQ(JpegBytes(photo, quality, true), Cjpeg(photo, "-grayscale" + q)) << quality;
  }
  EXPECT_EQ(JpegBytes(photo, 75, false, true), Cjpeg(photo, "-quality 75 -baseline -progressive"));
}

TEST_F(JpegPeer, ThePeerDecoderReadsOurFiles) {
  test::PhotoBitmap photo(33, 17, 3);
  for (bool grey : {false, true}) {
    WriteFileAtomically(dir / "ours.jpg", JpegBytes(photo, 60, grey));
    std::string command = "djpeg -pnm -outfile " + (dir / "out.pnm").string() + " " + (dir / "ours.jpg").string();
    ASSERT_EQ(test::RunCommand(command), 0);
    std::vector<uint8_t> pnm = ReadWholeFile(dir / "out.pnm");
    std::string header(pnm.begin(), pnm.begin() + 11);
    EXPECT_EQ(header, grey ? "P5\n33 17\n25" : "P6\n33 17\n25");
  }
}

TEST(JPEGImage, PixelFormatOfTheSourceDoesNotChangeTheFile) {
  test::PhotoBitmap truecolour(40, 30);
  TBitmap indexed;
  indexed.CopyFrom(truecolour);
  std::vector<TPaletteEntry> entries;
  for (int i = 0; i < 256; ++i) entries.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0});
  indexed.SetPalette(MakePalette(entries));
  indexed.SetPixelFormat(TPixelFormat::pf8bit);
  TBitmap widened;
  widened.CopyFrom(indexed);
  widened.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(JpegBytes(indexed, 60), JpegBytes(widened, 60));

  TJPEGImage eight, twentyFour;
  eight.SetColourDepth(TJPEGPixelFormat::Depth8);
  twentyFour.SetColourDepth(TJPEGPixelFormat::Depth24);
  for (TJPEGImage* jpeg : {&eight, &twentyFour}) jpeg->CopyFrom(truecolour);
  TMemoryStream a, b;
  eight.SaveToStream(a);
  twentyFour.SaveToStream(b);
  EXPECT_EQ(a.Bytes(), b.Bytes());
}

TEST(JPEGImage, GreyFilesAreSingleComponentAndDecodeToAtMost236Greys) {
  auto jpeg = Loaded(JpegBytes(test::PhotoBitmap(50, 40), 80, true));
  EXPECT_TRUE(jpeg->IsGrey());
  EXPECT_TRUE(jpeg->Data().Grey);
  EXPECT_FALSE(jpeg->GreyMode());
  jpeg->SetColourDepth(TJPEGPixelFormat::Depth24);
  TBitmap& bitmap = jpeg->DecodeBitmap();
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
  ASSERT_TRUE(bitmap.PaletteRef());
  EXPECT_LE(bitmap.PaletteRef()->Entries.size(), 236u);
  for (const TPaletteEntry& e : bitmap.PaletteRef()->Entries) {
    EXPECT_EQ(e.Red, e.Green);
    EXPECT_EQ(e.Green, e.Blue);
  }
}

TEST(JPEGImage, DecodesColourInBlueGreenRedOrderAndQuantisesFor8Bit) {
  TBitmap source(16, 16, TPixelFormat::pf24bit);
  source.Canvas().BrushColor = MakeColor(230, 20, 30);
  source.Canvas().FillRect(Bounds(0, 0, 16, 16));
  auto jpeg = Loaded(JpegBytes(source, 95));
  jpeg->SetColourDepth(TJPEGPixelFormat::Depth24);
  TColor decoded = jpeg->DecodeBitmap().PixelColor(8, 8);
  EXPECT_NEAR(RedOf(decoded), 230, 4);
  EXPECT_NEAR(GreenOf(decoded), 20, 4);
  EXPECT_NEAR(BlueOf(decoded), 30, 4);

  jpeg->SetColourDepth(TJPEGPixelFormat::Depth8);
  EXPECT_FALSE(jpeg->HasBitmap());
  TBitmap& indexed = jpeg->DecodeBitmap();
  EXPECT_EQ(indexed.PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_LE(indexed.PaletteRef()->Entries.size(), 236u);
  EXPECT_NEAR(RedOf(indexed.PixelColor(8, 8)), 230, 8);
}

TEST(JPEGImage, SizesAndStates) {
  TJPEGImage empty;
  EXPECT_TRUE(empty.Empty());
  TMemoryStream nothing;
  empty.CopyFrom(TBitmap(0, 0));
  empty.SaveToStream(nothing);
  EXPECT_EQ(nothing.Size(), 0);

  TJPEGImage one;
  one.CopyFrom(TBitmap(1, 1));
  TMemoryStream out;
  one.SaveToStream(out);
  ASSERT_GT(out.Size(), 100);
  EXPECT_EQ(out.Bytes()[0], 0xFF);
  EXPECT_EQ(out.Bytes()[1], 0xD8);
  EXPECT_EQ(out.Bytes().back(), 0xD9);
  EXPECT_EQ(one.Width(), 1);
  EXPECT_THROW(one.SetWidth(5), EInvalidGraphicOperation);
  try {
    one.SetHeight(5);
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), "Cannot change the size of a JPEG image");
  }
}

TEST(JPEGImage, SavingAgainWritesTheSameBytesWithoutCompressing) {
  TJPEGImage jpeg;
  jpeg.CopyFrom(test::PhotoBitmap(20, 20));
  int compressions = 0;
  jpeg.OnProgress = [&](TPersistent*, TProgressStage stage, uint8_t, bool, const TRect&, const std::string&) {
    compressions += stage == TProgressStage::psStarting;
  };
  TMemoryStream first, second;
  jpeg.SaveToStream(first);
  jpeg.SaveQuality = 10;
  jpeg.SaveToStream(second);
  EXPECT_EQ(compressions, 1);
  EXPECT_EQ(first.Bytes(), second.Bytes());
  EXPECT_TRUE(jpeg.HasBitmap());
}

TEST(JPEGImage, SettingsDiscardTheBitmapOnlyWhenTheyChange) {
  TJPEGImage jpeg;
  jpeg.SetColourDepth(TJPEGPixelFormat::Depth24);
  jpeg.CopyFrom(TBitmap(4, 4));
  jpeg.SetColourDepth(TJPEGPixelFormat::Depth24);
  EXPECT_TRUE(jpeg.HasBitmap());
  jpeg.SetGreyMode(true);
  EXPECT_FALSE(jpeg.HasBitmap());
  EXPECT_TRUE(jpeg.Empty());  // an assigned picture is gone, nothing was compressed
  EXPECT_TRUE(jpeg.IsGrey());
}

TEST(JPEGImage, DefaultsFollowTheDisplayDepth) {
  TJPEGImage jpeg;
  EXPECT_EQ(jpeg.ColourDepth(), TJPEGPixelFormat::Depth24);
  EXPECT_FALSE(jpeg.IsGrey());
  EXPECT_FALSE(jpeg.WriteProgressive);
  EXPECT_EQ(jpeg.SaveQuality, 90);
  EXPECT_EQ(TJPEGDefaults::ForDisplay(8).ColourDepth, TJPEGPixelFormat::Depth8);
}

TEST(JPEGImage, LoadingTellsProgressionAndSizeAndDecodesScaled) {
  test::PhotoBitmap photo(64, 48);
  auto progressive = Loaded(JpegBytes(photo, 70, false, true));
  EXPECT_TRUE(progressive->WriteProgressive);
  EXPECT_EQ(progressive->Width(), 64);
  progressive->DecodeScale = TJPEGScale::QuarterSize;
  EXPECT_EQ(progressive->Width(), 16);
  EXPECT_EQ(progressive->Height(), 12);
  EXPECT_EQ(progressive->DecodeBitmap().Width(), 16);
  EXPECT_FALSE(Loaded(JpegBytes(photo, 70))->WriteProgressive);
}

// A small rectangle is drawn from the smallest reduced decode with enough pixels; a copy
// keeps it, and only a full-size drawing decodes the picture.
TEST(JPEGImage, DrawingSmallDecodesAtAReducedScale) {
  auto bytes = JpegBytes(test::PhotoBitmap(64, 48), 70);
  for (auto [width, height, scale] : {std::tuple{16, 12, TJPEGScale::QuarterSize}, {17, 12, TJPEGScale::HalfSize},
                                      {8, 6, TJPEGScale::EighthSize}, {4, 3, TJPEGScale::EighthSize}}) {
    auto scaled = Loaded(bytes);
    scaled->DecodeScale = scale;
    TBitmap& expected = scaled->DecodeBitmap();
    auto jpeg = Loaded(bytes);
    jpeg->DecodeToDraw(width, height);
    TJPEGImage copy;
    copy.CopyFrom(*jpeg);
    copy.Cancelled = [] { return true; };  // a decode now would leave other pixels
    TBitmap drawn(expected.Width(), expected.Height(), TPixelFormat::pf24bit);
    drawn.Canvas().StretchDraw(Bounds(0, 0, expected.Width(), expected.Height()), copy);
    EXPECT_FALSE(jpeg->HasBitmap());
    EXPECT_FALSE(copy.HasBitmap());
    for (int y = 0; y < expected.Height(); ++y)
      for (int x = 0; x < expected.Width(); ++x)
        ASSERT_EQ(drawn.PixelColor(x, y), expected.PixelColor(x, y)) << width << ": " << x << "," << y;
  }
  auto jpeg = Loaded(bytes);
  TBitmap full(64, 48, TPixelFormat::pf24bit);
  full.Canvas().Draw(0, 0, *jpeg);
  EXPECT_TRUE(jpeg->HasBitmap());
}

TEST(JPEGImage, ShowPassesDecodesEveryScanAndEndsLikeAPlainDecode) {
  auto bytes = JpegBytes(test::PhotoBitmap(64, 48), 70, false, true);
  for (TJPEGPixelFormat depth : {TJPEGPixelFormat::Depth24, TJPEGPixelFormat::Depth8}) {
    auto plain = Loaded(bytes);
    auto passes = Loaded(bytes);
    for (TJPEGImage* jpeg : {plain.get(), passes.get()}) jpeg->SetColourDepth(depth);
    passes->ShowPasses = true;
    TBitmap& a = plain->DecodeBitmap();
    TBitmap& b = passes->DecodeBitmap();
    ASSERT_EQ(b.Width(), 64);
    for (int y = 0; y < 48; y += 7)
      for (int x = 0; x < 64; x += 5) EXPECT_EQ(a.PixelColor(x, y), b.PixelColor(x, y)) << x << "," << y;
  }
}

TEST(JPEGImage, AssignedObjectsShareTheirData) {
  auto loaded = Loaded(JpegBytes(test::PhotoBitmap(10, 10), 50));
  TJPEGImage copy;
  copy.CopyFrom(*loaded);
  EXPECT_EQ(&copy.Data(), &loaded->Data());
  EXPECT_TRUE(copy.Equals(*loaded));
  copy.SaveQuality = 5;
  TMemoryStream a, b;
  copy.SaveToStream(a);
  loaded->SaveToStream(b);
  EXPECT_EQ(a.Bytes(), b.Bytes());

  TJPEGImage assigned, first, second;
  assigned.CopyFrom(test::PhotoBitmap(10, 10));
  first.CopyFrom(assigned);
  second.CopyFrom(assigned);
  EXPECT_TRUE(first.Equals(second));
  TMemoryStream out;
  first.SaveToStream(out);
  EXPECT_EQ(second.Data().Bytes, out.Bytes());
  EXPECT_EQ(assigned.Data().Bytes, out.Bytes());

  TBitmap target;
  copy.CopyTo(target);
  EXPECT_EQ(target.Width(), 10);
  EXPECT_THROW(copy.CopyFrom(TPersistent()), EConvertError);
}

TEST(JPEGImage, ComponentStreamingPrefixesTheByteCount) {
  TJPEGImage none;
  TMemoryStream empty;
  none.WriteData(empty);
  EXPECT_EQ(empty.Bytes(), std::vector<uint8_t>(4, 0));

  auto jpeg = Loaded(JpegBytes(test::PhotoBitmap(8, 8), 50));
  TMemoryStream stream;
  stream.WriteByte(0x55);
  jpeg->WriteData(stream);
  stream.WriteByte(0xAA);
  stream.SetPosition(1);
  TJPEGImage back;
  back.ReadData(stream);
  EXPECT_EQ(back.Data().Bytes, jpeg->Data().Bytes);
  EXPECT_EQ(stream.Position(), stream.Size() - 1);

  TMemoryStream lying(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xD8});
  EXPECT_THROW(back.ReadData(lying), EReadError);
  EXPECT_EQ(back.Data().Bytes, jpeg->Data().Bytes);
}

TEST(JPEGImage, DamagedFilesFailCleanlyOrDecodeAsFarAsTheyGo) {
  std::vector<uint8_t> good = JpegBytes(test::PhotoBitmap(40, 40), 60);
  auto jpeg = Loaded(good);

  try {
    Loaded({'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});
    ADD_FAILURE() << "no error";
  } catch (const EJPEG& e) {
    EXPECT_EQ(std::string(e.what()).rfind("JPEG error #", 0), 0u) << e.what();
  }
  std::vector<uint8_t> headerOnly(good.begin(), good.begin() + 20);
  EXPECT_THROW(Loaded(headerOnly), EJPEG);
  TMemoryStream bad(headerOnly);
  EXPECT_THROW(jpeg->LoadFromStream(bad), EJPEG);
  EXPECT_EQ(jpeg->Data().Bytes, good);  // a failed load keeps what the object held

  std::vector<uint8_t> truncated(good.begin(), good.end() - 200);
  auto half = Loaded(truncated);
  EXPECT_EQ(half->DecodeBitmap().Height(), 40);

  for (size_t step : {3, 7, 31}) {
    std::vector<uint8_t> corrupt = good;
    for (size_t i = good.size() / 3; i < good.size() - 2; i += step) corrupt[i] ^= 0x5A;
    try {
      Loaded(corrupt)->DecodeBitmap();
    } catch (const EJPEG&) {  // damaged entropy data may end the decode with a library error
    }
  }
}

TEST(JPEGImage, HugeDeclaredSizesAndEndlessScansAreRefused) {
  std::vector<uint8_t> good = JpegBytes(test::PhotoBitmap(16, 16), 60);
  try {
    Loaded(WithDeclaredSize(good, 65000, 65000));
    ADD_FAILURE() << "no error";
  } catch (const EJPEG& e) {
    EXPECT_STREQ(e.what(), "JPEG image too large (65000 x 65000 pixels)");
  }

  // A progressive file whose first scan repeats far beyond any real progression.
  std::vector<uint8_t> progressive = JpegBytes(test::PhotoBitmap(16, 16), 60, false, true);
  size_t sos = 0, next = 0;
  for (size_t i = 2; i + 1 < progressive.size(); ++i)
    if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA) {
      if (sos) {
        next = i;
        break;
      }
      sos = i;
    }
  ASSERT_TRUE(sos && next);
  std::vector<uint8_t> scan(progressive.begin() + long(sos), progressive.begin() + long(next));
  std::vector<uint8_t> endless(progressive.begin(), progressive.begin() + long(next));
  for (int i = 0; i < kMaxJpegScans; ++i) endless.insert(endless.end(), scan.begin(), scan.end());
  endless.insert(endless.end(), progressive.begin() + long(next), progressive.end());
  auto jpeg = Loaded(endless);
  EXPECT_THROW(jpeg->DecodeBitmap(), EJPEG);
}

TEST(JPEGImage, AbortingDiscardsACompressionAndKeepsADecode) {
  auto abortAtStart = [](TPersistent*, TProgressStage stage, uint8_t, bool, const TRect&, const std::string&) {
    if (stage == TProgressStage::psStarting) throw EAbort();
  };
  TJPEGImage jpeg;
  jpeg.CopyFrom(test::PhotoBitmap(8, 8));
  jpeg.OnProgress = abortAtStart;
  TMemoryStream out;
  EXPECT_NO_THROW(jpeg.SaveToStream(out));
  EXPECT_EQ(out.Size(), 0);

  auto loaded = Loaded(JpegBytes(test::PhotoBitmap(8, 8), 50));
  loaded->OnProgress = abortAtStart;
  EXPECT_NO_THROW(loaded->DecodeBitmap());
  EXPECT_TRUE(loaded->HasBitmap());

  // Cancelling is asked while the library works, not only when a report is due.
  TJPEGImage tall;
  int asked = 0;
  tall.Cancelled = [&] { return ++asked == 2; };
  tall.CompressFrom(test::PhotoBitmap(8, 64));
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(tall.Empty());
}

TEST(JPEGImage, RegistersForBothExtensions) {
  RegisterJPEGFormat();
  RegisterJPEGFormat();
  for (const char* ext : {"jpg", "JPEG"}) {
    auto format = FindFileFormat(ext);
    ASSERT_TRUE(format);
    EXPECT_EQ(format->Description, "JPEG Image File");
    EXPECT_EQ(format->Create()->ClassName(), "TJPEGImage");
  }
}

}  // namespace corvane
