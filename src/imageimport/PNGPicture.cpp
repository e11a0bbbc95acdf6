#include "PNGPicture.h"

#include <png.h>

#include <vector>

#include "platform/Exceptions.h"

namespace corvane {

namespace {

// Frees what libpng holds for the image on every way out.
struct TPngImage {
  png_image Image{};
  TPngImage() { Image.version = PNG_IMAGE_VERSION; }
  ~TPngImage() { png_image_free(&Image); }
  [[noreturn]] void Fail() const { throw EInvalidGraphic(std::string("PNG picture cannot be read: ") + Image.message); }
};

}  // namespace

std::unique_ptr<TBitmap> TPNGPicture::Decode(std::span<const uint8_t> bytes) {
  TPngImage png;
  if (!png_image_begin_read_from_memory(&png.Image, bytes.data(), bytes.size())) png.Fail();
  CheckPictureSize(png.Image.width, png.Image.height, "PNG");
  auto bitmap = std::make_unique<TBitmap>(int(png.Image.width), int(png.Image.height), TPixelFormat::pf24bit);
  if (!(png.Image.format & PNG_FORMAT_FLAG_ALPHA)) {
    png.Image.format = PNG_FORMAT_BGR;
    if (!png_image_finish_read(&png.Image, nullptr, bitmap->ScanLine(0), bitmap->RowStride(), nullptr)) png.Fail();
    return bitmap;
  }
  // Composed here rather than by libpng, which blends in linear light, so that every
  // reader puts a half-transparent pixel halfway to white.
  png.Image.format = PNG_FORMAT_BGRA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png.Image));
  if (!png_image_finish_read(&png.Image, nullptr, pixels.data(), 0, nullptr)) png.Fail();
  const uint8_t* in = pixels.data();
  for (int y = 0; y < bitmap->Height(); ++y) {
    uint8_t* out = bitmap->ScanLine(y);
    for (int x = 0; x < bitmap->Width(); ++x, in += 4)
      for (int c = 0; c < 3; ++c) out[3 * x + c] = OntoWhite(in[c], in[3]);
  }
  return bitmap;
}

}  // namespace corvane
