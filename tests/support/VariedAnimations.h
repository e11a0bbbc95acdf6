#pragma once
// A varied set of generated animations, written as a simple animation program writes
// them (whole frames, no optimization): sprites moving over backgrounds, noise, many small
// frames, large frames, local colour tables, transparency with every disposal, interlaced
// frames and a still picture. The benchmarks and the optimizer tests run on it.

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::test {

struct TGeneratedGif {
  std::string Name;  // a file name ending in ".gif"
  std::vector<uint8_t> Bytes;
};

// The same files every time.
std::vector<TGeneratedGif> VariedAnimations();

// The optimizer's benchmark sets: clips as video converters write them (whole opaque
// frames), clips whose tables use all 256 or 255 entries (global and local), sprite
// animations with transparency, and stills.
struct TGifSet {
  std::string Name;
  std::vector<TGeneratedGif> Files;
};
std::vector<TGifSet> OptimizerSets();

}  // namespace corvane::test
