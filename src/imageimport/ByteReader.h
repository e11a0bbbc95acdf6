#pragma once
// TByteReader: reads a picture file's fields from memory, every read bounds-checked;
// running past the end raises EInvalidGraphic "<format> picture cannot be read: file
// ends early".

#include <cstdint>
#include <span>
#include <string>

#include "platform/Exceptions.h"

namespace corvane {

class TByteReader {
 public:
  TByteReader(std::span<const uint8_t> bytes, std::string format) : FBytes(bytes), FFormat(std::move(format)) {}

  size_t Position() const { return FPosition; }
  size_t Remaining() const { return FBytes.size() - FPosition; }
  void Seek(size_t position) {
    if (position > FBytes.size()) EndsEarly();
    FPosition = position;
  }
  void Skip(size_t count) { Take(count); }

  // The next count bytes, which stay valid as long as the file's bytes do.
  const uint8_t* Take(size_t count) {
    if (count > Remaining()) EndsEarly();
    const uint8_t* p = FBytes.data() + FPosition;
    FPosition += count;
    return p;
  }
  uint8_t U8() { return *Take(1); }
  uint16_t U16LE() {
    const uint8_t* p = Take(2);
    return uint16_t(p[0] | p[1] << 8);
  }
  uint32_t U32LE() {
    const uint8_t* p = Take(4);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  }
  uint16_t U16BE() {
    const uint8_t* p = Take(2);
    return uint16_t(p[0] << 8 | p[1]);
  }
  uint32_t U32BE() {
    const uint8_t* p = Take(4);
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
  }

  [[noreturn]] void Invalid(const std::string& why) const {
    throw EInvalidGraphic(FFormat + " picture cannot be read: " + why);
  }
  [[noreturn]] void EndsEarly() const { Invalid("file ends early"); }

 private:
  std::span<const uint8_t> FBytes;
  std::string FFormat;
  size_t FPosition = 0;
};

}  // namespace corvane
