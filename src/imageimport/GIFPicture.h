#pragma once
// TGIFPicture: GIF files for the pictures the JPEG tab opens: the first frame as the
// program shows it, transparent parts on white.

#include "ImportedPicture.h"

namespace corvane {

class TGIFPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TGIFPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TGIFPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
