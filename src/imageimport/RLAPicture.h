#pragma once
// TRLAPicture: Wavefront RLA and RPF files (.rla, .rpf): a 740-byte header, a table of
// scan-line offsets, bottom row first, and per scan line every channel run-length coded
// on its own: colour (one grey or three), then matte, then auxiliary channels, which
// are skipped. The first matte channel is the alpha.

#include "ImportedPicture.h"

namespace corvane {

class TRLAPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TRLAPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TRLAPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
