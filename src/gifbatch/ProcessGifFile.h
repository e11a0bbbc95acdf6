#pragma once
// The per-file pipeline: one GIF file read into memory, optimized by one or two passes,
// serialised, and the smaller encoding chosen; its sizes and reduction appended to the
// file's list item as they arise. Only the backup copy and the finishing step touch the
// disk.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "GifList.h"
#include "GifRunSettings.h"
#include "GifWorkingSet.h"
#include "platform/FileStamp.h"

namespace corvane {

enum class TGifFileEnding : uint8_t {
  Complete,  // both sizes and the reduction are appended
  Failed,    // the file did not parse or an encoding could not be written: its message is appended
  Aborted,   // an abort request was seen: the caller's whole run ends
};

struct TGifFileResult {
  TGifFileEnding Ending = TGifFileEnding::Aborted;
  bool Read = false;          // the file's bytes were read
  int64_t SourceSize = 0;     // once the file is read
  int64_t OptimizedSize = 0;  // when complete
  // Buffer A, B or D of the working set, rewound, when complete.
  TMemoryStream* Chosen = nullptr;
  // The verifier already found that Chosen shows what the file showed (the deep level's
  // encoding); the finishing step need not compare them again.
  bool Verified = false;
  // The file as it was read, to tell whether it is still the same when it is replaced.
  TFileStamp Source;
  // Where the backup copy went, when one was made.
  std::filesystem::path Backup;
  // The message of a failed file.
  std::string Error;
  // Set by the finishing step.
  bool Rewritten = false;
  // The file kept its bytes though the result is smaller: the new encoding would look
  // different, the file changed during the run or could not be replaced. The item's last
  // text says why.
  bool Refused = false;
  // The last refusal is the verifier's: the encoding would look different.
  bool LooksDifferent = false;

  bool Smaller() const { return Ending == TGifFileEnding::Complete && OptimizedSize < SourceSize; }
};

// Runs the pipeline for the item (the index names it to seams.ItemChanged). Errors
// reading the file ("Cannot open file %s: reason"), writing the backup ("Cannot create
// file %s: reason") and those of seams.Reduce pass on to the caller, unless
// options.ErrorsInRows makes them the file's failure. A backup copy that had to take
// another name is told by a last text "Backed up as NAME". Both images are empty
// afterwards.
TGifFileResult ProcessGifFile(TGifListItem& item, int index, TGifMode mode, const TGifOptions& options, TGifWorkingSet& work,
                              const std::atomic<bool>& abortRequested, const TGifRunSeams& seams);

// The finishing step of an Optimize run for a smaller result, in two halves: the check
// of the encoding when seams.CheckEncoding is set (a refusal is appended to the item)...
void CheckSmallerEncoding(TGifListItem& item, int index, TGifFileResult& result, const TGifWorkingSet& work,
                          const TGifRunSeams& seams);
// ... and, unless refused, the atomic replacement of the file when it is still the one
// read ("Not replaced: the file changed during the run" otherwise). A file with an output
// elsewhere (item.Output) has bytes written there atomically instead, never over the file
// itself. "Cannot create file %s: reason" when the file cannot be written passes on, or
// with options.ErrorsInRows becomes the refusal's text.
void ReplaceFile(TGifListItem& item, int index, TGifFileResult& result, std::span<const uint8_t> bytes,
                 const TGifOptions& options, const TGifRunSeams& seams);
// What the second half writes for a complete file: the smaller encoding unless refused;
// otherwise, for a file with an output elsewhere, the file's own bytes, so that the output
// always holds the best picture file there is; otherwise nothing.
std::span<const uint8_t> BytesToWrite(const TGifListItem& item, const TGifFileResult& result, const TGifWorkingSet& work);
// Both halves, for any complete file of an Optimize run.
void FinishOptimizedFile(TGifListItem& item, int index, TGifFileResult& result, const TGifWorkingSet& work,
                         const TGifOptions& options, const TGifRunSeams& seams);

}  // namespace corvane
