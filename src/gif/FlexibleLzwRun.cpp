#include "FlexibleLzwRun.h"

#include <algorithm>
#include <bit>

namespace corvane {

namespace {
// The look-ahead tries at most kShorterPhrases and at most kLookAheadBudget / longest match
// shorter phrases: the next match after each is about as long as the longest, and flat areas
// have long ones.
constexpr int kShorterPhrases = 8;
constexpr int kLookAheadBudget = 64;
}  // namespace

// The decoder widens once the next code it defines no longer fits; it defines one code for
// every code it reads after the first.
int TFlexibleLzwRun::CodeWidth(int minCodeSize, size_t count) {
  size_t highest = (size_t(1) << minCodeSize) + 1 + count;
  return std::min(kMaxCodeSize, int(std::bit_width(highest)));
}

int64_t TFlexibleLzwRun::CodeBits(int minCodeSize, size_t count) {
  int64_t bits = 0;
  size_t done = 0;
  for (int width = minCodeSize + 1; done < count; ++width) {
    // Codes done + 1 … are this wide while clear + 1 + done stays below 2^width.
    size_t last = width == kMaxCodeSize ? count : std::min(count, (size_t(1) << width) - (size_t(1) << minCodeSize) - 1);
    bits += int64_t(last - done) * width;
    done = last;
  }
  return bits;
}

void TFlexibleLzwRun::Restart(size_t start) {
  FStrings.ResetTable();
  FCodes.clear();
  FEnds.clear();
  FStart = start;
  FPosition = start;
  FCrowded = false;
  FLongestString = 1;
  if (!Done()) FMatch = LongestMatch(start);
}

TFlexibleLzwRun::TMatch TFlexibleLzwRun::LongestMatch(size_t from) const {
  const uint8_t* pixels = FInput.Pixels;
  TMatch match{1, pixels[from], THashTable::PrefixShare(pixels[from]), -1};
  for (size_t i = from + 1; i < FInput.Count; ++i) {
    int pixel = pixels[i];
    int key = match.Code << 8 | pixel;
    auto [slot, found] = FStrings.ProbeFrom(THashTable::FirstSlot(match.Share, match.Code, pixel), key);
    if (!found) {
      match.FreeSlot = slot;
      break;
    }
    match.Code = FStrings.CodeAt(slot);
    match.Share = FStrings.CodeShareAt(slot);
    ++match.Length;
  }
  return match;
}

int TFlexibleLzwRun::CodeOfPrefix(size_t from, int length) const {
  int code = FInput.Pixels[from];
  for (int i = 1; i < length; ++i) code = FStrings.FindCode(code << 8 | FInput.Pixels[from + size_t(i)]);
  return code;
}

// The look-up that ended the match left the free slot where its probe sequence ended; strings
// stored since can only have taken slots further along the same sequence.
int TFlexibleLzwRun::Define(int code, int pixel, int freeSlot) {
  int next = FirstFree() + int(FCodes.size()) - 1;
  if (next > kLastCode) return -1;
  int key = code << 8 | pixel;
  auto probe = freeSlot >= 0 ? FStrings.ProbeFrom(freeSlot, key) : FStrings.FindSlot(key);
  // A string already in the table still takes the code in the decoder; the first stays.
  if (probe.Found) return -1;
  if (probe.Slot < 0) {
    FCrowded = true;
    return -1;
  }
  FStrings.StoreAt(probe.Slot, key, next);
  return next;
}

// Once the table is full it no longer changes, and for a fixed table whose strings' prefixes
// are all in it, taking the phrase after which the next one ends furthest codes the fewest
// phrases; the look-ahead tries a few shorter ones. On a tie the longest. While the table
// grows, a shorter phrase must reach the input's margin further: which margin pays depends on
// the picture (photos gain little, patterns and flat areas several per cent).
void TFlexibleLzwRun::Step() {
  const size_t count = FInput.Count;
  const int longest = FMatch.Length;
  const int margin = Full() ? 1 : FInput.GrowingMargin;
  int chosen = longest;
  TMatch following;
  if (FPosition + size_t(longest) < count) {
    following = LongestMatch(FPosition + size_t(longest));
    int reach = longest + following.Length;
    const int shortest = margin > 0 ? std::max({1, longest - kShorterPhrases, longest - kLookAheadBudget / longest}) : longest;
    // Shorter phrases need ever longer matches after them, and none is longer than the table's
    // longest string.
    for (int length = longest - 1; length >= shortest && length + FLongestString >= reach + margin; --length) {
      TMatch candidate = LongestMatch(FPosition + size_t(length));
      if (length + candidate.Length < reach + margin) continue;
      reach = length + candidate.Length;
      chosen = length;
      following = candidate;
    }
  }
  int code = chosen == longest ? FMatch.Code : CodeOfPrefix(FPosition, chosen);
  size_t end = FPosition + size_t(chosen);
  FCodes.push_back(uint16_t(code));
  FEnds.push_back(uint32_t(end));
  FPixelsCoded += size_t(chosen);
  FPosition = end;
  if (end >= count) return;
  int pixel = FInput.Pixels[end];
  int defined = Define(code, pixel, chosen == longest ? FMatch.FreeSlot : -1);
  if (defined >= 0) FLongestString = std::max(FLongestString, chosen + 1);
  // The string just defined can extend the next match when that match is the phrase itself.
  if (defined >= 0 && following.Code == code && end + size_t(chosen) < count && FInput.Pixels[end + size_t(chosen)] == pixel) {
    following = {chosen + 1, defined, THashTable::PrefixShare(defined), -1};
  }
  FMatch = following;
}

}  // namespace corvane
