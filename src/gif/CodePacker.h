#pragma once
// Packs variable-width GIF codes least significant bit first into a byte buffer that goes to
// the sub-block writer whenever it fills. A small value: an encoder's loop keeps a copy in
// registers and stores it back.

#include <cstdint>

#include "gif/GIFWriter.h"

namespace corvane {

class TCodePacker {
 public:
  static constexpr int kBufferSize = 1024;

  TCodePacker() = default;
  TCodePacker(TGIFWriter& writer, uint8_t* buffer) : FWriter(&writer), FBuffer(buffer), FOut(buffer) {}

  // Appends the low size bits of code, size at most 12.
  void Put(int code, int size) {
    FBits |= uint64_t(uint32_t(code) & ((1u << size) - 1)) << FBitCount;
    FBitCount += size;
    if (FBitCount < 32) return;
    for (int i = 0; i < 4; ++i) FOut[i] = uint8_t(FBits >> (8 * i));
    FOut += 4;
    FBits >>= 32;
    FBitCount -= 32;
    DrainWhenFull();
  }
  // Completes the last byte with zero bits.
  void PadToByte() {
    for (; FBitCount > 0; FBitCount -= 8, FBits >>= 8) *FOut++ = uint8_t(FBits);
    FBitCount = 0;
    FBits = 0;
    DrainWhenFull();
  }
  // Hands the buffered bytes to the writer.
  void Drain() {
    FWriter->Write(FBuffer, FOut - FBuffer);
    FOut = FBuffer;
  }
  // Hands every whole byte to the writer; the bits of an unfinished byte are dropped.
  void DrainWholeBytes() {
    FBitCount &= ~7;
    PadToByte();
    Drain();
  }

 private:
  // Leaves room for the four bytes that Put or PadToByte may add.
  void DrainWhenFull() {
    if (FOut - FBuffer > kBufferSize - 4) Drain();
  }

  TGIFWriter* FWriter = nullptr;
  uint8_t* FBuffer = nullptr;
  uint8_t* FOut = nullptr;
  uint64_t FBits = 0;
  int FBitCount = 0;
};

}  // namespace corvane
