#include "PSDPicture.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "ByteReader.h"

namespace corvane {

namespace {

constexpr uint16_t kPsd = 1, kPsb = 2;
enum TColourMode : uint16_t { kBitmap = 0, kGrey = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kMultichannel = 7, kDuotone = 8, kLab = 9 };
constexpr uint16_t kRaw = 0, kPackBits = 1;
constexpr size_t kPaletteSize = 768;
constexpr uint16_t kMaxChannels = 56;

struct THeader {
  uint16_t Version = kPsd, Channels = 0, Depth = 0, Mode = 0;
  uint32_t Height = 0, Width = 0;
};

// Photoshop's 32-bit documents hold linear light; shown through the sRGB curve.
uint8_t LinearToSrgb(float v) {
  if (!(v > 0)) return 0;
  if (v >= 1) return 255;
  double s = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(double(v), 1 / 2.4) - 0.055;
  return uint8_t(std::lround(s * 255));
}

int ColourChannels(uint16_t mode, uint16_t channels) {
  switch (mode) {
    case kRgb: return 3;
    case kCmyk: return 4;
    case kMultichannel: return channels >= 3 ? 3 : 1;
    default: return 1;
  }
}

class TPSDReader {
 public:
  explicit TPSDReader(std::span<const uint8_t> bytes) : FBytes(bytes), FIn(bytes, "Photoshop") {}
  std::unique_ptr<TBitmap> Decode();

 private:
  void ReadHeader();
  void ReadSections();
  void LocateRows(int channels);
  // The samples of one row of one channel, unpacked.
  const uint8_t* Row(int channel, uint32_t y);
  uint8_t Sample(const uint8_t* row, uint32_t x, bool colour) const;

  std::span<const uint8_t> FBytes;
  TByteReader FIn;
  THeader FHeader;
  std::vector<uint8_t> FPalette;
  bool FMergedAlpha = false;
  size_t FRowBytes = 0;
  uint16_t FCompression = kRaw;
  std::vector<uint64_t> FRowStart;  // per channel and row, where its data starts
  std::vector<uint64_t> FRowEnd;
  std::vector<std::vector<uint8_t>> FUnpacked;  // a row buffer per channel
};

void TPSDReader::ReadHeader() {
  if (FBytes.size() < 4 || std::memcmp(FBytes.data(), "8BPS", 4) != 0) FIn.Invalid("not a Photoshop file");
  FIn.Skip(4);
  THeader& h = FHeader;
  h.Version = FIn.U16BE();
  FIn.Skip(6);
  h.Channels = FIn.U16BE();
  h.Height = FIn.U32BE();
  h.Width = FIn.U32BE();
  h.Depth = FIn.U16BE();
  h.Mode = FIn.U16BE();
  if (h.Version != kPsd && h.Version != kPsb) FIn.Invalid("unknown version " + std::to_string(h.Version));
  if (h.Channels == 0 || h.Channels > kMaxChannels) FIn.Invalid(std::to_string(h.Channels) + " channels");
  if (h.Depth != 1 && h.Depth != 8 && h.Depth != 16 && h.Depth != 32) FIn.Invalid(std::to_string(h.Depth) + "-bit channels");
  if ((h.Mode == kBitmap) != (h.Depth == 1)) FIn.Invalid("bitmap mode needs 1-bit channels");
  if (h.Mode == kLab) FIn.Invalid("Lab colour files are not supported");
  if (h.Mode != kBitmap && h.Mode != kGrey && h.Mode != kIndexed && h.Mode != kRgb && h.Mode != kCmyk &&
      h.Mode != kMultichannel && h.Mode != kDuotone)
    FIn.Invalid("colour mode " + std::to_string(h.Mode));
  if (h.Channels < ColourChannels(h.Mode, h.Channels)) FIn.Invalid("too few channels for the colour mode");
  CheckPictureSize(h.Width, h.Height, "Photoshop");
}

// The colour mode data (an indexed file's palette), the image resources, and the layer
// section, whose negative layer count says that the merged image's first extra channel
// is its transparency.
void TPSDReader::ReadSections() {
  uint32_t modeData = FIn.U32BE();
  if (FHeader.Mode == kIndexed) {
    if (modeData < kPaletteSize) FIn.Invalid("an indexed file without its palette");
    const uint8_t* palette = FIn.Take(kPaletteSize);
    FPalette.assign(palette, palette + kPaletteSize);
    FIn.Skip(modeData - kPaletteSize);
  } else {
    FIn.Skip(modeData);
  }
  FIn.Skip(FIn.U32BE());  // image resources
  bool big = FHeader.Version == kPsb;
  uint64_t layers = big ? uint64_t(FIn.U32BE()) << 32 | FIn.U32BE() : FIn.U32BE();
  if (layers > FIn.Remaining()) FIn.EndsEarly();
  size_t end = FIn.Position() + size_t(layers);
  if (layers >= (big ? 10u : 6u)) {
    uint64_t info = big ? uint64_t(FIn.U32BE()) << 32 | FIn.U32BE() : FIn.U32BE();
    if (info >= 2) FMergedAlpha = int16_t(FIn.U16BE()) < 0;
  }
  FIn.Seek(end);
}

void TPSDReader::LocateRows(int channels) {
  const THeader& h = FHeader;
  FRowBytes = h.Depth == 1 ? (size_t(h.Width) + 7) / 8 : size_t(h.Width) * (h.Depth / 8);
  FCompression = FIn.U16BE();
  size_t rows = size_t(channels) * h.Height;
  FRowStart.resize(rows);
  FRowEnd.resize(rows);
  if (FCompression == kRaw) {
    uint64_t start = FIn.Position();
    if (uint64_t(h.Channels) * h.Height * FRowBytes > FIn.Remaining()) FIn.EndsEarly();
    for (size_t i = 0; i < rows; ++i) FRowStart[i] = start + i * FRowBytes, FRowEnd[i] = FRowStart[i] + FRowBytes;
  } else if (FCompression == kPackBits) {
    size_t countBytes = h.Version == kPsb ? 4 : 2;
    uint64_t allRows = uint64_t(h.Channels) * h.Height;
    if (allRows * countBytes > FIn.Remaining()) FIn.EndsEarly();
    uint64_t start = FIn.Position() + allRows * countBytes;
    for (size_t i = 0; i < rows; ++i) {
      uint64_t length = countBytes == 4 ? FIn.U32BE() : FIn.U16BE();
      FRowStart[i] = start, FRowEnd[i] = start += length;
    }
    if (start > FBytes.size()) FIn.EndsEarly();
  } else {
    FIn.Invalid("a merged image with compression " + std::to_string(FCompression));
  }
  FUnpacked.assign(size_t(channels), std::vector<uint8_t>(FCompression == kRaw ? 0 : FRowBytes));
}

const uint8_t* TPSDReader::Row(int channel, uint32_t y) {
  size_t i = size_t(channel) * FHeader.Height + y;
  const uint8_t* in = FBytes.data() + FRowStart[i];
  if (FCompression == kRaw) return in;
  const uint8_t* end = FBytes.data() + FRowEnd[i];
  std::vector<uint8_t>& out = FUnpacked[size_t(channel)];
  std::fill(out.begin(), out.end(), 0);  // rows that unpack short end in zeros
  size_t n = 0;
  while (in < end && n < out.size()) {
    int code = int8_t(*in++);
    if (code >= 0) {
      for (int k = 0; k <= code && in < end; ++k, ++in)
        if (n < out.size()) out[n++] = *in;
    } else if (code != -128 && in < end) {
      for (int k = 0; k <= -code && n < out.size(); ++k) out[n++] = *in;
      ++in;
    }
  }
  return out.data();
}

uint8_t TPSDReader::Sample(const uint8_t* row, uint32_t x, bool colour) const {
  switch (FHeader.Depth) {
    case 1: return row[x / 8] & (0x80 >> (x % 8)) ? 0 : 255;
    case 8: return row[x];
    case 16: return uint8_t((unsigned(row[2 * x] << 8 | row[2 * x + 1]) * 255 + 32767) / 65535);
    default: {
      const uint8_t* p = row + 4 * size_t(x);
      uint32_t bits = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
      float v;
      std::memcpy(&v, &bits, sizeof v);
      if (colour) return LinearToSrgb(v);
      return !(v > 0) ? 0 : v >= 1 ? 255 : uint8_t(std::lround(v * 255));
    }
  }
}

std::unique_ptr<TBitmap> TPSDReader::Decode() {
  ReadHeader();
  ReadSections();
  const THeader& h = FHeader;
  int colours = ColourChannels(h.Mode, h.Channels);
  bool alpha = FMergedAlpha && h.Channels > colours;
  LocateRows(colours + (alpha ? 1 : 0));
  auto bitmap = std::make_unique<TBitmap>(int(h.Width), int(h.Height), TPixelFormat::pf24bit);
  const uint8_t* rows[5];
  for (uint32_t y = 0; y < h.Height; ++y) {
    for (int c = 0; c < colours + (alpha ? 1 : 0); ++c) rows[c] = Row(c, y);
    uint8_t* out = bitmap->ScanLine(int(y));
    for (uint32_t x = 0; x < h.Width; ++x, out += 3) {
      uint8_t rgb[3];
      if (h.Mode == kIndexed) {
        uint8_t index = rows[0][x];
        for (int c = 0; c < 3; ++c) rgb[c] = FPalette[size_t(c) * 256 + index];
      } else if (h.Mode == kCmyk) {
        // Stored as 255 - ink.
        unsigned black = Sample(rows[3], x, true);
        for (int c = 0; c < 3; ++c) rgb[c] = uint8_t((Sample(rows[c], x, true) * black + 127) / 255);
      } else {
        for (int c = 0; c < 3; ++c) rgb[c] = Sample(rows[colours == 3 ? c : 0], x, true);
      }
      uint8_t a = alpha ? Sample(rows[colours], x, false) : 255;
      for (int c = 0; c < 3; ++c) out[2 - c] = OntoWhite(rgb[c], a);
    }
  }
  return bitmap;
}

}  // namespace

std::unique_ptr<TBitmap> TPSDPicture::Decode(std::span<const uint8_t> bytes) { return TPSDReader(bytes).Decode(); }

}  // namespace corvane
