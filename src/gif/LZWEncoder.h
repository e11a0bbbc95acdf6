#pragma once
// The default GIF pixel encoder: LZW with a hashed string table, a clear code whenever the
// 12-bit table is full.

#include "gif/GIFEncoder.h"
#include "gif/HashTable.h"

namespace corvane {

class TLZWEncoder final : public TGIFEncoder {
 protected:
  void EmitCode(int code) override;
  void EmitClear() override;
  void EncodeBody() override;

 private:
  // One bit wider once the next code to assign no longer fits.
  static void Widen(int& codeSize, int& codeLimit, int nextFree) {
    if (nextFree <= codeLimit) return;
    ++codeSize;
    codeLimit = codeSize == 12 ? 4096 : LargestCode(codeSize);
  }

  int FNextFree = 0;  // the next code to assign
  THashTable FStrings;
};

}  // namespace corvane
