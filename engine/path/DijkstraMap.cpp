#include "engine/path/DijkstraMap.h"

#include <algorithm>

#include "engine/path/CellSearch.h"

namespace tw {

DijkstraMap::DijkstraMap(const CellMap& map, float diagonal_cost)
    : p_search(new CellSearch(map)), any_reached(false) {
  p_search->setDiagonalCost(diagonal_cost);
}

DijkstraMap::~DijkstraMap() = default;

void DijkstraMap::setDiagonalCost(float cost) { p_search->setDiagonalCost(cost); }

int DijkstraMap::compute(int x, int y) { return compute({{x, y}}); }

int DijkstraMap::compute(const std::vector<std::pair<int, int>>& sources) {
  p_search->begin(Node{-1, -1}, 0.0f);
  int seeded = 0;
  for (const auto& source : sources) {
    if (p_search->seed(source.first, source.second, 0.0f)) seeded++;
  }
  p_search->run();
  return finish(seeded);
}

// The values stay in the search, read where they lie.
int DijkstraMap::finish(int seeded) {
  any_reached = seeded > 0;
  return any_reached ? seeded : -1;
}

// The flee map's search starts from every reachable cell at its value times
// factor; the lowest of those starts is its floor.
int DijkstraMap::makeFleeMap(float factor) {
  if (!any_reached) return -1;
  const CellMap& map = p_search->getMap();
  std::vector<std::pair<std::size_t, float>> starts;
  float lowest = 0.0f;
  for (std::size_t i = 0; i < static_cast<std::size_t>(map.getWidth()) * static_cast<std::size_t>(map.getHeight()); i++) {
    if (!p_search->isReached(i)) continue;
    starts.emplace_back(i, p_search->costAt(i) * factor);
    lowest = std::min(lowest, starts.back().second);
  }
  p_search->begin(Node{-1, -1}, lowest);
  int seeded = 0;
  for (const auto& start : starts) {
    const int x = static_cast<int>(start.first % static_cast<std::size_t>(map.getWidth()));
    const int y = static_cast<int>(start.first / static_cast<std::size_t>(map.getWidth()));
    if (p_search->seed(x, y, start.second)) seeded++;
  }
  p_search->run();
  return finish(seeded) < 0 ? -1 : 0;
}

bool DijkstraMap::isReachable(int x, int y) const {
  const CellMap& map = p_search->getMap();
  return any_reached && map.contains(x, y) && p_search->isReached(map.indexOf(x, y));
}

float DijkstraMap::getDistance(int x, int y) const {
  return isReachable(x, y) ? p_search->costAt(p_search->getMap().indexOf(x, y)) : 0.0f;
}

// The step goes to the lower neighbour through which the cheapest walk
// leads (its value plus the step's cost the least), which on a distance map
// retraces a cheapest route to a source.
bool DijkstraMap::stepDownhill(int& x, int& y) const {
  if (!isReachable(x, y)) return false;
  const CellMap& map = p_search->getMap();
  const float here = p_search->costAt(map.indexOf(x, y));
  float best = 0;
  int best_step = -1;
  for (int step = 0; step < p_search->stepCount(); step++) {
    const int nx = x + CellSearch::STEPS[step][0];
    const int ny = y + CellSearch::STEPS[step][1];
    if (!p_search->canStep(x, y, step) || !isReachable(nx, ny)) continue;
    const float value = p_search->costAt(map.indexOf(nx, ny));
    const float through = value + p_search->stepCost(step);
    if (value < here && (best_step < 0 || through < best)) {
      best = through;
      best_step = step;
    }
  }
  if (best_step < 0) return false;
  x += CellSearch::STEPS[best_step][0];
  y += CellSearch::STEPS[best_step][1];
  return true;
}

Path DijkstraMap::pathDownhill(int x, int y) const {
  Path path;
  if (!isReachable(x, y)) return path;
  // Every step goes strictly lower, so the walk cannot loop.
  do {
    path.addWaypoint(Vector(static_cast<float>(x), static_cast<float>(y)));
  } while (stepDownhill(x, y));
  return path;
}

}  // namespace tw
