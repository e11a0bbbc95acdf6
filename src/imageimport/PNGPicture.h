#pragma once
// TPNGPicture: PNG files, read with libpng's classic interface. Samples are shown as
// stored: gAMA, cHRM, sRGB and iCCP are not applied, so every PNG shows the values its
// writer put there, as in a JPEG made from it.

#include "ImportedPicture.h"
#include "jpegopt/JpegMetadata.h"

namespace corvane {

// A PNG file in memory, composed onto white; also the PNG entries of icons and bitmaps.
std::unique_ptr<TBitmap> DecodePNG(std::span<const uint8_t> bytes);

// The ICC profile (iCCP), the EXIF block (eXIf) and the text chunks keyed "Comment" of a PNG
// file in memory, before its image data or after it. EInvalidGraphic for a damaged file, and
// as DecodePNG for one whose picture is too large.
TPictureMetadata ReadPngMetadata(std::span<const uint8_t> bytes);

class TPNGPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TPNGPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TPNGPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override { return DecodePNG(bytes); }
};

}  // namespace corvane
