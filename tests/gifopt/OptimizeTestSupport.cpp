#include "OptimizeTestSupport.h"

#include <stdexcept>

#include "gifopt/AnimationVerifier.h"
#include "gifopt/ReduceFileSize.h"
#include "support/GiflibReader.h"

namespace corvane::test {

TBytes Optimize(const TBytes& file, TReduceSteps steps) {
  TLoaded loaded = Load(file);
  if (!loaded.Error.empty()) throw std::runtime_error("cannot load: " + loaded.Error);
  ReduceFileSize(*loaded.Image, steps, 0, 0, 8);
  return Save(*loaded.Image);
}

TBytes OptimizeTwoPass(const TBytes& file) {
  TBytes first = Optimize(file, kFirstPassSteps);
  TBytes main = Optimize(file, kMainPassSteps);
  return first.size() < main.size() ? first : main;
}

std::string CheckOptimized(const TBytes& original, const TBytes& optimized) {
  TAnimationDifference difference = CompareAnimations(original, optimized);
  if (!difference.Equal()) return difference.Message;
  try {
    DecodeWithGiflib(optimized);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return {};
}

}  // namespace corvane::test
