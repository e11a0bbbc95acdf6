#pragma once
// The JPEG file that TJPEGImage writes for a bitmap with the given settings, to compare
// what the programs wrote against.

#include <cstdint>
#include <vector>

#include "jpegopt/JPEGImage.h"
#include "platform/Stream.h"

namespace corvane::test {

inline std::vector<uint8_t> JpegBytes(const TBitmap& bitmap, int quality, bool grey = false,
                                      bool progressive = false) {
  TJPEGImage jpeg;
  jpeg.SetGreyMode(grey);  // before the bitmap: changing it discards an assigned picture
  jpeg.SaveQuality = uint8_t(quality);
  jpeg.WriteProgressive = progressive;
  jpeg.CopyFrom(bitmap);
  TMemoryStream out;
  jpeg.SaveToStream(out);
  return out.Bytes();
}

}  // namespace corvane::test
