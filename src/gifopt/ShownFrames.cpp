#include "ShownFrames.h"

#include "gif/GIFCodec.h"
#include "gifopt/ViewerRules.h"

namespace corvane {

namespace {

uint16_t WrittenDelay(const TGIFSubImage& frame) {
  const TGIFGraphicControlExtension* control = ViewerControlBlock(frame);
  return control ? control->DelayTime() : 0;
}

bool Summable(uint16_t a, uint16_t b) { return a > 1 && b > 1 && int(a) + int(b) <= kMaxGifDelay; }

}  // namespace

bool TShownFrames::Next() {
  if (!FAhead) {
    if (!FComposer.NextFrame()) return false;
    FComposer.DrawFrame();
  }
  FFirst = FComposer.FrameIndex();
  FPicture = FComposer.Screen();
  FDelay = WrittenDelay(FComposer.Image().Frame(FComposer.FrameIndex()));
  FAhead = false;
  while (FComposer.NextFrame()) {
    FComposer.DrawFrame();
    const uint16_t delay = WrittenDelay(FComposer.Image().Frame(FComposer.FrameIndex()));
    if (FComposer.Screen() != FPicture || !Summable(FDelay, delay)) {
      FAhead = true;
      break;
    }
    FDelay = uint16_t(FDelay + delay);
  }
  return true;
}

}  // namespace corvane
