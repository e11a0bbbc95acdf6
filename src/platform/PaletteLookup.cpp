#include "PaletteLookup.h"

namespace corvane {

void TPaletteLookup::Forget() {
  FSlots.assign(size_t(1) << kSlotBits, TSlot{});
  FHeld = 0;
}

TPaletteLookup::TSlot& TPaletteLookup::SlotOf(TColor color) {
  // Open addressing with linear probing: every colour remembered stays found.
  const size_t mask = FSlots.size() - 1;
  size_t place = (color * 2654435761u) >> (32 - kSlotBits);
  while (FSlots[place].Color != color && FSlots[place].Color != clNone) place = (place + 1) & mask;
  return FSlots[place];
}

uint8_t TPaletteLookup::IndexOf(const TPalette& palette, TColor color) {
  if (palette != FPalette) {
    // Holding the palette keeps its address from naming another one later.
    FPalette = palette;
    Forget();
  }
  TSlot* slot = &SlotOf(color);
  if (slot->Color == color) return slot->Index;
  if (FHeld == kRemembered) {
    Forget();
    slot = &SlotOf(color);
  }
  *slot = {color, uint8_t(NearestPaletteIndex(*palette, color))};
  ++FHeld;
  ++FSearches;
  return slot->Index;
}

}  // namespace corvane
