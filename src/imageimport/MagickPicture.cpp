#include "MagickPicture.h"

#include <Magick++.h>

#include <algorithm>
#include <vector>

#include "MagickSetup.h"
#include "ScratchDirectory.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"

namespace corvane {

namespace {

constexpr size_t kRowsPerBand = 256;

// Reads only the first picture of the file, keeping quiet about warnings. Photo CD
// keeps its resolutions as scenes: without a scene range the coder gives the 768 × 512
// base image, with one a thumbnail.
void PrepareRead(Magick::Image& image, const std::string& coder) {
  image.quiet(true);
  if (coder != "PCD") {
    image.subImage(0);
    image.subRange(1);
  }
  image.magick(coder);
}

std::unique_ptr<TBitmap> ToBitmap(Magick::Image& image, const std::string& format) {
  int64_t width = int64_t(image.columns()), height = int64_t(image.rows());
  CheckPictureSize(width, height, format);
  Magick::ColorspaceType space = image.colorSpace();
  if (space != Magick::sRGBColorspace && space != Magick::RGBColorspace && space != Magick::GRAYColorspace)
    image.colorSpace(Magick::sRGBColorspace);
  // Without an alpha channel the exported alpha is not defined, so it is not asked for.
  bool alpha = image.matte();
  size_t channels = alpha ? 4 : 3;
  auto bitmap = std::make_unique<TBitmap>(int(width), int(height), TPixelFormat::pf24bit);
  std::vector<uint8_t> band(size_t(width) * channels * std::min<size_t>(size_t(height), kRowsPerBand));
  for (int64_t top = 0; top < height; top += int64_t(kRowsPerBand)) {
    size_t rows = std::min<size_t>(kRowsPerBand, size_t(height - top));
    image.write(0, top, size_t(width), rows, alpha ? "BGRA" : "BGR", Magick::CharPixel, band.data());
    for (size_t y = 0; y < rows; ++y) {
      uint8_t* out = bitmap->ScanLine(int(top + int64_t(y)));
      const uint8_t* in = band.data() + y * size_t(width) * channels;
      if (!alpha) {
        std::copy_n(in, size_t(width) * 3, out);
        continue;
      }
      for (int64_t x = 0; x < width; ++x, in += 4)
        for (int c = 0; c < 3; ++c) out[3 * x + c] = OntoWhite(in[c], in[3]);
    }
  }
  return bitmap;
}

}  // namespace

std::unique_ptr<TBitmap> DecodeWithMagick(std::span<const uint8_t> bytes, const std::string& coder,
                                          const std::string& format) {
  EnsureMagickReady();
  if (bytes.empty()) throw EInvalidGraphic(format + " picture cannot be read: the file is empty");
  try {
    Magick::Image image;
    PrepareRead(image, coder);
    image.read(Magick::Blob(bytes.data(), bytes.size()));
    return ToBitmap(image, format);
  } catch (const Magick::Exception& e) {
    throw EInvalidGraphic(format + " picture cannot be read: " + e.what());
  }
}

TMagickPicture::TMagickPicture(std::string coder, std::string format)
    : FCoder(std::move(coder)), FFormat(std::move(format)) {}

std::unique_ptr<TGraphic> TMagickPicture::NewInstance() const {
  return std::make_unique<TMagickPicture>(FCoder, FFormat);
}

std::unique_ptr<TBitmap> TMagickPicture::Decode(std::span<const uint8_t> bytes) {
  return DecodeWithMagick(bytes, FCoder, FFormat);
}

std::unique_ptr<TBitmap> TMagickPicture::DecodeFile(const std::filesystem::path& fileName) {
  EnsureMagickReady();
  try {
    Magick::Image image;
    PrepareRead(image, FCoder);
    // The coder prefix fixes the coder; the name is one of ours, free of ImageMagick syntax.
    image.read(FCoder + ":" + fileName.string());
    return ToBitmap(image, FFormat);
  } catch (const Magick::Exception& e) {
    throw EInvalidGraphic(FFormat + " picture cannot be read: " + e.what());
  }
}

std::unique_ptr<TBitmap> TDrHaloPicture::DecodeWithPalette(std::span<const uint8_t> picture,
                                                           const std::vector<uint8_t>* palette) {
  // The coder finds the palette by the picture's file name, so both go into a private
  // directory under names of ours.
  TScratchDirectory directory;
  WriteFileAtomically(directory.Path() / "picture.cut", picture);
  if (palette) WriteFileAtomically(directory.Path() / "picture.pal", *palette);
  return DecodeFile(directory.Path() / "picture.cut");
}

std::unique_ptr<TBitmap> TDrHaloPicture::Decode(std::span<const uint8_t> bytes) {
  if (bytes.empty()) throw EInvalidGraphic("Dr. Halo picture cannot be read: the file is empty");
  return DecodeWithPalette(bytes, nullptr);
}

void TDrHaloPicture::LoadFromFile(const std::filesystem::path& fileName) {
  std::vector<uint8_t> picture = ReadWholeFile(fileName);
  if (picture.empty()) throw EInvalidGraphic("Dr. Halo picture cannot be read: the file is empty");
  std::vector<uint8_t> palette;
  bool hasPalette = false;
  for (const char* extension : {".pal", ".PAL"}) {
    std::filesystem::path candidate = std::filesystem::path(fileName).replace_extension(extension);
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) {
      palette = ReadWholeFile(candidate);
      hasPalette = true;
      break;
    }
  }
  TakePicture(DecodeWithPalette(picture, hasPalette ? &palette : nullptr));
}

}  // namespace corvane
