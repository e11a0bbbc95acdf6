#include "LZWEncoder.h"

#include "gif/Interlace.h"

namespace corvane {

namespace {
// Codes up to 4094 are assigned; the table never holds 4095.
constexpr int kLastCode = 4094;
}  // namespace

void TLZWEncoder::EmitClear() {
  TGIFEncoder::EmitClear();
  FStrings.ResetTable();
  FNextFree = FClearValue + 2;
}

// The width changes after the code that the decoder reads just before it widens.
void TLZWEncoder::EmitCode(int code) {
  TGIFEncoder::EmitCode(code);
  if (FJustCleared) {
    FCodeSize = FStartCodeSize;
    FCodeLimit = LargestCode(FCodeSize);
    FJustCleared = false;
  } else {
    Widen(FCodeSize, FCodeLimit, FNextFree);
  }
}

// The loop keeps the packer, the code width and the pixel pointers in locals: members would be
// reloaded after every byte the packer stores. It does what EmitCode and EmitClear do, inline.
void TLZWEncoder::EncodeBody() {
  EmitClear();
  TCodePacker packer = FPacker;
  int codeSize = FCodeSize;
  int codeLimit = FCodeLimit;
  int nextFree = FNextFree;
  const size_t width = size_t(FFrameWidth);
  int current = -1;
  uint32_t share = 0;  // the current code's share of the hash
  int row = 0;
  int pass = 0;
  do {
    const uint8_t* pixel = FPixels + size_t(row) * width;
    const uint8_t* rowEnd = pixel + width;
    const uint8_t* outside = FirstOutsideTable(pixel, rowEnd);
    if (current < 0 && pixel < outside) {
      current = *pixel++;
      share = THashTable::PrefixShare(current);
    }
    for (; pixel < outside; ++pixel) {
      int key = current << 8 | *pixel;
      auto [slot, found] = FStrings.ProbeFrom(THashTable::FirstSlot(share, current, *pixel), key);
      if (found) {
        current = FStrings.CodeAt(slot);
        share = FStrings.CodeShareAt(slot);
        continue;
      }
      PackCode(packer, current, codeSize, FEndValue);
      Widen(codeSize, codeLimit, nextFree);
      current = *pixel;
      share = THashTable::PrefixShare(current);
      if (nextFree > kLastCode || slot < 0) {
        packer.Put(FClearValue, codeSize);
        FStrings.ResetTable();
        nextFree = FFirstFree;
        codeSize = FStartCodeSize;
        codeLimit = LargestCode(codeSize);
      } else {
        FStrings.StoreAt(slot, key, nextFree++);
      }
    }
    if (outside < rowEnd) {
      FPacker = packer;
      throw GIFException("Color not in color table");
    }
  } while (FInterlaced ? NextInterlacedRow(row, pass, FFrameHeight) : ++row < FFrameHeight);
  PackCode(packer, current, codeSize, FEndValue);
  Widen(codeSize, codeLimit, nextFree);
  FPacker = packer;
  FCodeSize = codeSize;
  FCodeLimit = codeLimit;
  FNextFree = nextFree;
}

}  // namespace corvane
