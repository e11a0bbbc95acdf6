// Hostile pictures for drawing: screens far larger than their data, and frames of many
// colours drawn onto an indexed target.

#include <gtest/gtest.h>

#include <random>

#include "GifTestSupport.h"
#include "gif/GIFMemoryBudget.h"
#include "gifrender/GIFFrameDrawing.h"
#include "gifrender/GIFPlayback.h"
#include "gifrender/WebPalette.h"
#include "platform/Canvas.h"

namespace corvane::test {
namespace {

TEST(RenderHostile, PicturesDrawnOfAScreenCountAgainstTheBudget) {
  // Three 1 x 1 frames on a screen of 2048 x 2048 that the first clears: the painter's buffers
  // and the pictures shown are screen-sized however small the data.
  TGifBuilder gif(2048, 2048);
  gif.GlobalTable(1).Control(2, 1).Image(0, 0, 1, 1, {1}, 2).Image(1, 0, 1, 1, {1}, 2).Image(2, 0, 1, 1, {1}, 2);
  const TBytes file = gif.Trailer().Data();
  auto play = [&](int64_t budget) {
    TGIFRunBudget run(budget);
    TGIFImage image;
    TMemoryStream stream(file);
    image.LoadFromStream(stream);
    int pictures = 0;
    PlayOnce(image, [&](const TBitmap&, int, int64_t) { ++pictures; });
    image.DropStillBitmap();
    EXPECT_EQ(run.Budget.Used(), 3);  // all but the frames' pixels given back
    return pictures;
  };
  try {
    play(1 << 20);
    FAIL() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), ("Not enough memory: the file needs more than " + std::to_string(3 + 2048 * 2048 * 3) +
                            " bytes of pixels, and the memory budget is 1048576 bytes")
                               .c_str());
  }
  EXPECT_EQ(play(int64_t(64) << 20), 3);
}

TEST(RenderHostile, DrawingAt8BitsSearchesThePaletteOncePerColour) {
  // Frames of 256 colours each, tiled over an indexed target: 300 copies of each. A search
  // per copy or per pixel would take seconds; each colour is looked up once.
  TGIFImage image;
  std::mt19937 random(20261208);
  constexpr int kFrames = 12;
  for (int f = 0; f < kFrames; ++f) {
    TGIFSubImage& frame = AddFrame(image, 0, 0, 16, 16, Ramp(256, 256));
    for (int i = 0; i < 256; ++i) frame.LocalTable().AppendColor(TColor(random() & 0xFFFFFF));
  }
  TBitmap target(320, 240, TPixelFormat::pf8bit);
  target.SetPalette(WebPalette216());
  const TRect whole = Bounds(0, 0, 320, 240);
  for (int f = 0; f < kFrames; ++f) DrawFrame(image.Frame(f), target.Canvas(), whole, true, false);
  EXPECT_LE(target.Canvas().PaletteSearches(), kFrames * 256);
  EXPECT_GT(target.Canvas().PaletteSearches(), 0);
}

}  // namespace
}  // namespace corvane::test
