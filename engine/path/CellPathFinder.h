// Immediate path searches on a CellMap: A* from one cell to another, answered in the same
// call, for games that move in turns. Its buffers are kept between searches; the world's
// object searches (PathManager) are another matter and run a little each frame.
#pragma once

#include <memory>

#include "engine/path/CellMap.h"
#include "engine/platform/Export.h"
#include "engine/world/Path.h"

namespace tw {

class CellSearch;

class TW_API CellPathFinder {
 public:
  // Searches map, which must outlive the finder (its cells may change
  // between searches, its size may not). A diagonal step costs
  // diagonal_cost (a straight one 1); 0 or less allows straight steps only.
  explicit CellPathFinder(const CellMap& map, float diagonal_cost = 1.41f);
  ~CellPathFinder();
  CellPathFinder(const CellPathFinder&) = delete;
  CellPathFinder& operator=(const CellPathFinder&) = delete;

  void setDiagonalCost(float cost);
  float getDiagonalCost() const;
  // The cheapest route from (from_x, from_y) to (to_x, to_y) over walkable
  // cells, start first and goal last. A diagonal step needs one of the two
  // cells beside it walkable. Empty when there is no route, when either end
  // is outside the map or when the goal is not walkable (the start need not be).
  Path findPathNow(int from_x, int from_y, int to_x, int to_y);
  // The cost of the last path found; -1 when the last search found none.
  float getCost() const { return cost; }

 private:
  std::unique_ptr<CellSearch> p_search;
  float cost;
};

}  // namespace tw
