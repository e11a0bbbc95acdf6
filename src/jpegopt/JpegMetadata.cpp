#include "JpegMetadata.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "JpegSession.h"

namespace corvane {

namespace {

constexpr unsigned kMarkerPayload = 65533;  // a marker's length field counts itself too
constexpr char kExifHeader[] = "Exif\0";    // with the array's terminator: "Exif", two zeros
constexpr unsigned kExifHeaderBytes = sizeof kExifHeader;
constexpr int kApp1 = JPEG_APP0 + 1;
constexpr int kApp2 = JPEG_APP0 + 2;

bool IsExif(const jpeg_marker_struct& marker) {
  return marker.marker == kApp1 && marker.data_length >= kExifHeaderBytes &&
         std::memcmp(marker.data, kExifHeader, kExifHeaderBytes) == 0;
}

}  // namespace

TPictureMetadata ReadJpegMetadata(std::span<const uint8_t> bytes) {
  TJpegDecompressor decoder({});
  jpeg_decompress_struct& info = decoder.Info;
  decoder.Run([&] {
    for (int marker : {int(JPEG_COM), kApp1, kApp2}) jpeg_save_markers(&info, marker, 0xFFFF);
  });
  decoder.ReadHeader(bytes);
  TPictureMetadata metadata;
  for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
    const uint8_t* data = marker->data;
    if (marker->marker == JPEG_COM)
      metadata.Comments.emplace_back(data, data + marker->data_length);
    else if (IsExif(*marker) && metadata.Exif.empty())
      metadata.Exif.assign(data + kExifHeaderBytes, data + marker->data_length);
  }
  JOCTET* profile = nullptr;
  unsigned int length = 0;
  decoder.Run([&] { jpeg_read_icc_profile(&info, &profile, &length); });
  std::unique_ptr<JOCTET, decltype(&std::free)> owned(profile, &std::free);
  if (profile) metadata.Icc.assign(profile, profile + length);
  return metadata;
}

void WriteJpegMetadata(jpeg_compress_struct& info, const TPictureMetadata& metadata) noexcept {
  if (!metadata.Icc.empty())
    jpeg_write_icc_profile(&info, metadata.Icc.data(), static_cast<unsigned>(metadata.Icc.size()));
  if (!metadata.Exif.empty() && metadata.Exif.size() <= kMaxJpegExifBytes) {
    jpeg_write_m_header(&info, kApp1, static_cast<unsigned>(kExifHeaderBytes + metadata.Exif.size()));
    for (unsigned i = 0; i < kExifHeaderBytes; ++i) jpeg_write_m_byte(&info, kExifHeader[i]);
    for (uint8_t byte : metadata.Exif) jpeg_write_m_byte(&info, byte);
  }
  for (const std::string& comment : metadata.Comments) {
    size_t start = 0;
    do {  // an empty comment too gets its marker
      size_t length = std::min<size_t>(kMarkerPayload, comment.size() - start);
      jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.data() + start), unsigned(length));
      start += length;
    } while (start < comment.size());
  }
}

}  // namespace corvane
