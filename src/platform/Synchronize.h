#pragma once
// The user-interface thread and its queue of work handed over by other threads.
// Other threads queue functions; the user-interface thread runs them in CheckSynchronize,
// which the GUI calls from its event loop when the wake-up hook fires and tests call
// themselves.

#include <cstdint>
#include <functional>
#include <thread>

#include "Clock.h"

namespace corvane {

// The thread that counts as the user-interface thread: the main thread unless the
// program names another once at start-up.
void SetMainThread(std::thread::id id = std::this_thread::get_id());
bool IsMainThread();

// Runs work on the user-interface thread and returns when it has run there, passing on
// what it throws. Called on the user-interface thread it runs the work directly.
void Synchronize(const std::function<void()>& work);

// Queues work for the user-interface thread and returns at once.
void QueueToMainThread(std::function<void()> work);

// Runs the queued work; on the user-interface thread only (EThread elsewhere). Waits up to
// timeoutMs for work to arrive when none is queued, and returns early on WakeMainThread.
// Answers whether it ran anything. Work that throws ends the call; the work behind it
// stays queued.
bool CheckSynchronize(uint32_t timeoutMs = 0);

// Ends a CheckSynchronize that is waiting, without queueing anything.
void WakeMainThread();

// Called on the queueing thread each time work is queued, so that an event loop can
// schedule a CheckSynchronize. None by default.
void SetWakeMainThreadHook(std::function<void()> hook);

}  // namespace corvane
