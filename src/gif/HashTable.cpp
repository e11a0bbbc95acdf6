#include "HashTable.h"

#include <algorithm>

namespace corvane {

THashTable::THashTable() : FSlots(kSlotCount) { ResetTable(); }

void THashTable::ResetTable() { std::fill(FSlots.begin(), FSlots.end(), 0xFFFFFFFFu); }

// Doubling modulo 8009 cycles through at most 4005 slots, so a probe sequence that has not met
// an empty slot after kSlotCount probes never will.
bool THashTable::StoreCode(int key, int code) {
  int slot = HashSlot(key);
  for (int probes = 0; probes < kSlotCount; ++probes, slot = NextProbe(slot)) {
    uint32_t& entry = FSlots[size_t(slot)];
    if (entry >> 12 == kEmptyKey) {
      entry = uint32_t(key) << 12 | (uint32_t(code) & 4095);
      return true;
    }
  }
  return false;
}

}  // namespace corvane
