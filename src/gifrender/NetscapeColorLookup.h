#pragma once
// TNetscapeColorLookup: the WebPalette216 entry a colour is drawn with. Each component c
// goes to level (c + 3) div 51 on its own.

#include <cstdint>

#include "gifrender/WebPalette.h"
#include "platform/Types.h"

namespace corvane {

class TNetscapeColorLookup {
 public:
  // 0 to 5.
  int Level(uint8_t component) const { return (component + 3) / kWebLevelStep; }
  uint8_t LevelValue(uint8_t component) const { return uint8_t(Level(component) * kWebLevelStep); }
  uint8_t IndexOf(uint8_t red, uint8_t green, uint8_t blue) const {
    return uint8_t(36 * Level(red) + 6 * Level(green) + Level(blue));
  }
  uint8_t IndexOf(TColor color) const { return IndexOf(RedOf(color), GreenOf(color), BlueOf(color)); }
  const TPalette& Palette() const { return WebPalette216(); }
};

}  // namespace corvane
