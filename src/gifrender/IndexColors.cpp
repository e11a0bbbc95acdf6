#include "IndexColors.h"

#include <algorithm>

namespace corvane {

TIndexColors IndexColors(std::span<const uint8_t> table) {
  TIndexColors colors;
  colors.fill(clBlack);
  size_t count = std::min<size_t>(table.size() / 3, colors.size());
  for (size_t i = 0; i < count; ++i) colors[i] = MakeColor(table[3 * i], table[3 * i + 1], table[3 * i + 2]);
  return colors;
}

}  // namespace corvane
