#include "PictureSequence.h"

namespace corvane {

bool TPictureSequence::Next() {
  if (!FAhead) {
    if (!FComposer.NextFrame()) return false;
    FComposer.DrawFrame();
  }
  FPicture = FComposer.Screen();
  FTime = FComposer.FrameTime();
  FFirstFrame = FComposer.FrameIndex();
  FAhead = false;
  while (FComposer.NextFrame()) {
    FComposer.DrawFrame();
    if (FComposer.Screen() != FPicture) {
      FAhead = true;
      break;
    }
    FTime += FComposer.FrameTime();
  }
  return true;
}

}  // namespace corvane
