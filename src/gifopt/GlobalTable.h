#pragma once
// The global colour table of a new encoding: the colours that frames change pixels to, the
// most used first, so that frames drawn from few colours hold small indices and code them with
// fewer bits. At most 256 entries; frames that need others get local tables.

#include <cstdint>
#include <vector>

#include "gifopt/AnimationComposer.h"

namespace corvane {

struct TGlobalTable {
  std::vector<TRGBA> Ids;        // colour ids in table order
  std::vector<int16_t> IndexOf;  // by colour id; -1 where the id has no entry
  // Entries in the file: a power of two (0 without entries).
  int PaddedCount() const;
};

// usage: changed pixels per colour id (index 0, transparent, is not counted).
TGlobalTable MakeGlobalTable(const std::vector<int64_t>& usage);

}  // namespace corvane
