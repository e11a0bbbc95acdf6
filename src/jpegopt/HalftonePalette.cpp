#include "HalftonePalette.h"

namespace corvane {

TPalette HalftonePalette() {
  static const TPalette palette = [] {
    std::vector<TPaletteEntry> entries;
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) entries.push_back({uint8_t(51 * r), uint8_t(51 * g), uint8_t(51 * b), 0});
    for (int step = 0; step < 5; ++step)
      for (int between = 1; between <= 8; ++between) {
        uint8_t grey = uint8_t(51 * step + 51 * between / 9);
        entries.push_back({grey, grey, grey, 0});
      }
    return MakePalette(std::move(entries));
  }();
  return palette;
}

}  // namespace corvane
