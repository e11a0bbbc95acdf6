#include "MaskChoice.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "gif/HashTable.h"

namespace corvane {

namespace {

// Codes up to 4094 are assigned before the coder clears its table.
constexpr int kLastCode = 4094;

class TStringWalk {
 public:
  explicit TStringWalk(int codeSize) : FFirstFree((1 << std::max(codeSize, 2)) + 2), FNextFree(FFirstFree) {}

  // The code of the current string followed by value, or -1.
  int Extension(uint8_t value) const { return FCurrent < 0 ? -1 : FStrings.FindCode(FCurrent << 8 | value); }
  void Continue(int code) { FCurrent = code; }
  // Ends the current string before value, as the coder does, and starts the next with it.
  void Restart(uint8_t value) {
    if (FCurrent >= 0) {
      if (FNextFree > kLastCode || !FStrings.StoreCode(FCurrent << 8 | value, FNextFree)) {
        FStrings.ResetTable();
        FNextFree = FFirstFree;
      } else {
        ++FNextFree;
      }
    }
    FCurrent = value;
  }

 private:
  THashTable FStrings;
  int FFirstFree;
  int FNextFree;
  int FCurrent = -1;
};

}  // namespace

void ChooseMaskedValues(std::span<uint8_t> values, std::span<const uint8_t> free, uint8_t transparent, int codeSize) {
  TStringWalk walk(codeSize);
  uint8_t previous = transparent;
  for (size_t i = 0; i < values.size(); ++i) {
    uint8_t value = values[i];
    if (free[i]) {
      // Try the value that repeats the previous pixel first: runs make long strings.
      uint8_t first = previous == value ? value : transparent;
      uint8_t second = first == value ? transparent : value;
      int code = walk.Extension(first);
      value = first;
      if (code < 0 && (code = walk.Extension(second)) >= 0) value = second;
      values[i] = value;
      if (code >= 0) {
        walk.Continue(code);
      } else {
        walk.Restart(value);
      }
    } else if (int code = walk.Extension(value); code >= 0) {
      walk.Continue(code);
    } else {
      walk.Restart(value);
    }
    previous = value;
  }
}

void ChooseFewestRuns(std::span<uint8_t> values, std::span<const uint8_t> free, uint8_t transparent) {
  // runs[c]: the fewest runs up to this pixel when it takes choice c (0 its own value, 1 the
  // transparent index); from[i] bit c: the choice of the pixel before that reaches it.
  std::vector<uint8_t> from(values.size(), 0);
  std::array<size_t, 2> runs{0, 0};
  constexpr size_t kNever = std::numeric_limits<size_t>::max() / 2;
  for (size_t i = 0; i < values.size(); ++i) {
    const std::array<uint8_t, 2> options{values[i], transparent};
    std::array<size_t, 2> next{kNever, kNever};
    for (int c = 0; c < 2; ++c) {
      if (c == 1 && !free[i]) continue;
      for (int p = 0; p < 2 && i > 0; ++p) {
        const uint8_t before = p == 0 ? values[i - 1] : transparent;
        const size_t cost = runs[size_t(p)] + (before != options[size_t(c)]);
        if (cost < next[size_t(c)] || (cost == next[size_t(c)] && p == 1)) {
          next[size_t(c)] = cost;
          from[i] = uint8_t((from[i] & ~(1 << c)) | (p << c));
        }
      }
      if (i == 0) next[size_t(c)] = 1;
    }
    runs = next;
  }
  int choice = runs[1] <= runs[0] ? 1 : 0;
  for (size_t i = values.size(); i-- > 0;) {
    const int before = (from[i] >> choice) & 1;
    if (choice == 1) values[i] = transparent;
    choice = before;
  }
}

}  // namespace corvane
