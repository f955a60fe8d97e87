#include "engine/path/CellSearch.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>

#include "engine/path/OpenKey.h"

namespace tw {

const int CellSearch::STEPS[8][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};

CellSearch::CellSearch(const CellMap& new_map)
    : map(new_map),
      diagonal_cost(1.41f),
      nodes(static_cast<std::size_t>(map.getWidth()) * static_cast<std::size_t>(map.getHeight())),
      marks(nodes.size(), 0),
      steps_in(nodes.size(), -1),
      generation(0),
      in_order(false),
      next_order(0),
      goal{-1, -1},
      has_goal(false),
      goal_index(0),
      floor(0),
      expanded(0),
      out_of_memory(false),
      offsets{},
      masks_built(false),
      masks_revision(0),
      masks_step_count(0) {}

bool CellSearch::canStep(int x, int y, int step) const {
  const int dx = STEPS[step][0];
  const int dy = STEPS[step][1];
  if (!map.isWalkable(x + dx, y + dy)) return false;
  return step < STRAIGHT_STEPS || map.isWalkable(x + dx, y) || map.isWalkable(x, y + dy);
}

void CellSearch::begin(Node new_goal, float new_floor) {
  if (++generation >= 0x7FFFFFFFu) {
    std::fill(marks.begin(), marks.end(), 0);
    generation = 1;
  }
  heap.attach(nodes.data(), map.getWidth());
  for (int step = 0; step < 8; step++) offsets[step] = STEPS[step][1] * map.getWidth() + STEPS[step][0];
  refreshStepMasks();
  next_order = 0;
  expanded = 0;
  out_of_memory = false;
  goal = new_goal;
  has_goal = map.contains(goal.x, goal.y);
  goal_index = has_goal ? map.indexOf(goal.x, goal.y) : 0;
  floor = new_floor;
  // The queues hold 32-bit indices; a larger map goes by the heap.
  in_order = !has_goal && nodes.size() <= std::numeric_limits<std::uint32_t>::max();
  queues.clear();
}

// The least cost from (x, y) to the goal over open ground: straight steps
// along the longer side, diagonals (at most two straight steps' worth) for
// the shorter, or diagonals all the way when they are the cheaper step.
float CellSearch::estimate(int x, int y) const {
  if (!has_goal) return 0.0f;
  const int dx = std::abs(x - goal.x);
  const int dy = std::abs(y - goal.y);
  const int lo = std::min(dx, dy);
  const int hi = std::max(dx, dy);
  if (diagonal_cost <= 0) return static_cast<float>(dx + dy);
  const float diagonal = std::min(diagonal_cost, 2.0f);
  if (diagonal < 1.0f) return diagonal * static_cast<float>(hi);
  return diagonal * static_cast<float>(lo) + static_cast<float>(hi - lo);
}

bool CellSearch::offer(std::size_t index, int x, int y, float g, int step) {
  NodeCosts& node = nodes[index];
  const bool open = marks[index] == openMark();
  if (open && g >= node.g) return true;
  node.g = g;
  node.f = (has_goal ? g + estimate(x, y) : g) - floor;
  node.order = next_order++;
  steps_in[index] = static_cast<std::int8_t>(step);
  const OpenHeap::Key key = OpenKey::make(node.f, node.order);
  if (open) {
    heap.lower(key, Node{x, y});
    return true;
  }
  if (!heap.push(key, Node{x, y})) {
    out_of_memory = true;
    return false;
  }
  marks[index] = openMark();
  return true;
}

// Every queue's costs grow: a kind of step adds the same cost each time,
// to cells taken out in order of cost. A cell is queued again when its cost
// falls; the older entry comes out after it and finds it closed.
void CellSearch::offerInOrder(std::size_t index, float g, int step) {
  NodeCosts& node = nodes[index];
  if (marks[index] == openMark() && g >= node.g) return;
  node.g = g;
  steps_in[index] = static_cast<std::int8_t>(step);
  marks[index] = openMark();
  queues.push(step < 0 ? 0 : step < STRAIGHT_STEPS ? 1 : 2, g, static_cast<std::uint32_t>(index));
}

bool CellSearch::seed(int x, int y, float g) {
  if (!map.contains(x, y) || marks[map.indexOf(x, y)] == closedMark()) return false;
  if (!in_order) return offer(map.indexOf(x, y), x, y, g, -1);
  try {
    offerInOrder(map.indexOf(x, y), g, -1);
  } catch (const std::bad_alloc&) {
    out_of_memory = true;
    return false;
  }
  return true;
}

void CellSearch::refreshStepMasks() {
  if (masks_built && masks_revision == map.getRevision() && masks_step_count == stepCount()) return;
  step_masks.assign(nodes.size(), 0);
  const int count = stepCount();
  for (int y = 0; y < map.getHeight(); y++) {
    for (int x = 0; x < map.getWidth(); x++) {
      unsigned mask = 0;
      for (int step = 0; step < count; step++) mask |= canStep(x, y, step) ? 1u << step : 0u;
      step_masks[map.indexOf(x, y)] = static_cast<std::uint8_t>(mask);
    }
  }
  masks_built = true;
  masks_revision = map.getRevision();
  masks_step_count = count;
}

struct CellSearch::BestFirst {
  CellSearch& search;
  Node current;
  bool next(std::size_t& index) {
    if (search.heap.empty()) return false;
    current = search.heap.pop().node;
    index = search.map.indexOf(current.x, current.y);
    return true;
  }
  void offer(std::size_t index, int step, float g) {
    search.offer(index, current.x + STEPS[step][0], current.y + STEPS[step][1], g, step);
  }
};

struct CellSearch::InOrder {
  CellSearch& search;
  bool next(std::size_t& index) {
    std::uint32_t popped = 0;
    if (!search.queues.pop(popped)) return false;
    index = popped;
    return true;
  }
  void offer(std::size_t index, int step, float g) { search.offerInOrder(index, g, step); }
};

// A cell's steps come from its mask, one set bit at a time. An entry for a
// cell already expanded (an out-of-date one in the queues) is passed over.
template <typename Open>
bool CellSearch::drain(Open open) {
  std::size_t here = 0;
  while (!out_of_memory && open.next(here)) {
    if (marks[here] == closedMark()) continue;
    marks[here] = closedMark();
    expanded++;
    if (has_goal && here == goal_index) return true;
    const float g = nodes[here].g;
    for (unsigned mask = step_masks[here]; mask != 0; mask &= mask - 1) {
      const int step = __builtin_ctz(mask);
      const std::size_t there = here + static_cast<std::size_t>(offsets[step]);
      if (marks[there] != closedMark()) open.offer(there, step, g + stepCost(step));
    }
  }
  return false;
}

bool CellSearch::run() {
  if (!in_order) return drain(BestFirst{*this, Node{0, 0}});
  try {
    queues.sortSources();
    return drain(InOrder{*this});
  } catch (const std::bad_alloc&) {
    out_of_memory = true;
    return false;
  }
}

}  // namespace tw
