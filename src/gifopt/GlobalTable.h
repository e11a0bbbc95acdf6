#pragma once
// The global colour table of a new encoding: the colours that frames change pixels to, ordered
// so that frames drawn from few colours hold small indices and code them with fewer bits. At
// most 256 entries: the colours drawn in the most frames, or where frames draw more colours
// than that (frames with tables of their own), the colours of the frame whose colours hold the
// most frames' pixels; frames that need others get local tables.

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

// How a colour is drawn where the screen changes.
struct TColorUse {
  int Frames = 0;      // frames after the first that draw it
  int64_t Pixels = 0;  // pixels drawn in it, in all frames
};

// The colours one frame draws where the screen changes, and the pixels of the area it covers.
struct TFrameColors {
  std::vector<TRGBA> Ids;
  int64_t Weight = 0;
};

// The entries of a colour table.
constexpr size_t kTableEntries = 256;

// usage: by colour id (index 0, transparent, is not counted). frames: those that draw at most
// kTableEntries colours; those that draw more need local tables whatever the global one holds.
TGlobalTable MakeGlobalTable(const std::vector<TColorUse>& usage, const std::vector<TFrameColors>& frames);

}  // namespace corvane
