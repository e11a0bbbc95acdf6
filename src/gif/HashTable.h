#pragma once
// The LZW encoder's string table: open addressing over 8009 packed 32-bit slots, each holding
// a 20-bit key (prefix code shl 8 or pixel) and its 12-bit code.

#include <array>
#include <cstdint>

namespace corvane {

class THashTable {
 public:
  THashTable() { ResetTable(); }

  // Empties every slot.
  void ResetTable() { FSlots.fill(kEmptySlot); }
  // Stores a key that is not in the table; false when every slot its probe sequence reaches
  // is taken, which crafted keys can bring about long before the table is half full.
  bool StoreCode(int key, int code) {
    int slot = FindSlot(key);
    if (slot < 0) return false;
    StoreAt(slot, key, code);
    return true;
  }
  // The code stored for key, or -1.
  int FindCode(int key) const {
    int slot = FindSlot(key);
    return slot >= 0 && Holds(slot) ? CodeAt(slot) : -1;
  }

  // The slot holding key or else the first empty slot of its probe sequence, where StoreAt
  // puts it; -1 when the sequence has neither. The encoder looks up every pixel: inline.
  int FindSlot(int key) const {
    int slot = HashSlot(key);
    for (int probes = 0; probes < kSlotCount; ++probes, slot = NextProbe(slot)) {
      uint32_t stored = FSlots[size_t(slot)] >> 12;
      if (stored == uint32_t(key) || stored == kEmptyKey) return slot;
    }
    return -1;
  }
  bool Holds(int slot) const { return FSlots[size_t(slot)] >> 12 != kEmptyKey; }
  int CodeAt(int slot) const { return int(FSlots[size_t(slot)] & 4095); }
  void StoreAt(int slot, int key, int code) {
    FSlots[size_t(slot)] = uint32_t(key) << 12 | (uint32_t(code) & 4095);
  }

 private:
  static constexpr int kSlotCount = 8009;  // a prime
  // All 20 key bits set: no real key, as codes stay below 4095.
  static constexpr uint32_t kEmptyKey = 0xFFFFF;
  static constexpr uint32_t kEmptySlot = 0xFFFFFFFFu;

  // (key ^ key >> 4) % kSlotCount for a 20-bit key. With the key split as prefix shl 8 or
  // pixel, key ^ key >> 4 is (prefix ^ prefix >> 4) shl 8 plus a low byte, so the remainder is
  // a table entry plus that byte less kSlotCount when the sum reaches it: no division in the
  // encoder's chain of dependent look-ups.
  static int HashSlot(int key) {
    uint32_t prefix = uint32_t(key) >> 8 & 4095;
    uint32_t low = ((prefix & 15) << 4 ^ uint32_t(key) ^ (uint32_t(key) & 255) >> 4) & 255;
    uint32_t slot = kHighRemainders[prefix] + low;
    return int(slot >= kSlotCount ? slot - kSlotCount : slot);
  }
  static constexpr std::array<uint16_t, 4096> kHighRemainders = [] {
    std::array<uint16_t, 4096> remainders{};
    for (uint32_t prefix = 0; prefix < 4096; ++prefix)
      remainders[prefix] = uint16_t(((prefix ^ prefix >> 4) << 8) % kSlotCount);
    return remainders;
  }();
  // Doubling modulo the prime; slot 0 moves to the last slot. Doubling modulo 8009 cycles
  // through at most 4005 slots, so a probe sequence that has not met an empty slot after
  // kSlotCount probes never will.
  static int NextProbe(int slot) {
    if (slot == 0) return kSlotCount - 1;
    int next = 2 * slot - kSlotCount;
    return next + (next < 0 ? kSlotCount : 0);
  }

  std::array<uint32_t, kSlotCount> FSlots;
};

}  // namespace corvane
