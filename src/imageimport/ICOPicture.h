#pragma once
// TICOPicture: Windows icons and cursors. Of the entries the largest is shown, and of
// equally large ones the deepest; sizes and depths are read from each entry's own
// header, since the directory's fields are often wrong. Entries are bitmaps with an
// AND mask or PNG files.

#include "ImportedPicture.h"

namespace corvane {

class TICOPicture : public TImportedPicture {
 public:
  std::string ClassName() const override { return "TICOPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TICOPicture>(); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
};

}  // namespace corvane
