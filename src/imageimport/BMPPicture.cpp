#include "BMPPicture.h"

#include "DIBDecoder.h"
#include "platform/Exceptions.h"

namespace corvane {

namespace {

constexpr size_t kFileHeaderSize = 14, kPixelOffsetField = 10, kSmallestInfoHeader = 12;

}  // namespace

std::unique_ptr<TBitmap> TBMPPicture::Decode(std::span<const uint8_t> bytes) {
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') return DecodeDIB({bytes, std::nullopt, false}, "Windows bitmap");
  if (bytes.size() < kFileHeaderSize + kSmallestInfoHeader)
    throw EInvalidGraphic("Windows bitmap picture cannot be read: file ends early");
  const uint8_t* p = bytes.data() + kPixelOffsetField;
  size_t pixels = size_t(p[0] | p[1] << 8 | p[2] << 16) | size_t(p[3]) << 24;
  // An offset into the headers or past the end is a writer's slip: the pixels then
  // follow the palette.
  std::optional<size_t> offset;
  if (pixels >= kFileHeaderSize + kSmallestInfoHeader && pixels < bytes.size()) offset = pixels - kFileHeaderSize;
  return DecodeDIB({bytes.subspan(kFileHeaderSize), offset, false}, "Windows bitmap");
}

}  // namespace corvane
