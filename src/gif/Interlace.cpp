#include "Interlace.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace corvane {

// Follows each cycle of the row permutation with one row in hand.
void MoveInterlacedRows(uint8_t* pixels, int width, int height) {
  std::vector<int> target;
  target.reserve(size_t(height));
  int row = 0;
  int pass = 0;
  do {
    target.push_back(row);
  } while (NextInterlacedRow(row, pass, height));

  size_t rowBytes = size_t(width);
  std::vector<uint8_t> carry(rowBytes);
  std::vector<bool> placed(size_t(height), false);
  for (int k = 0; k < height; ++k) {
    if (placed[size_t(k)] || target[size_t(k)] == k) continue;
    std::memcpy(carry.data(), pixels + size_t(k) * rowBytes, rowBytes);
    int j = k;
    do {
      j = target[size_t(j)];
      std::swap_ranges(carry.begin(), carry.end(), pixels + size_t(j) * rowBytes);
      placed[size_t(j)] = true;
    } while (j != k);
  }
}

}  // namespace corvane
