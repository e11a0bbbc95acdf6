#pragma once
// TUnavailablePicture: the entry of a file type the open dialog lists but no reader here
// can serve; loading it raises an error that names the reason.

#include "ImportedPicture.h"

namespace corvane {

class TUnavailablePicture : public TImportedPicture {
 public:
  explicit TUnavailablePicture(std::string reason) : FReason(std::move(reason)) {}
  std::string ClassName() const override { return "TUnavailablePicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TUnavailablePicture>(FReason); }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;

 private:
  std::string FReason;
};

}  // namespace corvane
