#pragma once
// TBMPPicture: Windows and OS/2 bitmaps (.bmp, .rle, .dib), with their 14-byte file
// header or as a packed DIB without one. The file-size field is not trusted.

#include "ImportedPicture.h"

namespace corvane {

class TBMPPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TBMPPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TBMPPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
