#pragma once
// While it lives, Ctrl-C (SIGINT) requests an abort of the run instead of ending the
// program; a second Ctrl-C ends it as usual.

#include <atomic>
#include <csignal>

namespace corvane::cli {

class TInterruptToAbort {
 public:
  explicit TInterruptToAbort(std::atomic<bool>& abortRequested);
  ~TInterruptToAbort();
  TInterruptToAbort(const TInterruptToAbort&) = delete;
  TInterruptToAbort& operator=(const TInterruptToAbort&) = delete;

 private:
  struct sigaction FPrevious {};
};

}  // namespace corvane::cli
