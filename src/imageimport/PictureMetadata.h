#pragma once
// The metadata a JPEG file made from a picture file keeps of it, for the picture types that
// carry any: JPEG and PNG.

#include <cstdint>
#include <span>

#include "jpegopt/JpegMetadata.h"

namespace corvane {

// Whether the bytes start as a JPEG file does.
bool LooksLikeJpeg(std::span<const uint8_t> bytes);

// The ICC profile, EXIF block and comments of a JPEG or PNG file in memory; nothing for other
// types. EInvalidGraphic (EJPEG) for a damaged file.
TPictureMetadata ReadPictureMetadata(std::span<const uint8_t> bytes);

}  // namespace corvane
