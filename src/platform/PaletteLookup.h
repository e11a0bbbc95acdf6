#pragma once
// TPaletteLookup: the nearest palette entry of a colour, remembered. Drawing into an indexed
// bitmap asks for the same few colours again and again, and each search walks the palette.

#include <cstdint>
#include <vector>

#include "Palette.h"

namespace corvane {

class TPaletteLookup {
 public:
  // NearestPaletteIndex; what was remembered for another palette is forgotten.
  uint8_t IndexOf(const TPalette& palette, TColor color);
  // Palette searches made so far: one per distinct colour asked for, as long as no more than
  // kRemembered colours are asked for with one palette.
  int64_t Searches() const { return FSearches; }

  static constexpr int kSlotBits = 13;
  // Colours remembered before starting afresh: half the slots, so that probes stay short.
  static constexpr int kRemembered = 1 << (kSlotBits - 1);

 private:
  struct TSlot {
    TColor Color = clNone;  // clNone: free
    uint8_t Index = 0;
  };

  void Forget();
  // The slot that holds the colour, or the free one where it belongs.
  TSlot& SlotOf(TColor color);

  TPalette FPalette;
  std::vector<TSlot> FSlots;
  int FHeld = 0;
  int64_t FSearches = 0;
};

}  // namespace corvane
