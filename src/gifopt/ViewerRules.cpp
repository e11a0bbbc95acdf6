#include "ViewerRules.h"

#include <algorithm>

#include "gif/GIFCodec.h"

namespace corvane {

// An undefined disposal that viewers read as dmRestorePrevious.
constexpr uint8_t kDisposalReadAsPrevious = 4;

TDisposalEffect DisposalEffect(uint8_t disposal) {
  switch (disposal) {
    case dmRestoreBackground:
      return TDisposalEffect::Clear;
    case dmRestorePrevious:
    case kDisposalReadAsPrevious:
      return TDisposalEffect::Restore;
    default:
      return TDisposalEffect::Keep;
  }
}

const TGIFGraphicControlExtension* ViewerControlBlock(const TGIFSubImage& frame) { return frame.ControlBlock(); }

TDisposalEffect FrameDisposalEffect(const TGIFSubImage& frame) {
  const TGIFGraphicControlExtension* control = ViewerControlBlock(frame);
  return control ? DisposalEffect(control->Disposal()) : TDisposalEffect::Keep;
}

bool StaysOnScreen(const TGIFSubImage& frame) {
  const TGIFGraphicControlExtension* control = ViewerControlBlock(frame);
  return !control || control->Disposal() <= dmKeep;
}

uint16_t FrameDelay(const TGIFSubImage& frame) {
  const TGIFGraphicControlExtension* control = ViewerControlBlock(frame);
  return control ? control->DelayTime() : 0;
}

int FrameDisplayTime(const TGIFSubImage& frame) { return DisplayTime(FrameDelay(frame)); }

bool HoldsLoopExtension(const TGIFSubImage& frame) {
  const TGIFExtensionList& extensions = frame.Extensions();
  for (int i = 0; i < extensions.MemberCount(); ++i)
    if (dynamic_cast<const TGIFAppExtNSLoop*>(&extensions.Extension(i))) return true;
  return false;
}

bool HasSeveralLoopExtensions(const TGIFImage& image) {
  const TGIFAppExtNSLoop* last = ViewerLoopExtension(image);
  for (int f = 0; last && f < image.FrameCount(); ++f) {
    const TGIFExtensionList& extensions = image.Frame(f).Extensions();
    for (int i = 0; i < extensions.MemberCount(); ++i) {
      const TGIFExtension* extension = &extensions.Extension(i);
      if (extension != last && dynamic_cast<const TGIFAppExtNSLoop*>(extension)) return true;
    }
  }
  return false;
}

const TGIFAppExtNSLoop* ViewerLoopExtension(const TGIFImage& image) {
  for (int f = image.FrameCount() - 1; f >= 0; --f) {
    const TGIFExtensionList& extensions = image.Frame(f).Extensions();
    for (int i = extensions.MemberCount() - 1; i >= 0; --i)
      if (auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(&extensions.Extension(i))) return loop;
  }
  return nullptr;
}

int ViewerLoopCount(const TGIFImage& image) {
  const TGIFAppExtNSLoop* loop = ViewerLoopExtension(image);
  return loop ? loop->FRepeatCount : kPlaysOnce;
}

TScreenSize BrowserScreen(const TGIFImage& image) {
  TScreenSize screen{image.Width(), image.Height()};
  if (!WidensBrowserScreen(image, 0)) return screen;
  const TGIFSubImage& first = image.Frame(0);
  return {std::max(screen.Width, first.FrameLeft() + first.FrameWidth()),
          std::max(screen.Height, first.FrameTop() + first.FrameHeight())};
}

bool WidensBrowserScreen(const TGIFImage& image, int i) {
  if (i != 0 || image.FrameCount() == 0) return false;
  const TGIFSubImage& first = image.Frame(0);
  return first.FrameLeft() + first.FrameWidth() > image.Width() || first.FrameTop() + first.FrameHeight() > image.Height();
}

}  // namespace corvane
