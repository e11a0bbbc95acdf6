#include "FlicCel.h"

#include <algorithm>
#include <vector>

#include "ByteReader.h"
#include "ImportedPicture.h"

namespace corvane {

namespace {

constexpr uint16_t kFlc = 0xAF12, kFli = 0xAF11;
constexpr size_t kHeaderSize = 128, kMagicOffset = 4, kFirstFrameOffset = 80;
constexpr uint16_t kFrame = 0xF1FA;
// Chunks of a frame that make its first picture; others (deltas, stamps) are skipped.
constexpr uint16_t kColour256 = 4, kColour64 = 11, kBlack = 13, kByteRun = 15, kCopy = 16;
constexpr size_t kChunkHeader = 6, kFrameHeader = 16;

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return uint32_t(Get16(p)) | uint32_t(Get16(p + 2)) << 16; }

void ReadPalette(TByteReader& in, std::vector<uint8_t>& palette, bool sixBit) {
  size_t index = 0;
  for (uint16_t packets = in.U16LE(); packets > 0; --packets) {
    index += in.U8();
    size_t count = in.U8();
    if (count == 0) count = 256;
    const uint8_t* rgb = in.Take(3 * count);
    for (size_t i = 0; i < 3 * count && 3 * index + i < palette.size(); ++i)
      palette[3 * index + i] = sixBit ? uint8_t((std::min<unsigned>(rgb[i], 63) * 255 + 31) / 63) : rgb[i];
    index += count;
  }
}

void ReadByteRun(TByteReader& in, std::vector<uint8_t>& pixels, int width, int height) {
  for (int y = 0; y < height; ++y) {
    in.Skip(1);  // the old packet count, unreliable for wide pictures
    uint8_t* row = &pixels[size_t(y) * size_t(width)];
    for (int x = 0; x < width;) {
      int count = int8_t(in.U8());
      if (count >= 0) {
        uint8_t value = in.U8();
        for (int i = 0; i < count && x < width; ++i) row[x++] = value;
      } else {
        const uint8_t* literal = in.Take(size_t(-count));
        for (int i = 0; i < -count && x < width; ++i) row[x++] = literal[i];
      }
    }
  }
}

}  // namespace

bool IsFlic(std::span<const uint8_t> bytes) {
  if (bytes.size() < kMagicOffset + 2) return false;
  uint16_t magic = Get16(bytes.data() + kMagicOffset);
  return magic == kFlc || magic == kFli;
}

std::unique_ptr<TBitmap> DecodeFlicCel(std::span<const uint8_t> bytes) {
  TByteReader in(bytes, "Autodesk");
  const uint8_t* h = in.Take(kHeaderSize);
  int width = Get16(h + 8), height = Get16(h + 10), depth = Get16(h + 12);
  if (depth != 8 && depth != 0) in.Invalid(std::to_string(depth) + "-bit FLIC pictures are not supported");
  CheckPictureSize(width, height, "Autodesk");
  uint32_t first = Get16(h + kMagicOffset) == kFlc ? Get32(h + kFirstFrameOffset) : 0;
  in.Seek(first >= kHeaderSize ? first : kHeaderSize);
  // Skip the prefix chunk and anything else before the first frame.
  for (;;) {
    size_t start = in.Position();
    uint32_t size = in.U32LE();
    if (in.U16LE() == kFrame) {
      in.Seek(start);
      break;
    }
    if (size < kChunkHeader) in.Invalid("a chunk of " + std::to_string(size) + " bytes");
    in.Seek(start + size);
  }
  size_t frameStart = in.Position();
  uint32_t frameSize = in.U32LE();
  in.Skip(2);
  uint16_t chunks = in.U16LE();
  in.Seek(frameStart + kFrameHeader);
  std::vector<uint8_t> palette(768, 0), pixels(size_t(width) * size_t(height), 0);
  for (uint16_t i = 0; i < chunks && in.Position() < frameStart + frameSize; ++i) {
    size_t start = in.Position();
    uint32_t size = in.U32LE();
    uint16_t type = in.U16LE();
    if (size < kChunkHeader) in.Invalid("a chunk of " + std::to_string(size) + " bytes");
    if (type == kColour256 || type == kColour64) ReadPalette(in, palette, type == kColour64);
    if (type == kBlack) std::fill(pixels.begin(), pixels.end(), 0);
    if (type == kByteRun) ReadByteRun(in, pixels, width, height);
    if (type == kCopy) std::copy_n(in.Take(pixels.size()), pixels.size(), pixels.begin());
    in.Seek(start + size);
  }
  auto bitmap = std::make_unique<TBitmap>(width, height, TPixelFormat::pf24bit);
  for (int y = 0; y < height; ++y) {
    uint8_t* out = bitmap->ScanLine(y);
    for (int x = 0; x < width; ++x, out += 3) {
      const uint8_t* rgb = &palette[3 * size_t(pixels[size_t(y) * size_t(width) + size_t(x)])];
      out[0] = rgb[2], out[1] = rgb[1], out[2] = rgb[0];
    }
  }
  return bitmap;
}

}  // namespace corvane
