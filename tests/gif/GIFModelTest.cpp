// The GIF object model: versions and depths, frame placement and pixels, colour table
// editing, control extensions, ownership and copying.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GifTestSupport.h"

namespace corvane::test {
namespace {

using ::testing::ElementsAre;

TEST(GIFModel, DepthForCount) {
  EXPECT_EQ(DepthForCount(0), 0);
  EXPECT_EQ(DepthForCount(1), 1);
  EXPECT_EQ(DepthForCount(2), 1);
  EXPECT_EQ(DepthForCount(3), 2);
  EXPECT_EQ(DepthForCount(4), 2);
  EXPECT_EQ(DepthForCount(5), 3);
  EXPECT_EQ(DepthForCount(129), 8);
  EXPECT_EQ(DepthForCount(256), 8);
}

TEST(GIFModel, FileRevisionOfFramesAndImage) {
  TGIFImage image;
  EXPECT_EQ(image.FileRevision(), revNone);
  TGIFSubImage& first = AddFrame(image, 0, 0, 2, 2);
  AddGreys(first.LocalTable(), 4);
  EXPECT_EQ(first.FileRevision(), rev87a);
  EXPECT_EQ(image.FileRevision(), rev87a);
  AddExtension<TGIFCommentExtension>(first);
  EXPECT_EQ(first.FileRevision(), rev89a);
  TGIFSubImage& second = AddFrame(image, 0, 0, 2, 2);
  EXPECT_EQ(image.FileRevision(), rev89a);
  second.LocalTable().SetUsageOrdered(true);
  EXPECT_EQ(second.FileRevision(), rev89a);
}

TEST(GIFModel, DeepestDepthAndResolution) {
  TGIFImage image;
  EXPECT_EQ(image.DeepestBitDepth(), 0);
  EXPECT_EQ(image.DeepestResolution(), -1);
  AddGreys(image.Header().GlobalTable(), 4);
  AddFrame(image, 0, 0, 1, 1);
  AddGreys(AddFrame(image, 0, 0, 1, 1).LocalTable(), 256);
  EXPECT_EQ(image.DeepestBitDepth(), 8);
  EXPECT_EQ(image.DeepestResolution(), 7);
}

TEST(GIFModel, ABlankFramesTableDoesNotCountForTheDeepestDepth) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 4);
  AddFrame(image, 0, 0, 1, 1);
  TGIFSubImage& blank = AddFrame(image, 0, 0, 0, 0);
  AddGreys(blank.LocalTable(), 256);
  ASSERT_TRUE(blank.IsBlank());
  EXPECT_EQ(image.DeepestBitDepth(), 2);
  EXPECT_EQ(image.DeepestResolution(), 1);
}

TEST(GIFModel, PlaceFrameGrowsTheScreenWithWarnings) {
  TGIFImage image;
  TWarnings warnings;
  warnings.Attach(image);
  TGIFSubImage& grown = AddFrame(image, 10, 20, 30, 40);
  EXPECT_TRUE(warnings.Messages.empty()) << "an empty screen grows silently";
  EXPECT_EQ(image.Width(), 40);
  EXPECT_EQ(image.Height(), 60);

  image.SetWidth(100);
  image.SetHeight(100);
  grown.PlaceFrame(90, 0, 20, 10);
  EXPECT_THAT(warnings.Messages,
              ElementsAre("Image width too small for contained frames", "Image exceeds Logical Screen size"));
  EXPECT_EQ(image.Width(), 110);
  EXPECT_EQ(image.Height(), 100);
  EXPECT_THROW(grown.PlaceFrame(65000, 0, 600, 1), GIFException) << "the screen cannot pass 65535";
}

TEST(GIFModel, ResizingRenewsPixelsAndKeepingTheSizeKeepsThem) {
  TGIFImage image;
  TGIFSubImage& frame = AddFrame(image, 0, 0, 4, 2, Ramp(8, 256));
  frame.PlaceFrame(1, 1, 4, 2);
  EXPECT_EQ(frame.PixelAt(3, 1), Ramp(8, 256)[7]);
  frame.SetFrameWidth(3);
  ASSERT_EQ(frame.PixelDataSize(), 6);
  EXPECT_EQ(std::count(frame.PixelData(), frame.PixelData() + 6, 0), 6);
  EXPECT_EQ(image.PixelBytes(), 6);
}

TEST(GIFModel, PixelAccessChecksCoordinates) {
  TGIFImage image;
  TGIFSubImage& frame = AddFrame(image, 0, 0, 3, 2, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(frame.PixelAt(2, 1), 6);
  EXPECT_THROW(frame.PixelAt(3, 0), GIFException);
  EXPECT_THROW(frame.RowStart(-1), GIFException);
  TGIFSubImage& empty = AddFrame(image, 0, 0, 3, 0);
  EXPECT_TRUE(empty.IsBlank());
  EXPECT_THROW(empty.EnsurePixels(), GIFException);
}

TEST(GIFModel, ImageHeightCannotCutFramesButWidthCan) {
  TGIFImage image;
  AddFrame(image, 5, 5, 10, 10);
  try {
    image.SetHeight(14);
    FAIL();
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Image height too small for contained frames");
  }
  image.SetWidth(3);
  EXPECT_EQ(image.Width(), 3);
}

TEST(GIFModel, ColorTableLookupAndEditing) {
  TGIFImage image;
  TWarnings warnings;
  warnings.Attach(image);
  TGIFColorMap& table = image.Header().GlobalTable();
  EXPECT_THROW(table.ColorAt(0), GIFException);
  AddGreys(table, 3);
  EXPECT_EQ(table.ColorAt(5), table.ColorAt(0));
  EXPECT_THAT(warnings.Messages, ElementsAre("Invalid color index", "Invalid color index"));

  table.AppendColor(MakeColor(1, 1, 1));  // entry 3 repeats entry 1
  table.AppendColor(MakeColor(1, 1, 1));
  EXPECT_EQ(table.FindColor(MakeColor(1, 1, 1)), 4);
  table.SetUsageOrdered(true);
  EXPECT_EQ(table.FindColor(MakeColor(1, 1, 1)), 1);
  EXPECT_EQ(table.FindColor(MakeColor(9, 9, 9)), -1);

  table.DeleteColor(1);
  EXPECT_EQ(table.EntryCount(), 4);
  EXPECT_FALSE(table.UsageOrdered());
  EXPECT_EQ(table.ColorAt(1), MakeColor(2, 2, 2));
  EXPECT_THROW(table.DeleteColor(4), GIFException);
  table.AddColorOnce(MakeColor(2, 2, 2));
  EXPECT_EQ(table.EntryCount(), 4);
}

TEST(GIFModel, ColorTableCapacityAndOverflow) {
  TGIFImage image;
  TGIFColorMap& table = image.Header().GlobalTable();
  AddGreys(table, 16);
  EXPECT_EQ(table.EntryCapacity(), 16);
  table.AppendColor(0);
  EXPECT_EQ(table.EntryCapacity(), 32);
  AddGreys(table, 239);
  EXPECT_EQ(table.EntryCapacity(), 256);
  try {
    table.AppendColor(0);
    FAIL();
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Color table overflow");
  }
}

TEST(GIFModel, TransparentIndexIsCheckedAgainstTheActiveTable) {
  TGIFImage image;
  TWarnings warnings;
  warnings.Attach(image);
  TGIFSubImage& frame = AddFrame(image, 0, 0, 1, 1);
  auto& control = AddExtension<TGIFGraphicControlExtension>(frame);
  control.SetTransparentIndex(9);
  EXPECT_EQ(control.TransparentIndex(), 9) << "nothing to check against without entries";
  AddGreys(image.Header().GlobalTable(), 4);
  control.SetTransparentIndex(9);
  EXPECT_EQ(control.TransparentIndex(), 0);
  EXPECT_THAT(warnings.Messages, ElementsAre("Invalid color index"));
  control.SetDisposal(11);
  EXPECT_EQ(control.Disposal(), 3);
}

TEST(GIFModel, FreedItemsLeaveTheirListsAndLinks) {
  TGIFImage image;
  TGIFSubImage& first = AddFrame(image, 0, 0, 2, 2);
  AddFrame(image, 0, 0, 2, 2);
  auto& control = AddExtension<TGIFGraphicControlExtension>(first);
  auto& second = AddExtension<TGIFGraphicControlExtension>(first);
  EXPECT_EQ(first.ControlBlock(), &second) << "the last control block is the frame's, as viewers read it";
  control.SetTransparent(true);
  EXPECT_FALSE(first.HasTransparency());
  delete &second;
  EXPECT_EQ(first.ControlBlock(), &control);
  EXPECT_TRUE(first.HasTransparency());
  ASSERT_EQ(first.Extensions().MemberCount(), 1);
  EXPECT_EQ(&first.Extensions().MemberAt(0), &control);
  delete &control;
  EXPECT_FALSE(first.HasTransparency());
  EXPECT_EQ(first.ControlBlock(), nullptr);

  delete &first;
  ASSERT_EQ(image.FrameCount(), 1);
  EXPECT_EQ(image.PixelBytes(), 4);
  EXPECT_THROW(image.Frames().MemberAt(1), EListError);
  std::unique_ptr<TGIFItem> detached = image.Frames().DetachMember(image.Frame(0));
  EXPECT_EQ(image.FrameCount(), 0);
  EXPECT_NE(detached, nullptr);
}

TEST(GIFModel, AppendFrameTakesOnlyFramesOfTheImage) {
  TGIFImage image, other;
  EXPECT_THROW(image.AppendFrame(std::make_unique<TGIFSubImage>(other)), GIFException);
  EXPECT_EQ(image.AppendFrame(std::make_unique<TGIFSubImage>(image)), 0);
}

TEST(GIFModel, DiscardContentsKeepsBackgroundAndAspect) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 4);
  AddFrame(image, 0, 0, 8, 8);
  image.Header().BackdropIndex = 3;
  image.Header().PixelAspect = 49;
  image.DiscardContents();
  EXPECT_EQ(image.FrameCount(), 0);
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.Header().GlobalTable().EntryCount(), 0);
  EXPECT_EQ(image.Header().BackdropIndex, 3);
  EXPECT_EQ(image.Header().PixelAspect, 49);
  EXPECT_EQ(image.PixelBytes(), 0);
}

TEST(GIFModel, CopyDuplicatesEverythingButTheCopysOwnSettings) {
  TGIFImage source;
  AddGreys(source.Header().GlobalTable(), 4);
  TGIFSubImage& frame = AddFrame(source, 1, 2, 3, 4, Ramp(12, 2));
  AddGreys(frame.LocalTable(), 2);
  auto& control = AddExtension<TGIFGraphicControlExtension>(frame);
  control.SetTransparent(true);
  control.SetTransparentIndex(1);
  TGIFSubImage& last = AddFrame(source, 0, 0, 0, 0);
  AddExtension<TGIFCommentExtension>(last).FTextLines = {"only a comment"};
  source.PixelCoding = pcRunLength;
  source.FWarningHandler = [](const TPersistent*, int, const std::string&) {};
  source.DrawFlags = dfTile;

  TGIFImage copy;
  copy.CopyFrom(source);
  EXPECT_EQ(copy.PixelCoding, pcLZW);
  source.PixelCoding = pcLZW;
  EXPECT_EQ(Save(copy), Save(source));
  EXPECT_FALSE(copy.FWarningHandler);
  EXPECT_EQ(copy.DrawFlags, dfTile);
  ASSERT_EQ(copy.FrameCount(), 2);
  TGIFSubImage& copied = copy.Frame(0);
  EXPECT_NE(copied.PixelData(), frame.PixelData());
  ASSERT_NE(copied.ControlBlock(), nullptr);
  EXPECT_EQ(&copied.ControlBlock()->Frame(), &copied);
  EXPECT_TRUE(copied.HasTransparency());
  ASSERT_EQ(copy.Frame(1).Extensions().MemberCount(), 1) << "a blank frame keeps its comment";
  EXPECT_TRUE(copy.Frame(1).IsBlank());

  frame.RowStart(0)[0] = 7;
  EXPECT_NE(copied.PixelAt(0, 0), 7);
  EXPECT_THROW(copy.CopyFrom(source.Header()), EConvertError) << "only images are copied into an image";
}

TEST(GIFModel, HeaderCopiesFromATable) {
  TGIFImage image, other;
  AddGreys(other.Header().GlobalTable(), 3);
  image.Header().CanvasWidth = 7;
  image.Header().CopyFrom(other.Header().GlobalTable());
  EXPECT_EQ(image.Header().CanvasWidth, 0);
  EXPECT_EQ(image.Header().GlobalTable().EntryCount(), 3);
}

TEST(GIFModel, PixelLimitsAreCheckedBeforeAllocating) {
  TPixelLimitsScope limits({100, 150});
  TGIFImage image;
  EXPECT_THROW(AddFrame(image, 0, 0, 11, 10), GIFException);
  AddFrame(image, 0, 0, 10, 10);
  EXPECT_THROW(AddFrame(image, 0, 0, 10, 6), GIFException) << "the image's frames together";
  AddFrame(image, 0, 0, 10, 5);
  EXPECT_EQ(image.PixelBytes(), 150);
}

}  // namespace
}  // namespace corvane::test
