// A Dijkstra map of a CellMap: the cost of the cheapest walk from every cell to the nearest
// of one or many sources, for monsters that walk downhill towards a player, or, turned into
// a flee map, away from one. Searched by the same code as CellPathFinder.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "engine/path/CellMap.h"
#include "engine/platform/Export.h"
#include "engine/world/Path.h"

namespace tw {

class CellSearch;

class TW_API DijkstraMap {
 public:
  // Works on map, which must outlive it (its cells may change between
  // computations, its size may not). Steps cost as in CellPathFinder.
  explicit DijkstraMap(const CellMap& map, float diagonal_cost = 1.41f);
  ~DijkstraMap();
  DijkstraMap(const DijkstraMap&) = delete;
  DijkstraMap& operator=(const DijkstraMap&) = delete;

  void setDiagonalCost(float cost);
  // Distances from one source, or from the nearest of several (x, y) cells.
  // Sources outside the map are left out; sources need not be walkable.
  // Returns the number of sources used, or -1 (every cell unreachable) when
  // there is none.
  int compute(int x, int y);
  int compute(const std::vector<std::pair<int, int>>& sources);
  // Turns the computed map into one that leads away from the sources: every
  // reachable value times factor (negative), then lowered wherever a
  // neighbour offers a cheaper walk, so a walker downhill heads for open
  // ground rather than into a corner. -1 when nothing was reachable.
  int makeFleeMap(float factor = -1.2f);

  bool isReachable(int x, int y) const;
  // The cell's value (its distance unless turned into a flee map); 0 for
  // unreachable cells and cells outside the map, which isReachable tells apart.
  float getDistance(int x, int y) const;
  // Moves (x, y) one step to a reachable neighbour of lower value, the one
  // through which the cheapest walk leads; false (unchanged) when no
  // neighbour is lower.
  bool stepDownhill(int& x, int& y) const;
  // The walk downhill from (x, y), that cell first, to where no step leads
  // lower (a source, or a flee map's refuge). Empty for an unreachable cell.
  Path pathDownhill(int x, int y) const;

 private:
  int finish(int seeded);

  std::unique_ptr<CellSearch> p_search;  // holds the values, as its costs
  bool any_reached;  // some source was seeded by the last computation
};

}  // namespace tw
