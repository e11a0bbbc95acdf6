#include "InterruptToAbort.h"

namespace corvane::cli {

namespace {

std::atomic<std::atomic<bool>*> gAbortRequested{nullptr};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<std::atomic<bool>*>::is_always_lock_free,
              "stores in a signal handler must be lock-free");

void RequestAbort(int) {
  if (std::atomic<bool>* flag = gAbortRequested.load()) flag->store(true);
}

}  // namespace

TInterruptToAbort::TInterruptToAbort(std::atomic<bool>& abortRequested) {
  gAbortRequested.store(&abortRequested);
  struct sigaction action {};
  action.sa_handler = RequestAbort;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, &FPrevious);
}

TInterruptToAbort::~TInterruptToAbort() {
  ::sigaction(SIGINT, &FPrevious, nullptr);
  gAbortRequested.store(nullptr);
}

}  // namespace corvane::cli
