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

 private:
  // A fixed number of slots, each holding the last colour that hashed to it.
  static constexpr int kSlotBits = 12;
  struct TSlot {
    TColor Color = clNone;
    uint8_t Index = 0;
  };

  TPalette FPalette;
  std::vector<TSlot> FSlots;
};

}  // namespace corvane
