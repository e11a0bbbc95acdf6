#include "FloydSteinbergDitherer.h"

#include <algorithm>

#include "platform/Exceptions.h"

namespace corvane {

namespace {

// Sixteenths to whole units, to the nearest, halves away from zero: (|e| + 8) div 16 with
// the sign of e. Rounding both signs alike keeps the result independent of which sign the
// error is kept with; (e + 8) div 16 alone would round negative errors towards zero by up
// to a unit more than positive ones and brighten the picture.
int RoundSixteenths(int e) { return e >= 0 ? (e + 8) / 16 : -((8 - e) / 16); }

}  // namespace

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int width)
    : FWidth(std::max(width, 0)), FThisRow(size_t(FWidth) + 2), FNextRow(size_t(FWidth) + 2) {}

uint8_t TFloydSteinbergDitherer::DitherChannel(uint8_t value, int carried, int& difference) const {
  int adjusted = std::clamp(int(value) + RoundSixteenths(carried), 0, 255);
  int level = FLookup.Level(uint8_t(adjusted));
  difference = adjusted - level * kWebLevelStep;
  return uint8_t(level);
}

void TFloydSteinbergDitherer::Spread(int slot, int red, int green, int blue) {
  auto add = [&](TError& e, int weight) {
    e.Red += weight * red;
    e.Green += weight * green;
    e.Blue += weight * blue;
  };
  add(FThisRow[size_t(slot + FStep)], 7);
  add(FNextRow[size_t(slot - FStep)], 3);
  add(FNextRow[size_t(slot)], 5);
  add(FNextRow[size_t(slot + FStep)], 1);
}

uint8_t TFloydSteinbergDitherer::Dither(TColor color) {
  if (FColumn < 0 || FColumn >= FWidth) throw EInvalidGraphicOperation("Dither column out of range");
  int slot = FColumn + 1;
  const TError& carried = FThisRow[size_t(slot)];
  int dr, dg, db;
  uint8_t r = DitherChannel(RedOf(color), carried.Red, dr);
  uint8_t g = DitherChannel(GreenOf(color), carried.Green, dg);
  uint8_t b = DitherChannel(BlueOf(color), carried.Blue, db);
  Spread(slot, dr, dg, db);
  FColumn += FStep;
  return uint8_t(36 * r + 6 * g + b);
}

void TFloydSteinbergDitherer::Skip() { FColumn += FStep; }

void TFloydSteinbergDitherer::NextLine() {
  std::swap(FThisRow, FNextRow);
  std::fill(FNextRow.begin(), FNextRow.end(), TError{});
  FStep = -FStep;
  FColumn = FStep > 0 ? 0 : FWidth - 1;
}

void TFloydSteinbergDitherer::DitherRow(std::span<const uint8_t> pixels, const TIndexColors& colors,
                                        int transparentIndex, std::span<uint8_t> out) {
  if (pixels.size() != size_t(FWidth) || out.size() != size_t(FWidth))
    throw EInvalidGraphicOperation("Row width does not match the ditherer");
  for (int i = 0; i < FWidth; ++i) {
    size_t x = size_t(FColumn);
    if (pixels[x] == transparentIndex)
      Skip();
    else
      out[x] = Dither(colors[pixels[x]]);
  }
  NextLine();
}

}  // namespace corvane
