#pragma once
// The row order of interlaced GIF frames: rows 0, 8, 16 …; 4, 12 …; 2, 6 …; 1, 3 ….

#include <cstdint>

namespace corvane {

// Moves row and pass (0-3) to the next row of the interlace order of a frame of the given
// height; false after the last row. Passes without a row inside the frame are skipped.
inline bool NextInterlacedRow(int& row, int& pass, int height) {
  static constexpr int kStart[4] = {0, 4, 2, 1};
  static constexpr int kStep[4] = {8, 8, 4, 2};
  row += kStep[pass];
  while (row >= height) {
    if (++pass > 3) return false;
    row = kStart[pass];
  }
  return true;
}

// Moves the rows of a frame that were stored one after the other in interlace order to their
// places.
void MoveInterlacedRows(uint8_t* pixels, int width, int height);

}  // namespace corvane
