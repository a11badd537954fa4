// A console reporter that also keeps each benchmark's CPU time, steadier
// than the wall clock on a machine shared with other work: the median when
// the runs are repeated (--benchmark_repetitions), else the single run's.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

class CpuTimeReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        median[name] = run.GetAdjustedCPUTime();
      } else if (run.run_type == Run::RT_Iteration) {
        time[name] = run.GetAdjustedCPUTime();
        real[name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    for (const auto& [name, t] : median) time[name] = t;
    ConsoleReporter::Finalize();
  }
  std::map<std::string, double> time;
  std::map<std::string, double> median;
  std::map<std::string, double> real;  // wall time: what manual-time runs report
};

}  // namespace bench
