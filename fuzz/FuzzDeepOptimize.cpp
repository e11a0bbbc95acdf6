// Encodes arbitrary bytes that load as a GIF file at the deep level, without and with the
// comments and application blocks kept. Where the verifier can compose the original as viewers
// show it, each new encoding must show the same: a difference aborts.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "GifFuzzLimits.h"
#include "gif/GIFCodec.h"
#include "gifopt/AnimationVerifier.h"
#include "gifopt/DeepOptimize.h"

namespace {

using namespace corvane;

// Screens and animations small enough for many runs a second.
constexpr int64_t kMaxScreenPixels = int64_t(1) << 16;
constexpr int kMaxFrames = 64;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LimitGifPixelsForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGIFImage image;
  image.FWarningHandler = [](const TPersistent*, int, const std::string&) {};
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  try {
    image.LoadFromStream(stream);
  } catch (const GIFException&) {
    return 0;
  }
  if (int64_t(image.Width()) * image.Height() > kMaxScreenPixels || image.FrameCount() > kMaxFrames) return 0;
  const std::span<const uint8_t> original(data, size);
  for (TReduceSteps kept : {0, rsKeepComments | rsKeepAppBlocks}) {
    std::optional<std::vector<uint8_t>> deep = DeepEncodeUnchecked(image, kept);
    if (!deep) return 0;
    const TAnimationDifference difference = CompareAnimations(original, *deep);
    const bool originalUnreadable =
        difference.Kind == TAnimationDifference::TKind::Unreadable && difference.Message.starts_with("The first");
    if (!difference.Equal() && !originalUnreadable) std::abort();
  }
  return 0;
}
