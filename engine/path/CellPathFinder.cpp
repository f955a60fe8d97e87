#include "engine/path/CellPathFinder.h"

#include <algorithm>
#include <vector>

#include "engine/path/CellSearch.h"

namespace tw {

CellPathFinder::CellPathFinder(const CellMap& map, float diagonal_cost)
    : p_search(new CellSearch(map)), cost(-1) {
  p_search->setDiagonalCost(diagonal_cost);
}

CellPathFinder::~CellPathFinder() = default;

void CellPathFinder::setDiagonalCost(float new_cost) { p_search->setDiagonalCost(new_cost); }

float CellPathFinder::getDiagonalCost() const { return p_search->getDiagonalCost(); }

Path CellPathFinder::findPathNow(int from_x, int from_y, int to_x, int to_y) {
  cost = -1;
  const CellMap& map = p_search->getMap();
  if (!map.contains(from_x, from_y) || !map.isWalkable(to_x, to_y)) return Path();
  p_search->begin(Node{to_x, to_y}, 0.0f);
  p_search->seed(from_x, from_y, 0.0f);
  if (!p_search->run()) return Path();
  // Back from the goal along the steps that reached each cell.
  std::vector<Node> cells{Node{to_x, to_y}};
  const std::size_t most = static_cast<std::size_t>(map.getWidth()) * static_cast<std::size_t>(map.getHeight());
  for (int step = p_search->stepInto(map.indexOf(to_x, to_y)); step >= 0 && cells.size() <= most;) {
    const Node last = cells.back();
    const Node before{last.x - CellSearch::STEPS[step][0], last.y - CellSearch::STEPS[step][1]};
    cells.push_back(before);
    step = p_search->stepInto(map.indexOf(before.x, before.y));
  }
  cost = p_search->costAt(map.indexOf(to_x, to_y));
  Path path;
  for (auto it = cells.rbegin(); it != cells.rend(); ++it) {
    path.addWaypoint(Vector(static_cast<float>(it->x), static_cast<float>(it->y)));
  }
  return path;
}

}  // namespace tw
