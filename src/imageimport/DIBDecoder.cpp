#include "DIBDecoder.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "ByteReader.h"
#include "ImportedPicture.h"
#include "PNGPicture.h"

namespace corvane {

namespace {

// Compression field values.
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6;
// Info header sizes: the OS/2 1.x core header, and the fields of the Windows headers.
constexpr uint32_t kCoreHeader = 12, kInfoHeader = 40, kLargestHeader = 124;
constexpr size_t kMasksOffset = 40, kAlphaMaskOffset = 52;
// The largest palette kept; entries beyond it are never indexed by 8-bit pixels.
constexpr uint32_t kMaxPaletteEntries = 256;
// RLE escapes after a zero count.
constexpr uint8_t kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2;

struct THeader {
  uint32_t Size = 0;
  int64_t Width = 0, Height = 0;
  uint16_t Planes = 1, Bits = 0;
  uint32_t Compression = kRgb, ColoursUsed = 0;
  uint32_t Masks[4] = {};  // red, green, blue, alpha
  bool Os2 = false;        // OS/2 headers: 3-byte palette entries for the core one
};

uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

THeader ReadHeader(TByteReader& in) {
  THeader h;
  h.Size = Get32(in.Take(4));
  in.Seek(0);
  if (h.Size == kCoreHeader) {
    const uint8_t* p = in.Take(kCoreHeader);
    h.Width = Get16(p + 4);
    h.Height = Get16(p + 6);
    h.Planes = Get16(p + 8);
    h.Bits = Get16(p + 10);
    h.Os2 = true;
    return h;
  }
  if (h.Size < 16 || h.Size > kLargestHeader) in.Invalid("unknown header size " + std::to_string(h.Size));
  const uint8_t* p = in.Take(h.Size);
  h.Width = int32_t(Get32(p + 4));
  h.Height = int32_t(Get32(p + 8));
  h.Planes = Get16(p + 12);
  h.Bits = Get16(p + 14);
  if (h.Size >= 20) h.Compression = Get32(p + 16);
  if (h.Size >= 36) h.ColoursUsed = Get32(p + 32);
  // OS/2 2.x headers are 16 to 64 bytes long, but not of the Windows sizes.
  h.Os2 = h.Size != kInfoHeader && h.Size != 52 && h.Size != 56 && h.Size <= 64;
  if (h.Os2 && (h.Compression == kBitFields || h.Compression == kJpeg))
    in.Invalid(h.Compression == kBitFields ? "OS/2 Huffman-coded bitmaps are not supported" : "OS/2 RLE24 bitmaps are not supported");
  if (h.Compression == kBitFields || h.Compression == kAlphaBitFields) {
    size_t masks = h.Compression == kAlphaBitFields ? 4 : 3;
    if (h.Size >= kAlphaMaskOffset) {
      for (size_t i = 0; i < 3; ++i) h.Masks[i] = Get32(p + kMasksOffset + 4 * i);
      if (h.Size >= kAlphaMaskOffset + 4) h.Masks[3] = Get32(p + kAlphaMaskOffset);
    } else {
      const uint8_t* m = in.Take(4 * masks);
      for (size_t i = 0; i < masks; ++i) h.Masks[i] = Get32(m + 4 * i);
    }
  } else if (h.Bits == 16) {
    h.Masks[0] = 0x7C00, h.Masks[1] = 0x03E0, h.Masks[2] = 0x001F;
  } else if (h.Bits == 32) {
    h.Masks[0] = 0xFF0000, h.Masks[1] = 0xFF00, h.Masks[2] = 0xFF;
  }
  return h;
}

// One colour channel of a bit-field pixel, scaled from its mask's width to 8 bits.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Largest = 0;
  explicit TChannel(uint32_t mask) : Mask(mask), Shift(mask ? std::countr_zero(mask) : 0), Largest(mask >> Shift) {}
  uint8_t Of(uint32_t pixel) const {
    if (!Largest) return 0;
    return uint8_t((uint64_t((pixel & Mask) >> Shift) * 255 + Largest / 2) / Largest);
  }
};

struct TRgb {
  uint8_t B = 0, G = 0, R = 0;
};

std::vector<TRgb> ReadPalette(TByteReader& in, const THeader& h) {
  uint64_t count = h.ColoursUsed ? h.ColoursUsed : (h.Bits <= 8 ? 1u << h.Bits : 0);
  size_t entryBytes = h.Size == kCoreHeader ? 3 : 4;
  if (count * entryBytes > in.Remaining()) in.EndsEarly();
  std::vector<TRgb> palette;
  for (uint64_t i = 0; i < count; ++i) {
    const uint8_t* e = in.Take(entryBytes);
    if (i < kMaxPaletteEntries) palette.push_back({e[0], e[1], e[2]});
  }
  return palette;
}

// The picture as palette indices, bottom row first, from RLE8 or RLE4 codes. Decoding
// stops at the end of the bitmap, the end of the data or the last row.
std::vector<uint8_t> DecodeRle(TByteReader& in, int width, int height, bool rle4) {
  std::vector<uint8_t> indices(size_t(width) * size_t(height), 0);
  int64_t x = 0, y = 0;
  auto put = [&](uint8_t index) {
    if (x < width && y < height) indices[size_t(y) * size_t(width) + size_t(x)] = index;
    ++x;
  };
  while (y < height && in.Remaining() >= 2) {
    uint8_t count = in.U8(), value = in.U8();
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(rle4 ? uint8_t(i % 2 ? value & 15 : value >> 4) : value);
    } else if (value == kEndOfLine) {
      x = 0, ++y;
    } else if (value == kEndOfBitmap) {
      break;
    } else if (value == kDelta) {
      x += in.U8();
      y += in.U8();
    } else {
      size_t bytes = rle4 ? (value + 1u) / 2 : value;
      const uint8_t* data = in.Take(bytes);
      for (int i = 0; i < value; ++i) put(rle4 ? uint8_t(i % 2 ? data[i / 2] & 15 : data[i / 2] >> 4) : data[i]);
      if (bytes % 2 && in.Remaining()) in.Skip(1);
    }
  }
  return indices;
}

class TDIBReader {
 public:
  TDIBReader(const TDIBSource& source, const std::string& format) : FIn(source.Bytes, format), FSource(source) {}
  std::unique_ptr<TBitmap> Decode();

 private:
  void ReadPixels();
  void ReadRows();
  void ApplyIconMask();
  void Compose();

  TByteReader FIn;
  const TDIBSource& FSource;
  THeader FHeader;
  std::vector<TRgb> FPalette;
  std::unique_ptr<TBitmap> FBitmap;
  std::vector<uint8_t> FAlpha;  // per pixel, top row first; empty without alpha
  int FWidth = 0, FHeight = 0;
  bool FBottomUp = true;
};

std::unique_ptr<TBitmap> TDIBReader::Decode() {
  THeader& h = FHeader = ReadHeader(FIn);
  if (h.Planes != 1) FIn.Invalid(std::to_string(h.Planes) + " planes");
  bool rle = h.Compression == kRle8 || h.Compression == kRle4;
  static constexpr uint16_t kDepths[] = {1, 2, 4, 8, 16, 24, 32};
  if (std::find(std::begin(kDepths), std::end(kDepths), h.Bits) == std::end(kDepths) && h.Compression != kPng &&
      h.Compression != kJpeg)
    FIn.Invalid(std::to_string(h.Bits) + " bits per pixel");
  if (h.Compression > kAlphaBitFields || (h.Compression == kRle8 && h.Bits != 8) || (h.Compression == kRle4 && h.Bits != 4))
    FIn.Invalid("compression " + std::to_string(h.Compression) + " with " + std::to_string(h.Bits) + " bits per pixel");
  if (h.Compression == kJpeg) FIn.Invalid("a JPEG inside a bitmap is not supported");
  FBottomUp = h.Height > 0;
  int64_t height = FSource.Icon ? std::abs(h.Height) / 2 : std::abs(h.Height);
  if (rle && !FBottomUp) FIn.Invalid("a top-down bitmap cannot be run-length coded");
  CheckPictureSize(h.Width, height, "Windows bitmap");
  FWidth = int(h.Width), FHeight = int(height);
  FPalette = ReadPalette(FIn, h);
  if (FSource.PixelOffset) FIn.Seek(*FSource.PixelOffset);
  if (h.Compression == kPng) return DecodePNG(FSource.Bytes.subspan(FIn.Position()));
  // Uncompressed rows must all be there before a bitmap of their size is made.
  if (!rle && (uint64_t(FWidth) * h.Bits + 31) / 32 * 4 * uint64_t(FHeight) > FIn.Remaining()) FIn.EndsEarly();
  FBitmap = std::make_unique<TBitmap>(FWidth, FHeight, TPixelFormat::pf24bit);
  bool alpha = h.Masks[3] != 0 || (FSource.Icon && h.Bits == 32);
  if (alpha) FAlpha.assign(size_t(FWidth) * size_t(FHeight), 255);
  ReadPixels();
  if (FSource.Icon) ApplyIconMask();
  Compose();
  return std::move(FBitmap);
}

void TDIBReader::ReadPixels() {
  if (FHeader.Compression != kRle8 && FHeader.Compression != kRle4) return ReadRows();
  std::vector<uint8_t> indices = DecodeRle(FIn, FWidth, FHeight, FHeader.Compression == kRle4);
  for (int row = 0; row < FHeight; ++row) {
    uint8_t* out = FBitmap->ScanLine(FHeight - 1 - row);
    for (int x = 0; x < FWidth; ++x) {
      uint8_t index = indices[size_t(row) * size_t(FWidth) + size_t(x)];
      TRgb c = index < FPalette.size() ? FPalette[index] : TRgb{};
      out[3 * x] = c.B, out[3 * x + 1] = c.G, out[3 * x + 2] = c.R;
    }
  }
}

void TDIBReader::ReadRows() {
  const int bits = FHeader.Bits;
  const size_t stride = (size_t(FWidth) * bits + 31) / 32 * 4;
  const TChannel red(FHeader.Masks[0]), green(FHeader.Masks[1]), blue(FHeader.Masks[2]), alpha(FHeader.Masks[3]);
  for (int row = 0; row < FHeight; ++row) {
    const uint8_t* in = FIn.Take(stride);
    int y = FBottomUp ? FHeight - 1 - row : row;
    uint8_t* out = FBitmap->ScanLine(y);
    uint8_t* a = FAlpha.empty() ? nullptr : &FAlpha[size_t(y) * size_t(FWidth)];
    for (int x = 0; x < FWidth; ++x, out += 3) {
      if (bits <= 8) {
        size_t bit = size_t(x) * size_t(bits);
        unsigned index = (in[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        TRgb c = index < FPalette.size() ? FPalette[index] : TRgb{};
        out[0] = c.B, out[1] = c.G, out[2] = c.R;
      } else if (bits == 24) {
        std::copy_n(in + 3 * x, 3, out);
      } else {
        uint32_t pixel = bits == 16 ? Get16(in + 2 * x) : Get32(in + 4 * x);
        out[0] = blue.Of(pixel), out[1] = green.Of(pixel), out[2] = red.Of(pixel);
        if (a) a[x] = FHeader.Masks[3] ? alpha.Of(pixel) : uint8_t(pixel >> 24);
      }
    }
  }
}

// The AND mask of an icon: a set bit makes the pixel transparent, unless alpha says more.
void TDIBReader::ApplyIconMask() {
  if (!FAlpha.empty() && std::any_of(FAlpha.begin(), FAlpha.end(), [](uint8_t v) { return v != 0; })) return;
  const size_t stride = (size_t(FWidth) + 31) / 32 * 4;
  if (FIn.Remaining() < stride * size_t(FHeight)) {
    FAlpha.clear();  // no mask: the picture is opaque
    return;
  }
  FAlpha.assign(size_t(FWidth) * size_t(FHeight), 255);
  for (int row = 0; row < FHeight; ++row) {
    const uint8_t* in = FIn.Take(stride);
    int y = FBottomUp ? FHeight - 1 - row : row;
    for (int x = 0; x < FWidth; ++x)
      if (in[x / 8] & (0x80 >> (x % 8))) FAlpha[size_t(y) * size_t(FWidth) + size_t(x)] = 0;
  }
}

void TDIBReader::Compose() {
  if (FAlpha.empty() || std::all_of(FAlpha.begin(), FAlpha.end(), [](uint8_t v) { return v == 0; })) return;
  for (int y = 0; y < FHeight; ++y) {
    uint8_t* out = FBitmap->ScanLine(y);
    const uint8_t* a = &FAlpha[size_t(y) * size_t(FWidth)];
    for (int i = 0; i < 3 * FWidth; ++i) out[i] = OntoWhite(out[i], a[i / 3]);
  }
}

}  // namespace

std::unique_ptr<TBitmap> DecodeDIB(const TDIBSource& source, const std::string& format) {
  return TDIBReader(source, format).Decode();
}

TDIBSize DIBSizeOf(std::span<const uint8_t> header, bool icon) {
  TByteReader in(header, "Windows bitmap");
  THeader h = ReadHeader(in);
  return {h.Width, icon ? std::abs(h.Height) / 2 : std::abs(h.Height), h.Bits};
}

}  // namespace corvane
