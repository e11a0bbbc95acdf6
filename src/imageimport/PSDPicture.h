#pragma once
// TPSDPicture: the merged image of Photoshop files (.psd, .pdd, and large-document .psb
// layouts): bitmap, grey, duotone (its grey), indexed, RGB, CMYK and multichannel
// documents of 1, 8, 16 and 32 bits, raw or PackBits. 32-bit channels hold linear light
// and are shown through the sRGB curve. The first extra channel is the merged image's
// transparency when the layer count is negative, as the format says.

#include "ImportedPicture.h"

namespace corvane {

class TPSDPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TPSDPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TPSDPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
