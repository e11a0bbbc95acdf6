#include "GifBatch.h"

#include <memory>

#include "BackupCopy.h"
#include "ParallelGifRun.h"

namespace corvane {

// A run or item test under way: the Abort button enabled and the hour-glass cursor, set
// back in every ending.
class TGifBatch::TRunScope {
 public:
  TRunScope(TGifBatch& batch, const TGifRunSeams& seams) : FBatch(batch), FSeams(seams) {
    FBatch.FAbortRequested.store(false);
    Show(true, TCursor::crHourGlass);
  }
  ~TRunScope() { Show(false, TCursor::crDefault); }
  TRunScope(const TRunScope&) = delete;
  TRunScope& operator=(const TRunScope&) = delete;

 private:
  void Show(bool abortEnabled, TCursor cursor) {
    FBatch.FView.AbortEnabled = abortEnabled;
    FBatch.FView.Cursor = cursor;
    if (FSeams.ViewChanged) FSeams.ViewChanged();
  }

  TGifBatch& FBatch;
  const TGifRunSeams& FSeams;
};

void TGifBatch::ProcessGifList(TGifMode mode, const TGifOptions& options, const TGifRunSeams& seams, int jobs) {
  if (mode == TGifMode::Optimize && options.Backup) CheckBackupDirectory(FList, options);
  TRunScope scope(*this, seams);
  FTotal = 0;
  if (jobs <= 1) {
    RunInOrder(mode, options, seams);
    return;
  }
  TGifRunSeams workerSeams{seams.Reduce, seams.CheckEncoding, {}, {}, {}, {}, seams.BeforeReplace};
  RunGifListInParallel(TParallelGifRun{
      FList, jobs, mode, options, workerSeams, FAbortRequested,
      [&](int index, TGifFileResult& result, TGifWorkingSet& work) {
        if (mode == TGifMode::Optimize && result.Smaller())
          CheckSmallerEncoding(FList.Item(index), index, result, work, workerSeams);
      },
      [&](int index, TGifFileResult& result, std::span<const uint8_t> encoding) {
        if (mode == TGifMode::Optimize) ReplaceFile(FList.Item(index), index, result, encoding, options, seams);
        Count(mode, result, seams);
      },
      [&](int index, const TGifFileResult& result) {
        if (seams.ItemChanged) seams.ItemChanged(index);
        if (seams.FileEnded) seams.FileEnded(index, result);
        if (result.Ending == TGifFileEnding::Complete && seams.ProcessMessages) seams.ProcessMessages();
      }});
}

void TGifBatch::RunInOrder(TGifMode mode, const TGifOptions& options, const TGifRunSeams& seams) {
  TGIFMemoryBudget budget(options.MemoryBudget);
  auto work = std::make_unique<TGifWorkingSet>();
  work->ShareBudget(budget);
  int count = FList.Count();
  for (int i = 0; i < count; ++i) {
    TGifFileResult result = ProcessGifFile(FList.Item(i), i, mode, options, *work, FAbortRequested, seams);
    if (result.Ending == TGifFileEnding::Complete) {
      if (mode == TGifMode::Optimize) FinishOptimizedFile(FList.Item(i), i, result, *work, options, seams);
      Count(mode, result, seams);
    }
    if (seams.FileEnded) seams.FileEnded(i, result);
    if (result.Ending == TGifFileEnding::Aborted) return;
    if (result.Ending == TGifFileEnding::Complete && seams.ProcessMessages) seams.ProcessMessages();
  }
}

void TGifBatch::Count(TGifMode mode, const TGifFileResult& result, const TGifRunSeams& seams) {
  // Optimize counts what the files really lost; a refused or failed rewrite saves nothing.
  if (mode == TGifMode::Optimize ? !result.Rewritten : !result.Smaller()) return;
  FTotal += result.SourceSize - result.OptimizedSize;
  FView.TotalLabel = std::to_string(FTotal) + " bytes";
  if (seams.ViewChanged) seams.ViewChanged();
}

std::optional<std::vector<uint8_t>> TGifBatch::TestItem(int index, const TGifOptions& options,
                                                        const TGifRunSeams& seams) {
  TRunScope scope(*this, seams);
  TGIFMemoryBudget budget(options.MemoryBudget);
  auto work = std::make_unique<TGifWorkingSet>();
  work->ShareBudget(budget);
  TGifFileResult result = ProcessGifFile(FList.Item(index), index, TGifMode::Test, options, *work, FAbortRequested, seams);
  if (result.Ending != TGifFileEnding::Complete) return std::nullopt;
  if (seams.ProcessMessages) seams.ProcessMessages();
  return result.Chosen->Bytes();
}

}  // namespace corvane
