#include "PCXPicture.h"

#include <vector>

#include "ByteReader.h"

namespace corvane {

namespace {

constexpr uint8_t kManufacturer = 0x0A, kRunLengthEncoding = 1;
constexpr size_t kHeaderSize = 128, kHeaderPaletteOffset = 16, kPlanesOffset = 65;
// The 256-colour palette: a marker byte, then 256 RGB entries, at the end of the file.
constexpr uint8_t kPaletteMarker = 0x0C;
constexpr size_t kPaletteSize = 769;
constexpr uint8_t kRunFlag = 0xC0, kRunCountMask = 0x3F;

struct TRgb {
  uint8_t R = 0, G = 0, B = 0;
};

// Hands out the decoded bytes of the scan lines one after another; runs may cross lines.
class TRunReader {
 public:
  TRunReader(TByteReader& in, bool coded) : FIn(in), FCoded(coded) {}
  void ReadLine(std::vector<uint8_t>& line) {
    for (uint8_t& b : line) {
      if (!FCoded) {
        b = FIn.U8();
        continue;
      }
      while (FLeft == 0) {  // a run of no bytes gives nothing
        uint8_t code = FIn.U8();
        FLeft = 1, FValue = code;
        if ((code & kRunFlag) == kRunFlag) FLeft = code & kRunCountMask, FValue = FIn.U8();
      }
      --FLeft;
      b = FValue;
    }
  }

 private:
  TByteReader& FIn;
  bool FCoded;
  unsigned FLeft = 0;
  uint8_t FValue = 0;
};

std::vector<TRgb> ColoursOf(std::span<const uint8_t> bytes, int bits, int planes) {
  std::vector<TRgb> palette;
  if (bits == 1 && planes == 1) return {{0, 0, 0}, {255, 255, 255}};
  if (bits == 8 && planes == 1) {
    if (bytes.size() >= kHeaderSize + kPaletteSize && bytes[bytes.size() - kPaletteSize] == kPaletteMarker) {
      const uint8_t* p = bytes.data() + bytes.size() - kPaletteSize + 1;
      for (int i = 0; i < 256; ++i, p += 3) palette.push_back({p[0], p[1], p[2]});
    } else {
      for (int i = 0; i < 256; ++i) palette.push_back({uint8_t(i), uint8_t(i), uint8_t(i)});
    }
    return palette;
  }
  const uint8_t* p = bytes.data() + kHeaderPaletteOffset;
  for (int i = 0; i < 16; ++i, p += 3) palette.push_back({p[0], p[1], p[2]});
  return palette;
}

}  // namespace

std::unique_ptr<TBitmap> TPCXPicture::Decode(std::span<const uint8_t> bytes) {
  TByteReader in(bytes, "ZSoft Paintbrush");
  const uint8_t* h = in.Take(kHeaderSize);
  auto get16 = [h](size_t offset) { return int(h[offset] | h[offset + 1] << 8); };
  if (h[0] != kManufacturer) in.Invalid("not a Paintbrush file");
  int bits = h[3], planes = h[kPlanesOffset], bytesPerLine = get16(66);
  int width = get16(8) - get16(4) + 1, height = get16(10) - get16(6) + 1;
  bool indexed = (bits == 1 && planes <= 4) || ((bits == 2 || bits == 4) && planes == 1) || (bits == 8 && planes == 1);
  bool trueColour = bits == 8 && (planes == 3 || planes == 4);
  if (!indexed && !trueColour) in.Invalid(std::to_string(bits) + " bits per pixel in " + std::to_string(planes) + " planes");
  CheckPictureSize(width, height, "ZSoft Paintbrush");
  if (int64_t(bytesPerLine) * 8 < int64_t(width) * bits) in.Invalid("scan lines shorter than the picture");

  std::vector<TRgb> palette = indexed ? ColoursOf(bytes, bits, planes) : std::vector<TRgb>{};
  auto bitmap = std::make_unique<TBitmap>(width, height, TPixelFormat::pf24bit);
  std::vector<uint8_t> line(size_t(bytesPerLine) * size_t(planes));
  TRunReader runs(in, h[2] == kRunLengthEncoding);
  for (int y = 0; y < height; ++y) {
    runs.ReadLine(line);
    uint8_t* out = bitmap->ScanLine(y);
    for (int x = 0; x < width; ++x, out += 3) {
      if (trueColour) {
        for (int c = 0; c < 3; ++c) out[2 - c] = line[size_t(c) * size_t(bytesPerLine) + size_t(x)];
        continue;
      }
      unsigned index = 0;
      if (planes == 1) {
        size_t bit = size_t(x) * size_t(bits);
        index = (line[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
      } else {
        for (int p = 0; p < planes; ++p)
          index |= unsigned(line[size_t(p) * size_t(bytesPerLine) + size_t(x) / 8] >> (7 - x % 8) & 1) << p;
      }
      TRgb c = index < palette.size() ? palette[index] : TRgb{};
      out[0] = c.B, out[1] = c.G, out[2] = c.R;
    }
  }
  return bitmap;
}

}  // namespace corvane
