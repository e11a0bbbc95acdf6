#pragma once
// Packing of colour tables: entries ordered by how many pixels use them, most used first,
// unused entries cut off the end, and every pixel and transparent index that refers to the
// table rewritten to the new positions.

#include <array>
#include <cstdint>
#include <span>

namespace corvane {

class TGIFColorMap;

struct TUsageEntry {
  int64_t Count = 0;  // pixel bytes that hold the index, over all frames
  int32_t Index = 0;  // the entry's position before packing
};

using TUsageTable = std::array<TUsageEntry, 256>;
// Byte i: the new position of the entry that stood at position i.
using TRemapTable = std::array<uint8_t, 256>;

// Quicksort with Hoare partitioning on Count, largest first, of entries left to right. Not
// stable: the order it leaves among equal counts is part of the packed result.
void SortUsageDescending(TUsageTable& usage, int left, int right);

// Entry k becomes (0, k) for every k below the entry count; then every pixel of the frames
// that draw with the table adds 1 to the entry it names (AddUsage).
void CountUsage(const TGIFColorMap& table, TUsageTable& usage);
// Adds 1 to the entry each pixel names; the sums of an image's frames pass 2^31.
void AddUsage(std::span<const uint8_t> pixels, TUsageTable& usage);
// Rewrites the pixels and transparent indices of the frames that draw with the table.
void RemapPixels(TGIFColorMap& table, const TRemapTable& remap);

// Packs the table; where the program may show the screen's background colour, a global table
// keeps its entry and the screen's background index follows it.
// False when nothing was packed: a table of 0 or 1 entry, a global table
// of an image without frames, or a table whose frames hold indices it does not define.
bool Pack(TGIFColorMap& table);
bool PackByUsage(TGIFColorMap& table);

}  // namespace corvane
