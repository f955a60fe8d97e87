// Save-to-screen latency of hot reload: from a sprite file's save to the
// first finished frame that shows the new sprite, with the game stepping as
// fast as it can, captured and (when an X display is reachable) in a real
// window; against the same save to a file nobody watches and one frame.
#include <cstdlib>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"
#include "engine/display/CellGrid.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "engine/platform/Sfml.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/Object.h"

namespace {

const char* const SPRITE_FILE = "/tmp/tw-bench-reload-sprite.txt";
const char* const CONFIG_FILE = "/tmp/tw-bench-reload-config.txt";

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string spriteText(const std::string& row) { return "1\n8\n1\n1\nred\n" + row + "\n"; }

// Starts the game on display with one object showing the watched sprite;
// false (the benchmark skipped) when it cannot.
bool startGame(benchmark::State& state, const std::string& display) {
  if (display == "window" && !tw::platform::displayAvailable()) {
    state.SkipWithError("no X display (set DISPLAY to measure a real window)");
    return false;
  }
  writeFile(CONFIG_FILE, "display:" + display + ",networking:false,hot_reload:true,frame_time:0");
  setenv("TARNWICK_CONFIG", CONFIG_FILE, 1);
  setenv("TARNWICK_LOG", "/tmp/tw-bench-reload.log", 1);
  writeFile(SPRITE_FILE, spriteText("AAAAAAAA"));
  if (tw::GameManager::getInstance().startUp() != 0 ||
      tw::ResourceManager::getInstance().loadSprite(SPRITE_FILE, "watched") != 0) {
    tw::GameManager::getInstance().shutDown();
    state.SkipWithError("the game did not start");
    return false;
  }
  auto* p_o = new tw::Object;
  p_o->setPosition(tw::Vector(40, 12));
  p_o->setSprite("watched");
  tw::GameManager::getInstance().runStep();  // the sprite's file is watched from here on
  return true;
}

bool shows(const std::string& row) {
  return tw::DisplayManager::getInstance().snapshot().getRow(12).find(row) != std::string::npos;
}

void BM_SaveToScreen(benchmark::State& state, const std::string& display) {
  if (!startGame(state, display)) return;
  long frames = 0;
  int saves = 0;
  for (auto _ : state) {
    const std::string row = std::string(8, static_cast<char>('B' + saves++ % 2));
    writeFile(SPRITE_FILE, spriteText(row));
    do {
      tw::GameManager::getInstance().runStep();
      frames++;
    } while (!shows(row) && frames < 1000000);
  }
  tw::GameManager::getInstance().shutDown();
  state.counters["frames"] = static_cast<double>(frames) / static_cast<double>(state.iterations());
}
BENCHMARK_CAPTURE(BM_SaveToScreen, capture, std::string("capture"))
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SaveToScreen, window, std::string("window"))
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// The same save to a file nobody watches, and one frame.
void BM_SaveUnwatched(benchmark::State& state, const std::string& display) {
  if (!startGame(state, display)) return;
  int saves = 0;
  for (auto _ : state) {
    writeFile(std::string(SPRITE_FILE) + ".other",
              spriteText(std::string(8, static_cast<char>('B' + saves++ % 2))));
    tw::GameManager::getInstance().runStep();
  }
  tw::GameManager::getInstance().shutDown();
}
BENCHMARK_CAPTURE(BM_SaveUnwatched, capture, std::string("capture"))
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SaveUnwatched, window, std::string("window"))
    ->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // A save shows in the next frame or the one after, and reading and
  // parsing a small sprite file costs less than saving it.
  return tw_bench::runWithRatios(
      argc, argv,
      {{"save to screen / unwatched save and a frame, captured", "BM_SaveToScreen/capture/real_time",
        "BM_SaveUnwatched/capture/real_time", 3.0},
       {"save to screen / unwatched save and a frame, window", "BM_SaveToScreen/window/real_time",
        "BM_SaveUnwatched/window/real_time", 3.0}});
}
