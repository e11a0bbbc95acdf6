#pragma once
// Running a peer program as a separate process, and timing an action by its fastest run.

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace corvane::bench {

// Runs the action until minSeconds have passed (at least twice) and answers the fastest run.
template <typename Action>
double FastestSeconds(Action action, double minSeconds = 0.3) {
  double best = 1e30, spent = 0;
  for (int runs = 0; runs < 2 || spent < minSeconds; ++runs) {
    auto start = std::chrono::steady_clock::now();
    action();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, seconds);
    spent += seconds;
  }
  return best;
}

// Runs the program (looked up on PATH) and waits; throws when it cannot start or fails.
inline void RunProgram(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    throw std::runtime_error("cannot run " + args[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(args[0] + " failed on " + args.back());
}

}  // namespace corvane::bench
