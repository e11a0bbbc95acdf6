#include "TGAPicture.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ByteReader.h"

namespace corvane {

namespace {

constexpr uint8_t kMapped = 1, kTrueColour = 2, kGrey = 3, kRunLength = 8;
constexpr uint8_t kOriginTop = 0x20, kOriginRight = 0x10, kAlphaBitsMask = 0x0F;
// The footer: extension-area offset, developer-area offset, signature.
constexpr char kSignature[] = "TRUEVISION-XFILE.";
constexpr size_t kFooterSize = 26, kExtensionSize = 495, kAttributesTypeOffset = 494;
// Attributes types 0 to 2 say the alpha bits hold nothing; 4 says colours are premultiplied.
constexpr uint8_t kAlphaUseful = 3, kAlphaPremultiplied = 4;

struct TRgba {
  uint8_t R = 0, G = 0, B = 0, A = 255;
};

struct THeader {
  uint8_t IdLength, MapType, ImageType;
  uint16_t MapFirst, MapLength;
  uint8_t MapDepth;
  uint16_t Width, Height;
  uint8_t Depth, Descriptor;
};

THeader ReadHeader(TByteReader& in) {
  THeader h{};
  h.IdLength = in.U8();
  h.MapType = in.U8();
  h.ImageType = in.U8();
  h.MapFirst = in.U16LE();
  h.MapLength = in.U16LE();
  h.MapDepth = in.U8();
  in.Skip(4);  // the screen position
  h.Width = in.U16LE();
  h.Height = in.U16LE();
  h.Depth = in.U8();
  h.Descriptor = in.U8();
  return h;
}

uint8_t Widen5(unsigned v) { return uint8_t((v * 255 + 15) / 31); }

// A pixel or colour-map entry of 15, 16, 24 or 32 bits.
TRgba ColourOf(const uint8_t* p, int depth) {
  if (depth == 24) return {p[2], p[1], p[0], 255};
  if (depth == 32) return {p[2], p[1], p[0], p[3]};
  unsigned v = unsigned(p[0] | p[1] << 8);
  return {Widen5(v >> 10 & 31), Widen5(v >> 5 & 31), Widen5(v & 31), uint8_t(v & 0x8000 ? 255 : 0)};
}

// The attributes type of the extension area, or kAlphaUseful when the file has none.
uint8_t AttributesType(std::span<const uint8_t> bytes) {
  if (bytes.size() < kFooterSize) return kAlphaUseful;
  const uint8_t* footer = bytes.data() + bytes.size() - kFooterSize;
  if (std::memcmp(footer + 8, kSignature, sizeof kSignature) != 0) return kAlphaUseful;
  size_t extension = size_t(footer[0] | footer[1] << 8 | footer[2] << 16) | size_t(footer[3]) << 24;
  if (extension == 0 || extension > bytes.size() - kFooterSize || bytes.size() - kFooterSize - extension < kExtensionSize)
    return kAlphaUseful;
  return bytes[extension + kAttributesTypeOffset];
}

// Hands out the pixels in file order, undoing the run-length coding; runs may cross rows.
class TPixelStream {
 public:
  TPixelStream(TByteReader& in, size_t pixelBytes, bool runLength) : FIn(in), FBytes(pixelBytes), FRunLength(runLength) {}
  const uint8_t* Next() {
    if (!FRunLength) return FIn.Take(FBytes);
    if (FLeft == 0) {
      uint8_t packet = FIn.U8();
      FLeft = (packet & 0x7F) + 1;
      FRepeat = packet & 0x80;
      if (FRepeat) FPixel = FIn.Take(FBytes);
    }
    --FLeft;
    return FRepeat ? FPixel : FIn.Take(FBytes);
  }

 private:
  TByteReader& FIn;
  size_t FBytes;
  bool FRunLength;
  unsigned FLeft = 0;
  bool FRepeat = false;
  const uint8_t* FPixel = nullptr;
};

}  // namespace

std::unique_ptr<TBitmap> TTGAPicture::Decode(std::span<const uint8_t> bytes) {
  TByteReader in(bytes, "Truevision");
  THeader h = ReadHeader(in);
  uint8_t kind = h.ImageType & ~kRunLength;
  bool depthFits = kind == kTrueColour ? (h.Depth == 15 || h.Depth == 16 || h.Depth == 24 || h.Depth == 32)
                   : kind == kMapped   ? (h.Depth == 8 || h.Depth == 16)
                   : kind == kGrey     ? (h.Depth == 8 || h.Depth == 16)
                                       : false;
  if (kind != kMapped && kind != kTrueColour && kind != kGrey)
    in.Invalid("image type " + std::to_string(h.ImageType) + " holds no picture this reader knows");
  if (!depthFits) in.Invalid(std::to_string(h.Depth) + "-bit pixels in image type " + std::to_string(h.ImageType));
  if (h.MapType > 1) in.Invalid("unknown colour map type " + std::to_string(h.MapType));
  if (kind == kMapped && h.MapType != 1) in.Invalid("a colour-mapped picture without a colour map");
  CheckPictureSize(h.Width, h.Height, "Truevision");
  in.Skip(h.IdLength);

  std::vector<TRgba> map;
  if (h.MapType == 1) {
    if (h.MapDepth != 15 && h.MapDepth != 16 && h.MapDepth != 24 && h.MapDepth != 32)
      in.Invalid(std::to_string(h.MapDepth) + "-bit colour map entries");
    size_t entryBytes = (h.MapDepth + 7u) / 8;
    if (kind != kMapped) {
      in.Skip(h.MapLength * entryBytes);  // a map that true-colour and grey pictures do not use
    } else {
      for (int i = 0; i < h.MapLength; ++i) map.push_back(ColourOf(in.Take(entryBytes), h.MapDepth));
    }
  }

  unsigned alphaBits = h.Descriptor & kAlphaBitsMask;
  uint8_t attributes = AttributesType(bytes);
  int colourDepth = kind == kMapped ? h.MapDepth : h.Depth;
  bool alpha = alphaBits > 0 && attributes >= kAlphaUseful && (colourDepth == 16 || colourDepth == 32);
  bool premultiplied = attributes == kAlphaPremultiplied;
  bool top = h.Descriptor & kOriginTop, right = h.Descriptor & kOriginRight;

  bool runLength = h.ImageType & kRunLength;
  if (!runLength && uint64_t(h.Width) * h.Height * ((h.Depth + 7u) / 8) > in.Remaining()) in.EndsEarly();
  auto bitmap = std::make_unique<TBitmap>(h.Width, h.Height, TPixelFormat::pf24bit);
  std::vector<uint8_t> alphas(alpha ? size_t(h.Width) * h.Height : 0);
  TPixelStream pixels(in, (h.Depth + 7u) / 8, runLength);
  bool anyAlpha = false;
  for (int row = 0; row < h.Height; ++row) {
    int y = top ? row : h.Height - 1 - row;
    uint8_t* out = bitmap->ScanLine(y);
    for (int column = 0; column < h.Width; ++column) {
      const uint8_t* p = pixels.Next();
      TRgba c;
      if (kind == kGrey) {
        c = {p[0], p[0], p[0], h.Depth == 16 ? p[1] : uint8_t(255)};
      } else if (kind == kMapped) {
        unsigned index = h.Depth == 16 ? unsigned(p[0] | p[1] << 8) : p[0];
        if (index < h.MapFirst || index - h.MapFirst >= map.size())
          in.Invalid("colour index " + std::to_string(index) + " lies outside the colour map");
        c = map[index - h.MapFirst];
      } else {
        c = ColourOf(p, h.Depth);
      }
      int x = right ? h.Width - 1 - column : column;
      out[3 * x] = c.B;
      out[3 * x + 1] = c.G;
      out[3 * x + 2] = c.R;
      if (alpha) {
        alphas[size_t(y) * h.Width + size_t(x)] = c.A;
        anyAlpha |= c.A != 0;
      }
    }
  }
  if (!anyAlpha) return bitmap;
  for (int y = 0; y < h.Height; ++y) {
    uint8_t* out = bitmap->ScanLine(y);
    const uint8_t* a = alphas.data() + size_t(y) * h.Width;
    for (int i = 0; i < 3 * h.Width; ++i)
      out[i] = premultiplied ? uint8_t(std::min(255, out[i] + 255 - a[i / 3])) : OntoWhite(out[i], a[i / 3]);
  }
  return bitmap;
}

}  // namespace corvane
