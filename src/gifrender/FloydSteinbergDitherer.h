#pragma once
// TFloydSteinbergDitherer: error diffusion of true colours to WebPalette216 indices.
// Rows are walked in serpentine order: the first left to right, then alternating. Each
// channel's quantisation error goes 7/16 to the next pixel in walking direction and
// 3/16, 5/16, 1/16 to the pixels below (behind, straight below, ahead).

#include <cstdint>
#include <span>
#include <vector>

#include "gifrender/IndexColors.h"
#include "gifrender/NetscapeColorLookup.h"

namespace corvane {

class TFloydSteinbergDitherer {
 public:
  explicit TFloydSteinbergDitherer(int width);

  int Width() const { return FWidth; }
  // The column the next Dither or Skip works on; outside the row once the row is done.
  int Column() const { return FColumn; }
  bool LeftToRight() const { return FStep > 0; }

  // The index for color at the current column; moves on one column.
  // EInvalidGraphicOperation once the row is done.
  uint8_t Dither(TColor color);
  // Moves on one column without taking or spreading any error: a transparent pixel.
  void Skip();
  // Starts the next row in the other direction.
  void NextLine();

  // Dithers a whole row of pixel values (one per column) through their colours into out
  // and starts the next row. Pixels equal to transparentIndex (none when negative) are
  // skipped and keep their value in out. EInvalidGraphicOperation for rows of another width.
  void DitherRow(std::span<const uint8_t> pixels, const TIndexColors& colors, int transparentIndex,
                 std::span<uint8_t> out);

 private:
  // Carried error of one pixel, per channel, in sixteenths.
  struct TError {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
  };

  uint8_t DitherChannel(uint8_t value, int carried, int& difference) const;
  void Spread(int slot, int red, int green, int blue);

  int FWidth;
  int FColumn = 0;
  int FStep = 1;
  // Errors of this row and the next, slot x + 1 for column x; the outer slots take what
  // falls off the edges.
  std::vector<TError> FThisRow;
  std::vector<TError> FNextRow;
  TNetscapeColorLookup FLookup;
};

}  // namespace corvane
