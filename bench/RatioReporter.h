#pragma once
// A console reporter that also prints, for every benchmark named "<case>/corvane", the
// ratio of its processor time to that of each "<case>/<peer>" run in the same program.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace corvane {

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        FTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
  }

  void PrintRatios() const {
    const std::string mine = "/corvane";
    for (const auto& [name, time] : FTimes) {
      if (name.size() < mine.size() || name.compare(name.size() - mine.size(), mine.size(), mine) != 0) continue;
      std::string prefix = name.substr(0, name.size() - mine.size() + 1);
      for (const auto& [other, otherTime] : FTimes)
        if (other != name && other.rfind(prefix, 0) == 0)
          std::printf("%s: corvane takes %.2f times the time of %s\n", prefix.substr(0, prefix.size() - 1).c_str(),
                      time / otherTime, other.substr(prefix.size()).c_str());
    }
  }

 private:
  std::map<std::string, double> FTimes;
};

}  // namespace corvane
