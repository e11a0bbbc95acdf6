#include "RedundantBlocks.h"

#include <cstring>

#include "gif/GIFCodec.h"
#include "gifopt/ReduceProgress.h"
#include "gifopt/TableUsers.h"
#include "gifopt/ViewerExtensions.h"
#include "gifopt/ViewerRules.h"

namespace corvane {

namespace {

bool HoldsIndex(const TGIFSubImage& frame, uint8_t index) {
  return !frame.IsBlank() && std::memchr(frame.PixelData(), index, size_t(frame.PixelDataSize())) != nullptr;
}

bool Contains(const TRect& outer, const TRect& inner) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

// Frame next covers all of frame with pixels that viewers show as colours, and leaves them.
bool PaintsOver(const TGIFSubImage& next, const TGIFSubImage& frame) {
  return Contains(next.BoundsRect(), frame.BoundsRect()) && !next.IsBlank() &&
         FrameDisposalEffect(next) != TDisposalEffect::Restore && !FrameHoldsUndefinedIndices(next);
}

bool IsDroppedBlock(const TGIFExtension& extension) {
  return dynamic_cast<const TGIFCommentExtension*>(&extension) ||
         dynamic_cast<const TGIFTextExtension*>(&extension) ||
         dynamic_cast<const TGIFUnknownAppExtension*>(&extension);
}

void DropExtensions(TGIFImage& image, int i, TReduceSteps steps) {
  TGIFSubImage& frame = image.Frame(i);
  if (i > 0 && !(steps & rsKeepAppBlocks)) MoveLoopExtensionsToFirstFrame(frame);
  TGIFExtensionList& extensions = frame.Extensions();
  for (int k = extensions.MemberCount() - 1; k >= 0; --k) {
    const TGIFExtension& extension = extensions.Extension(k);
    if (IsKeptBlock(extension, steps)) continue;
    bool loopOfStill = dynamic_cast<const TGIFAppExtNSLoop*>(&extension) && image.FrameCount() == 1;
    if (IsDroppedBlock(extension) || loopOfStill) extensions.DeleteMember(k);
  }
}

void DropIneffectiveControlBlock(TGIFImage& image, TGIFSubImage& frame) {
  TGIFGraphicControlExtension* control = frame.ControlBlock();
  if (!control) return;
  const bool still = image.FrameCount() == 1;
  if ((control->DelayTime() == 0 || still) && !control->Transparent() && !control->UserInput() &&
      (control->Disposal() <= dmKeep || still))
    frame.Extensions().DetachMember(*control);
}

}  // namespace

bool IsKeptBlock(const TGIFExtension& extension, TReduceSteps steps) {
  return ((steps & rsKeepComments) && dynamic_cast<const TGIFCommentExtension*>(&extension)) ||
         ((steps & rsKeepAppBlocks) && dynamic_cast<const TGIFApplicationExtension*>(&extension));
}

bool HoldsKeptBlock(const TGIFSubImage& frame, TReduceSteps steps) {
  const TGIFExtensionList& extensions = frame.Extensions();
  for (int k = 0; k < extensions.MemberCount(); ++k)
    if (IsKeptBlock(extensions.Extension(k), steps)) return true;
  return false;
}

void ClearUnusedTransparency(TGIFImage& image, TReduceProgress& progress) {
  for (int i = 0; i < image.FrameCount(); ++i) {
    progress.Step();
    TGIFSubImage& frame = image.Frame(i);
    TGIFGraphicControlExtension* control = frame.ControlBlock();
    if (!frame.HasTransparency() || !control || HoldsIndex(frame, control->TransparentIndex())) continue;
    control->SetTransparent(false);
    progress.Report();
  }
}

void ReviewDisposals(TGIFImage& image, TReduceProgress& progress) {
  for (int i = 0; i + 1 < image.FrameCount(); ++i) {
    progress.Step();
    const TGIFSubImage& next = image.Frame(i + 1);
    TGIFGraphicControlExtension* control = image.Frame(i).ControlBlock();
    if (!control || (control->Disposal() != dmRestoreBackground && control->Disposal() != dmRestorePrevious) || next.HasTransparency() ||
        Intersect(image.Frame(i).BoundsRect(), next.BoundsRect()).IsEmpty())
      continue;
    if (PaintsOver(next, image.Frame(i))) control->SetDisposal(dmUnspecified);
    progress.Report();
  }
}

void DropRedundantBlocks(TGIFImage& image, TReduceProgress& progress, TReduceSteps steps) {
  for (int i = image.FrameCount() - 1; i >= 0; --i) {
    DropExtensions(image, i, steps);
    TGIFSubImage& frame = image.Frame(i);
    DropIneffectiveControlBlock(image, frame);
    if (frame.IsBlank() && frame.Extensions().MemberCount() == 0) image.Frames().DeleteMember(i);
  }
  progress.Report();
}

}  // namespace corvane
