#pragma once
// One stretch of a GIF LZW code stream from a clear code on, parsed flexibly: a phrase may stop
// short of the longest match when the phrase after it then reaches further. The run records
// its codes and where each phrase ends, so that a planner can cut it after any phrase.
// While the table grows, a shorter phrase also defines a shorter string, so it is taken only
// when the phrase after it reaches a margin of pixels further; margin 0 always takes the longest.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gif/HashTable.h"

namespace corvane {

// One frame's pixels in coding order, each below 1 shl MinCodeSize, and its code size (2-11).
struct TLzwInput {
  const uint8_t* Pixels = nullptr;
  size_t Count = 0;
  int MinCodeSize = 2;
  int GrowingMargin = 0;
};

class TFlexibleLzwRun {
 public:
  // The largest code a run defines: giflib does not define 4095, so no stream may use it.
  static constexpr int kLastCode = 4094;
  static constexpr int kMaxCodeSize = 12;

  explicit TFlexibleLzwRun(const TLzwInput& input) : FInput(input) {}

  // Starts afresh at a pixel, as after a clear code.
  void Restart(size_t start);
  // Codes one phrase; not when Done.
  void Step();

  bool Done() const { return FPosition >= FInput.Count; }
  // Every code the decoder can define has been assigned: further phrases add nothing.
  bool Full() const { return FirstFree() + int(FCodes.size()) > kLastCode; }
  // A string found no free slot in the hash table: keys crafted to share one probe sequence.
  // Every look-up along it is then slow; the run should end with a clear.
  bool Crowded() const { return FCrowded; }
  // The codes after a restart that fill the table.
  size_t CodesUntilFull() const { return size_t(kLastCode + 1 - FirstFree()); }
  int MinCodeSize() const { return FInput.MinCodeSize; }
  size_t Start() const { return FStart; }
  size_t Position() const { return FPosition; }
  // The pixels coded since the run was made, over all restarts: the work it has done.
  size_t PixelsCoded() const { return FPixelsCoded; }
  // The codes since the restart and the pixel position after each one's phrase.
  const std::vector<uint16_t>& Codes() const { return FCodes; }
  const std::vector<uint32_t>& Ends() const { return FEnds; }

  // The width of the code written after count codes that follow a clear.
  static int CodeWidth(int minCodeSize, size_t count);
  // The bits of count codes that follow a clear.
  static int64_t CodeBits(int minCodeSize, size_t count);

 private:
  struct TMatch {
    int Length = 0;
    int Code = -1;
    uint32_t Share = 0;  // the code's share of the hash
    int FreeSlot = -1;   // where the code's string and the next pixel would be stored
  };

  int FirstFree() const { return (1 << FInput.MinCodeSize) + 2; }
  TMatch LongestMatch(size_t from) const;
  int CodeOfPrefix(size_t from, int length) const;
  // Assigns the next code to the string code + pixel, as the decoder will; answers the code,
  // or -1 when the table keeps no new string. freeSlot, when not -1, is a slot on the string's
  // probe sequence with no other string before it.
  int Define(int code, int pixel, int freeSlot);

  TLzwInput FInput;
  THashTable FStrings;
  size_t FStart = 0;
  size_t FPosition = 0;
  size_t FPixelsCoded = 0;
  TMatch FMatch;  // the longest match at FPosition
  int FLongestString = 1;  // in the table: no match is longer
  bool FCrowded = false;
  std::vector<uint16_t> FCodes;
  std::vector<uint32_t> FEnds;
};

}  // namespace corvane
