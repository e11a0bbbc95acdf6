#include "JPEGFilePicture.h"

#include "ImportedPicture.h"
#include "jpegopt/JpegSession.h"
#include "platform/Stream.h"

namespace corvane {

namespace {

// Ink amounts as they come from libjpeg: Adobe's files store 255 - ink, others the ink.
uint8_t Channel(uint8_t colourInk, uint8_t blackInk, bool inverted) {
  unsigned colour = inverted ? colourInk : 255u - colourInk, light = inverted ? blackInk : 255u - blackInk;
  return uint8_t((colour * light + 127) / 255);
}

std::unique_ptr<TBitmap> DecodeFourComponents(TJpegDecompressor& decoder) {
  jpeg_decompress_struct& info = decoder.Info;
  info.out_color_space = JCS_CMYK;
  decoder.Run([&] { jpeg_start_decompress(&info); });
  CheckPictureSize(info.output_width, info.output_height, "JPEG");
  auto bitmap = std::make_unique<TBitmap>(int(info.output_width), int(info.output_height), TPixelFormat::pf24bit);
  std::vector<uint8_t> row(size_t(info.output_width) * 4);
  JSAMPROW rows[1] = {row.data()};
  bool inverted = info.saw_Adobe_marker;
  for (int y = 0; y < bitmap->Height(); ++y) {
    decoder.Run([&] { jpeg_read_scanlines(&info, rows, 1); });
    uint8_t* out = bitmap->ScanLine(y);
    for (size_t x = 0; x < info.output_width; ++x) {
      const uint8_t* cmyk = &row[4 * x];
      for (int c = 0; c < 3; ++c) out[3 * x + size_t(c)] = Channel(cmyk[2 - c], cmyk[3], inverted);
    }
  }
  decoder.Run([&] { jpeg_finish_decompress(&info); });
  return bitmap;
}

}  // namespace

void TJPEGFilePicture::LoadFromStream(TStream& stream) {
  TMemoryStream file(std::vector<uint8_t>(size_t(stream.Remaining())));
  stream.ReadBuffer(file.Memory(), file.Size());
  TJpegDecompressor decoder([](j_common_ptr) {});
  decoder.ReadHeader(file.Bytes());
  J_COLOR_SPACE space = decoder.Info.jpeg_color_space;
  if (space == JCS_CMYK || space == JCS_YCCK) {
    TJPEGImage::CopyFrom(*DecodeFourComponents(decoder));
    return;
  }
  TJPEGImage::LoadFromStream(file);
}

}  // namespace corvane
