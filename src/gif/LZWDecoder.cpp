#include "LZWDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "gif/GIFException.h"
#include "gif/Interlace.h"

namespace corvane {
namespace {

constexpr int kTableSize = 4096;  // the 12-bit code limit
constexpr int kStackSize = 8192;
constexpr int kMaxMinCodeSize = 11;  // larger values put the clear code outside the table
constexpr int kNoData = -1;
constexpr int kEndOfData = -2;

// Copies n bytes between buffers that do not overlap. Strings are mostly a few bytes long, so
// short lengths are copied as two overlapping words instead of through a library call.
inline void CopyBytes(uint8_t* dst, const uint8_t* src, size_t n) {
  if (n >= 16) {
    std::memcpy(dst, src, n);
  } else if (n >= 8) {
    std::memcpy(dst, src, 8);
    std::memcpy(dst + n - 8, src + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(dst, src, 4);
    std::memcpy(dst + n - 4, src + n - 4, 4);
  } else if (n >= 2) {
    std::memcpy(dst, src, 2);
    std::memcpy(dst + n - 2, src + n - 2, 2);
  } else if (n == 1) {
    *dst = *src;
  }
}

const char* const kCircularEntry = "Circular decoder table entry";
const char* const kPrematureEnd = "Premature end of data";

// The decoder's tables and bit buffer. Table values are kept as bytes: only the low 8 bits of
// a pixel value ever reach the frame.
struct LzwDecoderState {
  int minCodeSize = 0;
  int codeSize = 0;
  int clearCode = 0;
  int endCode = 0;
  int codeLimit = 0;
  int nextFree = 0;
  uint8_t firstValue = 0;
  int previousCode = 0;
  std::array<uint16_t, kTableSize> prefixOf{};
  std::array<uint8_t, kTableSize> suffixOf{};
  std::array<uint8_t, kStackSize> outputStack{};
  // The last two bytes of the previous sub-block, the current one's data, and padding so that
  // a code is always assembled from three readable bytes.
  std::array<uint8_t, 2 + 255 + 3> blockBuffer{};
  int bitPos = 0;
  int bitEnd = 0;
  int lastBlockLength = 2;
  bool terminatorSeen = false;
  bool startPending = true;
};

// Decodes the strings of one frame into a buffer in the order of the stream.
//
// While the table holds only entries built from well-formed codes, every entry's string is a
// run of bytes already decoded, so it is copied from where it was decoded first. Damaged data
// can make entries point at codes not yet defined, whose strings change as those get defined;
// from such a code until the next clear code the strings are built by walking the prefix
// chains instead.
class TLzwDecoder {
 public:
  TLzwDecoder(TStream& stream, const TGIFWarningHook& warn, uint8_t minCodeSize, uint8_t* out,
              size_t total);

  // Decodes until every pixel is set or the data ends. After the last pixel one more code is
  // read: on well-formed data the end code, which moves the stream past the terminator.
  void Run();
  // The pixels set so far.
  size_t Decoded() const { return std::min(FPos, FTotal); }

 private:
  void DecodeCommonCodes();
  int FetchCode();
  bool ReadSubBlock();
  void SkipToTerminator();
  void Warn(const char* message);
  void ResetTable();
  void AddEntry(uint8_t suffix);
  int StepDecoder();
  int FirstCode(int code);
  int CopyString(int code);
  int WalkString(int code);
  size_t Room() const { return FPos < FTotal ? FTotal - FPos : 0; }

  TStream& FStream;
  const TGIFWarningHook& FWarn;
  int64_t FStreamPos;
  int64_t FStreamSize;
  uint8_t* FOut;
  size_t FTotal;
  size_t FPos = 0;
  LzwDecoderState s;
  // Where each entry's string was decoded first, valid while FTrusted holds.
  bool FTrusted = true;
  std::array<size_t, kTableSize> FStartOf{};
  std::array<uint16_t, kTableSize> FLengthOf{};
  size_t FPrevStart = 0;
  size_t FPrevLength = 0;
};

TLzwDecoder::TLzwDecoder(TStream& stream, const TGIFWarningHook& warn, uint8_t minCodeSize,
                         uint8_t* out, size_t total)
    : FStream(stream),
      FWarn(warn),
      FStreamPos(stream.Position()),
      FStreamSize(stream.Size()),
      FOut(out),
      FTotal(total) {
  s.minCodeSize = minCodeSize;
  s.clearCode = 1 << minCodeSize;
  s.endCode = s.clearCode + 1;
  s.nextFree = s.clearCode + 2;
  for (int i = 0; i < s.clearCode; ++i) s.suffixOf[i] = uint8_t(i);
}

void TLzwDecoder::Run() {
  int status = 0;
  while (FPos < FTotal) {
    if (FTrusted && !s.startPending) DecodeCommonCodes();
    if (FPos >= FTotal || (status = StepDecoder()) < 0) break;
  }
  // Once the data has ended nothing more is read: the bytes after the terminator belong to
  // the next block of the file. A string that ran past the last pixel has no code after it.
  if (status >= 0 && FPos == FTotal) StepDecoder();
}

// The hot loop: decodes codes of a well-formed table as long as they are pixel values or
// defined entries, lie inside the current sub-block and fit before the last pixel. It stops on
// the first code that needs more, which StepDecoder then reads again.
void TLzwDecoder::DecodeCommonCodes() {
  const int clearCode = s.clearCode;
  const int bitEnd = s.bitEnd;
  const uint8_t* block = s.blockBuffer.data();
  uint8_t* out = FOut;
  int bitPos = s.bitPos;
  int codeSize = s.codeSize;
  int codeLimit = s.codeLimit;
  int nextFree = s.nextFree;
  int previous = s.previousCode;
  uint8_t first = s.firstValue;
  size_t pos = FPos;
  size_t prevStart = FPrevStart;
  size_t prevLength = FPrevLength;
  while (bitPos + codeSize < bitEnd) {
    const uint8_t* p = block + (bitPos >> 3);
    uint32_t bits = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    int code = int(bits >> (bitPos & 7)) & ((1 << codeSize) - 1);
    size_t start = 0;
    size_t length = 1;
    bool selfReference = code == nextFree;
    if (code < clearCode) {
      start = pos;
    } else if (selfReference) {
      start = prevStart;
      length = prevLength + 1;
    } else if (code > clearCode + 1 && code < nextFree) {
      start = FStartOf[size_t(code)];
      length = FLengthOf[size_t(code)];
    } else {
      break;
    }
    if (length > FTotal - pos) break;
    first = code < clearCode ? uint8_t(code) : out[start];
    bitPos += codeSize;
    if (nextFree < kTableSize) {
      s.prefixOf[size_t(nextFree)] = uint16_t(previous);
      s.suffixOf[size_t(nextFree)] = first;
      FStartOf[size_t(nextFree)] = prevStart;
      FLengthOf[size_t(nextFree)] = uint16_t(prevLength + 1);
      if (++nextFree >= codeLimit && codeLimit < kTableSize) {
        codeLimit *= 2;
        ++codeSize;
      }
    }
    uint8_t* dst = out + pos;
    if (code < clearCode) {
      *dst = first;
    } else if (selfReference) {
      CopyBytes(dst, out + start, length - 1);
      dst[length - 1] = first;
    } else {
      CopyBytes(dst, out + start, length);
    }
    previous = code;
    prevStart = pos;
    prevLength = length;
    pos += length;
  }
  s.bitPos = bitPos;
  s.codeSize = codeSize;
  s.codeLimit = codeLimit;
  s.nextFree = nextFree;
  s.previousCode = previous;
  s.firstValue = first;
  FPos = pos;
  FPrevStart = prevStart;
  FPrevLength = prevLength;
}

void TLzwDecoder::Warn(const char* message) {
  if (FWarn) FWarn(message);
}

int TLzwDecoder::FetchCode() {
  if (s.bitPos + s.codeSize >= s.bitEnd && !ReadSubBlock()) return kNoData;
  const uint8_t* p = &s.blockBuffer[size_t(s.bitPos >> 3)];
  uint32_t bits = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
  int code = int(bits >> (s.bitPos & 7)) & ((1 << s.codeSize) - 1);
  s.bitPos += s.codeSize;
  return code;
}

// Appends the next sub-block to the two bytes left of the current one; false when there is
// none.
bool TLzwDecoder::ReadSubBlock() {
  if (s.terminatorSeen) {
    if (s.bitPos >= s.bitEnd) Warn("Decoder bit buffer under-run");
    return false;
  }
  s.blockBuffer[0] = s.blockBuffer[size_t(s.lastBlockLength - 2)];
  s.blockBuffer[1] = s.blockBuffer[size_t(s.lastBlockLength - 1)];
  uint8_t length;
  if (FStream.Read(&length, 1) != 1) return false;
  ++FStreamPos;
  if (length == 0) {
    s.terminatorSeen = true;
  } else {
    int64_t left = std::max<int64_t>(FStreamSize - FStreamPos, 0);
    if (left < length) {
      Warn(kPrematureEnd);
      length = uint8_t(left);
    }
    if (FStream.Read(&s.blockBuffer[2], length) != length) throw GIFException(kPrematureEnd);
    FStreamPos += length;
  }
  s.lastBlockLength = length + 2;
  s.bitPos = s.bitPos - s.bitEnd + 16;
  s.bitEnd = (length + 2) * 8;
  return true;
}

void TLzwDecoder::SkipToTerminator() {
  if (s.terminatorSeen) return;
  uint8_t length;
  while (FStream.Read(&length, 1) == 1) {
    ++FStreamPos;
    if (length == 0) return;
    int64_t skip = std::min<int64_t>(length, std::max<int64_t>(FStreamSize - FStreamPos, 0));
    FStreamPos = FStream.Seek(skip, TSeekOrigin::Current);
  }
}

void TLzwDecoder::ResetTable() {
  // Codes below the clear code never change; entries above are defined from nextFree on.
  std::fill(s.prefixOf.begin() + s.clearCode, s.prefixOf.begin() + s.nextFree, 0);
  std::fill(s.suffixOf.begin() + s.clearCode, s.suffixOf.begin() + s.nextFree, 0);
  s.codeSize = s.minCodeSize + 1;
  s.codeLimit = 2 * s.clearCode;
  s.nextFree = s.clearCode + 2;
  FTrusted = true;
}

void TLzwDecoder::AddEntry(uint8_t suffix) {
  s.prefixOf[size_t(s.nextFree)] = uint16_t(s.previousCode);
  s.suffixOf[size_t(s.nextFree)] = suffix;
  ++s.nextFree;
  if (s.nextFree >= s.codeLimit && s.codeLimit < kTableSize) {
    s.codeLimit *= 2;
    ++s.codeSize;
  }
}

// Decodes the string of the next code; kNoData or kEndOfData when the data has ended.
int TLzwDecoder::StepDecoder() {
  int code;
  if (s.startPending) {
    // Every decode begins with a table reset, whether or not the data starts with a clear.
    s.startPending = false;
    code = s.clearCode;
  } else {
    code = FetchCode();
  }
  if (code == s.clearCode) {
    do {
      ResetTable();
      code = FetchCode();
    } while (code == s.clearCode);
    if (code >= 0 && code != s.endCode) return FirstCode(code);
  }
  if (code < 0) return code;
  if (code == s.endCode) {
    SkipToTerminator();
    return kEndOfData;
  }
  if (code > s.nextFree) FTrusted = false;
  return FTrusted ? CopyString(code) : WalkString(code);
}

// The first code after a clear stands for itself, even when it is not a pixel value.
int TLzwDecoder::FirstCode(int code) {
  s.firstValue = uint8_t(code);
  s.previousCode = code;
  if (code > s.endCode) FTrusted = false;
  if (FPos < FTotal) FOut[FPos] = s.firstValue;
  FPrevStart = FPos;
  FPrevLength = 1;
  ++FPos;
  return 0;
}

int TLzwDecoder::CopyString(int code) {
  size_t start = FPos;
  size_t length = 1;
  uint8_t first = uint8_t(code);
  bool selfReference = code == s.nextFree;  // the entry this very code defines
  if (selfReference) {
    start = FPrevStart;
    length = FPrevLength + 1;
  } else if (code >= s.clearCode) {
    start = FStartOf[size_t(code)];
    length = FLengthOf[size_t(code)];
  }
  if (code >= s.clearCode) first = FOut[start];
  if (s.nextFree < kTableSize) {
    FStartOf[size_t(s.nextFree)] = FPrevStart;
    FLengthOf[size_t(s.nextFree)] = uint16_t(FPrevLength + 1);
    AddEntry(first);
  }
  s.previousCode = code;
  s.firstValue = first;

  size_t n = std::min(length, Room());
  if (n > 0) {
    uint8_t* dst = FOut + FPos;
    if (code < s.clearCode) {
      dst[0] = first;
    } else {
      // A self-referencing string ends with its own first byte, which dst[0] receives.
      CopyBytes(dst, FOut + start, std::min(n, length - 1));
      if (n == length) dst[length - 1] = selfReference ? first : FOut[start + length - 1];
    }
  }
  FPrevStart = FPos;
  FPrevLength = length;
  FPos += length;
  return 0;
}

int TLzwDecoder::WalkString(int code) {
  int top = 0;
  auto push = [&](uint8_t value) {
    // Chains without a cycle are shorter than the stack, so a full stack means a cycle.
    if (top == kStackSize) throw GIFException(kCircularEntry);
    s.outputStack[size_t(top++)] = value;
  };
  int c = code;
  if (code >= s.nextFree) {
    push(s.firstValue);
    c = s.previousCode;
  }
  while (c >= s.clearCode) {
    push(s.suffixOf[size_t(c)]);
    if (s.prefixOf[size_t(c)] == c) throw GIFException(kCircularEntry);
    c = s.prefixOf[size_t(c)];
  }
  s.firstValue = s.suffixOf[size_t(c)];
  push(s.firstValue);
  if (s.nextFree < kTableSize) AddEntry(s.firstValue);
  s.previousCode = code;

  size_t n = std::min(size_t(top), Room());
  for (size_t i = 0; i < n; ++i) FOut[FPos + i] = s.outputStack[size_t(top) - 1 - i];
  FPos += size_t(top);
  return 0;
}

}  // namespace

int64_t LzwPixelBound(TStream& stream) {
  const int64_t start = stream.Position();
  const int64_t size = stream.Size();
  uint8_t minCodeSize = 0;
  int64_t dataBytes = 0;
  if (stream.Read(&minCodeSize, 1) == 1) {
    for (uint8_t length; stream.Position() < size && stream.Read(&length, 1) == 1 && length > 0;) {
      int64_t present = std::min<int64_t>(length, size - stream.Position());
      dataBytes += present;
      stream.Seek(present, TSeekOrigin::Current);
    }
  }
  stream.SetPosition(start);
  // The k-th code after a clear code adds at most k pixels, and no string is longer than the
  // table. Codes are at least minCodeSize + 1 bits wide.
  const int64_t codes = dataBytes * 8 / (int64_t(minCodeSize) + 1) + 1;
  const int64_t ramp = std::min<int64_t>(codes, kTableSize);
  return ramp * (ramp + 1) / 2 + (codes - ramp) * kTableSize;
}

size_t DecodeLzwPixels(TStream& stream, uint8_t* pixels, int width, int height, bool interlaced,
                       const TGIFWarningHook& warn) {
  uint8_t minCodeSize;
  if (stream.Read(&minCodeSize, 1) != 1) return 0;
  if (minCodeSize > kMaxMinCodeSize) throw GIFException("Invalid LZW code size");
  size_t total = pixels && width > 0 && height > 0 ? size_t(width) * size_t(height) : 0;
  TLzwDecoder decoder(stream, warn, minCodeSize, pixels, total);
  if (!interlaced || total == 0) {
    decoder.Run();
    return decoder.Decoded();
  }
  try {
    decoder.Run();
  } catch (...) {
    MoveInterlacedRows(pixels, width, height);
    throw;
  }
  MoveInterlacedRows(pixels, width, height);
  return decoder.Decoded();
}

}  // namespace corvane
