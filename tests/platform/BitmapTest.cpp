#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"

namespace corvane {

namespace {

TPalette ThreeColours() {
  return MakePalette({{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}});
}

}  // namespace

TEST(Bitmap, RowsArePaddedToFourBytesAndChecked) {
  TBitmap b(5, 2, TPixelFormat::pf24bit);
  EXPECT_EQ(b.RowStride(), 16);
  EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), 16);
  EXPECT_THROW(b.ScanLine(2), EInvalidGraphicOperation);
  EXPECT_THROW(TBitmap(1 << 15, 1 << 14), EOutOfMemory);
}

TEST(Bitmap, ResizingKeepsTheOverlap) {
  TBitmap b(2, 2, TPixelFormat::pf24bit);
  b.Canvas().BrushColor = MakeColor(10, 20, 30);
  b.Canvas().FillRect(Bounds(0, 0, 2, 2));
  b.SetSize(3, 1);
  EXPECT_EQ(b.PixelColor(1, 0), MakeColor(10, 20, 30));
  EXPECT_EQ(b.PixelColor(2, 0), clBlack);
}

TEST(Bitmap, SavesAndLoadsIndexedAndTrueColourFiles) {
  for (TPixelFormat format : {TPixelFormat::pf8bit, TPixelFormat::pf24bit}) {
    TBitmap b(3, 2, format);
    b.SetPalette(ThreeColours());
    if (format == TPixelFormat::pf8bit) {
      b.ScanLine(0)[0] = 1;
      b.ScanLine(1)[2] = 2;
    } else {
      b.Canvas().SetPixel(0, 0, MakeColor(0, 255, 0));
      b.Canvas().SetPixel(2, 1, MakeColor(0, 0, 255));
    }
    TMemoryStream s;
    b.SaveToStream(s);
    s.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(s);
    EXPECT_EQ(loaded.PixelFormat(), format);
    EXPECT_EQ(loaded.Width(), 3);
    EXPECT_EQ(loaded.Height(), 2);
    EXPECT_EQ(loaded.PixelColor(0, 0), MakeColor(0, 255, 0));
    EXPECT_EQ(loaded.PixelColor(2, 1), MakeColor(0, 0, 255));
  }
}

TEST(Bitmap, RefusesDamagedFiles) {
  TBitmap b(4, 4, TPixelFormat::pf8bit);
  TMemoryStream s;
  b.SaveToStream(s);
  std::vector<uint8_t> bytes = s.Bytes();
  for (size_t cut : {size_t(0), size_t(10), size_t(54), bytes.size() - 1}) {
    TMemoryStream truncated(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(cut)));
    TBitmap target;
    EXPECT_THROW(target.LoadFromStream(truncated), EInvalidGraphic) << cut;
  }
  std::vector<uint8_t> huge = bytes;
  huge[18 + 3] = 0x7F;  // width 2^31 - ...
  TMemoryStream hugeStream(huge);
  TBitmap target;
  EXPECT_THROW(target.LoadFromStream(hugeStream), EInvalidGraphic);
}

TEST(Canvas, StretchCopyScalesByNearestNeighbourAndClips) {
  TBitmap source(2, 1, TPixelFormat::pf8bit);
  source.SetPalette(ThreeColours());
  source.ScanLine(0)[0] = 0;
  source.ScanLine(0)[1] = 2;
  TBitmap target(4, 2, TPixelFormat::pf24bit);
  target.Canvas().CopyRect(Bounds(-1, 0, 5, 2), source, Bounds(0, 0, 2, 1));
  EXPECT_EQ(target.PixelColor(0, 1), MakeColor(255, 0, 0));
  EXPECT_EQ(target.PixelColor(1, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(target.PixelColor(2, 0), MakeColor(0, 0, 255));
  EXPECT_EQ(target.PixelColor(3, 1), MakeColor(0, 0, 255));
}

TEST(Canvas, UnscaledCopiesMoveTheOverlapOnly) {
  TBitmap source(3, 2, TPixelFormat::pf24bit);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) source.Canvas().SetPixel(x, y, MakeColor(uint8_t(10 * x), uint8_t(10 * y), 1));
  TBitmap target(4, 3, TPixelFormat::pf24bit);
  // The source rectangle reaches past the source's left edge, the destination past the target's bottom.
  target.Canvas().CopyRect(Bounds(1, 1, 4, 3), source, Bounds(-1, 0, 4, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      int sx = x - 2, sy = y - 1;
      TColor expected = sx >= 0 && sx < 3 && sy >= 0 && sy < 2 ? source.PixelColor(sx, sy) : clBlack;
      EXPECT_EQ(target.PixelColor(x, y), expected) << x << "," << y;
    }
}

TEST(Canvas, IndexedCopiesKeepIndicesOnlyUnderTheSamePalette) {
  TBitmap source(1, 1, TPixelFormat::pf8bit);
  source.SetPalette(ThreeColours());
  source.ScanLine(0)[0] = 1;
  TBitmap same(1, 1, TPixelFormat::pf8bit);
  same.SetPalette(source.Palette());
  same.Canvas().CopyRect(Bounds(0, 0, 1, 1), source, Bounds(0, 0, 1, 1));
  EXPECT_EQ(same.ScanLine(0)[0], 1);
  TBitmap other(1, 1, TPixelFormat::pf8bit);
  other.SetPalette(MakePalette({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 250, 0, 0}}));
  other.Canvas().CopyRect(Bounds(0, 0, 1, 1), source, Bounds(0, 0, 1, 1));
  EXPECT_EQ(other.ScanLine(0)[0], 2);
}

TEST(Bitmap, CopyingAnotherPictureDrawsItOntoWhite) {
  TBitmap source(2, 2, TPixelFormat::pf8bit);
  source.SetPalette(ThreeColours());
  TBitmap copy;
  copy.CopyFrom(static_cast<const TGraphic&>(source));
  EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf8bit);  // a bitmap is copied exactly
  int changes = 0;
  copy.OnChange = [&](TGraphic&) { ++changes; };
  copy.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(copy.PixelColor(1, 1), MakeColor(255, 0, 0));
  EXPECT_EQ(changes, 1);
}

}  // namespace corvane
