// The cell map's searches against libtcod's on the same cells, in the same run: field of
// view (each algorithm against libtcod's comparable one) at radius 9 and over the whole
// map on 80 x 50 and 200 x 200 maps with 15 % of the cells walls; a Dijkstra map of a
// 200 x 200 map with 30 % walls; A* corner to corner on such maps at 80 x 50 and 200 x 200.
// Both sides keep their objects between iterations and time only the computation (with
// reading the path, for A*). The main time is Tarnwick's; tw_over_tcod is the ratio.
#include <benchmark/benchmark.h>
#include <libtcod/fov.h>
#include <libtcod/path.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "engine/path/CellMap.h"
#include "engine/path/CellPathFinder.h"
#include "engine/path/DijkstraMap.h"
#include "engine/path/FieldOfView.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point begin) {
  return std::chrono::duration<double>(Clock::now() - begin).count();
}

// Both maps of the same cells: walls with the given chance (the corners and
// the centre kept open), from the first seed whose corners are joined.
struct Maps {
  tw::CellMap cells;
  TCOD_Map* p_tcod;
  Maps(int width, int height, double wall_chance) : cells(width, height), p_tcod(TCOD_map_new(width, height)) {
    for (unsigned seed = 1;; seed++) {
      std::mt19937 random(seed);
      std::bernoulli_distribution wall(wall_chance);
      for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
          const bool open = !wall(random) || (x < 2 && y < 2) || (x >= width - 2 && y >= height - 2) ||
                            (x == width / 2 && y == height / 2);
          cells.setCell(x, y, open, open);
          TCOD_map_set_properties(p_tcod, x, y, open, open);
        }
      }
      tw::DijkstraMap reach(cells);
      reach.compute(0, 0);
      if (reach.isReachable(width - 1, height - 1)) return;
    }
  }
  ~Maps() { TCOD_map_delete(p_tcod); }
  Maps(const Maps&) = delete;
  Maps& operator=(const Maps&) = delete;
};

// Viewers: sixteen open cells around the centre, the same for both.
std::vector<std::pair<int, int>> viewers(const tw::CellMap& map) {
  std::vector<std::pair<int, int>> spots;
  std::mt19937 random(99);
  while (spots.size() < 16) {
    const int x = map.getWidth() / 4 + static_cast<int>(random() % static_cast<unsigned>(map.getWidth() / 2));
    const int y = map.getHeight() / 4 + static_cast<int>(random() % static_cast<unsigned>(map.getHeight() / 2));
    if (map.isTransparent(x, y)) spots.emplace_back(x, y);
  }
  return spots;
}

void BM_Fov(benchmark::State& state, tw::FovAlgorithm ours, TCOD_fov_algorithm_t theirs, int width, int height,
            int radius) {
  Maps maps(width, height, 0.15);
  const auto spots = viewers(maps.cells);
  tw::FieldOfView fov;
  double tw_seconds = 0;
  double tcod_seconds = 0;
  long tw_seen = 0;
  long tcod_seen = 0;
  size_t next = 0;
  for (auto _ : state) {
    const auto spot = spots[next++ % spots.size()];
    auto begin = Clock::now();
    fov.compute(maps.cells, spot.first, spot.second, radius, true, ours);
    const double tw_run = secondsSince(begin);
    begin = Clock::now();
    TCOD_map_compute_fov(maps.p_tcod, spot.first, spot.second, radius, true, theirs);
    tcod_seconds += secondsSince(begin);
    tw_seconds += tw_run;
    state.SetIterationTime(tw_run);
  }
  for (int y = 0; y < height; y++) {
    for (int x = 0; x < width; x++) {
      tw_seen += fov.isVisible(x, y) ? 1 : 0;
      tcod_seen += TCOD_map_is_in_fov(maps.p_tcod, x, y) ? 1 : 0;
    }
  }
  state.counters["tw_over_tcod"] = tw_seconds / tcod_seconds;
  state.counters["tcod_us"] = benchmark::Counter(tcod_seconds * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["tw_seen"] = static_cast<double>(tw_seen);
  state.counters["tcod_seen"] = static_cast<double>(tcod_seen);
}

void BM_Dijkstra(benchmark::State& state, int width, int height) {
  Maps maps(width, height, 0.3);
  tw::DijkstraMap ours(maps.cells, 1.41f);
  TCOD_Dijkstra* p_theirs = TCOD_dijkstra_new(maps.p_tcod, 1.41f);
  double tw_seconds = 0;
  double tcod_seconds = 0;
  for (auto _ : state) {
    auto begin = Clock::now();
    ours.compute(width / 2, height / 2);
    const double tw_run = secondsSince(begin);
    begin = Clock::now();
    TCOD_dijkstra_compute(p_theirs, width / 2, height / 2);
    tcod_seconds += secondsSince(begin);
    tw_seconds += tw_run;
    state.SetIterationTime(tw_run);
  }
  state.counters["tw_over_tcod"] = tw_seconds / tcod_seconds;
  state.counters["tcod_ms"] = benchmark::Counter(tcod_seconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["tw_corner"] = ours.getDistance(0, 0);
  state.counters["tcod_corner"] = TCOD_dijkstra_get_distance(p_theirs, 0, 0);
  TCOD_dijkstra_delete(p_theirs);
}

void BM_AStar(benchmark::State& state, int width, int height) {
  Maps maps(width, height, 0.3);
  tw::CellPathFinder ours(maps.cells, 1.41f);
  TCOD_path_t theirs = TCOD_path_new_using_map(maps.p_tcod, 1.41f);
  double tw_seconds = 0;
  double tcod_seconds = 0;
  int tw_steps = 0;
  int tcod_steps = 0;
  for (auto _ : state) {
    auto begin = Clock::now();
    const tw::Path path = ours.findPathNow(0, 0, width - 1, height - 1);
    tw_steps = path.getWaypointCount();
    const double tw_run = secondsSince(begin);
    begin = Clock::now();
    tcod_steps = 0;
    if (TCOD_path_compute(theirs, 0, 0, width - 1, height - 1)) {
      int x = 0;
      int y = 0;
      tcod_steps = TCOD_path_size(theirs);
      while (TCOD_path_walk(theirs, &x, &y, false)) {
      }
    }
    tcod_seconds += secondsSince(begin);
    tw_seconds += tw_run;
    state.SetIterationTime(tw_run);
    if (tw_steps == 0 || tcod_steps == 0) state.SkipWithError("no path found");
  }
  state.counters["tw_over_tcod"] = tw_seconds / tcod_seconds;
  state.counters["tcod_us"] = benchmark::Counter(tcod_seconds * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["tw_cost"] = ours.getCost();
  state.counters["tw_steps"] = tw_steps;
  state.counters["tcod_steps"] = tcod_steps;
  TCOD_path_delete(theirs);
}

int registerAll() {
  const struct {
    const char* name;
    tw::FovAlgorithm ours;
    TCOD_fov_algorithm_t theirs;
  } pairs[] = {{"symmetric", tw::FOV_SYMMETRIC, FOV_SYMMETRIC_SHADOWCAST},
               {"permissive", tw::FOV_PERMISSIVE, FOV_PERMISSIVE_8},
               {"restrictive", tw::FOV_RESTRICTIVE, FOV_RESTRICTIVE},
               {"rays", tw::FOV_RAYS, FOV_BASIC}};
  const int sizes[][2] = {{80, 50}, {200, 200}};
  for (const auto& pair : pairs) {
    for (const auto& size : sizes) {
      for (int radius : {9, 0}) {
        const std::string name = std::string("Fov/") + pair.name + "/" + std::to_string(size[0]) + "x" +
                                 std::to_string(size[1]) + (radius > 0 ? "/r9" : "/full");
        benchmark::RegisterBenchmark(name.c_str(), BM_Fov, pair.ours, pair.theirs, size[0], size[1], radius)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
      }
    }
  }
  benchmark::RegisterBenchmark("Dijkstra/200x200", BM_Dijkstra, 200, 200)->UseManualTime()->Unit(benchmark::kMillisecond);
  for (const auto& size : sizes) {
    const std::string name = "AStar/" + std::to_string(size[0]) + "x" + std::to_string(size[1]);
    benchmark::RegisterBenchmark(name.c_str(), BM_AStar, size[0], size[1])->UseManualTime()->Unit(benchmark::kMicrosecond);
  }
  return 0;
}
const int registered = registerAll();

}  // namespace
