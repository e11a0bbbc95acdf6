#pragma once
// The metadata a JPEG file made from a picture can carry over from it: the ICC colour
// profile, the EXIF block and the comments; read from a JPEG file, written while compressing.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct jpeg_compress_struct;

namespace corvane {

struct TPictureMetadata {
  std::vector<uint8_t> Icc;
  std::vector<uint8_t> Exif;  // the TIFF structure, from its byte-order mark on
  std::vector<std::string> Comments;

  bool Empty() const { return Icc.empty() && Exif.empty() && Comments.empty(); }
};

// The largest EXIF block one APP1 marker holds, after its "Exif\0\0" header.
constexpr size_t kMaxJpegExifBytes = 65533 - 6;

// The metadata of the JPEG file in bytes; EJPEG when it is not a JPEG file.
TPictureMetadata ReadJpegMetadata(std::span<const uint8_t> bytes);

// Writes the markers, right after jpeg_start_compress: the profile in APP2 markers, the EXIF
// block in APP1 (left out when larger than kMaxJpegExifBytes), each comment in COM markers.
// Calls the library only, so it may run inside TJpegSession::Run.
void WriteJpegMetadata(jpeg_compress_struct& info, const TPictureMetadata& metadata) noexcept;

}  // namespace corvane
