#include "JpegSettings.h"

#include "platform/Display.h"

namespace corvane {

TJPEGDefaults TJPEGDefaults::ForDisplay(int bitsPerPixel) {
  TJPEGDefaults defaults;
  defaults.ColourDepth = bitsPerPixel <= 8 ? TJPEGPixelFormat::Depth8 : TJPEGPixelFormat::Depth24;
  return defaults;
}

TJPEGDefaults& JpegSettingDefaults() {
  static TJPEGDefaults defaults = TJPEGDefaults::ForDisplay(DisplayBitsPerPixel());
  return defaults;
}

}  // namespace corvane
