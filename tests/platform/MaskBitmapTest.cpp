#include "platform/MaskBitmap.h"

#include <gtest/gtest.h>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"

namespace corvane {

TEST(MaskBitmap, RowsHoldOneBitPerPixelLeftmostFirstPaddedTo16Bits) {
  EXPECT_EQ(TMaskBitmap::StrideFor(1), 2);
  EXPECT_EQ(TMaskBitmap::StrideFor(16), 2);
  EXPECT_EQ(TMaskBitmap::StrideFor(17), 4);
  TMaskBitmap mask(17, 2);
  EXPECT_FALSE(mask.AnyTransparent());
  mask.SetTransparent(0, 1);
  mask.SetTransparent(9, 1);
  mask.SetTransparent(16, 1);
  EXPECT_EQ(mask.ScanLine(1)[0], 0x80);
  EXPECT_EQ(mask.ScanLine(1)[1], 0x40);
  EXPECT_EQ(mask.ScanLine(1)[2], 0x80);
  EXPECT_EQ(mask.ScanLine(1)[3], 0x00);
  EXPECT_TRUE(mask.IsTransparent(9, 1));
  EXPECT_FALSE(mask.IsTransparent(9, 0));
  mask.SetTransparent(9, 1, false);
  EXPECT_EQ(mask.ScanLine(1)[1], 0x00);
  EXPECT_TRUE(mask.AnyTransparent());
  EXPECT_THROW(mask.IsTransparent(17, 0), EInvalidGraphicOperation);
  EXPECT_THROW(mask.SetTransparent(0, 2), EInvalidGraphicOperation);
  EXPECT_THROW(TMaskBitmap(1 << 15, 1 << 14), EOutOfMemory);
}

TEST(Canvas, MaskedStretchCopyLeavesTheTargetUnderTransparentPixels) {
  TBitmap source(2, 1, TPixelFormat::pf8bit);
  source.SetPalette(MakePalette({{255, 0, 0, 0}, {0, 0, 255, 0}}));
  source.ScanLine(0)[1] = 1;
  TMaskBitmap mask(2, 1);
  mask.SetTransparent(1, 0);
  TBitmap target(4, 2, TPixelFormat::pf24bit);
  target.Canvas().BrushColor = MakeColor(0, 255, 0);
  target.Canvas().FillRect(Bounds(0, 0, 4, 2));
  int changes = 0;
  target.OnChange = [&](TGraphic&) { ++changes; };
  target.Canvas().MaskedStretchCopy(Bounds(0, 0, 4, 2), source, mask, Bounds(0, 0, 2, 1));
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(target.PixelColor(0, y), MakeColor(255, 0, 0));
    EXPECT_EQ(target.PixelColor(1, y), MakeColor(255, 0, 0));
    EXPECT_EQ(target.PixelColor(2, y), MakeColor(0, 255, 0));
    EXPECT_EQ(target.PixelColor(3, y), MakeColor(0, 255, 0));
  }
  EXPECT_EQ(changes, 1);
  // Clipped at the target's edges, shrunk by nearest neighbour.
  target.Canvas().MaskedStretchCopy(Bounds(3, 1, 2, 1), source, mask, Bounds(0, 0, 2, 1));
  EXPECT_EQ(target.PixelColor(3, 1), MakeColor(255, 0, 0));
  TMaskBitmap wrongSize(1, 1);
  EXPECT_THROW(target.Canvas().MaskedStretchCopy(Bounds(0, 0, 4, 2), source, wrongSize, Bounds(0, 0, 2, 1)),
               EInvalidGraphicOperation);
}

}  // namespace corvane
