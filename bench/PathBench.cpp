// Cost of one complete path search, run expansion by expansion as the path
// manager does: across an open field and through a serpentine maze, on an
// 80 x 24 world and a 200 x 200 one.
#include <benchmark/benchmark.h>

#include "engine/world/EventPath.h"
#include "engine/path/PathFind.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace {

class Block : public tw::Object {
 public:
  explicit Block(tw::Vector where) { setPosition(where); }
};

void startWorld(int width, int height) {
  tw::WorldManager& world = tw::WorldManager::getInstance();
  world.startUp();
  world.setBoundary(tw::Box(tw::Vector(0, 0), static_cast<float>(width), static_cast<float>(height)));
}

// Walls down every fourth column, open alternately at the bottom and the top,
// so the only route winds through every corridor.
void buildMaze(int width, int height) {
  for (int x = 2, n = 0; x < width - 1; x += 4, n++) {
    const int gap = (n % 2 == 0) ? height - 1 : 0;
    for (int y = 0; y < height; y++) {
      if (y != gap) new Block(tw::Vector(static_cast<float>(x), static_cast<float>(y)));
    }
  }
}

void runSearches(benchmark::State& state, bool maze) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  startWorld(width, height);
  if (maze) buildMaze(width, height);
  auto* p_mover = new Block(tw::Vector(0, 0));
  const tw::Cell goal{width - 1, height - 1};
  int expansions = 0;
  for (auto _ : state) {
    tw::PathFind search(p_mover, tw::Cell{0, 0}, goal);
    int result = tw::PATH_SEARCHING;
    while (result == tw::PATH_SEARCHING) result = search.cycleOnce();
    if (result != tw::PATH_FOUND) state.SkipWithError("no path found");
    expansions = search.getClosedCount();
    benchmark::DoNotOptimize(result);
  }
  state.counters["expansions"] = expansions;
  tw::WorldManager::getInstance().shutDown();
}

void BM_PathOpenField(benchmark::State& state) { runSearches(state, false); }
void BM_PathMaze(benchmark::State& state) { runSearches(state, true); }

}  // namespace

BENCHMARK(BM_PathOpenField)->Args({80, 24})->Args({200, 200})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PathMaze)->Args({80, 24})->Args({200, 200})->Unit(benchmark::kMillisecond);
