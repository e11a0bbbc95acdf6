#pragma once
// A list run on several worker threads. Each worker has its own working set and takes
// the next item in list order that conflicts with no earlier item still pending or under
// work: two items conflict when they name the same file or, with backups, the same
// backup copy. The calling thread reports the files in list order.

#include <atomic>
#include <functional>

#include "GifList.h"
#include "GifRunSettings.h"
#include "ProcessGifFile.h"

namespace corvane {

struct TParallelGifRun {
  TGifList& List;
  int Jobs;
  TGifMode Mode;
  const TGifOptions& Options;
  // Used on the workers: Reduce and CheckEncoding must allow calls from several threads.
  const TGifRunSeams& WorkerSeams;
  std::atomic<bool>& AbortRequested;
  // On the worker, right after a complete file, before a conflicting item may start.
  std::function<void(int index, TGifFileResult& result, TGifWorkingSet& work)> Finish;
  // On the calling thread, in list order, for every file that was started; the result's
  // Chosen buffer is gone by then.
  std::function<void(int index, const TGifFileResult& result)> Report;
};

// Stops taking items once an abort is requested, a file ends aborted or an error escapes
// a worker; files under work finish, the calling thread reports what was started, and
// then the first escaped error in list order passes on.
void RunGifListInParallel(const TParallelGifRun& run);

}  // namespace corvane
