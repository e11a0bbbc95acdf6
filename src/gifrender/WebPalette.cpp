#include "WebPalette.h"

namespace corvane {

const TPalette& WebPalette216() {
  static const TPalette palette = [] {
    std::vector<TPaletteEntry> entries;
    entries.reserve(216);
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b)
          entries.push_back({uint8_t(kWebLevelStep * r), uint8_t(kWebLevelStep * g), uint8_t(kWebLevelStep * b), 0});
    return MakePalette(std::move(entries));
  }();
  return palette;
}

}  // namespace corvane
