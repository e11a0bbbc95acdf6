#pragma once
// Palettes: immutable colour lists shared by value, standing in for palette handles.
// Two palettes are "the same palette" when they are the same object.

#include <cstdint>
#include <memory>
#include <vector>

#include "Types.h"

namespace corvane {

// Flag of a palette entry that keeps the colour from being merged with a system colour.
constexpr uint8_t pcNoCollapse = 4;

struct TPaletteEntry {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  uint8_t Flags = 0;
  friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};

struct TLogPalette {
  uint16_t Version = 0x300;
  std::vector<TPaletteEntry> Entries;
};

using TPalette = std::shared_ptr<const TLogPalette>;

inline TPalette MakePalette(std::vector<TPaletteEntry> entries) {
  return std::make_shared<const TLogPalette>(TLogPalette{0x300, std::move(entries)});
}

inline TColor EntryColor(const TPaletteEntry& e) { return MakeColor(e.Red, e.Green, e.Blue); }

// The index of the entry nearest to colour (squared RGB distance); 0 for an empty palette.
int NearestPaletteIndex(const TLogPalette& palette, TColor color);

}  // namespace corvane
