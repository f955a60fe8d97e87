#include "bench/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace tw_bench {

namespace {

// The console output as usual, plus each run's real time per iteration.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      // Without the run's options ("/min_time:2.000"), as ratios name them.
      std::string name = run.benchmark_name();
      const std::size_t options = name.find("/min_time:");
      if (options != std::string::npos) name.erase(options);
      times[name] = run.GetAdjustedRealTime();
    }
  }
  std::map<std::string, double> times;
};

}  // namespace

int runWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios) {
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  for (const Ratio& ratio : ratios) {
    auto num = reporter.times.find(ratio.numerator);
    auto den = reporter.times.find(ratio.denominator);
    if (num == reporter.times.end() || den == reporter.times.end() || den->second <= 0) continue;
    const double value = num->second / den->second;
    std::printf("ratio %-40s %6.2f  (goal <= %.2f: %s)\n", ratio.label.c_str(), value, ratio.goal,
                value <= ratio.goal ? "met" : "NOT met");
  }
  return 0;
}

}  // namespace tw_bench
