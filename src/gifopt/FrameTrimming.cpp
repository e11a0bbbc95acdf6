#include "FrameTrimming.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "gif/GIFCodec.h"
#include "gifopt/AnimationComposer.h"
#include "gifopt/ViewerExtensions.h"
#include "gifopt/RedundantBlocks.h"
#include "gifopt/ReduceProgress.h"
#include "gifopt/ViewerRules.h"

namespace corvane {

namespace {

bool IsTrimCandidate(const TGIFSubImage& frame) {
  return !frame.IsBlank() && frame.HasTransparency() && frame.ControlBlock();
}

// For every frame that restores to background: whether cropping it leaves the rectangle that
// its disposal clears as it was, because the screen beneath the cropped-away part is already
// transparent. Other frames answer true.
std::vector<bool> CropKeepsClearing(const TGIFImage& image) {
  std::vector<bool> keeps(size_t(image.FrameCount()), true);
  auto restoresToBackground = [](const TGIFSubImage& frame) {
    return IsTrimCandidate(frame) && FrameDisposalEffect(frame) == TDisposalEffect::Clear;
  };
  bool any = false;
  for (int i = 0; i < image.FrameCount(); ++i) any = any || restoresToBackground(image.Frame(i));
  if (!any) return keeps;
  if (!TAnimationComposer::CanCompose(image)) {
    for (int i = 0; i < image.FrameCount(); ++i) keeps[size_t(i)] = !restoresToBackground(image.Frame(i));
    return keeps;
  }
  TAnimationComposer composer(image);
  while (composer.NextFrame()) {
    const TGIFSubImage& frame = image.Frame(composer.FrameIndex());
    if (restoresToBackground(frame)) {
      TRect kept = KeptRectangle(frame);
      TRect keptOnScreen = {kept.Left + frame.FrameLeft(), kept.Top + frame.FrameTop(), kept.Right + frame.FrameLeft(),
                            kept.Bottom + frame.FrameTop()};
      keeps[size_t(composer.FrameIndex())] = composer.IsClearOutside(frame.BoundsRect(), keptOnScreen);
    }
    composer.DrawFrame();
  }
  return keeps;
}

// Whether frame i, which shows nothing, can go with its time added to the previous frame:
// the previous frame must stay on the screen, so that it still shows what frame i showed.
bool CanRemove(const TGIFImage& image, int i, TReduceSteps steps) {
  if (i == 0 || HoldsKeptBlock(image.Frame(i), steps)) return false;
  const TGIFSubImage& previous = image.Frame(i - 1);
  const TGIFSubImage& frame = image.Frame(i);
  if (previous.IsBlank() || !StaysOnScreen(previous)) return false;
  // The carried delay must read the same under both rules for short delays.
  if (!DelayReadsAlike(FrameDelay(previous)) || !DelayReadsAlike(FrameDelay(frame))) return false;
  if (HoldsLoopExtension(frame) && HasSeveralLoopExtensions(image)) return false;
  return FrameDisplayTime(previous) + FrameDisplayTime(frame) <= kMaxGifDelay;
}

void RemoveEmptyFrame(TGIFImage& image, int i) {
  TGIFSubImage& frame = image.Frame(i);
  TGIFSubImage& previous = image.Frame(i - 1);
  int time = FrameDisplayTime(previous) + FrameDisplayTime(frame);
  if (!previous.ControlBlock())
    previous.Extensions().AppendMember(std::make_unique<TGIFGraphicControlExtension>(previous));
  previous.ControlBlock()->SetDelayTime(uint16_t(time));
  MoveLoopExtensionsToFirstFrame(frame);
  image.Frames().DeleteMember(i);
}

bool FitsPosition(const TGIFSubImage& frame, const TRect& kept) {
  return frame.FrameLeft() + kept.Left <= kMaxGifExtent && frame.FrameTop() + kept.Top <= kMaxGifExtent;
}

// Trims frame i where that keeps the animation as it was, and the screen browsers show with
// it; true when the frame changed.
bool TrimFrame(TGIFImage& image, int i, bool cropKeepsClearing, TReduceSteps steps) {
  TGIFSubImage& frame = image.Frame(i);
  if (!cropKeepsClearing || WidensBrowserScreen(image, i)) return false;
  const TRect kept = KeptRectangle(frame);
  if (!kept.IsEmpty()) {
    if (kept == Bounds(0, 0, frame.FrameWidth(), frame.FrameHeight()) || !FitsPosition(frame, kept)) return false;
    frame.CropFrame(kept);
    return true;
  }
  if (CanRemove(image, i, steps)) {
    RemoveEmptyFrame(image, i);
    return true;
  }
  // A frame that shows nothing still holds the screen for its time: one transparent pixel
  // keeps that.
  if (frame.FrameWidth() == 1 && frame.FrameHeight() == 1) return false;
  frame.CropFrame(Bounds(0, 0, 1, 1));
  return true;
}

}  // namespace

TRect KeptRectangle(const TGIFSubImage& frame) {
  const int width = frame.FrameWidth();
  const int height = frame.FrameHeight();
  if (!IsTrimCandidate(frame)) return Bounds(0, 0, width, height);
  const uint8_t index = frame.ControlBlock()->TransparentIndex();
  TRect kept{width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = frame.PixelData() + size_t(y) * size_t(width);
    const uint8_t* end = row + width;
    const uint8_t* first = std::find_if(row, end, [index](uint8_t p) { return p != index; });
    if (first == end) continue;
    const uint8_t* last = std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first),
                                       [index](uint8_t p) { return p != index; })
                              .base();
    kept.Left = std::min(kept.Left, int(first - row));
    kept.Right = std::max(kept.Right, int(last - row));
    kept.Top = std::min(kept.Top, y);
    kept.Bottom = y + 1;
  }
  return kept.IsEmpty() ? TRect{} : kept;
}

void TrimTransparentBorders(TGIFSubImage& frame) {
  if (!IsTrimCandidate(frame)) return;
  const TRect kept = KeptRectangle(frame);
  if (kept.IsEmpty())
    frame.ClearFrame();
  else if (kept != Bounds(0, 0, frame.FrameWidth(), frame.FrameHeight()) && FitsPosition(frame, kept))
    frame.CropFrame(kept);
}

void TrimTransparentFrames(TGIFImage& image, TReduceProgress& progress, TReduceSteps steps) {
  const std::vector<bool> cropKeepsClearing = CropKeepsClearing(image);
  for (int i = image.FrameCount() - 1; i >= 0; --i) {
    progress.Step();
    if (!IsTrimCandidate(image.Frame(i))) continue;
    if (TrimFrame(image, i, cropKeepsClearing[size_t(i)], steps)) progress.Report();
  }
}

}  // namespace corvane
