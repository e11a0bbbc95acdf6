#pragma once
// TLatestJobWorker: runs jobs on a worker thread of its own, only the latest of those
// asked for meanwhile, and hands each outcome to the user-interface thread's queue.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Exceptions.h"
#include "platform/Synchronize.h"

namespace corvane {

template <class TJob, class TResult>
class TLatestJobWorker {
 public:
  // Makes the job's result on the worker; asks superseded between its steps and raises
  // EAbort once it answers true.
  using TRun = std::function<TResult(const TJob& job, const std::function<bool()>& superseded)>;
  // Runs on the user-interface thread for each job made, with its serial and either its
  // result or its error.
  using TDone = std::function<void(uint64_t serial, TResult& result, std::exception_ptr error)>;

  TLatestJobWorker(TRun run, TDone done) : FRun(std::move(run)), FDone(std::move(done)) {}
  // Ends the job under work at its next step and waits for it; what it makes is not
  // handed over.
  ~TLatestJobWorker() {
    *FAlive = false;
    {
      std::lock_guard lock(FMutex);
      FStop = true;
      ++FSerial;
    }
    FWake.notify_one();
    if (FThread.joinable()) FThread.join();
  }
  TLatestJobWorker(const TLatestJobWorker&) = delete;
  TLatestJobWorker& operator=(const TLatestJobWorker&) = delete;

  // Queues the job in place of any job still waiting, and ends the one under work at its
  // next step; the Done of neither runs. Answers the job's serial, counted from 1.
  // User-interface thread only.
  uint64_t Request(TJob job) {
    uint64_t serial;
    {
      std::lock_guard lock(FMutex);
      FWaiting = std::move(job);
      serial = ++FSerial;
    }
    FWake.notify_one();
    if (!FThread.joinable()) FThread = std::thread([this] { Work(); });
    return serial;
  }

 private:
  void Work() {
    for (;;) {
      std::optional<TJob> job;
      uint64_t serial;
      {
        std::unique_lock lock(FMutex);
        FWake.wait(lock, [this] { return FStop || FWaiting; });
        if (FStop) return;
        job.swap(FWaiting);
        serial = FSerial;
      }
      TResult result;
      std::exception_ptr error;
      try {
        result = FRun(*job, [this, serial] { return FSerial.load() != serial; });
      } catch (const EAbort&) {
        continue;  // a later request is waiting
      } catch (...) {
        error = std::current_exception();
      }
      HandOver(serial, std::move(result), error);
    }
  }

  void HandOver(uint64_t serial, TResult result, std::exception_ptr error) {
    auto made = std::make_shared<TResult>(std::move(result));
    QueueToMainThread([alive = FAlive, done = FDone, serial, made, error] {
      if (*alive) done(serial, *made, error);
    });
  }

  TRun FRun;
  TDone FDone;
  // Set and read on the user-interface thread only: false once the worker is gone, for
  // the outcomes still queued there.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  std::mutex FMutex;
  std::condition_variable FWake;
  std::optional<TJob> FWaiting;
  std::atomic<uint64_t> FSerial{0};  // of the latest request
  bool FStop = false;
  std::thread FThread;  // started by the first request
};

}  // namespace corvane
