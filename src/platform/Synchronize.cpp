#include "Synchronize.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

#include "Exceptions.h"

namespace corvane {

namespace {

// A Synchronize call waiting on its thread for its work to have run.
struct TSyncRequest {
  std::exception_ptr Error;
  bool Done = false;
};

struct TQueuedWork {
  std::function<void()> Work;
  TSyncRequest* Request = nullptr;  // none for queued work nobody waits for
};

std::atomic<std::thread::id> mainThread{std::this_thread::get_id()};

std::mutex queueMutex;
std::condition_variable workArrived;
std::condition_variable requestDone;
std::deque<TQueuedWork> queue;
bool woken = false;
std::function<void()> wakeHook;

void Enqueue(TQueuedWork item) {
  std::function<void()> hook;
  {
    std::lock_guard lock(queueMutex);
    queue.push_back(std::move(item));
    hook = wakeHook;
  }
  workArrived.notify_one();
  if (hook) hook();
}

// Runs one item; errors of a Synchronize call go back to its thread.
void RunItem(TQueuedWork& item) {
  if (!item.Request) {
    item.Work();
    return;
  }
  std::exception_ptr error;
  try {
    item.Work();
  } catch (...) {
    error = std::current_exception();
  }
  {
    std::lock_guard lock(queueMutex);
    // Moved, so that the waiting thread holds the only reference to the exception.
    item.Request->Error = std::move(error);
    item.Request->Done = true;
  }
  requestDone.notify_all();
}

}  // namespace

void SetMainThread(std::thread::id id) { mainThread.store(id); }

bool IsMainThread() { return std::this_thread::get_id() == mainThread.load(); }

void Synchronize(const std::function<void()>& work) {
  if (IsMainThread()) {
    work();
    return;
  }
  TSyncRequest request;
  Enqueue({work, &request});
  std::unique_lock lock(queueMutex);
  requestDone.wait(lock, [&] { return request.Done; });
  if (request.Error) std::rethrow_exception(request.Error);
}

void QueueToMainThread(std::function<void()> work) { Enqueue({std::move(work), nullptr}); }

bool CheckSynchronize(uint32_t timeoutMs) {
  if (!IsMainThread()) throw EThread("CheckSynchronize called from a thread that is not the user-interface thread");
  size_t pending;
  {
    std::unique_lock lock(queueMutex);
    auto ready = [] { return !queue.empty() || woken; };
    if (timeoutMs == kInfinite)
      workArrived.wait(lock, ready);
    else if (timeoutMs > 0)
      workArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    woken = false;
    pending = queue.size();
  }
  // Items are taken one at a time: an item that waits for a thread serves the queue
  // meanwhile and must find that thread's own queued call still there.
  for (size_t i = 0; i < pending; ++i) {
    TQueuedWork item;
    {
      std::lock_guard lock(queueMutex);
      if (queue.empty()) break;
      item = std::move(queue.front());
      queue.pop_front();
    }
    RunItem(item);
  }
  return pending > 0;
}

void WakeMainThread() {
  {
    std::lock_guard lock(queueMutex);
    woken = true;
  }
  workArrived.notify_one();
}

void SetWakeMainThreadHook(std::function<void()> hook) {
  std::lock_guard lock(queueMutex);
  wakeHook = std::move(hook);
}

}  // namespace corvane
