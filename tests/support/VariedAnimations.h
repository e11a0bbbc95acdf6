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

}  // namespace corvane::test
