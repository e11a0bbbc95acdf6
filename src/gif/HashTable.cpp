#include "HashTable.h"

#include <algorithm>

namespace corvane {

namespace {
// All 20 key bits set: no real key, as codes stay below 4095.
constexpr uint32_t kEmptyKey = 0xFFFFF;
}

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

int THashTable::FindCode(int key) const {
  int slot = HashSlot(key);
  for (int probes = 0; probes < kSlotCount; ++probes, slot = NextProbe(slot)) {
    uint32_t entry = FSlots[size_t(slot)];
    uint32_t stored = entry >> 12;
    if (stored == uint32_t(key)) return int(entry & 4095);
    if (stored == kEmptyKey) return -1;
  }
  return -1;
}

}  // namespace corvane
