#pragma once
// The LZW encoder's string table: open addressing over 8009 packed 32-bit slots, each holding
// a 20-bit key (prefix code shl 8 or pixel) and its 12-bit code.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

class THashTable {
 public:
  THashTable();

  // Empties every slot.
  void ResetTable();
  // Stores a key that is not in the table; false when every slot its probe sequence reaches
  // is taken, which crafted keys can bring about long before the table is half full.
  bool StoreCode(int key, int code);
  // The code stored for key, or -1. Inline: the encoder looks up every pixel.
  int FindCode(int key) const {
    int slot = HashSlot(key);
    for (int probes = 0; probes < kSlotCount; ++probes, slot = NextProbe(slot)) {
      uint32_t entry = FSlots[size_t(slot)];
      uint32_t stored = entry >> 12;
      if (stored == uint32_t(key)) return int(entry & 4095);
      if (stored == kEmptyKey) return -1;
    }
    return -1;
  }

 private:
  static constexpr int kSlotCount = 8009;  // a prime
  // All 20 key bits set: no real key, as codes stay below 4095.
  static constexpr uint32_t kEmptyKey = 0xFFFFF;

  static int HashSlot(int key) { return int(uint32_t(key ^ (key >> 4)) % kSlotCount); }
  // Doubling modulo the prime; slot 0 moves to the last slot.
  static int NextProbe(int slot) {
    if (slot == 0) return kSlotCount - 1;
    int next = 2 * slot - kSlotCount;
    return next + (next < 0 ? kSlotCount : 0);
  }

  std::vector<uint32_t> FSlots;
};

}  // namespace corvane
