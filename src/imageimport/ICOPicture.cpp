#include "ICOPicture.h"

#include <algorithm>
#include <cstring>

#include "ByteReader.h"
#include "DIBDecoder.h"
#include "PNGPicture.h"

namespace corvane {

namespace {

constexpr uint16_t kIcon = 1, kCursor = 2;
constexpr size_t kEntrySize = 16, kEntrySizeField = 8, kEntryOffsetField = 12;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// In a PNG file: width, height, bit depth and colour type of the IHDR chunk.
constexpr size_t kPngWidth = 16, kPngHeight = 20, kPngBitDepth = 24, kPngColourType = 25, kPngHeaderEnd = 26;

struct TEntry {
  std::span<const uint8_t> Data;
  int64_t Area = -1;
  int Bits = 0;
  bool Png = false;
};

uint32_t Get32BE(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

int PngChannels(uint8_t colourType) {
  switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

// The entry's size and depth from its own header; an entry without one has area -1.
TEntry Measure(std::span<const uint8_t> data) {
  TEntry entry{data};
  if (data.size() >= kPngHeaderEnd && std::memcmp(data.data(), kPngSignature, sizeof kPngSignature) == 0) {
    entry.Png = true;
    // PNG sides are below 2^31, so the product fits.
    entry.Area = int64_t(std::min(Get32BE(&data[kPngWidth]), 0x7FFFFFFFu)) * std::min(Get32BE(&data[kPngHeight]), 0x7FFFFFFFu);
    entry.Bits = data[kPngBitDepth] * PngChannels(data[kPngColourType]);
    return entry;
  }
  try {
    TDIBSize size = DIBSizeOf(data, true);
    entry.Area = size.Width * size.Height;
    entry.Bits = size.Bits;
  } catch (const EInvalidGraphic&) {
  }
  return entry;
}

}  // namespace

std::unique_ptr<TBitmap> TICOPicture::Decode(std::span<const uint8_t> bytes) {
  TByteReader in(bytes, "Icon");
  uint16_t reserved = in.U16LE(), type = in.U16LE(), count = in.U16LE();
  if (reserved != 0 || (type != kIcon && type != kCursor) || count == 0) in.Invalid("not an icon or cursor file");
  TEntry best;
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = in.Take(kEntrySize);
    uint32_t size = uint32_t(e[kEntrySizeField]) | uint32_t(e[kEntrySizeField + 1]) << 8 |
                    uint32_t(e[kEntrySizeField + 2]) << 16 | uint32_t(e[kEntrySizeField + 3]) << 24;
    uint32_t offset = uint32_t(e[kEntryOffsetField]) | uint32_t(e[kEntryOffsetField + 1]) << 8 |
                      uint32_t(e[kEntryOffsetField + 2]) << 16 | uint32_t(e[kEntryOffsetField + 3]) << 24;
    if (offset >= bytes.size()) continue;
    TEntry entry = Measure(bytes.subspan(offset, std::min<size_t>(size, bytes.size() - offset)));
    if (entry.Area > best.Area || (entry.Area == best.Area && entry.Bits > best.Bits)) best = entry;
  }
  if (best.Area < 0) in.Invalid("no entry holds a picture");
  if (best.Png) return DecodePNG(best.Data);
  return DecodeDIB({best.Data, std::nullopt, true}, "Icon");
}

}  // namespace corvane
