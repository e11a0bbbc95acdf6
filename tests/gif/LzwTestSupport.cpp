#include "LzwTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "gif/LZWDecoder.h"
#include "platform/Stream.h"
#include "support/GiflibReader.h"

namespace corvane::test {

TBytes Encode(TGIFEncoder& encoder, const TBytes& pixels, int width, int height,
              uint8_t minCodeSize, bool interlaced, int colorCount) {
  TMemoryStream stream;
  encoder.CompressPixels(stream, minCodeSize, width, height, interlaced,
                         pixels.empty() ? nullptr : pixels.data(), colorCount);
  return stream.TakeBytes();
}

TDecoded Decode(const TBytes& coded, int width, int height, bool interlaced, uint8_t fill) {
  TDecoded result;
  result.Pixels.assign(size_t(width) * size_t(height), fill);
  TMemoryStream stream(coded);
  DecodeLzwPixels(stream, result.Pixels.data(), width, height, interlaced,
                  [&](const std::string& message) { result.Warnings.push_back(message); });
  result.EndPosition = stream.Position();
  return result;
}

namespace {
void PutWord(TBytes& bytes, int value) {
  bytes.push_back(uint8_t(value));
  bytes.push_back(uint8_t(value >> 8));
}
}  // namespace

TBytes WrapInGif(const TBytes& coded, int width, int height, int tableBits, bool interlaced) {
  TBytes file{'G', 'I', 'F', '8', '9', 'a'};
  PutWord(file, width);
  PutWord(file, height);
  file.push_back(uint8_t(0x80 | (tableBits - 1) << 4 | (tableBits - 1)));
  file.push_back(0);
  file.push_back(0);
  for (int i = 0; i < 1 << tableBits; ++i) {
    file.insert(file.end(), {uint8_t(i), uint8_t(i * 7), uint8_t(i * 13)});
  }
  file.push_back(0x2C);
  PutWord(file, 0);
  PutWord(file, 0);
  PutWord(file, width);
  PutWord(file, height);
  file.push_back(interlaced ? 0x40 : 0);
  file.insert(file.end(), coded.begin(), coded.end());
  file.push_back(0x3B);
  return file;
}

TBytes DecodeWithGiflib(const TBytes& coded, int width, int height, int tableBits,
                        bool interlaced) {
  TGiflibImage image = corvane::DecodeWithGiflib(WrapInGif(coded, width, height, tableBits, interlaced));
  if (image.Frames.size() != 1) return {};
  return image.Frames[0].Pixels;
}

TCodeWriter& TCodeWriter::Add(int code, int width) {
  FBits |= uint32_t(code) << FBitCount;
  FBitCount += width;
  while (FBitCount >= 8) {
    FData.push_back(uint8_t(FBits));
    FBits >>= 8;
    FBitCount -= 8;
  }
  return *this;
}

TBytes TCodeWriter::Bytes(bool terminator, int blockSize) const {
  TBytes data = FData;
  if (FBitCount > 0) data.push_back(uint8_t(FBits));
  TBytes coded{FMinCodeSize};
  for (size_t i = 0; i < data.size(); i += size_t(blockSize)) {
    size_t n = std::min(data.size() - i, size_t(blockSize));
    coded.push_back(uint8_t(n));
    coded.insert(coded.end(), data.begin() + long(i), data.begin() + long(i + n));
  }
  if (terminator) coded.push_back(0);
  return coded;
}

std::vector<int> SubBlockLengths(const TBytes& coded) {
  std::vector<int> lengths;
  size_t i = 1;
  while (i < coded.size() && coded[i] != 0) {
    lengths.push_back(coded[i]);
    i += coded[i] + 1u;
  }
  EXPECT_EQ(i + 1, coded.size()) << "the data must end with its terminator";
  return lengths;
}

TCodeList ListCodes(const TBytes& coded) {
  TBytes data;
  for (size_t i = 1; i < coded.size() && coded[i] != 0; i += coded[i] + 1u) {
    data.insert(data.end(), coded.begin() + long(i) + 1, coded.begin() + long(i + coded[i] + 1));
  }
  int minCodeSize = coded.at(0);
  int clear = 1 << minCodeSize;
  int width = minCodeSize + 1;
  int nextFree = clear + 2;
  bool first = true;
  TCodeList list;
  for (size_t bit = 0; bit + size_t(width) <= data.size() * 8;) {
    int code = 0;
    for (int b = 0; b < width; ++b, ++bit) code |= (data[bit / 8] >> (bit % 8) & 1) << b;
    list.Codes.push_back(code);
    list.Widths.push_back(width);
    if (code == clear + 1) break;
    if (code == clear) {
      width = minCodeSize + 1;
      nextFree = clear + 2;
      first = true;
      continue;
    }
    if (!first && nextFree < 4096 && ++nextFree == 1 << width && width < 12) ++width;
    first = false;
  }
  return list;
}

namespace {
// Slots of the hash table that doubling modulo 8009 visits from slot 1: 4004 of them.
std::set<int> DoublingOrbit() {
  std::set<int> orbit;
  for (int slot = 1; orbit.insert(slot).second;) slot = slot * 2 % 8009;
  return orbit;
}
}  // namespace

TBytes PixelsCrowdingOneProbeCycle() {
  std::set<int> orbit = DoublingOrbit();
  auto inOrbit = [&](int key) { return orbit.count((key ^ (key >> 4)) % 8009) > 0; };
  std::vector<TBytes> strings{{0}, {1}, {2}, {3}, {}, {}};
  std::set<int> keys;
  TBytes pixels{0};
  uint8_t first = 0;
  for (int crowded = 0; crowded < 4005;) {
    bool found = false;
    for (int code = int(strings.size()) - 1; code >= 0 && !found; --code) {
      if (strings[size_t(code)].empty() || strings[size_t(code)][0] != first) continue;
      for (uint8_t next = 0; next < 4 && !found; ++next) {
        int key = code << 8 | next;
        if (keys.count(key) || !inOrbit(key)) continue;
        const TBytes& s = strings[size_t(code)];
        pixels.insert(pixels.end(), s.begin() + 1, s.end());
        pixels.push_back(next);
        keys.insert(key);
        strings.push_back(s);
        strings.back().push_back(next);
        first = next;
        found = true;
        ++crowded;
      }
    }
    if (!found) ADD_FAILURE() << "no key left to crowd the probe cycle";
    if (!found) break;
  }
  pixels.resize(pixels.size() + 4000 - pixels.size() % 4000, 3);
  return pixels;
}

TBytes NoisePixels(size_t count, int colorCount, uint32_t seed) {
  std::mt19937 random(seed);
  TBytes pixels(count);
  for (auto& p : pixels) p = uint8_t(random() % uint32_t(colorCount));
  return pixels;
}

}  // namespace corvane::test
