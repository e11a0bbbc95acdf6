#pragma once
// The per-file pipeline: one GIF file read into memory, optimized by one or two passes,
// serialised, and the smaller encoding chosen; its sizes and reduction appended to the
// file's list item as they arise. Only the backup copy and the finishing step touch the
// disk.

#include <atomic>
#include <cstdint>

#include "GifList.h"
#include "GifRunSettings.h"
#include "GifWorkingSet.h"

namespace corvane {

enum class TGifFileEnding : uint8_t {
  Complete,  // both sizes and the reduction are appended
  Failed,    // the file did not parse or an encoding could not be written: its message is appended
  Aborted,   // an abort request was seen: the caller's whole run ends
};

struct TGifFileResult {
  TGifFileEnding Ending = TGifFileEnding::Aborted;
  int64_t SourceSize = 0;     // once the file is read
  int64_t OptimizedSize = 0;  // when complete
  // Buffer A or B of the working set, rewound, when complete.
  TMemoryStream* Chosen = nullptr;
  // Set by the finishing step.
  bool Rewritten = false;
  bool Refused = false;  // the new encoding would look different; the file kept its bytes

  bool Smaller() const { return Ending == TGifFileEnding::Complete && OptimizedSize < SourceSize; }
};

// Runs the pipeline for the item (the index names it to seams.ItemChanged). Errors
// reading the file ("Cannot open file %s"), writing the backup ("Cannot create file %s")
// and those of seams.Reduce pass on to the caller. Both images are empty afterwards.
TGifFileResult ProcessGifFile(TGifListItem& item, int index, TGifMode mode, const TGifOptions& options, TGifWorkingSet& work,
                              const std::atomic<bool>& abortRequested, const TGifRunSeams& seams);

// The finishing step of an Optimize run for a smaller result: checks the encoding when
// seams.CheckEncoding is set (a refusal is appended to the item) and replaces the file
// with it atomically. "Cannot create file %s" when the file cannot be replaced.
void ReplaceWithSmallerEncoding(TGifListItem& item, int index, TGifFileResult& result, TGifWorkingSet& work,
                                const TGifRunSeams& seams);

}  // namespace corvane
