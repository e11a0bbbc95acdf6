#pragma once
// Opening a picture file the way the JPEG tab does: through the registry by extension,
// drawn at (0, 0) into a 24-bit bitmap of its size.

#include <filesystem>
#include <memory>

#include "imageimport/PictureFormats.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/PictureRegistry.h"

namespace corvane::test {

inline std::unique_ptr<TBitmap> OpenPicture(const std::filesystem::path& fileName, std::string* className = nullptr) {
  RegisterAllPictureFormats();
  TPicture picture;
  picture.LoadFromFile(fileName);
  if (className) *className = picture.Graphic()->ClassName();
  auto bitmap = std::make_unique<TBitmap>(picture.Width(), picture.Height(), TPixelFormat::pf24bit);
  bitmap->Canvas().Draw(0, 0, *picture.Graphic());
  return bitmap;
}

// The colour of the pixel the fixture tool paints at (x, y).
inline TColor StandardColor(int x, int y) { return MakeColor(uint8_t(36 * x), uint8_t(50 * y), uint8_t(200 - 20 * x)); }

}  // namespace corvane::test
