#pragma once
// A console reporter for benchmarks named TASK/ours/CASE and TASK/PEER/CASE that prints, after
// the usual table, how fast ours is against the peer for each task and case.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace corvane {

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  // Cpu compares the running thread's processor time, which other loads on the machine
  // disturb less than the elapsed time.
  enum class TClock { Real, Cpu };

  explicit TRatioReporter(std::string peer, TClock clock = TClock::Real) : FPeer(std::move(peer)), FClock(clock) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      FTimes[run.benchmark_name()] = FClock == TClock::Cpu ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
  }

  void PrintRatios(const std::vector<std::string>& tasks, const std::vector<std::string>& cases) const {
    std::cout << "\nspeed ours / " << FPeer << " (above 1: ours is faster)\n";
    for (const std::string& task : tasks) {
      for (const std::string& name : cases) {
        auto ours = FTimes.find(task + "/ours/" + name);
        auto theirs = FTimes.find(task + "/" + FPeer + "/" + name);
        if (ours == FTimes.end() || theirs == FTimes.end()) continue;
        std::printf("  %s %-28s %.2f\n", task.c_str(), name.c_str(), theirs->second / ours->second);
      }
    }
  }

 private:
  std::string FPeer;
  TClock FClock;
  std::map<std::string, double> FTimes;
};

// Runs the benchmarks the command line selects and prints the ratios of the tasks and cases.
inline int RunWithRatios(int argc, char** argv, const std::string& peer, const std::vector<std::string>& tasks,
                         const std::vector<std::string>& cases) {
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter(peer);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios(tasks, cases);
  benchmark::Shutdown();
  return 0;
}

}  // namespace corvane
