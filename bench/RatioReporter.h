#pragma once
// Prints as Google Benchmark does and keeps each benchmark's time per iteration, so that a
// program can report ratios against a baseline measured in the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

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

struct Comparison {
  std::string Measured, Baseline;
  const char* Goal = "";
};

// Runs the benchmarks of this program and prints how each measured one compares with its baseline.
inline void RunAndCompare(int argc, char** argv, const std::vector<Comparison>& comparisons) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  for (const Comparison& c : comparisons) reporter.PrintRatio(c.Measured, c.Baseline, c.Goal);
}

inline void RunAndCompare(int argc, char** argv, const std::string& measured, const std::string& baseline,
                          const char* goal = "") {
  RunAndCompare(argc, argv, {{measured, baseline, goal}});
}
