#include "ReduceFileSize.h"

#include "gif/GIFCodec.h"
#include "gifopt/ColorMapPacking.h"
#include "gifopt/FrameMasking.h"
#include "gifopt/FrameTrimming.h"
#include "gifopt/RedundantBlocks.h"
#include "gifopt/ReduceProgress.h"
#include "gifopt/ViewerExtensions.h"

namespace corvane {

namespace {

void PackColorTables(TGIFImage& image, TReduceProgress& progress) {
  if (image.Header().GlobalTable().EntryCount() > 0) Pack(image.Header().GlobalTable());
  for (int i = 0; i < image.FrameCount(); ++i) {
    progress.Step();
    TGIFLocalColorMap& local = image.Frame(i).LocalTable();
    if (local.EntryCount() == 0) continue;
    Pack(local);
    progress.Report();
  }
}

void RunSteps(TGIFImage& image, TReduceSteps steps, uint8_t reductionMethod, TReduceProgress& progress) {
  const int frames = image.FrameCount();
  if (steps & (rsTrimBorders | rsMaskUnchanged | rsDropRedundant | rsPackColorTables)) KeepViewerExtensions(image);
  if (steps & rsPackColorTables) PackColorTables(image, progress);
  if (steps & rsDropRedundant) {
    ClearUnusedTransparency(image, progress);
    ReviewDisposals(image, progress);
  } else {
    progress.Step(2 * frames);
  }
  if (steps & rsMaskUnchanged)
    MaskUnchangedFrames(image, progress);
  else
    progress.Step(frames);
  if (steps & rsTrimBorders)
    TrimTransparentFrames(image, progress, steps);
  else
    progress.Step(frames);
  progress.Step(image.FrameCount());
  if (steps & rsDropRedundant)
    DropRedundantBlocks(image, progress, steps);
  else if ((steps & rsLowerColorDepth) && reductionMethod == kPaletteReduction)
    throw GIFException("Invalid reduction method");
}

}  // namespace

void ReduceFileSize(TGIFImage& image, TReduceSteps steps, uint8_t reductionMethod, int /*ditherKind*/,
                    int /*targetBitDepth*/) {
  if (image.FrameCount() == 0) return;
  image.StopAllPainters();
  std::unique_lock<std::recursive_mutex> painters = image.LockPainterList();
  TReduceProgress progress(image, 6 * int64_t(image.FrameCount()));
  progress.Report(TProgressStage::psStarting, 0);
  try {
    RunSteps(image, steps, reductionMethod, progress);
  } catch (...) {
    progress.Report(TProgressStage::psEnding, 0);
    throw;
  }
  progress.Report(TProgressStage::psEnding, 100);
}

}  // namespace corvane
