#pragma once
// TReduceSteps: the set of steps ReduceFileSize runs on an image.

#include <cstdint>

namespace corvane {

using TReduceSteps = uint8_t;

enum TReduceStep : TReduceSteps {
  rsTrimBorders = 1,       // crop transparent borders, remove frames that become empty
  rsMaskUnchanged = 2,     // make pixels that repeat the previous frame transparent
  rsDropRedundant = 4,     // transparency check, disposal review and the final clean-up
  rsPackColorTables = 8,   // order colour tables by usage and cut unused entries
  rsLowerColorDepth = 16,  // only enables the check of the reduction method
  // With rsDropRedundant: blocks the clean-up keeps where they stand, their frames with them.
  rsKeepComments = 32,   // comment extensions
  rsKeepAppBlocks = 64,  // application extensions, loop extensions among them
};

// The main pass runs every step; the first pass of the two-pass mode all but the masking.
inline constexpr TReduceSteps kMainPassSteps =
    rsTrimBorders | rsMaskUnchanged | rsDropRedundant | rsPackColorTables | rsLowerColorDepth;
inline constexpr TReduceSteps kFirstPassSteps = kMainPassSteps & ~rsMaskUnchanged;

// The reduction method that needs a palette from the caller, which ReduceFileSize cannot take.
inline constexpr uint8_t kPaletteReduction = 9;

}  // namespace corvane
