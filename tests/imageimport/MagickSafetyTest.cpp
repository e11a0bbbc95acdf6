#include <Magick++.h>
#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "imageimport/MagickSetup.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"
#include "support/PhotoPicture.h"

namespace corvane {

namespace {

bool MayRead(MagickCore::PolicyDomain domain, const char* pattern) {
  return MagickCore::IsRightsAuthorized(domain, MagickCore::ReadPolicyRights, pattern) != MagickCore::MagickFalse;
}

std::vector<uint8_t> Text(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

TEST(MagickSafety, PolicyAllowsOnlyTheNamedCodersToRead) {
  EnsureMagickReady();
  for (const char* coder : {"BMP", "PCD", "SGI", "CUT", "WMF", "PPM", "PGM", "PBM", "TIFF"})
    EXPECT_TRUE(MayRead(MagickCore::CoderPolicyDomain, coder)) << coder;
  for (const char* coder : {"SVG", "MVG", "MSL", "PS", "EPS", "PDF", "TXT", "TEXT", "URL", "HTTPS", "EPHEMERAL", "LABEL",
                            "XC", "INFO", "MIFF", "JPEG", "GIF", "SCR", "RLE", "RGB", "ICO", "TGA", "PCX", "PSD", "RLA"})
    EXPECT_FALSE(MayRead(MagickCore::CoderPolicyDomain, coder)) << coder;
  EXPECT_FALSE(MagickCore::IsRightsAuthorized(MagickCore::CoderPolicyDomain, MagickCore::WritePolicyRights, "BMP"));
  EXPECT_FALSE(MagickCore::IsRightsAuthorized(MagickCore::DelegatePolicyDomain, MagickCore::ExecutePolicyRights,
                                              "ps:alpha"));
  EXPECT_FALSE(MayRead(MagickCore::PathPolicyDomain, "@/etc/passwd"));
}

TEST(MagickSafety, TheExtensionChoosesTheCoderNeverTheContent) {
  std::filesystem::path dir = test::ScratchDirectory("magicksafety");
  std::filesystem::path marker = dir / "written-by-a-script.txt";
  TBitmap windowsBitmap(4, 3);
  TMemoryStream bitmapBytes;
  windowsBitmap.SaveToStream(bitmapBytes);
  const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
      {"svg.bmp", Text("<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\">"
                       "<rect width=\"4\" height=\"4\" fill=\"red\"/></svg>")},
      {"mvg.bmp", Text("push graphic-context\nviewbox 0 0 4 4\nfill red\nrectangle 0,0 4,4\npop graphic-context\n")},
      {"ps.bmp", Text("%!PS-Adobe-3.0\n%%BoundingBox: 0 0 4 4\nnewpath 0 0 moveto 4 4 lineto stroke showpage\n")},
      {"msl.bmp", Text("<?xml version=\"1.0\"?><image><read filename=\"xc:red\"/><write filename=\"" +
                       marker.string() + "\"/></image>")},
      {"gif.bmp", Text("GIF89a\x04\x00\x04\x00\x80\x00\x00")},
      {"bitmap.pcx", bitmapBytes.Bytes()},
      {"bitmap.psd", bitmapBytes.Bytes()},
      {"bitmap.sgi", bitmapBytes.Bytes()},
      {"bitmap.ico", bitmapBytes.Bytes()},
  };
  for (const auto& [name, bytes] : files) {
    WriteFileAtomically(dir / name, bytes);
    EXPECT_THROW(test::OpenPicture(dir / name), EInvalidGraphic) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(marker));
  WriteFileAtomically(dir / "bitmap.bmp", bitmapBytes.Bytes());
  EXPECT_EQ(test::OpenPicture(dir / "bitmap.bmp")->Width(), 4);
  std::filesystem::remove_all(dir);
}

TEST(MagickSafety, HugeDeclaredSizesAreRefused) {
  std::filesystem::path dir = test::ScratchDirectory("magickhuge");
  TBitmap small(2, 2);
  TMemoryStream bytes;
  small.SaveToStream(bytes);
  std::vector<uint8_t> huge = bytes.Bytes();
  for (int offset : {18, 22}) {  // width and height in the bitmap's info header: 100000 each
    huge[size_t(offset)] = 0xA0;
    huge[size_t(offset) + 1] = 0x86;
    huge[size_t(offset) + 2] = 0x01;
  }
  WriteFileAtomically(dir / "huge.bmp", huge);
  EXPECT_THROW(test::OpenPicture(dir / "huge.bmp"), EInvalidGraphic);
  std::filesystem::remove_all(dir);
}

}  // namespace corvane
