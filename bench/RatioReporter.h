#pragma once
// Prints as Google Benchmark does and keeps each benchmark's time per iteration, so that a
// program can report ratios against a baseline measured in the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) Seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatio(const std::string& measured, const std::string& baseline, const char* goal) {
    double a = Seconds[measured], b = Seconds[baseline];
    if (a > 0 && b > 0) std::printf("%s / %s: %.2f%s\n", measured.c_str(), baseline.c_str(), a / b, goal);
  }

  std::map<std::string, double> Seconds;
};

// Runs the benchmarks of this program and prints how measured compares with baseline.
inline void RunAndCompare(int argc, char** argv, const std::string& measured, const std::string& baseline,
                          const char* goal = "") {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  reporter.PrintRatio(measured, baseline, goal);
}
