// Colour-table packing: the orders the usage sort leaves, cutting unused entries, remapping
// pixels and transparent indices, and the tables that are left as they are.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "gifopt/ColorMapPacking.h"

namespace corvane::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<int> SortedOrder(const std::vector<int>& counts) {
  TUsageTable usage{};
  for (size_t k = 0; k < counts.size(); ++k) usage[k] = {counts[k], int(k)};
  SortUsageDescending(usage, 0, int(counts.size()) - 1);
  std::vector<int> order;
  for (size_t k = 0; k < counts.size(); ++k) order.push_back(usage[k].Index);
  return order;
}

TEST(UsageSort, OrdersAmongEqualCountsArePartOfTheResult) {
  EXPECT_THAT(SortedOrder({7, 3, 0}), ElementsAre(0, 1, 2));
  EXPECT_THAT(SortedOrder({7, 3, 0, 0}), ElementsAre(0, 1, 3, 2));
  EXPECT_THAT(SortedOrder({8, 5, 2, 0}), ElementsAre(0, 1, 2, 3));
  EXPECT_THAT(SortedOrder({5, 5}), ElementsAre(1, 0));
  EXPECT_THAT(SortedOrder({5, 5, 5}), ElementsAre(2, 1, 0));
  EXPECT_THAT(SortedOrder({5, 5, 5, 5}), ElementsAre(2, 3, 0, 1));
  EXPECT_THAT(SortedOrder({9, 4, 4, 1}), ElementsAre(0, 2, 1, 3));
  EXPECT_THAT(SortedOrder({3, 0, 7}), ElementsAre(2, 0, 1));
  EXPECT_THAT(SortedOrder({4, 3, 2, 1, 0, 0}), ElementsAre(0, 1, 2, 3, 5, 4));
}

TEST(UsageSort, SortsLargeTablesDescending) {
  std::vector<int> counts(256);
  for (int k = 0; k < 256; ++k) counts[size_t(k)] = (k * 37) % 101;
  std::vector<int> order = SortedOrder(counts);
  for (size_t k = 1; k < order.size(); ++k) EXPECT_GE(counts[size_t(order[k - 1])], counts[size_t(order[k])]);
}

TEST(UsageCount, SumsOverFramesPassTwoToThe31) {
  // What earlier frames of an image at the pixel limit left in the table.
  TUsageTable usage{};
  usage[0] = {int64_t(1) << 30, 0};
  usage[1] = {(int64_t(1) << 31) - 1, 1};
  AddUsage(TBytes{1, 1, 1, 0}, usage);
  EXPECT_EQ(usage[1].Count, (int64_t(1) << 31) + 2);
  SortUsageDescending(usage, 0, 1);
  EXPECT_EQ(usage[0].Index, 1);
}

// An image whose one frame draws with a global table of entries greys, holding pixels.
struct TPackedImage {
  TGIFImage Image;
  TGIFSubImage* Frame = nullptr;
  TPackedImage(int entries, const TBytes& pixels) {
    AddGreys(Image.Header().GlobalTable(), entries);
    Frame = &AddFrame(Image, 0, 0, int(pixels.size()), 1, pixels);
  }
  TGIFColorMap& Table() { return Image.Header().GlobalTable(); }
  TBytes Pixels() const { return TBytes(Frame->PixelData(), Frame->PixelData() + Frame->PixelDataSize()); }
  std::vector<int> Greys() {
    std::vector<int> greys;
    for (int i = 0; i < Table().EntryCount(); ++i) greys.push_back(Table().Entries()[3 * i]);
    return greys;
  }
};

TBytes WithCounts(const std::vector<int>& counts) {
  TBytes pixels;
  for (size_t k = 0; k < counts.size(); ++k) pixels.insert(pixels.end(), size_t(counts[k]), uint8_t(k));
  return pixels;
}

TEST(ColorMapPacking, OrdersByUsageCutsUnusedAndRemapsPixels) {
  TPackedImage packed(3, WithCounts({3, 0, 7}));
  EXPECT_TRUE(Pack(packed.Table()));
  EXPECT_THAT(packed.Greys(), ElementsAre(2, 0));
  EXPECT_TRUE(packed.Table().UsageOrdered());
  // The pixels that held 2 now hold 0, those that held 0 now hold 1.
  EXPECT_THAT(packed.Pixels(), ElementsAre(1, 1, 1, 0, 0, 0, 0, 0, 0, 0));
}

TEST(ColorMapPacking, AnUnchangedOrderKeepsEveryEntry) {
  TPackedImage descending(3, WithCounts({7, 3, 0}));
  EXPECT_TRUE(Pack(descending.Table()));
  EXPECT_THAT(descending.Greys(), ElementsAre(0, 1, 2));
  EXPECT_TRUE(descending.Table().UsageOrdered());

  // The two unused entries change places, so the order has changed and both are cut.
  TPackedImage twoUnused(4, WithCounts({7, 3, 0, 0}));
  EXPECT_TRUE(Pack(twoUnused.Table()));
  EXPECT_THAT(twoUnused.Greys(), ElementsAre(0, 1));
}

TEST(ColorMapPacking, EqualCountsChangePlacesOnEveryRun) {
  TPackedImage packed(4, WithCounts({9, 4, 4, 1}));
  Pack(packed.Table());
  EXPECT_THAT(packed.Greys(), ElementsAre(0, 2, 1, 3));
  Pack(packed.Table());
  EXPECT_THAT(packed.Greys(), ElementsAre(0, 1, 2, 3));
  EXPECT_THAT(packed.Pixels(), ElementsAreArray(WithCounts({9, 4, 4, 1})));
}

TEST(ColorMapPacking, TablesWithNothingToPack) {
  TPackedImage single(1, {0, 0});
  EXPECT_FALSE(Pack(single.Table()));
  EXPECT_FALSE(single.Table().UsageOrdered());

  TGIFImage frameless;
  AddGreys(frameless.Header().GlobalTable(), 4);
  EXPECT_FALSE(Pack(frameless.Header().GlobalTable()));
  EXPECT_EQ(frameless.Header().GlobalTable().EntryCount(), 4);
}

TEST(ColorMapPacking, AGlobalTableNoFrameUsesIsCutToNothing) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 4);
  TGIFSubImage& frame = AddFrame(image, 0, 0, 2, 1, {1, 0});
  AddGreys(frame.LocalTable(), 2);
  EXPECT_TRUE(Pack(image.Header().GlobalTable()));
  EXPECT_EQ(image.Header().GlobalTable().EntryCount(), 0);
  EXPECT_TRUE(Pack(frame.LocalTable()));
  EXPECT_EQ(frame.PixelData()[0], 0);
  EXPECT_EQ(frame.LocalTable().Entries()[0], 1);
}

TEST(ColorMapPacking, RemapsTheTransparentIndexAndTheBackdrop) {
  TPackedImage packed(3, WithCounts({1, 2, 5}));
  packed.Image.Header().BackdropIndex = 2;
  auto& control = AddExtension<TGIFGraphicControlExtension>(*packed.Frame);
  control.SetTransparent(true);
  control.SetTransparentIndex(1);
  Pack(packed.Table());
  EXPECT_EQ(control.TransparentIndex(), 1);
  EXPECT_THAT(packed.Greys(), ElementsAre(2, 1, 0));
  EXPECT_EQ(packed.Image.Header().BackdropIndex, 0) << "the screen keeps its background colour";

  // A background entry no pixel uses stays, first past the entries pixels use, where it
  // shows: here the frame's disposal clears the screen to it.
  TPackedImage background(4, WithCounts({1, 0, 2, 0}));
  background.Image.Header().BackdropIndex = 3;
  AddControl(*background.Frame, 2, 10);
  Pack(background.Table());
  EXPECT_THAT(background.Greys(), ElementsAre(2, 0, 3));
  EXPECT_EQ(background.Image.Header().BackdropIndex, 2);

  // An index no pixel holds moves past the entries that stay.
  TPackedImage unused(3, WithCounts({4, 2, 0}));
  auto& unusedControl = AddExtension<TGIFGraphicControlExtension>(*unused.Frame);
  unusedControl.SetTransparent(true);
  unusedControl.SetTransparentIndex(2);
  unused.Frame->PixelData()[0] = 1;  // counts 3, 3, 0: the first two change places
  Pack(unused.Table());
  EXPECT_EQ(unused.Table().EntryCount(), 2);
  EXPECT_GE(unusedControl.TransparentIndex(), 2);
}

TEST(ColorMapPacking, TablesUsedWithUndefinedIndicesStayAsTheyAre) {
  TPackedImage pixel(3, {0, 2, 2, 5});
  EXPECT_FALSE(Pack(pixel.Table()));
  EXPECT_THAT(pixel.Greys(), ElementsAre(0, 1, 2));
  EXPECT_THAT(pixel.Pixels(), ElementsAre(0, 2, 2, 5));
  EXPECT_FALSE(pixel.Table().UsageOrdered());

  TPackedImage index(3, {0, 2, 2, 2});
  TGIFSubImage& second = AddFrame(index.Image, 0, 0, 1, 1, {1});
  auto& control = AddExtension<TGIFGraphicControlExtension>(second);
  control.SetTransparent(true);
  index.Image.Header().GlobalTable().AppendColor(clWhite);
  control.SetTransparentIndex(3);
  index.Image.Header().GlobalTable().DeleteColor(3);
  EXPECT_FALSE(Pack(index.Table()));
  EXPECT_THAT(index.Pixels(), ElementsAre(0, 2, 2, 2));
}

}  // namespace
}  // namespace corvane::test
