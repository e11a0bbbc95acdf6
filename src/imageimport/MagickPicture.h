#pragma once
// TMagickPicture: the legacy formats, read with ImageMagick, always with the one coder
// the file's extension names and never by looking at the file's content.

#include <filesystem>
#include <string>

#include "ImportedPicture.h"

namespace corvane {

// A whole file read with the named coder; EInvalidGraphic with ImageMagick's reason.
std::unique_ptr<TBitmap> DecodeWithMagick(std::span<const uint8_t> bytes, const std::string& coder,
                                          const std::string& format);

class TMagickPicture : public TImportedPicture {
 public:
  // coder: the ImageMagick coder ("BMP"); format: the format's name in error messages.
  TMagickPicture(std::string coder, std::string format);

  std::string ClassName() const override { return "TMagickPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override;
  const std::string& Coder() const { return FCoder; }

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;
  // Reads the file with the coder; for coders that look for companion files beside it.
  std::unique_ptr<TBitmap> DecodeFile(const std::filesystem::path& fileName);

 private:
  std::string FCoder;
  std::string FFormat;
};

// Dr. Halo ".cut" pictures, whose colours are in a ".pal" file of the same name beside them.
class TDrHaloPicture : public TMagickPicture {
 public:
  TDrHaloPicture() : TMagickPicture("CUT", "Dr. Halo") {}
  std::string ClassName() const override { return "TDrHaloPicture"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TDrHaloPicture>(); }

  void LoadFromFile(const std::filesystem::path& fileName) override;

 protected:
  std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) override;

 private:
  std::unique_ptr<TBitmap> DecodeWithPalette(std::span<const uint8_t> picture, const std::vector<uint8_t>* palette);
};

}  // namespace corvane
