#pragma once
// TTIFFPicture: the first page of a TIFF file, read with libtiff; samples its RGBA
// interface does not take (12-bit, 32-bit, floating point) go through ImageMagick.

#include "ImportedPicture.h"

namespace corvane {

class TTIFFPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TTIFFPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TTIFFPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
