#pragma once
// A list run on several worker threads. Each worker has its own working set and takes
// the next item in list order that conflicts with no earlier item still pending, under
// work or waiting to be finished: two items conflict when they name the same file or,
// with backups, the same backup copy. The workers optimize ahead; the calling thread
// finishes and reports the files in list order, so that the run ends as a run in order
// would: no file after the one that ends it is finished or reported.

#include <atomic>
#include <functional>
#include <span>

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
  // On the worker, right after a complete file, while its chosen buffer is in the
  // working set.
  std::function<void(int index, TGifFileResult& result, TGifWorkingSet& work)> Check;
  // On the calling thread, in list order, for a complete file, with the bytes that
  // BytesToWrite answers in an Optimize run (otherwise none).
  std::function<void(int index, TGifFileResult& result, std::span<const uint8_t> encoding)> Finish;
  // On the calling thread, in list order, for every file that was started, after Finish;
  // the result's Chosen buffer is gone by then.
  std::function<void(int index, const TGifFileResult& result)> Report;
};

// The run ends at the first file in list order that ends aborted or raises, and at the
// first file not yet finished when an abort is requested (it is reported aborted). Files
// after it are neither finished nor reported, and the texts the workers gave them are
// taken back; then the error, if any, passes on.
void RunGifListInParallel(const TParallelGifRun& run);

}  // namespace corvane
