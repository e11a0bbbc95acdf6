#pragma once
// TThread: a thread object that is created suspended and runs Execute once resumed.
// A thread that frees itself runs its end handler on the user-interface thread and is
// deleted there; any other thread is waited for with WaitFor or by deleting it.
// Execute uses the derived object, so a derived class whose Execute may still run ends it
// in its own destructor (Terminate, then WaitFor).

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace corvane {

// Kept with the thread for the scheduler's benefit; the threads all run at the system's
// normal priority.
enum class TThreadPriority : uint8_t { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread {
 public:
  TThread() = default;
  // A running thread is terminated and waited for; one never resumed never runs.
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts Execute on a thread of its own; later calls do nothing.
  void Resume();
  // Asks Execute to end; it looks at Terminated.
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  bool Suspended() const { return !FStarted; }
  bool Finished() const { return FFinished; }

  // Waits until Execute has ended and answers ReturnValue; on the user-interface thread it
  // runs the synchronised work meanwhile. At once for a thread never resumed. EThread for
  // a thread that frees itself or a wait on itself.
  int WaitFor();

  TThreadPriority Priority() const { return FPriority; }
  void SetPriority(TThreadPriority priority) { FPriority = priority; }

  // Set before Resume: the thread deletes itself on the user-interface thread after its
  // end handler. Such a thread is deleted by nobody else once it has been resumed.
  void SetFreeOnTerminate(bool value) { FFreeOnTerminate = value; }

  // What Execute threw, or none.
  std::exception_ptr FatalException() const { return FFatalException; }

  // Runs on the user-interface thread once Execute has ended; set before Resume.
  std::function<void(TThread& sender)> OnTerminate;

 protected:
  virtual void Execute() = 0;
  void SetReturnValue(int value) { FReturnValue = value; }

 private:
  void Run();
  void EndOnMainThread();
  void WaitUntilFinished();

  std::thread FThread;
  // Set by the thread itself, so that it can be compared while Resume still assigns FThread.
  std::atomic<std::thread::id> FThreadId;
  std::atomic<bool> FStarted{false};
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FFreeOnTerminate{false};
  std::atomic<TThreadPriority> FPriority{TThreadPriority::tpNormal};
  std::atomic<int> FReturnValue{0};
  std::exception_ptr FFatalException;
  std::mutex FMutex;
  std::condition_variable FFinishedCondition;
};

}  // namespace corvane
