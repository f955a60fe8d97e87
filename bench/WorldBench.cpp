// The world's per-frame cost and its clean-up cost at 1,000, 10,000 and
// 100,000 objects: update with every object moving, a collision query
// through the grid against a scan of every solid object, and deleting every
// object at shut-down or at the end of a frame. The counter per_object
// shows how the cost per object grows with the count; the growth benchmark
// times 10,000 and 100,000 objects side by side, round after round, for a
// ratio that a busy machine disturbs less.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/world/EventOut.h"
#include "engine/world/Geometry.h"
#include "engine/world/SceneGraph.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace {

// A soft object that turns back when it leaves the world, so the crowd stays.
class Drifter : public tw::Object {
 public:
  Drifter(tw::Vector where, tw::Vector velocity) {
    setSolidness(tw::SOFT);
    setPosition(where);
    setVelocity(velocity);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() != tw::OUT_EVENT) return 0;
    tw::Vector v = getVelocity();
    v.scale(-1);
    setVelocity(v);
    return 1;
  }
};

// A world whose area grows with the number of objects (one object per 32
// square cells on average), so that only the count changes between runs.
tw::Box worldFor(int count) {
  const float side = std::sqrt(static_cast<float>(count) * 32.0f / 2.0f);
  return tw::Box(tw::Vector(0, 0), side * 2.0f, side);
}

float randomIn(float limit) {
  return limit * static_cast<float>(std::rand()) / static_cast<float>(RAND_MAX);
}

void startWorld(int count) {
  tw::WorldManager& world = tw::WorldManager::getInstance();
  world.startUp();
  world.setBoundary(worldFor(count));
  world.setView(tw::Box(tw::Vector(0, 0), 80, 24));
}

void fillWorld(int count, bool moving) {
  const tw::Box bounds = worldFor(count);
  std::srand(7);
  for (int i = 0; i < count; i++) {
    const tw::Vector where(randomIn(bounds.getHorizontal()), randomIn(bounds.getVertical()));
    const tw::Vector velocity = moving ? tw::Vector(randomIn(2) - 1, randomIn(2) - 1) : tw::Vector();
    new Drifter(where, velocity);
  }
}

// Seconds per object and iteration (shown as 250n for 250 ns, say).
void setPerObject(benchmark::State& state, int count) {
  state.counters["per_object"] = benchmark::Counter(
      count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_WorldUpdate(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  startWorld(count);
  fillWorld(count, true);
  tw::WorldManager& world = tw::WorldManager::getInstance();
  for (auto _ : state) world.update();
  setPerObject(state, count);
  world.shutDown();
}
// Five repetitions, reported as their mean, median and spread: the median
// stands a passing slow spell of a shared machine.
BENCHMARK(BM_WorldUpdate)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Seconds per update of a fresh world of count moving objects, over updates
// updates after a first one.
double secondsPerUpdate(int count, int updates) {
  startWorld(count);
  fillWorld(count, true);
  tw::WorldManager& world = tw::WorldManager::getInstance();
  world.update();
  const auto begin = std::chrono::steady_clock::now();
  for (int i = 0; i < updates; i++) world.update();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  world.shutDown();
  return seconds / updates;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// How the update grows from 10,000 to 100,000 objects, measured in rounds
// that time both, one after the other, so that a slow spell of a shared
// machine falls on both sizes of a round: growth is the median of the
// rounds' ratios (10 would be linear).
void BM_WorldUpdateGrowth(benchmark::State& state) {
  std::vector<double> small, large, ratios;
  for (auto _ : state) {
    small.push_back(secondsPerUpdate(10000, 40));
    large.push_back(secondsPerUpdate(100000, 4));
    ratios.push_back(large.back() / small.back());
  }
  state.counters["ms_10k"] = median(small) * 1e3;
  state.counters["ms_100k"] = median(large) * 1e3;
  state.counters["growth"] = median(ratios);
}
BENCHMARK(BM_WorldUpdateGrowth)->Iterations(7)->Unit(benchmark::kMillisecond);

// Every solid object the probe's box at where touches, found by looking at all.
int bruteForceCollisions(const tw::Object* p_probe, tw::Vector where) {
  const tw::ObjectList solid = tw::WorldManager::getInstance().getSceneGraph().solidObjects();
  const tw::Box box = tw::getWorldBox(p_probe, where);
  int hits = 0;
  for (int i = 0; i < solid.getCount(); i++) {
    if (solid[i] != p_probe && tw::boxIntersectsBox(box, tw::getWorldBox(solid[i]))) hits++;
  }
  return hits;
}

int gridCollisions(const tw::Object* p_probe, tw::Vector where) {
  return tw::WorldManager::getInstance().getCollisions(p_probe, where).getCount();
}

template <typename Query>
double nanosecondsPerQuery(Query query, const tw::Object* p_probe,
                           const std::vector<tw::Vector>& places) {
  const auto start = std::chrono::steady_clock::now();
  int hits = 0;
  for (const tw::Vector& where : places) hits += query(p_probe, where);
  benchmark::DoNotOptimize(hits);
  const auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::nano>(end - start).count() /
         static_cast<double>(places.size());
}

// Times both ways over the same places; the counters give each cost per
// query and how many times slower the scan is.
void BM_CollisionQuery(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  startWorld(count);
  fillWorld(count, false);
  auto* p_probe = new tw::Object;  // deleted with the world
  p_probe->setSolidness(tw::SPECTRAL);
  const tw::Box bounds = worldFor(count);
  std::vector<tw::Vector> places;
  for (int i = 0; i < 200; i++) {
    places.emplace_back(randomIn(bounds.getHorizontal()), randomIn(bounds.getVertical()));
  }
  double grid_ns = 0;
  double brute_ns = 0;
  for (auto _ : state) {
    grid_ns += nanosecondsPerQuery(gridCollisions, p_probe, places);
    brute_ns += nanosecondsPerQuery(bruteForceCollisions, p_probe, places);
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["grid_ns"] = grid_ns / runs;
  state.counters["scan_ns"] = brute_ns / runs;
  state.counters["scan_over_grid"] = brute_ns / grid_ns;
  tw::WorldManager::getInstance().shutDown();
}
BENCHMARK(BM_CollisionQuery)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Objects also listen to the step event, as most game objects do, so their
// destructors take them out of the game manager's interests too.
void fillListeningWorld(int count) {
  fillWorld(count, false);
  const tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects();
  for (int i = 0; i < all.getCount(); i++) all[i]->registerInterest(tw::STEP_EVENT);
}

void BM_WorldShutDown(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  tw::GameManager::getInstance();
  for (auto _ : state) {
    state.PauseTiming();
    startWorld(count);
    fillListeningWorld(count);
    state.ResumeTiming();
    tw::WorldManager::getInstance().shutDown();
  }
  setPerObject(state, count);
}
BENCHMARK(BM_WorldShutDown)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every object marked (as the program does after the loop), then one update.
void BM_WorldDeleteAllMarked(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  tw::WorldManager& world = tw::WorldManager::getInstance();
  for (auto _ : state) {
    state.PauseTiming();
    startWorld(count);
    fillListeningWorld(count);
    state.ResumeTiming();
    const tw::ObjectList all = world.getAllObjects();
    for (int i = 0; i < all.getCount(); i++) world.markForDelete(all[i]);
    world.update();
    state.PauseTiming();
    world.shutDown();
    state.ResumeTiming();
  }
  setPerObject(state, count);
}
BENCHMARK(BM_WorldDeleteAllMarked)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
