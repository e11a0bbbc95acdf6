#pragma once
// Byte-level helpers of the GIF reader and writer: exact reads, single bytes with an end
// test, little-endian numbers, and text carried in data sub-blocks.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Stream.h"

namespace corvane {

// Reads exactly count bytes or raises GIFException "Premature end of data".
void ReadExact(TStream& stream, void* buffer, int64_t count);
uint8_t ReadExactByte(TStream& stream);
// Reads one byte; false at the end of the stream.
inline bool ReadByte(TStream& stream, uint8_t& value) { return stream.Read(&value, 1) == 1; }
// Reads the next byte that is not 0; false at the end of the stream.
bool ReadNonZeroByte(TStream& stream, uint8_t& value);
inline void StepBack(TStream& stream) { stream.Seek(-1, TSeekOrigin::Current); }
// Moves count bytes on, but not past the end of the stream.
void SkipBytes(TStream& stream, int64_t count);

constexpr uint16_t GetLE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
constexpr uint32_t GetLE32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline void PutLE16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void PutLE32(uint8_t* p, uint32_t v) {
  PutLE16(p, uint16_t(v));
  PutLE16(p + 2, uint16_t(v >> 16));
}

// Every sub-block becomes one line, cut at its first zero byte; reading ends at a zero length
// byte or at the end of the stream.
void ReadTextBlocks(TStream& stream, std::vector<std::string>& lines);
// Every line as sub-blocks of 255 bytes and a shorter last one (an empty line writes
// nothing), then the zero terminator.
void WriteTextBlocks(TStream& stream, const std::vector<std::string>& lines);

// done * 100 / total rounded to the nearest integer, for progress reports.
uint8_t RoundedPercent(int64_t done, int64_t total);

}  // namespace corvane
