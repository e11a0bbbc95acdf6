#include "Types.h"

namespace corvane {

TColor ColorToRGB(TColor color) {
  if ((color & 0xFF000000) != 0x80000000) return color & 0xFFFFFF;
  switch (color) {
    case clBtnFace:
      return 0xE7E7E7;
    default:
      return clWhite;
  }
}

}  // namespace corvane
