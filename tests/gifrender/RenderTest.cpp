// Rendering frames into bitmaps and drawing them: palettes, masks, dithering, geometry,
// the still bitmap, and pictures that are hostile to drawing.

#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "gifrender/WebPalette.h"

namespace corvane {

namespace {

using namespace test;

}  // namespace

TEST(FrameRender, DeepDisplaysKeepTheIndicesAndTheTablesColours) {
  TDisplayScope display(24);
  auto image = MakeImage(3, 1);
  TGIFSubImage& frame = AddFrame(*image, 0, 0, 3, 1, {iBlue, iRed, iWhite});
  TBitmap* bitmap = FrameBitmap(frame);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_EQ(bitmap->ScanLine(0)[0], iBlue);
  EXPECT_EQ(Colors(*bitmap), (std::vector<TColor>{kBlue, kRed, kWhite}));
  EXPECT_EQ(bitmap->PaletteRef(), image->Palette());
  EXPECT_EQ(FrameBitmap(frame), bitmap);  // cached
  EXPECT_EQ(FrameMask(frame), nullptr);
}

TEST(FrameRender, PaletteDisplaysDitherToTheWebPalette) {
  TDisplayScope display(8);
  auto image = MakeImage(4, 2);
  image->Header().GlobalTable().AppendColor(MakeColor(128, 128, 128));
  TGIFSubImage& frame = AddFrame(*image, 0, 0, 4, 2, TBytes(8, 5));
  TBitmap* bitmap = FrameBitmap(frame);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->PaletteRef(), WebPalette216());
  EXPECT_EQ(FramePalette(frame), WebPalette216());
  EXPECT_EQ(image->Palette(), WebPalette216());
  // Mid grey lies between the levels 102 and 153, so the dithered pixels take both.
  std::vector<TColor> colors = Colors(*bitmap);
  EXPECT_NE(std::find(colors.begin(), colors.end(), MakeColor(102, 102, 102)), colors.end());
  EXPECT_NE(std::find(colors.begin(), colors.end(), MakeColor(153, 153, 153)), colors.end());

  image->DrawFlags &= uint16_t(~dfDitherOnPaletteDisplay);
  TDisplayScope deep(24);
  auto always = MakeImage(1, 1);
  EXPECT_TRUE(NeedsDither(*always) == false);
  always->DrawFlags &= uint16_t(~dfDitherOnPaletteDisplay);
  EXPECT_TRUE(NeedsDither(*always));
}

TEST(FrameRender, IndicesBeyondTheTableAreBlackAndReadNothingOutsideIt) {
  for (int bits : {24, 8}) {
    TDisplayScope display(bits);
    auto image = std::make_unique<TGIFImage>();
    image->Header().GlobalTable().AppendColor(kWhite);
    image->Header().GlobalTable().AppendColor(kRed);
    TGIFSubImage& frame = AddFrame(*image, 0, 0, 3, 1, {1, 200, 255});
    ASSERT_NE(FrameBitmap(frame), nullptr);
    std::vector<TColor> colors = Colors(*FrameBitmap(frame));
    EXPECT_EQ(colors, (std::vector<TColor>{kRed, kBlack, kBlack})) << bits << " bits";
  }
}

TEST(FrameRender, TheMaskCoversTheTransparentPixelsOnly) {
  for (int bits : {24, 8}) {
    TDisplayScope display(bits);
    auto image = MakeImage(10, 1);
    TGIFSubImage& frame = AddFrame(*image, 0, 0, 10, 1, {1, 2, 2, 1, 2, 1, 1, 1, 1, 2});
    auto& control = AddExtension<TGIFGraphicControlExtension>(frame);
    control.SetTransparent(true);
    control.SetTransparentIndex(2);
    ASSERT_TRUE(EnsureMask(frame));
    const TMaskBitmap& mask = *FrameMask(frame);
    EXPECT_EQ(mask.RowStride(), 2);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(mask.IsTransparent(x, 0), frame.PixelAt(x, 0) == 2) << x;
    auto target = FilledBitmap(10, 1, kBlue);
    DrawFrame(frame, target->Canvas(), Bounds(0, 0, 10, 1), false, true);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(target->PixelColor(x, 0), frame.PixelAt(x, 0) == 2 ? kBlue : kRed) << x;
  }
}

TEST(FrameRender, ATransparentIndexNoPixelUsesGivesNoMask) {
  auto image = MakeImage(2, 1);
  TGIFSubImage& frame = AddSolidFrame(*image, Bounds(0, 0, 2, 1), iRed, 1, 0, iWhite);
  EXPECT_FALSE(EnsureMask(frame));
  auto target = FilledBitmap(2, 1, kBlue);
  DrawFrame(frame, target->Canvas(), Bounds(0, 0, 2, 1), false, true);
  EXPECT_EQ(Colors(*target), std::vector<TColor>(2, kRed));
}

TEST(FrameRender, ProgressIsReportedAndCancellingLeavesTheFrameWithoutBitmap) {
  auto image = MakeImage(2, 70);
  TGIFSubImage& frame = AddSolidFrame(*image, Bounds(0, 0, 2, 70), iRed, -1);
  std::vector<int> percents;
  bool cancel = true;
  image->OnProgress = [&](TPersistent* sender, TProgressStage stage, uint8_t percent, bool, const TRect&,
                          const std::string& message) {
    EXPECT_EQ(sender, &frame);
    EXPECT_EQ(message, "Rendering...");
    percents.push_back(percent);
    if (stage == TProgressStage::psRunning && cancel) throw EAbort();
  };
  EXPECT_EQ(FrameBitmap(frame), nullptr);
  EXPECT_EQ(percents, (std::vector<int>{0, 0, 0}));
  cancel = false;
  percents.clear();
  EXPECT_NE(FrameBitmap(frame), nullptr);
  EXPECT_EQ(percents, (std::vector<int>{0, 0, 46, 91, 100}));
}

TEST(FramePalette, ComesFromTheLocalTableElseTheImage) {
  auto image = MakeImage(1, 1);
  TGIFSubImage& global = AddFrame(*image, 0, 0, 1, 1);
  TGIFSubImage& local = AddFrame(*image, 0, 0, 1, 1);
  local.LocalTable().AppendColor(kGreen);
  TPalette palette = FramePalette(local);
  ASSERT_NE(palette, nullptr);
  ASSERT_EQ(palette->Entries.size(), 1u);
  EXPECT_EQ(palette->Entries[0], (TPaletteEntry{0, 255, 0, pcNoCollapse}));
  EXPECT_EQ(FramePalette(local), palette);
  EXPECT_EQ(FramePalette(global), image->Palette());
  EXPECT_EQ(image->Palette()->Entries.size(), 5u);
  // A changed table makes a new palette.
  local.LocalTable().AppendColor(kRed);
  EXPECT_NE(FramePalette(local), palette);
}

TEST(FramePalette, WithoutAnyTableEveryIndexIsBlack) {
  TGIFImage image;
  TGIFSubImage& frame = AddFrame(image, 0, 0, 2, 2);
  TPalette palette = image.Palette();
  ASSERT_NE(palette, nullptr);
  ASSERT_EQ(palette->Entries.size(), 256u);
  EXPECT_EQ(EntryColor(palette->Entries[255]), kBlack);
  EXPECT_EQ(FramePalette(frame), palette);
  EXPECT_NE(FrameBitmap(frame), nullptr);
  EXPECT_EQ(TGIFImage().Palette(), nullptr);
}

TEST(FrameGeometry, TheFramesPlaceIsScaledIntoTheRectangleWithRounding) {
  auto image = MakeImage(10, 10);
  TGIFSubImage& frame = AddFrame(*image, 5, 0, 5, 10);
  EXPECT_EQ(FrameTargetRect(frame, Bounds(0, 0, 20, 20)), (TRect{10, 0, 20, 20}));
  EXPECT_EQ(FrameTargetRect(frame, Bounds(3, 3, 5, 5)), (TRect{6, 3, 8, 8}));
  EXPECT_EQ(FrameTargetRect(frame, Bounds(0, 0, 10, 10)), frame.BoundsRect());
}

TEST(FrameGeometry, StretchingAndTiling) {
  auto image = MakeImage(2, 1);
  TGIFSubImage& frame = AddSolidFrame(*image, Bounds(1, 0, 1, 1), iRed, -1);
  auto stretched = FilledBitmap(4, 2, kWhite);
  DrawFrame(frame, stretched->Canvas(), Bounds(0, 0, 4, 2), false, false);
  EXPECT_EQ(Colors(*stretched), (std::vector<TColor>{kWhite, kWhite, kRed, kRed, kWhite, kWhite, kRed, kRed}));
  auto tiled = FilledBitmap(5, 2, kWhite);
  DrawFrame(frame, tiled->Canvas(), Bounds(0, 0, 5, 2), true, false);
  EXPECT_EQ(Colors(*tiled), (std::vector<TColor>{kWhite, kRed, kWhite, kRed, kWhite, kWhite, kRed, kWhite, kRed, kWhite}));
}

TEST(StillBitmap, IsTheFirstFrameOnTheScreenAndCopiesIntoBitmaps) {
  auto image = MakeImage(3, 1);
  image->Header().BackdropIndex = iGreen;
  AddSolidFrame(*image, Bounds(1, 0, 1, 1), iRed, 1, 0, iRed);
  AddSolidFrame(*image, Bounds(0, 0, 3, 1), iBlue);
  TBitmap copy;
  copy.CopyFrom(*image);
  EXPECT_EQ(Colors(copy), (std::vector<TColor>{kGreen, kRed, kGreen}));
  EXPECT_TRUE(image->PainterList().empty());
  TBitmap frameCopy;
  frameCopy.CopyFrom(image->Frame(1));
  EXPECT_EQ(Colors(frameCopy), std::vector<TColor>(3, kBlue));
  // A frame of the screen's size is the still bitmap as it is.
  auto full = MakeImage(2, 1);
  AddSolidFrame(*full, Bounds(0, 0, 2, 1), iWhite);
  EXPECT_EQ(StillBitmap(*full)->PixelFormat(), TPixelFormat::pf8bit);
  TGIFImage empty;
  EXPECT_EQ(StillBitmap(empty), nullptr);
}

TEST(StillBitmap, ChangesOfTheImageDropIt) {
  auto image = MakeImage(2, 1);
  AddSolidFrame(*image, Bounds(0, 0, 2, 1), iWhite);
  int changes = 0;
  image->OnChange = [&](TGraphic&) { ++changes; };
  TBitmap* still = StillBitmap(*image);
  ASSERT_NE(still, nullptr);
  still->Canvas().FillRect(Bounds(0, 0, 1, 1));
  EXPECT_EQ(changes, 1);  // the still bitmap's changes are the image's
  image->SetWidth(3);
  EXPECT_EQ(StillBitmap(*image)->Width(), 3);
}

TEST(HostileDrawing, FramesOutsideTheScreenAreClipped) {
  TLoaded loaded = Load(TGifBuilder(4, 4).GlobalTable(1).Image(10, 10, 4, 4, TBytes(16, 1)).Image(2, 2, 4, 4, TBytes(16, 1)).Trailer().Data());
  ASSERT_EQ(loaded.Error, "");
  TGIFImage& image = *loaded.Image;
  image.DrawFlags &= uint16_t(~dfThreaded);
  auto target = FilledBitmap(4, 4, kRed);
  image.Draw(target->Canvas(), Bounds(0, 0, 4, 4));
  EXPECT_EQ(FrameTargetRect(image.Frame(0), Bounds(0, 0, image.Width(), image.Height())).Left, 10);
  TBitmap copy;
  copy.CopyFrom(image);
  EXPECT_EQ(copy.Width(), image.Width());
}

TEST(HostileDrawing, AScreenWithoutAreaDrawsNothing) {
  auto image = MakeImage(0, 0);
  AddFrame(*image, 0, 0, 2, 2, TBytes(4, 1));
  AddFrame(*image, 0, 0, 2, 2, TBytes(4, 2));
  image->SetWidth(0);
  auto target = FilledBitmap(2, 2, kBlue);
  image->Draw(target->Canvas(), Bounds(0, 0, 2, 2));
  EXPECT_EQ(Colors(*target), std::vector<TColor>(4, kBlue));
  EXPECT_TRUE(FrameTargetRect(image->Frame(0), Bounds(0, 0, 2, 2)).IsEmpty());
  EXPECT_TRUE(image->PainterList().empty());
  TBitmap copy;
  copy.CopyFrom(*image);
  EXPECT_TRUE(copy.Empty());
}

TEST(HostileDrawing, AHugeScreenIsRefusedBeforeAnyHugeBitmap) {
  auto image = MakeImage(65535, 65535);
  AddSolidFrame(*image, Bounds(0, 0, 2, 2), iRed);
  AddSolidFrame(*image, Bounds(2, 2, 2, 2), iGreen);
  auto target = FilledBitmap(8, 8, kWhite);
  // One frame is drawn scaled into the target without a still bitmap.
  image->DrawFlags &= uint16_t(~dfAnimate);
  image->Draw(target->Canvas(), Bounds(0, 0, 8, 8));
  image->DrawFlags |= dfAnimate;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      if (attempt == 0)
        image->Draw(target->Canvas(), Bounds(0, 0, 8, 8));
      else
        TBitmap().CopyFrom(*image);
      FAIL() << "no error";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), "Image too large to draw (65535 x 65535 pixels)");
    }
  }
  EXPECT_TRUE(image->PainterList().empty());
  EXPECT_FALSE(StillPicture(*image).DrawBusy);
}

}  // namespace corvane
