#include "gifrender/DIB.h"

#include <gtest/gtest.h>

#include <functional>

#include "gif/GIFException.h"
#include "gifrender/WebPalette.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"

namespace corvane {

namespace {

template <typename E>
void ExpectError(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no error, expected " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.what(), message);
  }
}

}  // namespace

TEST(DIB, RowsAreStoredBottomUpAndPaddedToFourBytes) {
  TBitmap bitmap;
  TDIBWriter eight(bitmap, nullptr, 3, 5, 8);
  EXPECT_EQ(eight.RowSize(), 8);
  EXPECT_EQ(eight.RowAddress(0) - eight.RowAddress(2), 2 * 8);
  EXPECT_EQ(eight.RowAddress(1) - eight.RowAddress(2), 8);
  TDIBWriter truecolour(bitmap, nullptr, 2, 5, 24);
  EXPECT_EQ(truecolour.RowSize(), 16);
  EXPECT_EQ(truecolour.RowAddress(0) - truecolour.RowAddress(1), 16);
}

TEST(DIB, RefusesOtherFormatsEmptySizesAndRowsOutside) {
  TBitmap bitmap;
  ExpectError<GIFException>([&] { TDIBWriter(bitmap, nullptr, 2, 2, 16); }, "Unsupported PixelFormat");
  ExpectError<GIFException>([&] { TDIBReader(bitmap, 1); }, "Unsupported PixelFormat");
  ExpectError<GIFException>([&] { TDIBWriter(bitmap, nullptr, 0, 2, 8); }, "Invalid image dimensions");
  ExpectError<GIFException>([&] { TDIBWriter(bitmap, nullptr, 2, -1, 24); }, "Invalid image dimensions");
  TDIBWriter writer(bitmap, nullptr, 2, 2, 8);
  ExpectError<EInvalidGraphicOperation>([&] { writer.RowAddress(2); }, "Scan line index out of range");
  ExpectError<EInvalidGraphicOperation>([&] { writer.RowAddress(-1); }, "Scan line index out of range");
  TDIBWriter huge(bitmap, nullptr, 65535, 65535, 24);
  ExpectError<EOutOfMemory>([&] { huge.RowAddress(0); }, "Failed to allocate memory for GIF DIB");
  ExpectError<EOutOfMemory>([&] { huge.CommitDIB(); }, "Failed to allocate memory for GIF DIB");
}

TEST(DIB, CommitLoadsTheRowsAndKeepsThePaletteObject) {
  TBitmap bitmap;
  int changes = 0;
  bitmap.OnChange = [&](TGraphic&) { ++changes; };
  TDIBWriter writer(bitmap, WebPalette216(), 2, 3, 8);
  writer.RowAddress(0)[0] = 215;
  writer.RowAddress(1)[2] = 5;
  writer.CommitDIB();
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_EQ(bitmap.Palette(), WebPalette216());
  EXPECT_EQ(bitmap.ScanLine(0)[0], 215);
  EXPECT_EQ(bitmap.ScanLine(1)[2], 5);
  EXPECT_EQ(bitmap.PixelColor(2, 1), MakeColor(0, 0, 255));
  EXPECT_EQ(bitmap.ScanLine(1)[0], 0);
  EXPECT_GT(changes, 0);

  TDIBWriter truecolour(bitmap, nullptr, 1, 2, 24);
  uint8_t* row = truecolour.RowAddress(0);
  row[3] = 30;  // blue, green, red of pixel 1
  row[4] = 20;
  row[5] = 10;
  truecolour.CommitDIB();
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(bitmap.PixelColor(1, 0), MakeColor(10, 20, 30));
  EXPECT_EQ(bitmap.PixelColor(0, 0), clBlack);
}

TEST(DIB, TheReaderHandsOutTheBitmapsRowsInItsFormat) {
  TBitmap bitmap(2, 2, TPixelFormat::pf24bit);
  bitmap.Canvas().SetPixel(1, 1, MakeColor(1, 2, 3));
  TDIBReader reader(bitmap, 24);
  EXPECT_EQ(reader.RowAddress(1), bitmap.ScanLine(1));
  EXPECT_EQ(reader.RowAddress(1)[5], 1);
  TDIBReader indexed(bitmap, 8);
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_THROW(indexed.RowAddress(2), EInvalidGraphicOperation);
}

}  // namespace corvane
