// Runs the registered benchmarks and then prints ratios between pairs of them
// measured in the same run (a change against its baseline, or against a
// peer), each with its goal.
#pragma once

#include <string>
#include <vector>

namespace tw_bench {

struct Ratio {
  std::string label;
  std::string numerator;    // benchmark names, as printed (arguments included)
  std::string denominator;
  double goal;              // the ratio should be at most this
};

// A benchmark main: runs what the command line selects, then prints each
// ratio whose two benchmarks ran. Returns 0.
int runWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios);

}  // namespace tw_bench
