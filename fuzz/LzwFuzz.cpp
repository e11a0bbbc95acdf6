// Feeds arbitrary coded data to the LZW decoder, then codes the pixels it produced with both
// encoders and checks that they decode back unchanged.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gif/GIFException.h"
#include "gif/LZWDecoder.h"
#include "gif/LZWEncoder.h"
#include "gif/RLEEncoder.h"
#include "platform/Stream.h"

namespace {

using namespace corvane;

void ExpectRoundTrip(TGIFEncoder& encoder, const std::vector<uint8_t>& pixels, int width,
                     int height, bool interlaced) {
  TMemoryStream coded;
  encoder.CompressPixels(coded, 8, width, height, interlaced, pixels.data(), 256);
  std::vector<uint8_t> decoded(pixels.size(), 0);
  coded.SetPosition(0);
  DecodeLzwPixels(coded, decoded.data(), width, height, interlaced, {});
  if (decoded != pixels || coded.Position() != coded.Size()) std::abort();
}

}  // namespace

// Layout: width byte, height byte, flags byte (bit 0 interlaced), then the coded data.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  int width = data[0];
  int height = data[1];
  bool interlaced = data[2] & 1;
  std::vector<uint8_t> pixels(size_t(width) * size_t(height), 0xEE);
  TMemoryStream stream(std::vector<uint8_t>(data + 3, data + size));
  try {
    DecodeLzwPixels(stream, pixels.data(), width, height, interlaced, [](const std::string&) {});
  } catch (const GIFException&) {
  }
  if (pixels.empty()) return 0;
  TLZWEncoder lzw;
  ExpectRoundTrip(lzw, pixels, width, height, interlaced);
  TRLEEncoder rle;
  ExpectRoundTrip(rle, pixels, width, height, interlaced);
  return 0;
}
