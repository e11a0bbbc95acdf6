#pragma once
// The LZW encoder's string table: open addressing over 8009 packed 32-bit slots, each holding
// a 20-bit key (prefix code shl 8 or pixel) and its 12-bit code.

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
  // The code stored for key, or -1.
  int FindCode(int key) const;

 private:
  static constexpr int kSlotCount = 8009;  // a prime

  static int HashSlot(int key) { return (key ^ (key >> 4)) % kSlotCount; }
  // Doubling modulo the prime; slot 0 moves to the last slot.
  static int NextProbe(int slot) {
    if (slot == 0) return kSlotCount - 1;
    int next = 2 * slot - kSlotCount;
    return next >= 0 ? next : 2 * slot;
  }

  std::vector<uint32_t> FSlots;
};

}  // namespace corvane
