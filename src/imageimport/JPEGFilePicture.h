#pragma once
// TJPEGFilePicture: JPEG files as the pictures the JPEG tab opens. Greyscale and RGB files
// are the JPEG object's own; four-component files (CMYK, and YCCK, which libjpeg turns
// into CMYK) are decoded here to RGB and held as a bitmap, Adobe's inverted CMYK included.

#include "jpegopt/JPEGImage.h"

namespace corvane {

class TJPEGFilePicture : public TJPEGImage {
 public:
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TJPEGFilePicture>(); }
  void LoadFromStream(TStream& stream) override;
};

}  // namespace corvane
