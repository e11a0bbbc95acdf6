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
    TProbe probe = FindSlot(key);
    if (probe.Slot < 0) return false;
    StoreAt(probe.Slot, key, code);
    return true;
  }
  // The code stored for key, or -1.
  int FindCode(int key) const {
    TProbe probe = FindSlot(key);
    return probe.Found ? CodeAt(probe.Slot) : -1;
  }

  // Where a key's probe sequence ends: the slot holding the key, or else the first empty slot,
  // where StoreAt puts it; Slot is -1 when the sequence has neither.
  struct TProbe {
    int Slot;
    bool Found;
  };
  TProbe FindSlot(int key) const { return ProbeFrom(HashSlot(key), key); }
  // FindSlot with the first slot of the sequence given. The encoder looks up every pixel:
  // inline.
  TProbe ProbeFrom(int first, int key) const {
    auto slot = uint32_t(first);
    for (int probes = 0; probes < kSlotCount; ++probes, slot = NextProbe(slot)) {
      uint32_t stored = FSlots[slot] >> 12;
      if (stored == uint32_t(key)) return {int(slot), true};
      if (stored == kEmptyKey) return {int(slot), false};
    }
    return {-1, false};
  }
  int CodeAt(int slot) const { return int(FSlots[size_t(slot)] & 4095); }
  void StoreAt(int slot, int key, int code) {
    FSlots[size_t(slot)] = uint32_t(key) << 12 | (uint32_t(code) & 4095);
    FCodeShares[size_t(slot)] = uint16_t(PrefixShare(code));
  }

  // With a key split as prefix shl 8 or pixel (below 256), key ^ key >> 4 is (prefix ^ prefix >> 4) shl 8
  // plus a low byte, so its remainder is the prefix's share, the remainder of the first part,
  // plus that byte, less kSlotCount when the sum reaches it. The encoder keeps the share of
  // the code it has matched, and stores each code's share beside it: no division and no
  // dependent table look-up in its chain of look-ups.
  static uint32_t PrefixShare(int prefix) { return kHighRemainders[size_t(prefix & 4095)]; }
  static int FirstSlot(uint32_t prefixShare, int prefix, int pixel) {
    uint32_t low = (uint32_t(prefix & 15) << 4) ^ uint32_t(pixel) ^ (uint32_t(pixel) >> 4);
    uint32_t slot = prefixShare + low;
    return int(slot >= kSlotCount ? slot - kSlotCount : slot);
  }
  // The prefix share of the code at a slot that holds one.
  uint32_t CodeShareAt(int slot) const { return FCodeShares[size_t(slot)]; }

 private:
  static constexpr int kSlotCount = 8009;  // a prime
  // All 20 key bits set: no real key, as codes stay below 4095.
  static constexpr uint32_t kEmptyKey = 0xFFFFF;
  static constexpr uint32_t kEmptySlot = 0xFFFFFFFFu;

  // (key ^ key >> 4) % kSlotCount for a 20-bit key.
  static int HashSlot(int key) { return FirstSlot(PrefixShare(key >> 8), key >> 8, key & 255); }
  static constexpr std::array<uint16_t, 4096> kHighRemainders = [] {
    std::array<uint16_t, 4096> remainders{};
    for (uint32_t prefix = 0; prefix < 4096; ++prefix)
      remainders[prefix] = uint16_t(((prefix ^ prefix >> 4) << 8) % kSlotCount);
    return remainders;
  }();
  // Doubling modulo the prime; slot 0 moves to the last slot. Doubling modulo 8009 cycles
  // through at most 4005 slots, so a probe sequence that has not met an empty slot after
  // kSlotCount probes never will.
  static uint32_t NextProbe(uint32_t slot) {
    if (slot == 0) return kSlotCount - 1;
    uint32_t next = 2 * slot;
    return next >= kSlotCount ? next - kSlotCount : next;
  }

  std::array<uint32_t, kSlotCount> FSlots;
  std::array<uint16_t, kSlotCount> FCodeShares;  // read only where FSlots holds a code
};

}  // namespace corvane
