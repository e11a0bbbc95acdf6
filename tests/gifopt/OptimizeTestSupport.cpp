#include "OptimizeTestSupport.h"

#include <stdexcept>

#include "gifopt/AnimationVerifier.h"
#include "gifopt/ReduceFileSize.h"
#include "support/GiflibReader.h"

namespace corvane::test {

TGIFGraphicControlExtension& AddControl(TGIFSubImage& frame, int disposal, int delay, int transparentIndex) {
  auto& control = AddExtension<TGIFGraphicControlExtension>(frame);
  control.SetDisposal(uint8_t(disposal));
  control.SetDelayTime(uint16_t(delay));
  if (transparentIndex >= 0) {
    control.SetTransparent(true);
    control.SetTransparentIndex(uint8_t(transparentIndex));
  }
  return control;
}

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
