#include "ReferenceLzwDecoder.h"

#include <array>

#include "gif/GIFException.h"

namespace corvane::test {
namespace {

class TReference {
 public:
  TReference(TStream& stream, std::vector<std::string>& warnings, int minCodeSize)
      : FStream(stream), FWarnings(warnings), FMinCodeSize(minCodeSize) {
    FClear = 1 << minCodeSize;
    FEnd = FClear + 1;
  }

  int NextPixelValue() { return FTop > 0 ? FStack[size_t(--FTop)] : StepDecoder(); }

 private:
  int FetchCode() {
    if (FStartPending) {
      FStartPending = false;
      return FClear;
    }
    if (FBitPos + FCodeSize >= FBitEnd) {
      if (FTerminatorSeen) {
        if (FBitPos >= FBitEnd) FWarnings.push_back("Decoder bit buffer under-run");
        return -1;
      }
      FBuffer[0] = FBuffer[size_t(FLastLength - 2)];
      FBuffer[1] = FBuffer[size_t(FLastLength - 1)];
      uint8_t length;
      if (FStream.Read(&length, 1) != 1) return -1;
      if (length == 0) {
        FTerminatorSeen = true;
      } else {
        if (FStream.Size() - FStream.Position() < length) {
          FWarnings.push_back("Premature end of data");
          length = uint8_t(FStream.Size() - FStream.Position());
        }
        if (FStream.Read(&FBuffer[2], length) != length) throw GIFException("Premature end of data");
      }
      FLastLength = length + 2;
      FBitPos = FBitPos - FBitEnd + 16;
      FBitEnd = (length + 2) * 8;
    }
    int code = 0;
    for (int bit = 0; bit < FCodeSize; ++bit, ++FBitPos) {
      code |= (FBuffer[size_t(FBitPos / 8)] >> (FBitPos % 8) & 1) << bit;
    }
    return code;
  }

  void Push(int value) {
    if (FTop == int(FStack.size())) throw GIFException("Circular decoder table entry");
    FStack[size_t(FTop++)] = value;
  }

  int StepDecoder() {
    int code = FetchCode();
    if (code < 0) return code;
    if (code == FClear) {
      for (int i = 0; i < 4096; ++i) {
        FPrefix[size_t(i)] = 0;
        FSuffix[size_t(i)] = i < FClear ? i : 0;
      }
      FCodeSize = FMinCodeSize + 1;
      FCodeLimit = 2 * FClear;
      FNextFree = FClear + 2;
      FTop = 0;
      do code = FetchCode();
      while (code == FClear);
      if (code < 0) return code;
      if (code != FEnd) {
        FFirst = FPrevious = code;
        return code;
      }
    }
    if (code == FEnd) {
      uint8_t length;
      while (!FTerminatorSeen && FStream.Read(&length, 1) == 1 && length != 0) {
        std::array<uint8_t, 255> skipped;
        FStream.Read(skipped.data(), length);
      }
      return -2;
    }
    int incoming = code;
    if (incoming >= FNextFree) {
      Push(FFirst);
      code = FPrevious;
    }
    while (code >= FClear) {
      Push(FSuffix[size_t(code)]);
      if (FPrefix[size_t(code)] == code) throw GIFException("Circular decoder table entry");
      code = FPrefix[size_t(code)];
    }
    FFirst = FSuffix[size_t(code)];
    Push(FFirst);
    if (FNextFree <= 4095) {
      FPrefix[size_t(FNextFree)] = FPrevious;
      FSuffix[size_t(FNextFree)] = FFirst;
      ++FNextFree;
      if (FNextFree >= FCodeLimit && FCodeLimit <= 4095) {
        FCodeLimit *= 2;
        ++FCodeSize;
      }
    }
    FPrevious = incoming;
    return FStack[size_t(--FTop)];
  }

  TStream& FStream;
  std::vector<std::string>& FWarnings;
  int FMinCodeSize;
  int FClear;
  int FEnd;
  int FCodeSize = 0;
  int FCodeLimit = 0;
  int FNextFree = 0;
  int FFirst = 0;
  int FPrevious = 0;
  std::array<int, 4096> FPrefix{};
  std::array<int, 4096> FSuffix{};
  std::array<int, 8192> FStack{};
  int FTop = 0;
  std::array<uint8_t, 260> FBuffer{};
  int FBitPos = 0;
  int FBitEnd = 0;
  int FLastLength = 2;
  bool FTerminatorSeen = false;
  bool FStartPending = true;
};

}  // namespace

size_t ReferenceDecodeLzwPixels(TStream& stream, uint8_t* pixels, int width, int height,
                                bool interlaced, std::vector<std::string>& warnings) {
  uint8_t minCodeSize;
  if (stream.Read(&minCodeSize, 1) != 1) return 0;
  if (minCodeSize > 11) throw GIFException("Invalid LZW code size");
  TReference decoder(stream, warnings, minCodeSize);
  int row = 0;
  int step = 8;
  int pass = 0;
  size_t set = 0;
  for (int y = 0; y < height; ++y) {
    int target = interlaced ? row : y;
    for (int x = 0; x < width; ++x, ++set) {
      int value = decoder.NextPixelValue();
      // Once the data has ended nothing more is read.
      if (value < 0) return set;
      pixels[size_t(target) * size_t(width) + size_t(x)] = uint8_t(value);
    }
    row += step;
    while (row >= height) {
      if (pass > 0) step /= 2;
      ++pass;
      row = step / 2;
    }
  }
  decoder.NextPixelValue();
  return set;
}

}  // namespace corvane::test
