#pragma once
// A GIF pixel encoder that codes runs of equal pixels without a string table. It relies on
// the decoder defining an entry for every code after the first one following a clear: the
// pixel p followed by the codes FFirstFree, FFirstFree + 1, … makes the decoder define runs of
// 2, 3, … copies of p, and code FFirstFree + n − 2 then stands for a run of n.

#include <cstdint>

#include "gif/GIFEncoder.h"

namespace corvane {

class TRLEEncoder final : public TGIFEncoder {
 protected:
  void EmitClear() override;
  void EncodeBody() override;

 private:
  void EmitCounted(int code);
  void LiftClearLimit() { FClearAt = FCodeBudget; }
  void RestoreClearLimit();
  void EmitRun(int64_t count);
  void EmitRunAfterClear(int64_t count);
  void EmitRunClearOrRepeat(int64_t count);
  void EmitRunFromTable(int64_t count);
  int RunCode(int64_t count) const { return count == 1 ? FRunPixel : FFirstFree + int(count) - 2; }

  int FCodeBudget = 0;     // codes that fit between two clears
  int FWidenAtStart = 0;
  int FClearAtStart = 0;
  int FRunPixel = -1;      // pixel value of the run being counted
  int FLongestRun = 0;     // longest run the decoder's table holds since the last clear
  int FLongestRunPixel = 0;
  int FCodesSinceClear = 0;
  int FClearAt = 0;
  int FWidenAt = 0;
};

}  // namespace corvane
