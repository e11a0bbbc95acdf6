#pragma once
// What a GIF list run did with each file, as its row shows it (a mark on the reduction
// and the reason as the row's tooltip), and the summary of a whole run for the status bar.

#include <QIcon>
#include <QString>
#include <cstdint>

#include "gifbatch/GifList.h"
#include "gifbatch/ProcessGifFile.h"

namespace corvane {

enum class TGifOutcome : uint8_t {
  CanShrink,    // Test: a smaller encoding exists
  NoGain,       // no encoding is smaller than the file
  Replaced,     // Optimize: the file now holds the smaller encoding
  NotReplaced,  // Optimize: smaller, but the file kept its bytes (see the reason)
  Failed,       // the file could not be read as a GIF or an encoding not written
  Aborted,      // the run was aborted while this file was under work
};

TGifOutcome OutcomeOf(bool optimize, const TGifFileResult& result);
// The sentence the row's tooltip shows; the reason of a refusal or a failure is the
// last text appended to the item.
QString OutcomeText(TGifOutcome outcome, const TGifFileResult& result, const TGifListItem& item);
// The mark beside the reduction; none for NoGain.
QIcon OutcomeIcon(TGifOutcome outcome);

// Counts the files of one run as they end.
class TGifRunSummary {
 public:
  explicit TGifRunSummary(bool optimize) : FOptimize(optimize) {}
  void Add(TGifOutcome outcome, const TGifFileResult& result);
  // For instance "Optimize: 4 files, 2 replaced, 1 not replaced, 1 failed; 12,345 bytes
  // saved (23%)"; savedBytes is the run's total.
  QString Text(int64_t savedBytes, bool aborted) const;

 private:
  bool FOptimize;
  int FFiles = 0, FShrunk = 0, FNotReplaced = 0, FFailed = 0;
  int64_t FSourceBytes = 0;  // of the files read in full
};

}  // namespace corvane
