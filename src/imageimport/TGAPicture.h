#pragma once
// TTGAPicture: Truevision Targa files (.tga, .vst, .icb, .vda, .win): colour-mapped,
// true-colour and grey pictures, raw or run-length coded, from any of the four corners
// the descriptor names. Alpha is taken only where the descriptor declares alpha bits
// and the extension area, when there is one, does not call them undefined; alpha bits
// that are all 0 are taken as no alpha, as writers that leave them unset are common.

#include "ImportedPicture.h"

namespace corvane {

class TTGAPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TTGAPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TTGAPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
