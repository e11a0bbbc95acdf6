// Codes pixels made from the input with the smallest-stream coder, the flexible stream alone
// and the default encoder, and checks that both new streams decode back unchanged, that the
// chosen one is never longer than the default encoder's and that its size estimate is exact.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gif/LZWDecoder.h"
#include "gif/LZWEncoder.h"
#include "gif/SmallestLzw.h"
#include "platform/Stream.h"

namespace {

using namespace corvane;

void ExpectDecodesTo(TMemoryStream& coded, const std::vector<uint8_t>& pixels, int width, int height,
                     bool interlaced) {
  std::vector<uint8_t> decoded(pixels.size(), 0xEE);
  coded.SetPosition(0);
  DecodeLzwPixels(coded, decoded.data(), width, height, interlaced, [](const std::string&) { std::abort(); });
  if (decoded != pixels || coded.Position() != coded.Size()) std::abort();
}

}  // namespace

// Layout: width - 1, 2 × (height - 1), flags (bit 0 interlaced, bits 1-3 code size - 1,
// bits 4-7 a drift), then pixel bytes that repeat, masked to the code size, each repetition
// shifted by the drift: long inputs repeat with variations, and fill the table many times.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int width = data[0] + 1;
  const int height = data[1] / 2 + 1;
  const bool interlaced = data[2] & 1;
  const int codeSize = (data[2] >> 1 & 7) + 1;
  const int drift = data[2] >> 4;
  const uint8_t* source = data + 3;
  const size_t length = size - 3;
  std::vector<uint8_t> pixels(size_t(width) * size_t(height));
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = uint8_t((source[i % length] + i / length * size_t(drift)) & ((1u << codeSize) - 1));
  }
  TMemoryStream flexible;
  CompressPixelsFlexible(flexible, uint8_t(codeSize), width, height, interlaced, pixels.data());
  ExpectDecodesTo(flexible, pixels, width, height, interlaced);
  TMemoryStream smallest;
  CompressPixelsSmallest(smallest, uint8_t(codeSize), width, height, interlaced, pixels.data(), 1 << codeSize);
  ExpectDecodesTo(smallest, pixels, width, height, interlaced);
  TMemoryStream greedy;
  TLZWEncoder encoder;
  encoder.CompressPixels(greedy, uint8_t(codeSize), width, height, interlaced, pixels.data(), 1 << codeSize);
  if (smallest.Size() > greedy.Size()) std::abort();
  if (SmallestCodedSize(uint8_t(codeSize), width, height, interlaced, pixels.data(), 1 << codeSize) != smallest.Size())
    std::abort();
  return 0;
}
