#pragma once
// The GIF tab's list runs and item tests on a worker thread, so that the window stays
// live while files are read, optimized and written. Every call that reaches the window
// (row texts, the view, file ends, the message pump) runs on the user-interface thread
// through Synchronize while the worker waits, so the window reads the list and the view
// when nothing changes them; the reducer and the encoding check run on the worker.

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

#include "GifBatch.h"

namespace corvane {

// Runs on the user-interface thread while the worker works, until done is set: it must
// run the synchronised calls, as an event loop that drains them does.
using TServeUntilDone = std::function<void(const std::atomic<bool>& done)>;

// Serves by running the synchronised calls alone, for callers without an event loop.
void ServeSynchronizedCalls(const std::atomic<bool>& done);

// TGifBatch::ProcessGifList (in list order) and TGifBatch::TestItem on a worker; errors
// pass on to the caller once the worker has ended.
void ProcessGifListOnWorker(TGifBatch& batch, TGifMode mode, const TGifOptions& options, const TGifRunSeams& seams,
                            const TServeUntilDone& serve);
std::optional<std::vector<uint8_t>> TestItemOnWorker(TGifBatch& batch, int index, const TGifOptions& options,
                                                     const TGifRunSeams& seams, const TServeUntilDone& serve);

}  // namespace corvane
