#include "Thread.h"

#include <memory>

#include "Exceptions.h"
#include "Synchronize.h"

namespace corvane {

TThread::~TThread() {
  if (FStarted && !FFinished) {
    Terminate();
    WaitUntilFinished();
  }
  if (!FThread.joinable()) return;
  if (FThreadId.load() == std::this_thread::get_id())
    FThread.detach();
  else
    FThread.join();
}

void TThread::Resume() {
  if (FStarted.exchange(true)) return;
  FThread = std::thread(&TThread::Run, this);
}

void TThread::Run() {
  FThreadId = std::this_thread::get_id();
  try {
    Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  if (FFreeOnTerminate) {
    FFinished = true;
    // The last use of this object here: the user-interface thread may delete it at once.
    QueueToMainThread([this] { EndOnMainThread(); });
    return;
  }
  if (OnTerminate) {
    try {
      Synchronize([this] { OnTerminate(*this); });
    } catch (...) {
      if (!FFatalException) FFatalException = std::current_exception();
    }
  }
  {
    std::lock_guard lock(FMutex);
    FFinished = true;
  }
  FFinishedCondition.notify_all();
  WakeMainThread();
}

void TThread::EndOnMainThread() {
  std::unique_ptr<TThread> self(this);
  if (OnTerminate) OnTerminate(*this);
}

int TThread::WaitFor() {
  if (FFreeOnTerminate) throw EThread("Cannot wait for a thread that frees itself");
  if (FThreadId.load() == std::this_thread::get_id()) throw EThread("A thread cannot wait for itself");
  if (FStarted) WaitUntilFinished();
  return FReturnValue;
}

void TThread::WaitUntilFinished() {
  if (IsMainThread()) {
    while (!FFinished) CheckSynchronize(kInfinite);
    return;
  }
  std::unique_lock lock(FMutex);
  FFinishedCondition.wait(lock, [this] { return FFinished.load(); });
}

}  // namespace corvane
