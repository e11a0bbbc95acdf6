#include "SmallestLzw.h"

#include <algorithm>
#include <array>
#include <vector>

#include "gif/CodePacker.h"
#include "gif/FlexibleLzwRun.h"
#include "gif/GIFException.h"
#include "gif/GIFWriter.h"
#include "gif/Interlace.h"
#include "gif/LZWEncoder.h"
#include "gif/LzwClearPlan.h"

namespace corvane {

namespace {

constexpr int kSubBlockSize = 255;

// Counts the bytes written to it and keeps none.
class TByteCounter final : public TStream {
 public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void*, int64_t count) override {
    FCount += count;
    return count;
  }
  int64_t Seek(int64_t, TSeekOrigin) override { return FCount; }
  int64_t Count() const { return FCount; }

 private:
  int64_t FCount = 0;
};

struct TFrame {
  uint8_t MinCodeSize;
  int Width;
  int Height;
  bool Interlaced;
  const uint8_t* Pixels;
  int ColorCount;

  int CodeSize() const { return std::max<int>(2, MinCodeSize); }
};

int64_t DefaultCodedSize(const TFrame& frame) {
  TByteCounter counter;
  TLZWEncoder encoder;
  encoder.CompressPixels(counter, frame.MinCodeSize, frame.Width, frame.Height, frame.Interlaced,
                         frame.Pixels, frame.ColorCount);
  return counter.Count();
}

// Pixels, every one below the clear code and the colour count, and a code size that leaves
// room in 12-bit codes for the clear and end codes.
bool FlexibleCodes(const TFrame& frame) {
  if (!frame.Pixels || frame.Width <= 0 || frame.Height <= 0) return false;
  if (frame.MinCodeSize >= TFlexibleLzwRun::kMaxCodeSize) return false;
  int limit = std::min(frame.ColorCount, 1 << frame.CodeSize());
  if (limit > 255) return true;
  size_t count = size_t(frame.Width) * size_t(frame.Height);
  return std::all_of(frame.Pixels, frame.Pixels + count, [limit](uint8_t pixel) { return pixel < limit; });
}

// The pixels in coding order: the frame's own buffer, or the rows copied in interlace order.
const uint8_t* CodingOrder(const TFrame& frame, std::vector<uint8_t>& copy) {
  if (!frame.Interlaced) return frame.Pixels;
  const size_t width = size_t(frame.Width);
  copy.resize(width * size_t(frame.Height));
  uint8_t* out = copy.data();
  int row = 0;
  int pass = 0;
  do {
    out = std::copy_n(frame.Pixels + size_t(row) * width, width, out);
  } while (NextInterlacedRow(row, pass, frame.Height));
  return copy.data();
}

// The bits of the codes and the code after them (end or clear), at the widths the decoder
// reads them.
int64_t CodeListBits(const std::vector<uint16_t>& codes, int minCodeSize) {
  const int clear = 1 << minCodeSize;
  int64_t bits = 0;
  size_t sinceClear = 0;
  for (size_t i = 0; i < codes.size(); ++i) {
    if (codes[i] != clear) continue;
    bits += TFlexibleLzwRun::CodeBits(minCodeSize, i - sinceClear) + TFlexibleLzwRun::CodeWidth(minCodeSize, i - sinceClear);
    sinceClear = i + 1;
  }
  size_t tail = codes.size() - sinceClear;
  return bits + TFlexibleLzwRun::CodeBits(minCodeSize, tail) + TFlexibleLzwRun::CodeWidth(minCodeSize, tail);
}

int64_t DataBytes(const std::vector<uint16_t>& codes, int minCodeSize) {
  return (CodeListBits(codes, minCodeSize) + 7) / 8;
}

// The margins the flexible coder is tried with while its table grows (see TFlexibleLzwRun):
// each wins on some pictures, by up to a fifth of the bytes on patterned ones.
constexpr int kGrowingMargins[] = {1, 4};

// Sets the margin whose first cycle codes its pixels in the fewest bits and answers that
// cycle's plan: a picture's cycles mostly prefer the same margin, and a frame of one cycle is
// then complete.
TLzwPlan PlanFirstCycle(TLzwInput& input) {
  TLzwPlan best;
  int bestMargin = 0;
  double bestBitsPerPixel = 0;
  for (int margin : kGrowingMargins) {
    input.GrowingMargin = margin;
    TLzwPlan first = PlanLzwCodes(input, 1);
    const double bitsPerPixel = double(CodeListBits(first.Codes, input.MinCodeSize)) / double(first.Pixels);
    if (best.Codes.empty() || bitsPerPixel < bestBitsPerPixel) {
      best = std::move(first);
      bestMargin = margin;
      bestBitsPerPixel = bitsPerPixel;
    }
  }
  input.GrowingMargin = bestMargin;
  return best;
}

// The smallest of the plans of each way to end cycles, the greedy one going on from its first
// cycle. A noise-like frame keeps the greedy plan, whose cycles end before the table fills.
// Looking ahead, which takes up to four times as long as the greedy plan, pays only where the
// table finds short strings (a photo: more than half the code size in bits a pixel), whose
// cycles follow the picture's bands.
std::vector<uint16_t> SmallestPlan(const TLzwInput& input, TLzwPlan first) {
  TLzwPlan greedy = ContinueLzwPlan(input, std::move(first));
  if (greedy.NoiseLike) return std::move(greedy.Codes);
  std::vector<uint16_t> smallest = std::move(greedy.Codes);
  const int64_t greedyBits = CodeListBits(smallest, input.MinCodeSize);
  int64_t fewestBits = greedyBits;
  auto consider = [&](TClearSearch search) {
    TLzwPlan plan = PlanLzwCodes(input, SIZE_MAX, search);
    const int64_t bits = CodeListBits(plan.Codes, input.MinCodeSize);
    if (bits >= fewestBits) return;
    smallest = std::move(plan.Codes);
    fewestBits = bits;
  };
  consider(TClearSearch::AtFull);
  if (2 * greedyBits >= int64_t(input.Count) * input.MinCodeSize) consider(TClearSearch::LookAhead);
  return smallest;
}

std::vector<uint16_t> FlexibleCodeList(const TFrame& frame) {
  std::vector<uint8_t> ordered;
  TLzwInput input{CodingOrder(frame, ordered), size_t(frame.Width) * size_t(frame.Height), frame.CodeSize()};
  TLzwPlan first = PlanFirstCycle(input);
  if (first.Pixels == input.Count) return std::move(first.Codes);
  return SmallestPlan(input, std::move(first));
}

// The code size byte, the sub-blocks with their length bytes and the terminator.
int64_t CodedSize(int64_t dataBytes) { return 1 + dataBytes + (dataBytes + kSubBlockSize - 1) / kSubBlockSize + 1; }

void WriteCodes(TStream& stream, const std::vector<uint16_t>& codes, int minCodeSize) {
  const int clear = 1 << minCodeSize;
  stream.WriteByte(uint8_t(minCodeSize));
  TGIFWriter writer(stream);
  std::array<uint8_t, TCodePacker::kBufferSize> buffer;
  TCodePacker packer(writer, buffer.data());
  size_t sinceClear = 0;
  for (uint16_t code : codes) {
    packer.Put(code, TFlexibleLzwRun::CodeWidth(minCodeSize, sinceClear));
    sinceClear = code == clear ? 0 : sinceClear + 1;
  }
  packer.Put(clear + 1, TFlexibleLzwRun::CodeWidth(minCodeSize, sinceClear));
  packer.PadToByte();
  packer.Drain();
  writer.Finish();
  stream.WriteByte(0);
}

}  // namespace

void CompressPixelsSmallest(TStream& stream, uint8_t minCodeSize, int width, int height,
                            bool interlaced, const uint8_t* pixels, int colorCount) {
  TFrame frame{minCodeSize, width, height, interlaced, pixels, colorCount};
  std::vector<uint16_t> codes;
  if (FlexibleCodes(frame)) codes = FlexibleCodeList(frame);
  if (!codes.empty() && CodedSize(DataBytes(codes, frame.CodeSize())) < DefaultCodedSize(frame)) {
    WriteCodes(stream, codes, frame.CodeSize());
    return;
  }
  TLZWEncoder encoder;
  encoder.CompressPixels(stream, minCodeSize, width, height, interlaced, pixels, colorCount);
}

void CompressPixelsFlexible(TStream& stream, uint8_t minCodeSize, int width, int height,
                            bool interlaced, const uint8_t* pixels) {
  TFrame frame{minCodeSize, width, height, interlaced, pixels, 1 << std::max<int>(2, minCodeSize)};
  if (!FlexibleCodes(frame)) throw GIFException("Color not in color table");
  WriteCodes(stream, FlexibleCodeList(frame), frame.CodeSize());
}

int64_t SmallestCodedSize(uint8_t minCodeSize, int width, int height, bool interlaced,
                          const uint8_t* pixels, int colorCount) {
  TFrame frame{minCodeSize, width, height, interlaced, pixels, colorCount};
  int64_t size = DefaultCodedSize(frame);
  if (!FlexibleCodes(frame)) return size;
  return std::min(size, CodedSize(DataBytes(FlexibleCodeList(frame), frame.CodeSize())));
}

}  // namespace corvane
