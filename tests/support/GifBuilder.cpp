#include "GifBuilder.h"

#include <algorithm>

namespace corvane::test {

namespace {

void AppendSubBlocks(TBytes& out, const TBytes& data) {
  for (size_t start = 0; start < data.size(); start += 255) {
    size_t n = std::min<size_t>(255, data.size() - start);
    out.push_back(uint8_t(n));
    out.insert(out.end(), data.begin() + long(start), data.begin() + long(start + n));
  }
  out.push_back(0);
}

}  // namespace

TGifBuilder::TGifBuilder(int width, int height, const std::string& signature) {
  FData.assign(signature.begin(), signature.end());
  Word(uint16_t(width)).Word(uint16_t(height)).Byte(0).Byte(0).Byte(0);
}

TGifBuilder& TGifBuilder::GlobalTable(int bits, const std::vector<uint32_t>& rgb) {
  FData[10] = uint8_t(0x80 | ((bits - 1) << 4) | (bits - 1));
  for (int i = 0; i < (1 << bits); ++i) {
    uint32_t c = size_t(i) < rgb.size() ? rgb[size_t(i)] : uint32_t(i * 0x010101 * (255 / ((1 << bits) - 1)));
    Byte(uint8_t(c >> 16)).Byte(uint8_t(c >> 8)).Byte(uint8_t(c));
  }
  return *this;
}

TGifBuilder& TGifBuilder::ScreenBytes(uint8_t background, uint8_t aspect) {
  FData[11] = background;
  FData[12] = aspect;
  return *this;
}

TGifBuilder& TGifBuilder::Control(int disposal, int delay, int transparentIndex) {
  uint8_t flags = uint8_t((disposal & 7) << 2 | (transparentIndex >= 0 ? 1 : 0));
  return Bytes({0x21, 0xF9, 4, flags}).Word(uint16_t(delay)).Byte(uint8_t(transparentIndex >= 0 ? transparentIndex : 0)).Byte(0);
}

TGifBuilder& TGifBuilder::Comment(const std::vector<std::string>& lines) {
  Bytes({0x21, 0xFE});
  for (const std::string& line : lines) Byte(uint8_t(line.size())).Bytes(TBytes(line.begin(), line.end()));
  return Byte(0);
}

TGifBuilder& TGifBuilder::Loop(int repeatCount, const std::string& identifier) {
  return Application(identifier, {{1, uint8_t(repeatCount), uint8_t(repeatCount >> 8)}});
}

TGifBuilder& TGifBuilder::Application(const std::string& identifier, const std::vector<TBytes>& blocks) {
  Bytes({0x21, 0xFF, uint8_t(identifier.size())}).Bytes(TBytes(identifier.begin(), identifier.end()));
  for (const TBytes& block : blocks) Byte(uint8_t(block.size())).Bytes(block);
  return Byte(0);
}

TGifBuilder& TGifBuilder::PlainText(const std::vector<std::string>& lines) {
  Bytes({0x21, 0x01, 12}).Word(1).Word(2).Word(80).Word(16).Bytes({8, 16, 1, 0});
  for (const std::string& line : lines) Byte(uint8_t(line.size())).Bytes(TBytes(line.begin(), line.end()));
  return Byte(0);
}

TGifBuilder& TGifBuilder::Image(int left, int top, int width, int height, const TBytes& pixels, int minCodeSize,
                                int localBits, bool interlaced) {
  uint8_t flags = uint8_t((interlaced ? 0x40 : 0) | (localBits > 0 ? 0x80 | (localBits - 1) : 0));
  Descriptor(left, top, width, height, flags);
  for (int i = 0; i < (localBits > 0 ? 1 << localBits : 0); ++i) Bytes({uint8_t(255 - i), uint8_t(i), uint8_t(i * 7)});
  return Bytes(CodePixels(interlaced ? InterlaceRows(pixels, width, height) : pixels, minCodeSize));
}

TGifBuilder& TGifBuilder::Descriptor(int left, int top, int width, int height, uint8_t flags) {
  return Byte(0x2C).Word(uint16_t(left)).Word(uint16_t(top)).Word(uint16_t(width)).Word(uint16_t(height)).Byte(flags);
}

TGifBuilder& TGifBuilder::Byte(uint8_t value) {
  FData.push_back(value);
  return *this;
}

TGifBuilder& TGifBuilder::Bytes(const TBytes& bytes) {
  FData.insert(FData.end(), bytes.begin(), bytes.end());
  return *this;
}

TGifBuilder& TGifBuilder::Word(uint16_t value) { return Byte(uint8_t(value)).Byte(uint8_t(value >> 8)); }

TGifBuilder& TGifBuilder::SubBlocks(const TBytes& data) {
  AppendSubBlocks(FData, data);
  return *this;
}

TBytes CodePixels(const TBytes& pixels, int minCodeSize) {
  int codeSize = std::max(minCodeSize, 2);
  int clear = 1 << codeSize;
  int width = codeSize + 1;
  TBytes data;
  uint32_t bits = 0;
  int count = 0;
  auto put = [&](int code) {
    bits |= uint32_t(code) << count;
    for (count += width; count >= 8; count -= 8, bits >>= 8) data.push_back(uint8_t(bits));
  };
  // Each code after the first one following a clear defines an entry; a clear before the
  // entries reach the next width keeps every code at the starting width.
  int sinceClear = 0;
  put(clear);
  for (uint8_t pixel : pixels) {
    if (sinceClear == clear - 2) {
      put(clear);
      sinceClear = 0;
    }
    put(pixel);
    ++sinceClear;
  }
  put(clear + 1);
  if (count > 0) data.push_back(uint8_t(bits));
  TBytes coded{uint8_t(codeSize)};
  AppendSubBlocks(coded, data);
  return coded;
}

TBytes InterlaceRows(const TBytes& pixels, int width, int height) {
  TBytes rows;
  static constexpr int kStart[4] = {0, 4, 2, 1};
  static constexpr int kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStart[pass]; y < height; y += kStep[pass])
      rows.insert(rows.end(), pixels.begin() + long(y) * width, pixels.begin() + long(y + 1) * width);
  return rows;
}

}  // namespace corvane::test
