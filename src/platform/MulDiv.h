#pragma once

#include <cstdint>

namespace corvane {

// number × numerator / denominator with a 64-bit intermediate, rounded to the nearest
// integer (halves away from zero). Answers -1 for a zero denominator or a result
// outside 32 bits, as the desktop platform's MulDiv does.
constexpr int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator) {
  if (denominator == 0) return -1;
  int64_t product = int64_t(number) * numerator;
  int64_t divisor = denominator;
  bool negative = (product < 0) != (divisor < 0);
  uint64_t p = product < 0 ? uint64_t(-product) : uint64_t(product);
  uint64_t d = divisor < 0 ? uint64_t(-divisor) : uint64_t(divisor);
  uint64_t q = (p + d / 2) / d;
  if (q > (negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX))) return -1;
  return negative ? int32_t(-int64_t(q)) : int32_t(q);
}

}  // namespace corvane
