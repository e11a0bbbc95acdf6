#pragma once
// TPCXPicture: ZSoft Paintbrush files (.pcx, .pcc, .scr): 1, 2, 4 and 8 bits per pixel in
// one to four planes, run-length coded. One-bit single-plane pictures are black and
// white whatever the header's palette holds, as most writers leave it empty; 8-bit
// single-plane pictures take the 256-colour palette at the end, or greys without one.

#include "ImportedPicture.h"

namespace corvane {

class TPCXPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TPCXPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TPCXPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
