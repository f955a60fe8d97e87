// The search both cell-map searches share: cheapest-first expansion over a CellMap's
// walkable cells from one or many sources, with or without a goal. Towards a goal the open
// set is the engine's open heap; without one (where costs only grow in the order cells are
// expanded) it is a queue per kind of step. Immediate paths (CellPathFinder) and Dijkstra
// maps read its results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/path/CellMap.h"
#include "engine/path/CostQueues.h"
#include "engine/path/Node.h"
#include "engine/path/OpenHeap.h"

namespace tw {

class CellSearch {
 public:
  // The eight steps, straight ones first; a search without diagonals takes
  // the first four.
  static const int STEPS[8][2];
  static const int STRAIGHT_STEPS = 4;

  explicit CellSearch(const CellMap& map);
  // A cost of 0 or less: straight steps only.
  void setDiagonalCost(float cost) { diagonal_cost = cost; }  // takes effect at begin
  float getDiagonalCost() const { return diagonal_cost; }
  int stepCount() const { return diagonal_cost > 0 ? 8 : STRAIGHT_STEPS; }
  float stepCost(int step) const { return step < STRAIGHT_STEPS ? 1.0f : diagonal_cost; }
  // Whether a walker may step from (x, y) by step: onto a walkable cell of
  // the map, and diagonally only past at least one walkable side.
  bool canStep(int x, int y, int step) const;

  // Forgets the last search's results and empties the open set; the next
  // run ends at goal (none when it lies outside the map: every reachable
  // cell is expanded). Costs below floor may occur only if seeded.
  void begin(Node goal, float floor);
  // Adds a source with cost g; a cell seeded twice keeps the lower cost.
  // False when the cell is outside the map or memory runs out.
  bool seed(int x, int y, float g);
  // Expands the cheapest open cell, again and again, until the goal is
  // reached (true) or nothing is open or memory ran out (false). Sources
  // are seeded before it runs.
  bool run();
  bool ranOutOfMemory() const { return out_of_memory; }

  bool isReached(std::size_t index) const { return marks[index] == closedMark(); }
  float costAt(std::size_t index) const { return nodes[index].g; }
  // The step that led to a reached cell (STEPS index), none for a source.
  int stepInto(std::size_t index) const { return steps_in[index]; }
  std::size_t expandedCount() const { return expanded; }
  const CellMap& getMap() const { return map; }

 private:
  std::uint32_t openMark() const { return 2 * generation; }
  std::uint32_t closedMark() const { return 2 * generation + 1; }
  float estimate(int x, int y) const;
  // Offers cell (x, y), at index, a route of cost g entered by step (-1
  // for a source), through the open heap.
  bool offer(std::size_t index, int x, int y, float g, int step);
  // The same through the queues, the cell's step choosing its queue.
  void offerInOrder(std::size_t index, float g, int step);
  // The two open sets, as run sees them: the next cell to expand, and an
  // offer to a neighbour of it.
  struct BestFirst;
  struct InOrder;
  // Expands cells from open until the goal or the end.
  template <typename Open>
  bool drain(Open open);
  // The steps each cell allows (bit i: STEPS[i]), rebuilt when the map or
  // the use of diagonals has changed since they were last built.
  void refreshStepMasks();

  const CellMap& map;  // not owned; outlives the search
  float diagonal_cost;
  std::vector<NodeCosts> nodes;
  // Per cell: openMark() once found in this search, closedMark() once
  // expanded; older values mean not yet found. Nothing is cleared between
  // searches.
  std::vector<std::uint32_t> marks;
  std::vector<std::int8_t> steps_in;  // -1 for a source
  std::uint32_t generation;
  OpenHeap heap;
  CostQueues queues;
  bool in_order;  // without a goal: the queues are the open set
  std::uint32_t next_order;
  Node goal;
  bool has_goal;
  std::size_t goal_index;
  float floor;  // subtracted from every key, which must not be negative
  std::size_t expanded;
  bool out_of_memory;
  std::ptrdiff_t offsets[8];  // of each step's cell, in indices
  std::vector<std::uint8_t> step_masks;  // per cell
  bool masks_built;
  unsigned long masks_revision;  // the map's, when built
  int masks_step_count;
};

}  // namespace tw
