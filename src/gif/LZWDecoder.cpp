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
constexpr int kMaxSubBlock = 255;
constexpr int kNoData = -1;
constexpr int kEndOfData = -2;

// Copies n bytes between buffers that do not overlap. Strings are mostly a few dozen bytes
// long at most, so such lengths are copied in words, the last one overlapping the one before,
// instead of through a library call.
inline void CopyBytes(uint8_t* dst, const uint8_t* src, size_t n) {
  if (n > 64) {
    std::memcpy(dst, src, n);
  } else if (n >= 16) {
    for (size_t i = 0; i + 16 < n; i += 16) std::memcpy(dst + i, src + i, 16);
    std::memcpy(dst + n - 16, src + n - 16, 16);
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

// Where the decode stands: the values every code reads and changes.
struct TLzwCursor {
  int BitPos = 0;  // the next code's first bit in the block buffer
  int BitEnd = 0;  // the end of the buffered data, in bits
  int CodeSize = 0;
  int CodeLimit = 0;  // the entry count at which codes grow by a bit
  int NextFree = 0;   // the entry the next code defines
  int Previous = 0;   // the code before
  uint8_t First = 0;  // the first pixel value of the previous code's string
  size_t Pos = 0;     // pixels decoded, counting those of a string that ran past the last
  size_t PrevStart = 0;  // where the previous code's string was decoded, and its length
  size_t PrevLength = 0;
};

// The string table. Values are kept as bytes: only the low 8 bits of a pixel value ever reach
// the frame. StartOf and LengthOf tell where each entry's string was decoded first; they hold
// only while the table is trusted.
struct TLzwTable {
  std::array<uint16_t, kTableSize> PrefixOf{};
  std::array<uint8_t, kTableSize> SuffixOf{};
  std::array<size_t, kTableSize> StartOf{};
  std::array<uint16_t, kTableSize> LengthOf{};
};

// A code's string as a run of bytes already decoded. A self-referencing code's string is the
// previous string and that string's first byte.
struct TLzwString {
  size_t Start = 0;
  size_t Length = 1;
};

// Decodes the strings of one frame into a buffer in the order of the stream.
//
// While the table holds only entries built from well-formed codes it is trusted: every entry's
// string is a run of bytes already decoded, so it is copied from where it was decoded first.
// Damaged data can make entries point at codes not yet defined, whose strings change as those
// get defined; from such a code until the next clear code the strings are built by walking the
// prefix chains instead.
//
// A hot loop decodes the common codes and leaves everything else to StepDecoder; both take
// each code through the same steps (PeekCode, Locate, Take), the hot loop on a copy of FAt in
// locals: the bytes it stores into the frame could otherwise alias the members, which would
// then be reloaded after each store.
class TLzwDecoder {
 public:
  TLzwDecoder(TStream& stream, const TGIFWarningHook& warn, uint8_t minCodeSize, uint8_t* out,
              size_t total);

  // Decodes until every pixel is set or the data ends. After the last pixel one more code is
  // read: on well-formed data the end code, which moves the stream past the terminator.
  void Run();
  // The pixels set so far.
  size_t Decoded() const { return std::min(FAt.Pos, FTotal); }

 private:
  void DecodeCommonCodes();
  int StepDecoder();
  int FetchCode();
  bool ReadSubBlock();
  void SkipToTerminator();
  void Warn(const char* message);
  void ResetTable();
  int FirstCode(int code);
  void WalkString(int code);

  // The steps of every code. They are inlined into the hot loop even where the slow path
  // calls them too, so that the loop's cursor stays in registers.
  bool CodeBuffered(const TLzwCursor& at) const { return at.BitPos + at.CodeSize < at.BitEnd; }
  [[gnu::always_inline]] int PeekCode(const TLzwCursor& at) const;
  [[gnu::always_inline]] bool Locate(const TLzwCursor& at, int code, TLzwString& string) const;
  [[gnu::always_inline]] void Take(TLzwCursor& at, int code, const TLzwString& string, size_t room);
  [[gnu::always_inline]] void AddEntry(TLzwCursor& at, uint8_t suffix);
  [[gnu::always_inline]] static void Advance(TLzwCursor& at, int code, uint8_t first, size_t length);
  size_t Room() const { return FAt.Pos < FTotal ? FTotal - FAt.Pos : 0; }

  TStream& FStream;
  const TGIFWarningHook& FWarn;
  int64_t FStreamPos;
  int64_t FStreamSize;
  uint8_t* const FOut;
  const size_t FTotal;
  const int FMinCodeSize;
  const int FClearCode;
  const int FEndCode;
  TLzwCursor FAt;
  TLzwTable FTable;
  bool FTrusted = true;
  bool FStartPending = true;
  std::array<uint8_t, kStackSize> FStack{};
  // The last two bytes of the previous sub-block, the current one's data, and padding so that
  // a code is always assembled from three readable bytes.
  std::array<uint8_t, 2 + kMaxSubBlock + 3> FBlock{};
  int FLastBlockLength = 2;
  bool FTerminatorSeen = false;
};

TLzwDecoder::TLzwDecoder(TStream& stream, const TGIFWarningHook& warn, uint8_t minCodeSize,
                         uint8_t* out, size_t total)
    : FStream(stream),
      FWarn(warn),
      FStreamPos(stream.Position()),
      FStreamSize(stream.Size()),
      FOut(out),
      FTotal(total),
      FMinCodeSize(minCodeSize),
      FClearCode(1 << minCodeSize),
      FEndCode(FClearCode + 1) {
  FAt.NextFree = FClearCode + 2;
  for (int i = 0; i < FClearCode; ++i) FTable.SuffixOf[size_t(i)] = uint8_t(i);
}

void TLzwDecoder::Run() {
  int status = 0;
  while (FAt.Pos < FTotal) {
    if (FTrusted && !FStartPending) DecodeCommonCodes();
    if (FAt.Pos >= FTotal || (status = StepDecoder()) < 0) break;
  }
  // Once the data has ended nothing more is read: the bytes after the terminator belong to
  // the next block of the file. A string that ran past the last pixel has no code after it.
  if (status >= 0 && FAt.Pos == FTotal) StepDecoder();
}

// The hot loop: decodes codes of a trusted table as long as they are pixel values or defined
// entries, lie inside the buffered data and fit before the last pixel. It stops on the first
// code that needs more, which StepDecoder then reads again.
void TLzwDecoder::DecodeCommonCodes() {
  TLzwCursor at = FAt;
  TLzwString string;
  while (CodeBuffered(at)) {
    const int code = PeekCode(at);
    if (!Locate(at, code, string) || string.Length > FTotal - at.Pos) break;
    at.BitPos += at.CodeSize;
    Take(at, code, string, string.Length);
  }
  FAt = at;
}

// Decodes the string of the next code; kNoData or kEndOfData when the data has ended.
int TLzwDecoder::StepDecoder() {
  int code;
  if (FStartPending) {
    // Every decode begins with a table reset, whether or not the data starts with a clear.
    FStartPending = false;
    code = FClearCode;
  } else {
    code = FetchCode();
  }
  if (code == FClearCode) {
    do {
      ResetTable();
      code = FetchCode();
    } while (code == FClearCode);
    if (code >= 0 && code != FEndCode) return FirstCode(code);
  }
  if (code < 0) return code;
  if (code == FEndCode) {
    SkipToTerminator();
    return kEndOfData;
  }
  TLzwString string;
  if (FTrusted && Locate(FAt, code, string)) {
    Take(FAt, code, string, std::min(string.Length, Room()));
  } else {
    FTrusted = false;
    WalkString(code);
  }
  return 0;
}

inline int TLzwDecoder::PeekCode(const TLzwCursor& at) const {
  const uint8_t* p = FBlock.data() + (at.BitPos >> 3);
  const uint32_t bits = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
  return int(bits >> (at.BitPos & 7)) & ((1 << at.CodeSize) - 1);
}

int TLzwDecoder::FetchCode() {
  if (!CodeBuffered(FAt) && !ReadSubBlock()) return kNoData;
  const int code = PeekCode(FAt);
  FAt.BitPos += FAt.CodeSize;
  return code;
}

// Appends the next sub-block to the two bytes left of the current one; false when there is
// none.
bool TLzwDecoder::ReadSubBlock() {
  if (FTerminatorSeen) {
    if (FAt.BitPos >= FAt.BitEnd) Warn("Decoder bit buffer under-run");
    return false;
  }
  FBlock[0] = FBlock[size_t(FLastBlockLength - 2)];
  FBlock[1] = FBlock[size_t(FLastBlockLength - 1)];
  uint8_t length;
  if (FStream.Read(&length, 1) != 1) return false;
  ++FStreamPos;
  if (length == 0) {
    FTerminatorSeen = true;
  } else {
    const int64_t left = std::max<int64_t>(FStreamSize - FStreamPos, 0);
    if (left < length) {
      Warn(kPrematureEnd);
      length = uint8_t(left);
    }
    if (FStream.Read(&FBlock[2], length) != length) throw GIFException(kPrematureEnd);
    FStreamPos += length;
  }
  FLastBlockLength = length + 2;
  FAt.BitPos = FAt.BitPos - FAt.BitEnd + 16;
  FAt.BitEnd = (length + 2) * 8;
  return true;
}

void TLzwDecoder::SkipToTerminator() {
  if (FTerminatorSeen) return;
  uint8_t length;
  while (FStream.Read(&length, 1) == 1) {
    ++FStreamPos;
    if (length == 0) return;
    const int64_t skip = std::min<int64_t>(length, std::max<int64_t>(FStreamSize - FStreamPos, 0));
    FStreamPos = FStream.Seek(skip, TSeekOrigin::Current);
  }
}

void TLzwDecoder::Warn(const char* message) {
  if (FWarn) FWarn(message);
}

void TLzwDecoder::ResetTable() {
  // Codes below the clear code never change; entries above are defined from NextFree on. A
  // walk may still reach the others through a damaged prefix, and finds them zero.
  const auto from = size_t(FClearCode);
  const auto to = size_t(FAt.NextFree);
  std::fill(FTable.PrefixOf.begin() + from, FTable.PrefixOf.begin() + to, 0);
  std::fill(FTable.SuffixOf.begin() + from, FTable.SuffixOf.begin() + to, 0);
  FAt.CodeSize = FMinCodeSize + 1;
  FAt.CodeLimit = 2 * FClearCode;
  FAt.NextFree = FClearCode + 2;
  FTrusted = true;
}

// The first code after a clear stands for itself, even when it is not a pixel value; it
// defines no entry.
int TLzwDecoder::FirstCode(int code) {
  if (code > FEndCode) FTrusted = false;
  if (FAt.Pos < FTotal) FOut[FAt.Pos] = uint8_t(code);
  Advance(FAt, code, uint8_t(code), 1);
  return 0;
}

// Finds the string of a code in a trusted table; false for the clear and end codes and for
// codes past the next free entry.
inline bool TLzwDecoder::Locate(const TLzwCursor& at, int code, TLzwString& string) const {
  if (code < FClearCode) {
    string.Start = at.Pos;
    string.Length = 1;
  } else if (code == at.NextFree) {  // the entry this very code defines
    string.Start = at.PrevStart;
    string.Length = at.PrevLength + 1;
  } else if (code > FEndCode && code < at.NextFree) {
    string.Start = FTable.StartOf[size_t(code)];
    string.Length = FTable.LengthOf[size_t(code)];
  } else {
    return false;
  }
  return true;
}

// Decodes a located string: defines the next entry and writes the string's first room bytes.
inline void TLzwDecoder::Take(TLzwCursor& at, int code, const TLzwString& string, size_t room) {
  const bool literal = code < FClearCode;
  const bool selfReference = code == at.NextFree;
  const uint8_t first = literal ? uint8_t(code) : FOut[string.Start];
  AddEntry(at, first);
  uint8_t* dst = FOut + at.Pos;
  const uint8_t* src = FOut + string.Start;
  if (room < string.Length) {
    // Only the bytes before a self-referencing string's last one fit.
    CopyBytes(dst, src, room);
  } else if (literal) {
    *dst = first;
  } else if (selfReference) {
    // The previous string and its own first byte.
    CopyBytes(dst, src, room - 1);
    dst[room - 1] = first;
  } else {
    CopyBytes(dst, src, room);
  }
  Advance(at, code, first, string.Length);
}

// Builds a string through the prefix chains, which damaged data may have made circular.
void TLzwDecoder::WalkString(int code) {
  int top = 0;
  auto push = [&](uint8_t value) {
    // Chains without a cycle are shorter than the stack, so a full stack means a cycle.
    if (top == kStackSize) throw GIFException(kCircularEntry);
    FStack[size_t(top++)] = value;
  };
  int c = code;
  if (code >= FAt.NextFree) {
    push(FAt.First);
    c = FAt.Previous;
  }
  while (c >= FClearCode) {
    push(FTable.SuffixOf[size_t(c)]);
    if (FTable.PrefixOf[size_t(c)] == c) throw GIFException(kCircularEntry);
    c = FTable.PrefixOf[size_t(c)];
  }
  const uint8_t first = FTable.SuffixOf[size_t(c)];
  push(first);
  AddEntry(FAt, first);
  const size_t n = std::min(size_t(top), Room());
  for (size_t i = 0; i < n; ++i) FOut[FAt.Pos + i] = FStack[size_t(top) - 1 - i];
  Advance(FAt, code, first, size_t(top));
}

// Defines the next entry as the previous code's string and suffix. The format does not say
// what a code after a full table means; encoders that defer the clear code rely on decoders
// keeping the full table as it is until the clear code comes, as this one does.
inline void TLzwDecoder::AddEntry(TLzwCursor& at, uint8_t suffix) {
  if (at.NextFree >= kTableSize) return;
  const auto entry = size_t(at.NextFree);
  FTable.PrefixOf[entry] = uint16_t(at.Previous);
  FTable.SuffixOf[entry] = suffix;
  FTable.StartOf[entry] = at.PrevStart;
  FTable.LengthOf[entry] = uint16_t(at.PrevLength + 1);
  if (++at.NextFree >= at.CodeLimit && at.CodeLimit < kTableSize) {
    at.CodeLimit *= 2;
    ++at.CodeSize;
  }
}

inline void TLzwDecoder::Advance(TLzwCursor& at, int code, uint8_t first, size_t length) {
  at.Previous = code;
  at.First = first;
  at.PrevStart = at.Pos;
  at.PrevLength = length;
  at.Pos += length;
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
