#include "GifRunOnWorker.h"

#include <exception>
#include <thread>

#include "platform/Synchronize.h"

namespace corvane {

namespace {

template <typename... Args>
std::function<void(Args...)> OnMainThread(const std::function<void(Args...)>& call) {
  if (!call) return {};
  return [&call](Args... args) { Synchronize([&] { call(args...); }); };
}

TGifRunSeams SynchronizedSeams(const TGifRunSeams& seams) {
  TGifRunSeams synchronized = seams;
  synchronized.ItemChanged = OnMainThread(seams.ItemChanged);
  synchronized.ProcessMessages = OnMainThread(seams.ProcessMessages);
  synchronized.FileEnded = OnMainThread(seams.FileEnded);
  synchronized.ViewChanged = OnMainThread(seams.ViewChanged);
  return synchronized;
}

// Runs work on a worker while the calling thread serves. Should serving fail, the run is
// aborted and the calling thread goes on running the synchronised calls alone, so that
// the worker never waits on a thread that left.
void RunOnWorker(TGifBatch& batch, const std::function<void()>& work, const TServeUntilDone& serve) {
  std::atomic<bool> done{false};
  std::exception_ptr workError;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      workError = std::current_exception();
    }
    done.store(true);
    QueueToMainThread([] {});  // wakes the serving thread's event loop
  });
  try {
    serve(done);
  } catch (...) {
    batch.Abort();
    ServeSynchronizedCalls(done);
    worker.join();
    throw;
  }
  worker.join();
  if (workError) std::rethrow_exception(workError);
}

}  // namespace

void ServeSynchronizedCalls(const std::atomic<bool>& done) {
  while (!done.load()) CheckSynchronize(kInfinite);
}

void ProcessGifListOnWorker(TGifBatch& batch, TGifMode mode, const TGifOptions& options, const TGifRunSeams& seams,
                            const TServeUntilDone& serve) {
  TGifRunSeams synchronized = SynchronizedSeams(seams);
  RunOnWorker(batch, [&] { batch.ProcessGifList(mode, options, synchronized); }, serve);
}

std::optional<std::vector<uint8_t>> TestItemOnWorker(TGifBatch& batch, int index, const TGifOptions& options,
                                                     const TGifRunSeams& seams, const TServeUntilDone& serve) {
  TGifRunSeams synchronized = SynchronizedSeams(seams);
  std::optional<std::vector<uint8_t>> chosen;
  RunOnWorker(batch, [&] { chosen = batch.TestItem(index, options, synchronized); }, serve);
  return chosen;
}

}  // namespace corvane
