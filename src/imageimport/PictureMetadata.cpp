#include "PictureMetadata.h"

#include <png.h>

#include <algorithm>

#include "PNGPicture.h"

namespace corvane {

namespace {

constexpr uint8_t kJpegStart[] = {0xFF, 0xD8, 0xFF};  // the SOI marker and the next marker's first byte
constexpr size_t kPngSignatureBytes = 8;

}  // namespace

bool LooksLikeJpeg(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof kJpegStart && std::equal(kJpegStart, kJpegStart + sizeof kJpegStart, bytes.begin());
}

TPictureMetadata ReadPictureMetadata(std::span<const uint8_t> bytes) {
  if (LooksLikeJpeg(bytes)) return ReadJpegMetadata(bytes);
  if (bytes.size() >= kPngSignatureBytes && png_sig_cmp(bytes.data(), 0, kPngSignatureBytes) == 0)
    return ReadPngMetadata(bytes);
  return {};
}

}  // namespace corvane
