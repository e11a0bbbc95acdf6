#include "JPEGFilePicture.h"

#include <cstdio>
#include <cstring>

#include "ImportedPicture.h"
#include "jpegopt/JPEGException.h"
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

// libjpeg's own words for the error it raised, such as "Unsupported JPEG data precision
// 12", from its message table: the session keeps the library's formatting quiet.
[[noreturn]] void FailInWords(const TJpegDecompressor& decoder, const EJPEG& error) {
  const jpeg_error_mgr& manager = *decoder.Info.err;
  int code = manager.msg_code;
  if (code <= 0 || code > manager.last_jpeg_message) throw error;
  const char* pattern = manager.jpeg_message_table[code];
  const int* p = manager.msg_parm.i;
  char text[JMSG_LENGTH_MAX];
  if (std::strstr(pattern, "%s"))
    std::snprintf(text, sizeof text, pattern, manager.msg_parm.s);
  else
    std::snprintf(text, sizeof text, pattern, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
  throw EInvalidGraphic(std::string("JPEG picture cannot be read: ") + text);
}

}  // namespace

void TJPEGFilePicture::LoadFromStream(TStream& stream) {
  TMemoryStream file(std::vector<uint8_t>(size_t(stream.Remaining())));
  stream.ReadBuffer(file.Memory(), file.Size());
  TJpegDecompressor decoder([](j_common_ptr) {});
  std::unique_ptr<TBitmap> fourComponents;
  try {
    decoder.ReadHeader(file.Bytes());
    J_COLOR_SPACE space = decoder.Info.jpeg_color_space;
    if (space == JCS_CMYK || space == JCS_YCCK) fourComponents = DecodeFourComponents(decoder);
  } catch (const EJPEG& error) {
    FailInWords(decoder, error);
  }
  if (fourComponents)
    TJPEGImage::CopyFrom(*fourComponents);
  else
    TJPEGImage::LoadFromStream(file);
}

}  // namespace corvane
