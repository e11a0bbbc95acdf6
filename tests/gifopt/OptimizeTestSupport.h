#pragma once
// Helpers of the optimizer tests: optimizing file bytes as the program does, one pass or the
// two-pass choice, and checking that an output shows what its original showed.

#include <string>

#include "GifTestSupport.h"
#include "gifopt/ReduceSteps.h"

namespace corvane::test {

// Loads the file, runs ReduceFileSize with the program's arguments and saves the image.
TBytes Optimize(const TBytes& file, TReduceSteps steps);
// The smaller of the passes with steps 29 and 31; the main pass (31) on a tie.
TBytes OptimizeTwoPass(const TBytes& file);

// Empty when optimized shows what original shows and giflib decodes optimized; otherwise
// what is wrong.
std::string CheckOptimized(const TBytes& original, const TBytes& optimized);

}  // namespace corvane::test
