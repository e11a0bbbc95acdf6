#pragma once
// Running a peer program as a separate process, and timing actions by their fastest runs.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

extern char** environ;

namespace corvane::bench {

// The time one run of the action takes. An action that answers a time is measured by it;
// otherwise by the clock on the wall.
template <typename Action>
double SecondsOf(Action& action) {
  if constexpr (std::is_same_v<decltype(action()), double>) {
    return action();
  } else {
    auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
}

// Runs the action until minSeconds have passed (at least twice) and answers the fastest run.
template <typename Action>
double FastestSeconds(Action action, double minSeconds = 0.3) {
  double best = 1e30, spent = 0;
  for (int runs = 0; runs < 2 || spent < minSeconds; ++runs) {
    const double seconds = SecondsOf(action);
    best = std::min(best, seconds);
    spent += seconds;
  }
  return best;
}

// Two actions run by turns until each has run minSeconds (at least twice); answers the fastest
// run of each. A machine whose speed drifts, as virtual ones do, then slows both alike.
template <typename ActionA, typename ActionB>
std::pair<double, double> FastestInTurns(ActionA a, ActionB b, double minSeconds = 0.3) {
  double bestA = 1e30, bestB = 1e30, spentA = 0, spentB = 0;
  for (int runs = 0; runs < 2 || spentA < minSeconds || spentB < minSeconds; ++runs) {
    const double secondsA = SecondsOf(a);
    const double secondsB = SecondsOf(b);
    bestA = std::min(bestA, secondsA);
    bestB = std::min(bestB, secondsB);
    spentA += secondsA;
    spentB += secondsB;
  }
  return {bestA, bestB};
}

// The action measured in processor time of the calling thread: what other processes on a busy
// machine do does not count.
template <typename Action>
auto ThreadCpuTimed(Action action) {
  return [action]() mutable {
    auto now = [] {
      timespec time{};
      ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
      return double(time.tv_sec) + double(time.tv_nsec) * 1e-9;
    };
    const double start = now();
    action();
    return now() - start;
  };
}

// Runs the program (looked up on PATH), its standard output sent nowhere, and waits; throws
// when it cannot start or fails. Answers the processor time the program used.
inline double RunProgram(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) throw std::runtime_error("cannot run " + args[0]);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(args[0] + " failed on " + args.back());
  auto seconds = [](const timeval& time) { return double(time.tv_sec) + double(time.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace corvane::bench
