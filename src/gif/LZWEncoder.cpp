#include "LZWEncoder.h"

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
  } else if (FNextFree > FCodeLimit) {
    ++FCodeSize;
    FCodeLimit = FCodeSize == 12 ? 4096 : LargestCode(FCodeSize);
  }
}

void TLZWEncoder::EncodeBody() {
  EmitClear();
  FCurrentCode = TakePixel();
  while (AdvancePixel()) {
    int pixel = TakePixel();
    int key = FCurrentCode << 8 | pixel;
    int code = FStrings.FindCode(key);
    if (code >= 0) {
      FCurrentCode = code;
      continue;
    }
    EmitCode(FCurrentCode);
    FCurrentCode = pixel;
    if (FNextFree > kLastCode || !FStrings.StoreCode(key, FNextFree)) {
      EmitClear();
    } else {
      ++FNextFree;
    }
  }
  EmitCode(FCurrentCode);
}

}  // namespace corvane
