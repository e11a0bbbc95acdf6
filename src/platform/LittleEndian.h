#pragma once
// Reading and writing little-endian integers in byte buffers, for file headers that are
// moved by their exact byte layout.

#include <cstdint>

namespace corvane {

constexpr uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
constexpr uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

constexpr void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

constexpr void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace corvane
