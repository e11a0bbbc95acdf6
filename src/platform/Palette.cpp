#include "Palette.h"

namespace corvane {

int NearestPaletteIndex(const TLogPalette& palette, TColor color) {
  int best = 0;
  int bestDistance = INT32_MAX;
  for (size_t i = 0; i < palette.Entries.size(); ++i) {
    const TPaletteEntry& e = palette.Entries[i];
    int dr = int(e.Red) - RedOf(color), dg = int(e.Green) - GreenOf(color), db = int(e.Blue) - BlueOf(color);
    int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = int(i);
      if (distance == 0) break;
    }
  }
  return best;
}

}  // namespace corvane
