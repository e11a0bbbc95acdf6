#include "RLAPicture.h"

#include <vector>

#include "ByteReader.h"

namespace corvane {

namespace {

constexpr size_t kHeaderSize = 740;
// Header fields: the active window, the channel counts and the channel depths.
constexpr size_t kActiveWindow = 8, kChannels = 20, kMattes = 22, kAuxiliaries = 24, kChannelBits = 658,
                 kMatteBits = 662;

int16_t Get16(const uint8_t* p) { return int16_t(p[0] << 8 | p[1]); }

// One channel of one scan line: a 16-bit length, then runs: n >= 0 repeats the next byte
// n + 1 times, n < 0 copies -n bytes.
void ReadChannel(TByteReader& in, std::vector<uint8_t>& out) {
  size_t length = uint16_t(in.U16BE());
  const uint8_t* p = in.Take(length);
  const uint8_t* end = p + length;
  size_t n = 0;
  std::fill(out.begin(), out.end(), 0);
  while (p < end && n < out.size()) {
    int code = int8_t(*p++);
    if (code >= 0) {
      if (p == end) break;
      for (int k = 0; k <= code && n < out.size(); ++k) out[n++] = *p;
      ++p;
    } else {
      for (int k = 0; k < -code && p < end && n < out.size(); ++k) out[n++] = *p++;
    }
  }
}

}  // namespace

std::unique_ptr<TBitmap> TRLAPicture::Decode(std::span<const uint8_t> bytes) {
  TByteReader in(bytes, "Wavefront RLA");
  const uint8_t* h = in.Take(kHeaderSize);
  int left = Get16(h + kActiveWindow), right = Get16(h + kActiveWindow + 2);
  int bottom = Get16(h + kActiveWindow + 4), top = Get16(h + kActiveWindow + 6);
  int channels = Get16(h + kChannels), mattes = Get16(h + kMattes), auxiliaries = Get16(h + kAuxiliaries);
  int channelBits = Get16(h + kChannelBits), matteBits = Get16(h + kMatteBits);
  if (channels != 1 && channels != 3) in.Invalid(std::to_string(channels) + " colour channels");
  if (mattes < 0 || auxiliaries < 0 || mattes + auxiliaries > 64) in.Invalid("a damaged channel count");
  if (channelBits != 8 || (mattes > 0 && matteBits != 8))
    in.Invalid(std::to_string(channelBits) + "-bit channels are not supported");
  int64_t width = int64_t(right) - left + 1, height = int64_t(top) - bottom + 1;
  CheckPictureSize(width, height, "Wavefront RLA");
  std::vector<uint32_t> offsets;
  for (int64_t y = 0; y < height; ++y) offsets.push_back(in.U32BE());

  auto bitmap = std::make_unique<TBitmap>(int(width), int(height), TPixelFormat::pf24bit);
  std::vector<std::vector<uint8_t>> lines(size_t(channels + (mattes > 0 ? 1 : 0)), std::vector<uint8_t>(size_t(width)));
  for (int64_t row = 0; row < height; ++row) {
    in.Seek(offsets[size_t(row)]);
    for (auto& line : lines) ReadChannel(in, line);
    uint8_t* out = bitmap->ScanLine(int(height - 1 - row));
    for (int64_t x = 0; x < width; ++x, out += 3) {
      uint8_t alpha = mattes > 0 ? lines.back()[size_t(x)] : 255;
      for (int c = 0; c < 3; ++c) out[2 - c] = OntoWhite(lines[channels == 3 ? size_t(c) : 0][size_t(x)], alpha);
    }
  }
  return bitmap;
}

}  // namespace corvane
