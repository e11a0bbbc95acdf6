#include "AutodeskPicture.h"

#include "FlicCel.h"
#include "platform/Exceptions.h"

namespace corvane {

namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kPaletteSize = 768;
constexpr uint16_t kSignature = 0x9119;

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

[[noreturn]] void Invalid(const std::string& why) { throw EInvalidGraphic("Autodesk picture cannot be read: " + why); }

}  // namespace

std::unique_ptr<TBitmap> TAutodeskPicture::Decode(std::span<const uint8_t> bytes) {
  if (IsFlic(bytes)) return DecodeFlicCel(bytes);
  if (bytes.size() < kHeaderSize || Get16(bytes.data()) != kSignature) Invalid("not an Animator picture");
  int width = Get16(bytes.data() + 2), height = Get16(bytes.data() + 4);
  uint8_t depth = bytes[10], compression = bytes[11];
  if (depth != 8 || compression != 0) Invalid("only uncompressed 8-bit pictures are supported");
  CheckPictureSize(width, height, "Autodesk");
  if (bytes.size() < kHeaderSize + kPaletteSize + size_t(width) * size_t(height)) Invalid("the file is truncated");

  const uint8_t* palette = bytes.data() + kHeaderSize;
  for (size_t i = 0; i < kPaletteSize; ++i)
    if (palette[i] > 63) Invalid("the palette holds a value above 63");
  auto bitmap = std::make_unique<TBitmap>(width, height, TPixelFormat::pf24bit);
  const uint8_t* pixels = palette + kPaletteSize;
  for (int y = 0; y < height; ++y) {
    uint8_t* out = bitmap->ScanLine(y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* rgb = palette + 3 * size_t(*pixels++);
      for (int c = 0; c < 3; ++c) out[3 * x + 2 - c] = uint8_t((rgb[c] * 255 + 31) / 63);
    }
  }
  return bitmap;
}

}  // namespace corvane
