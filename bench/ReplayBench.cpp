// Time to replay a ten-minute Veld session (18,000 steps at 33 ms) under the
// capture presenter, against playing the same number of steps live with the
// scripted player that made the recording. Prints steps per second and the
// ratio replay / live.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "bench/RatioReporter.h"
#include "tests/game/ScriptedPlay.h"
#include "tests/game/VeldRun.h"

namespace {

const int TEN_MINUTES = 18000;  // steps of 33 ms

// A temporary folder holding the log, the data folder and the recording,
// made (with the recording) on first use.
struct Session {
  std::string folder;
  std::string recording;
  Session() {
    char pattern[] = "/tmp/tw-replay-bench-XXXXXX";
    folder = mkdtemp(pattern) != nullptr ? pattern : "/tmp";
    recording = folder + "/ten-minutes.rec";
    setenv("TARNWICK_LOG", (folder + "/bench.log").c_str(), 1);
    setenv("TARNWICK_CONFIG", (folder + "/no-config.txt").c_str(), 1);
    playLive("record_file:" + recording);
  }
  // The scripted player, for TEN_MINUTES steps; the steps played.
  int playLive(const std::string& item) const {
    tw_test::ScriptedPlay script(1000000, 600);
    tw_test::VeldRun run({item}, folder + "/data");
    int steps = 0;
    bool going = run.started();
    while (going && steps < TEN_MINUTES) {
      script.beforeStep(tw_test::VeldRun::presenter());
      going = run.step();
      steps++;
    }
    return steps;
  }
};

const Session& session() {
  static const Session s;
  return s;
}

void BM_ReplayTenMinutes(benchmark::State& state) {
  const std::string item = "replay_file:" + session().recording;
  long steps = 0;
  for (auto _ : state) {
    tw_test::VeldRun run({item}, session().folder + "/data");
    if (!run.started()) {
      state.SkipWithError("replay refused");
      return;
    }
    while (run.step()) steps++;
    steps++;
  }
  state.SetItemsProcessed(steps);
  state.counters["steps"] = static_cast<double>(steps) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ReplayTenMinutes)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlayTenMinutesLive(benchmark::State& state) {
  long steps = 0;
  for (auto _ : state) steps += session().playLive("display:capture");
  state.SetItemsProcessed(steps);
  state.counters["steps"] = static_cast<double>(steps) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PlayTenMinutesLive)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  return tw_bench::runWithRatios(
      argc, argv,
      {{"ten minutes, replay / live play", "BM_ReplayTenMinutes/iterations:3",
        "BM_PlayTenMinutesLive/iterations:3", 1.2}});
}
