#pragma once
// The settings of a TJPEGImage and the process-wide defaults every new object copies.

#include <cstdint>

namespace corvane {

enum class TJPEGPixelFormat : uint8_t { Depth24 = 0, Depth8 = 1 };
enum class TJPEGPerformance : uint8_t { FavourQuality = 0, FavourSpeed = 1 };
enum class TJPEGScale : uint8_t { FullSize = 0, HalfSize = 1, QuarterSize = 2, EighthSize = 3 };

struct TJPEGDefaults {
  uint8_t SaveQuality = 90;
  bool GreyMode = false;
  TJPEGPerformance DecodeSpeed = TJPEGPerformance::FavourQuality;
  TJPEGPixelFormat ColourDepth = TJPEGPixelFormat::Depth24;
  bool ShowPasses = false;
  bool WriteProgressive = false;
  TJPEGScale DecodeScale = TJPEGScale::FullSize;
  bool InterblockSmoothing = true;

  // The defaults for a display of that many bits per pixel: 8-bit pictures on a palette display.
  static TJPEGDefaults ForDisplay(int bitsPerPixel);
};

// The defaults, made from the display depth on first use.
TJPEGDefaults& JpegSettingDefaults();

}  // namespace corvane
