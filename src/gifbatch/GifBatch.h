#pragma once
// TGifBatch: the GIF tab's list and its runs without the window. "Test All" and
// "Optimize" run ProcessGifList over the whole list, selecting an item runs TestItem;
// the window shows View() and the list, and its Abort button calls Abort.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "GifList.h"
#include "GifRunSettings.h"
#include "ProcessGifFile.h"
#include "platform/Cursor.h"

namespace corvane {

// What the window shows of the runs.
struct TGifRunView {
  bool AbortEnabled = false;
  TCursor Cursor = TCursor::crDefault;
  // The total label: changes only when a file gets smaller, so a run that saves nothing
  // leaves the previous run's text.
  std::string TotalLabel = "0 bytes";
};

class TGifBatch {
 public:
  TGifList& List() { return FList; }
  const TGifList& List() const { return FList; }
  const TGifRunView& View() const { return FView; }
  // Bytes saved by the last run, or by the run under way.
  int64_t Total() const { return FTotal; }

  // The Abort button; also safe from a signal handler or another thread.
  void Abort() { FAbortRequested.store(true); }
  std::atomic<bool>& AbortFlag() { return FAbortRequested; }

  // Runs the pipeline over the items present when it starts, in list order: Test
  // measures, Optimize also replaces every file whose encoding is strictly smaller.
  // jobs > 1 works on that many files at once, each worker with its own buffers and
  // images, and still reports and counts in list order; a file is never worked on by
  // two workers at once, nor is a backup name, so a path or a backup name listed twice
  // is handled in list order; the run ends as a run in order would. Errors the pipeline
  // does not catch end the run after its clean-up and pass on. An Optimize run with
  // backups first refuses a backup directory among the files (EBackupDirectory).
  void ProcessGifList(TGifMode mode, const TGifOptions& options, const TGifRunSeams& seams, int jobs = 1);

  // The test of one item on selection: its results are appended as in a Test run, and
  // the chosen encoding comes back for the optimized preview when the result is complete.
  std::optional<std::vector<uint8_t>> TestItem(int index, const TGifOptions& options, const TGifRunSeams& seams);

 private:
  class TRunScope;
  void RunInOrder(TGifMode mode, const TGifOptions& options, const TGifRunSeams& seams);
  // Counts a smaller result (Optimize: a rewritten file) into the total and its label.
  void Count(TGifMode mode, const TGifFileResult& result, const TGifRunSeams& seams);

  TGifList FList;
  TGifRunView FView;
  int64_t FTotal = 0;
  std::atomic<bool> FAbortRequested{false};
};

}  // namespace corvane
