#include "gifrender/FloydSteinbergDitherer.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "gifrender/IndexColors.h"
#include "gifrender/NetscapeColorLookup.h"
#include "gifrender/WebPalette.h"
#include "platform/Exceptions.h"

namespace corvane {

namespace {

constexpr uint8_t Grey(int level) { return uint8_t(43 * level); }  // 36 + 6 + 1 per level

// Dithers a field of one colour table's pixel values, row by row.
std::vector<std::vector<uint8_t>> DitherField(const std::vector<std::vector<uint8_t>>& pixels,
                                              const std::vector<uint8_t>& table, int transparent = -1,
                                              uint8_t fill = 0) {
  TIndexColors colors = IndexColors(table);
  TFloydSteinbergDitherer ditherer(int(pixels[0].size()));
  std::vector<std::vector<uint8_t>> out;
  for (const auto& row : pixels) {
    out.emplace_back(row.size(), fill);
    ditherer.DitherRow(row, colors, transparent, out.back());
  }
  return out;
}

}  // namespace

TEST(WebPalette, Has216EntriesOfSixLevelsSharedByAll) {
  const TPalette& palette = WebPalette216();
  ASSERT_EQ(palette->Entries.size(), 216u);
  EXPECT_EQ(palette->Entries[36 * 1 + 6 * 4 + 5], (TPaletteEntry{51, 204, 255, 0}));
  EXPECT_EQ(palette->Entries[215], (TPaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(palette, WebPalette216());
}

TEST(NetscapeColorLookup, TakesEachComponentToLevelCPlus3Div51) {
  TNetscapeColorLookup lookup;
  EXPECT_EQ(lookup.Level(0), 0);
  EXPECT_EQ(lookup.Level(47), 0);
  EXPECT_EQ(lookup.Level(48), 1);
  EXPECT_EQ(lookup.Level(252), 5);
  EXPECT_EQ(lookup.Level(255), 5);
  EXPECT_EQ(lookup.IndexOf(MakeColor(255, 102, 51)), 36 * 5 + 6 * 2 + 1);
  EXPECT_EQ(lookup.Palette(), WebPalette216());
}

TEST(IndexColors, ValuesBeyondTheTableAreBlack) {
  TIndexColors colors = IndexColors(std::vector<uint8_t>{10, 20, 30, 40, 50, 60, 70});  // 2 entries and a stray byte
  EXPECT_EQ(colors[1], MakeColor(40, 50, 60));
  EXPECT_EQ(colors[2], clBlack);
  EXPECT_EQ(colors[255], clBlack);
  EXPECT_EQ(IndexColors({})[0], clBlack);
}

TEST(FloydSteinberg, ColoursOnThePaletteComeOutExactlyWithoutNoise) {
  std::vector<uint8_t> table = {0, 0, 0, 51, 153, 255, 255, 255, 255, 204, 0, 102};
  for (uint8_t value = 0; value < 4; ++value) {
    auto out = DitherField(std::vector<std::vector<uint8_t>>(5, std::vector<uint8_t>(7, value)), table);
    TNetscapeColorLookup lookup;
    uint8_t expected = lookup.IndexOf(table[3 * value], table[3 * value + 1], table[3 * value + 2]);
    for (const auto& row : out)
      for (uint8_t index : row) ASSERT_EQ(index, expected) << int(value);
  }
  // A value outside the table is black, and still dithered without error.
  auto stray = DitherField({{9, 9}, {9, 9}}, table);
  EXPECT_EQ(stray[1][1], 0);
}

TEST(FloydSteinberg, MidGreyMixesTheTwoNeighbouringLevelsInProportion) {
  constexpr int kSize = 64;
  auto out = DitherField(std::vector<std::vector<uint8_t>>(kSize, std::vector<uint8_t>(kSize, 0)), {128, 128, 128});
  std::map<uint8_t, int> counts;
  for (const auto& row : out)
    for (uint8_t index : row) ++counts[index];
  ASSERT_EQ(counts.size(), 2u);
  // 128 lies 26/51 of the way from level 2 (102) to level 3 (153).
  double upper = double(counts[Grey(3)]) / (kSize * kSize);
  EXPECT_NEAR(upper, 26.0 / 51, 0.01);
  EXPECT_EQ(counts[Grey(2)] + counts[Grey(3)], kSize * kSize);
}

TEST(FloydSteinberg, WalksTheRowsInSerpentineOrder) {
  // 40 goes to level 0 and passes 7/16 of its error on in walking direction, which lifts
  // the next pixel to level 1: the second row mirrors the first.
  std::vector<uint8_t> table = {0, 0, 0, 40, 40, 40};
  EXPECT_EQ(DitherField({{1, 1}}, table)[0], (std::vector<uint8_t>{0, Grey(1)}));
  EXPECT_EQ(DitherField({{0, 0}, {1, 1}}, table)[1], (std::vector<uint8_t>{Grey(1), 0}));
  TFloydSteinbergDitherer ditherer(3);
  EXPECT_TRUE(ditherer.LeftToRight());
  EXPECT_EQ(ditherer.Column(), 0);
  ditherer.NextLine();
  EXPECT_FALSE(ditherer.LeftToRight());
  EXPECT_EQ(ditherer.Column(), 2);
  ditherer.Dither(clBlack);
  EXPECT_EQ(ditherer.Column(), 1);
}

TEST(FloydSteinberg, TransparentPixelsAreSkippedWithoutTouchingTheError) {
  // Without the skipped pixel between them the second 40 would be lifted to level 1.
  auto out = DitherField({{1, 2, 1}, {2, 2, 1}}, {0, 0, 0, 40, 40, 40}, 2, 77);
  EXPECT_EQ(out[0], (std::vector<uint8_t>{0, 77, 0}));
  // The pixel below the last one still has its 5/16 share of that pixel's error.
  EXPECT_EQ(out[1], (std::vector<uint8_t>{77, 77, Grey(1)}));
  TFloydSteinbergDitherer ditherer(1);
  ditherer.Skip();
  EXPECT_THROW(ditherer.Dither(clBlack), EInvalidGraphicOperation);
  std::vector<uint8_t> wide(2);
  EXPECT_THROW(ditherer.DitherRow(wide, IndexColors({}), -1, wide), EInvalidGraphicOperation);
}

}  // namespace corvane
