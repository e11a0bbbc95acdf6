#include "GifOptimizerSeams.h"

#include "gifopt/AnimationVerifier.h"
#include "gifopt/ReduceFileSize.h"

namespace corvane {

void ReduceForList(TGIFImage& image, TReduceSteps steps) { ReduceFileSize(image, steps, 0, 0, 8); }

std::optional<std::string> VisibleDifference(std::span<const uint8_t> original, std::span<const uint8_t> encoding) {
  TAnimationDifference difference = CompareAnimations(original, encoding);
  if (difference.Equal()) return std::nullopt;
  return difference.Message;
}

}  // namespace corvane
