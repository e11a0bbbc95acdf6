#pragma once
// TAutodeskPicture: Autodesk Animator ".cel" and ".pic" pictures. Animator 1 wrote a
// 32-byte header (signature 0x9119, width, height, position, 8 bits per pixel, no
// compression), a 256-colour palette of 6-bit values, then one byte per pixel, rows top
// to bottom; Animator Pro writes FLIC files (see FlicCel.h).

#include "ImportedPicture.h"

namespace corvane {

class TAutodeskPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TAutodeskPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TAutodeskPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
