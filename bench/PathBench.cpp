// One complete path search, start corner to far corner, by Tarnwick and by
// libtcod's A* (diagonal cost 1.41) on the same map: an open field, a
// serpentine maze and a random map with 30 % of the cells blocked, each at
// 80 x 24, 200 x 200 and 1,000 x 1,000. Tarnwick's search finds its
// obstacles among the world's objects; libtcod asks a callback about a
// plain array. Both times include setting the search up, reading the path
// and freeing the search. The main time is Tarnwick's; the counter
// tw_over_tcod gives the ratio to libtcod in the same run.
// PathCold measures a world's first searches: three searches right after the
// world was built (the first one builds what searches share) against
// libtcod's three, and that first search alone against libtcod building its
// map from the same cells and searching once (cold_over_tcod_map).
#include <benchmark/benchmark.h>
#include <libtcod/fov.h>
#include <libtcod/path.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "engine/world/EventPath.h"
#include "engine/path/BlockedCounts.h"
#include "engine/path/PathFind.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace {

enum class MapKind { OPEN, MAZE, RANDOM };

class Block : public tw::Object {
 public:
  explicit Block(tw::Vector where) { setPosition(where); }
};

// A width x height map of blocked cells, row by row.
struct Map {
  int width;
  int height;
  std::vector<char> blocked;
  bool at(int x, int y) const { return blocked[static_cast<size_t>(y * width + x)] != 0; }
  void set(int x, int y, bool value) { blocked[static_cast<size_t>(y * width + x)] = value ? 1 : 0; }
};

// Walls down every fourth column, open alternately at the bottom and the
// top, so the only route winds through every corridor.
void carveMaze(Map& map) {
  for (int x = 2, n = 0; x < map.width - 1; x += 4, n++) {
    const int gap = (n % 2 == 0) ? map.height - 1 : 0;
    for (int y = 0; y < map.height; y++) map.set(x, y, y != gap);
  }
}

// Whether start and goal corners are joined by straight steps through open
// cells, a route both searches accept.
bool cornersJoined(const Map& map) {
  std::vector<char> seen(map.blocked.size(), 0);
  std::vector<int> queue{0};
  seen[0] = 1;
  for (size_t next = 0; next < queue.size(); next++) {
    const int x = queue[next] % map.width;
    const int y = queue[next] / map.width;
    if (x == map.width - 1 && y == map.height - 1) return true;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : steps) {
      const int nx = x + step[0];
      const int ny = y + step[1];
      if (nx < 0 || ny < 0 || nx >= map.width || ny >= map.height || map.at(nx, ny)) continue;
      const int index = ny * map.width + nx;
      if (seen[static_cast<size_t>(index)] == 0) queue.push_back(index);
      seen[static_cast<size_t>(index)] = 1;
    }
  }
  return false;
}

// Every cell blocked with probability 0.3, the 3 x 3 corners around start
// and goal left open; the first seed from 1 whose map joins the corners.
void scatterBlocks(Map& map) {
  for (unsigned seed = 1;; seed++) {
    std::mt19937 random(seed);
    for (char& cell : map.blocked) cell = random() % 100 < 30 ? 1 : 0;
    for (int dy = 0; dy < 3; dy++) {
      for (int dx = 0; dx < 3; dx++) {
        map.set(dx, dy, false);
        map.set(map.width - 1 - dx, map.height - 1 - dy, false);
      }
    }
    if (cornersJoined(map)) return;
  }
}

Map makeMap(MapKind kind, int width, int height) {
  const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
  Map map{width, height, std::vector<char>(cells, 0)};
  if (kind == MapKind::MAZE) carveMaze(map);
  if (kind == MapKind::RANDOM) scatterBlocks(map);
  return map;
}

void buildWorld(const Map& map) {
  tw::WorldManager& world = tw::WorldManager::getInstance();
  world.startUp();
  world.setBoundary(
      tw::Box(tw::Vector(0, 0), static_cast<float>(map.width), static_cast<float>(map.height)));
  for (int y = 0; y < map.height; y++) {
    for (int x = 0; x < map.width; x++) {
      if (map.at(x, y)) new Block(tw::Vector(static_cast<float>(x), static_cast<float>(y)));
    }
  }
}

float tcodCost(int, int, int x_to, int y_to, void* p_map) {
  return static_cast<const Map*>(p_map)->at(x_to, y_to) ? 0.0f : 1.0f;
}

// Seconds spent; the number of waypoints (0 when no path) in *p_steps and
// of cells expanded in *p_expansions. The counts of blocking objects are
// shared between searches, as the path manager shares its own.
double tarnwickSearch(tw::Object* p_mover, const Map& map, tw::BlockedCounts& counts, int* p_steps,
                      int* p_expansions) {
  const auto begin = std::chrono::steady_clock::now();
  {
    tw::PathFind search(p_mover, tw::Node{0, 0}, tw::Node{map.width - 1, map.height - 1}, nullptr, &counts);
    int result = tw::PATH_SEARCHING;
    while (result == tw::PATH_SEARCHING) result = search.cycleOnce();
    *p_steps = search.getPath().getWaypointCount();
    *p_expansions = search.getClosedCount();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

double tcodSearch(Map& map, int* p_steps) {
  const auto begin = std::chrono::steady_clock::now();
  TCOD_path_t path = TCOD_path_new_using_function(map.width, map.height, tcodCost, &map, 1.41f);
  *p_steps = 0;
  if (TCOD_path_compute(path, 0, 0, map.width - 1, map.height - 1)) {
    // Walked step by step: TCOD_path_get(i) walks from the origin each time.
    int x = 0;
    int y = 0;
    *p_steps = TCOD_path_size(path);
    while (TCOD_path_walk(path, &x, &y, false)) {
    }
  }
  TCOD_path_delete(path);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

// Seconds for libtcod to build its own map of the cells and search it once.
double tcodMapSearch(const Map& map) {
  const auto begin = std::chrono::steady_clock::now();
  TCOD_Map* p_tcod_map = TCOD_map_new(map.width, map.height);
  for (int y = 0; y < map.height; y++) {
    for (int x = 0; x < map.width; x++) TCOD_map_set_properties(p_tcod_map, x, y, true, !map.at(x, y));
  }
  TCOD_path_t path = TCOD_path_new_using_map(p_tcod_map, 1.41f);
  int x = 0;
  int y = 0;
  bool found = TCOD_path_compute(path, 0, 0, map.width - 1, map.height - 1);
  while (found && TCOD_path_walk(path, &x, &y, false)) {
  }
  TCOD_path_delete(path);
  TCOD_map_delete(p_tcod_map);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  return found ? seconds : -1.0;
}

// Every iteration builds the world anew (not timed), then times Tarnwick's
// first three searches in it; the main time is the first search's.
void BM_PathCold(benchmark::State& state, MapKind kind, int width, int height) {
  Map map = makeMap(kind, width, height);
  double first_seconds = 0;
  double three_seconds = 0;
  double tcod_three_seconds = 0;
  double tcod_map_seconds = 0;
  int steps = 0;
  int expansions = 0;
  tw::BlockedCounts counts;
  for (auto _ : state) {
    buildWorld(map);
    auto* p_mover = new Block(tw::Vector(0, 0));
    const double first = tarnwickSearch(p_mover, map, counts, &steps, &expansions);
    double three = first;
    for (int i = 0; i < 2; i++) three += tarnwickSearch(p_mover, map, counts, &steps, &expansions);
    int tcod_steps = 0;
    for (int i = 0; i < 3; i++) tcod_three_seconds += tcodSearch(map, &tcod_steps);
    const double tcod_map = tcodMapSearch(map);
    tw::WorldManager::getInstance().shutDown();
    if (steps == 0 || tcod_steps == 0 || tcod_map < 0) state.SkipWithError("no path found");
    first_seconds += first;
    three_seconds += three;
    tcod_map_seconds += tcod_map;
    state.SetIterationTime(first);
  }
  state.counters["cold3_over_tcod3"] = three_seconds / tcod_three_seconds;
  state.counters["cold_over_tcod_map"] = first_seconds / tcod_map_seconds;
  state.counters["tcod_map_ms"] =
      benchmark::Counter(tcod_map_seconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["tw_expansions"] = expansions;
}

void BM_Path(benchmark::State& state, MapKind kind, int width, int height) {
  Map map = makeMap(kind, width, height);
  buildWorld(map);
  auto* p_mover = new Block(tw::Vector(0, 0));
  double tw_seconds = 0;
  double tcod_seconds = 0;
  int tw_steps = 0;
  int tcod_steps = 0;
  int expansions = 0;
  tw::BlockedCounts counts;
  for (auto _ : state) {
    const double tw_run = tarnwickSearch(p_mover, map, counts, &tw_steps, &expansions);
    tcod_seconds += tcodSearch(map, &tcod_steps);
    tw_seconds += tw_run;
    state.SetIterationTime(tw_run);
    if (tw_steps == 0 || tcod_steps == 0) state.SkipWithError("no path found");
  }
  state.counters["tcod_ms"] =
      benchmark::Counter(tcod_seconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["tw_over_tcod"] = tw_seconds / tcod_seconds;
  state.counters["tw_steps"] = tw_steps;
  state.counters["tcod_steps"] = tcod_steps;
  state.counters["tw_expansions"] = expansions;
  tw::WorldManager::getInstance().shutDown();
}

// Every map kind at every size, named like "Path/maze/200x200".
int registerAll() {
  const struct {
    const char* name;
    MapKind kind;
  } kinds[] = {{"open", MapKind::OPEN}, {"maze", MapKind::MAZE}, {"random30", MapKind::RANDOM}};
  const int sizes[][2] = {{80, 24}, {200, 200}, {1000, 1000}};
  for (const auto& k : kinds) {
    for (const auto& size : sizes) {
      const std::string name = std::string("Path/") + k.name + "/" + std::to_string(size[0]) + "x" +
                               std::to_string(size[1]);
      benchmark::RegisterBenchmark(name.c_str(), BM_Path, k.kind, size[0], size[1])
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
    }
    const std::string cold = std::string("PathCold/") + k.name + "/200x200";
    benchmark::RegisterBenchmark(cold.c_str(), BM_PathCold, k.kind, 200, 200)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  return 0;
}
const int registered = registerAll();

}  // namespace
