// Files that viewers show in a way the format leaves open, drawn as a web browser drew them
// (scripts/viewer-oracle.py shows how the expected pictures were found), and written again
// so that they still look the same.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "support/GiflibReader.h"

namespace corvane::test {
namespace {

constexpr TColor kMagenta = MakeColor(255, 0, 255);
const std::vector<uint32_t> kRgbw = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// One letter a pixel: R, G, B, W, k for black, m where the page behind shows through.
std::string Letters(const std::vector<TColor>& pixels) {
  std::string text;
  for (TColor c : pixels) {
    switch (c) {
      case kRed: text += 'R'; break;
      case kGreen: text += 'G'; break;
      case kBlue: text += 'B'; break;
      case kWhite: text += 'W'; break;
      case kBlack: text += 'k'; break;
      case kMagenta: text += 'm'; break;
      default: text += '?';
    }
  }
  return text;
}

// Every picture shown, on a magenta page.
std::vector<std::string> Pictures(TGIFImage& image) {
  TDisplayScope display(24);
  std::vector<std::string> pictures;
  if (image.FrameCount() == 1) {
    auto target = FilledBitmap(image.Width(), image.Height(), kMagenta);
    image.Draw(target->Canvas(), Bounds(0, 0, image.Width(), image.Height()));
    return {Letters(Colors(*target))};
  }
  TPlayRecorder recorder;
  for (const TShownPicture& picture : recorder.Play(image, kMagenta)) pictures.push_back(Letters(picture.Pixels));
  return pictures;
}

struct TViewerCase {
  std::string Name;
  TBytes File;
  std::vector<std::string> Shown;
};

std::vector<TViewerCase> Cases() {
  auto screen = [](int width, int height) {
    TGifBuilder gif(width, height);
    gif.GlobalTable(2, kRgbw);
    return gif;
  };
  return {
      {"the last of two control blocks applies",
       screen(4, 1).Control(0, 0, 1).Control(0, 0).Image(0, 0, 4, 1, {0, 1, 2, 3}, 2).Trailer().Data(),
       {"RGBW"}},
      {"a transparent index in the last control block applies",
       screen(4, 1).Control(0, 0).Control(0, 0, 1).Image(0, 0, 4, 1, {0, 1, 2, 3}, 2).Trailer().Data(),
       {"RmBW"}},
      {"a frame without any colour table is black",
       TGifBuilder(4, 1).Image(0, 0, 4, 1, {0, 1, 2, 3}, 2).Trailer().Data(), {"kkkk"}},
      {"indices beyond the table are black",
       TGifBuilder(4, 1).GlobalTable(1, kRgbw).Image(0, 0, 4, 1, {0, 1, 5, 7}, 3).Trailer().Data(), {"RGkk"}},
      {"rows the data does not reach leave the page",
       screen(4, 4).Image(0, 0, 4, 4, {1, 1, 1, 1, 2, 2, 2, 2}, 2).Trailer().Data(),
       {"GGGGBBBBmmmmmmmm"}},
  };
}

TEST(ViewerAgreement, FilesShowAsBrowsersShowThemAndStaySoWhenWrittenAgain) {
  for (const TViewerCase& c : Cases()) {
    SCOPED_TRACE(c.Name);
    TLoaded loaded = Load(c.File);
    ASSERT_EQ(loaded.Error, "");
    EXPECT_EQ(Pictures(*loaded.Image), c.Shown);
    TBytes written = Save(*loaded.Image);
    EXPECT_NO_THROW(DecodeWithGiflib(written));
    TLoaded again = Load(written);
    ASSERT_EQ(again.Error, "");
    EXPECT_EQ(Pictures(*again.Image), c.Shown);
  }
}

TEST(ViewerAgreement, IndicesBeyondATableWidenItToTheirDepthWithBlack) {
  TLoaded loaded = Load(TGifBuilder(4, 1).GlobalTable(1, kRgbw).Image(0, 0, 4, 1, {0, 1, 5, 2}, 3).Trailer().Data());
  const TGIFColorMap& table = loaded.Image->Header().GlobalTable();
  ASSERT_EQ(table.EntryCount(), 8);
  EXPECT_EQ(table.ColorAt(5), kBlack);
  TGiflibImage peer = DecodeWithGiflib(Save(*loaded.Image));
  EXPECT_EQ(peer.GlobalTable.size(), 8u);
  EXPECT_EQ(peer.Frames.at(0).Pixels, (std::vector<uint8_t>{0, 1, 5, 2}));
}

}  // namespace
}  // namespace corvane::test
