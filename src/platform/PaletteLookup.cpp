#include "PaletteLookup.h"

namespace corvane {

uint8_t TPaletteLookup::IndexOf(const TPalette& palette, TColor color) {
  if (palette != FPalette) {
    // Holding the palette keeps its address from naming another one later.
    FPalette = palette;
    FSlots.assign(size_t(1) << kSlotBits, TSlot{});
  }
  TSlot& slot = FSlots[(color * 2654435761u) >> (32 - kSlotBits)];
  if (slot.Color != color) slot = {color, uint8_t(NearestPaletteIndex(*palette, color))};
  return slot.Index;
}

}  // namespace corvane
