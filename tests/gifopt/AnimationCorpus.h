#pragma once
// Generated animations that make the optimizer's work hard: every pair of disposal methods
// between two frames, transparent and opaque frames, local and global tables, frames inside,
// around, beside and across each other, identical and nearly identical frames, full tables,
// frames that show nothing, several control and loop extensions, comments and other blocks.

#include <string>
#include <vector>

#include "support/GifBuilder.h"

namespace corvane::test {

struct TCorpusFile {
  std::string Name;
  TBytes Bytes;
};

// Four frames: an opaque background, then two frames for every combination of disposal
// pair, transparency, placement, likeness and table kind, and the second of them again.
std::vector<TCorpusFile> DisposalPairCorpus();

// Animations drawn at random from all of the above, reproducibly from the seed.
std::vector<TCorpusFile> RandomCorpus(int count, unsigned seed);

}  // namespace corvane::test
