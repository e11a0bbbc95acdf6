#pragma once
// TEMFPicture: enhanced metafiles (.emf), turned into SVG by libemf2svg and drawn by
// librsvg at the size the SVG states, on white.

#include "ImportedPicture.h"

namespace corvane {

class TEMFPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TEMFPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TEMFPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
