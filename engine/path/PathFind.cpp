#include "engine/path/PathFind.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "engine/core/LogManager.h"
#include "engine/world/EventPath.h"
#include "engine/world/Box.h"
#include "engine/world/Geometry.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
// Straight-line length of (dx, dy), formed in double precision, kept as float.
float length(int dx, int dy) {
  return static_cast<float>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
}

Vector toVector(Cell cell) {
  return Vector(static_cast<float>(cell.x), static_cast<float>(cell.y));
}

// The world boundary's extents truncated to whole cells.
void boundaryCells(int& w, int& h) {
  const Box boundary = WorldManager::getInstance().getBoundary();
  w = static_cast<int>(boundary.getHorizontal());
  h = static_cast<int>(boundary.getVertical());
}
}  // namespace

bool PathFind::OpenEntry::operator<(const OpenEntry& other) const {
  if (f != other.f) return f > other.f;  // smaller f comes out first
  return order < other.order;            // then the most recently found
}

PathFind::PathFind(Object* p_init_mover, Cell init_start, Cell init_goal, Object* p_init_target)
    : p_mover(p_init_mover),
      p_target(p_init_target),
      target_id(p_init_target != nullptr ? p_init_target->getId() : 0),
      start(init_start),
      goal(init_goal),
      width(0),
      height(0),
      open_count(0),
      closed_count(0),
      next_order(0),
      found(false),
      final_result(PATH_SEARCHING) {
  allocate(init_start);
}

PathFind::~PathFind() = default;

void PathFind::allocate(Cell start_cell) {
  int w = 0;
  int h = 0;
  boundaryCells(w, h);
  if (w <= 0 || h <= 0 || static_cast<long>(w) * h > MAX_PATH_NODES) return;
  if (start_cell.x < 0 || start_cell.y < 0 || start_cell.x >= w || start_cell.y >= h) return;
  try {
    nodes.assign(static_cast<size_t>(w) * static_cast<size_t>(h), PathNode{0.0f, 0.0f, -1, 0, false, false});
  } catch (const std::bad_alloc&) {
    nodes.clear();
    return;
  }
  // The grid keeps these dimensions for its whole life, whatever the
  // boundary does meanwhile, so it is never indexed with other ones.
  width = w;
  height = h;
}

bool PathFind::isAllocated() const { return !nodes.empty(); }
bool PathFind::isFound() const { return found; }
Object* PathFind::getMover() const { return p_mover; }
Object* PathFind::getTarget() const { return p_target; }
Cell PathFind::getStart() const { return start; }
Cell PathFind::getGoal() const { return goal; }
int PathFind::getOpenCount() const { return open_count; }
int PathFind::getClosedCount() const { return closed_count; }
int PathFind::getGridWidth() const { return width; }
int PathFind::getGridHeight() const { return height; }

bool PathFind::inGrid(Cell cell) const {
  return cell.x >= 0 && cell.y >= 0 && cell.x < width && cell.y < height;
}

int PathFind::indexOf(Cell cell) const { return cell.y * width + cell.x; }

Cell PathFind::cellOf(int index) const { return Cell{index % width, index / width}; }

// Neighbours are limited to the boundary as it is now, and never reach past
// the grid as it was allocated.
int PathFind::searchWidth() const {
  int w = 0;
  int h = 0;
  boundaryCells(w, h);
  return std::min(w, width);
}

int PathFind::searchHeight() const {
  int w = 0;
  int h = 0;
  boundaryCells(w, h);
  return std::min(h, height);
}

int PathFind::finish(int result) {
  final_result = result;
  return result;
}

int PathFind::cycleOnce() {
  if (final_result != PATH_SEARCHING) return final_result;
  if (!isAllocated()) {
    LogManager::getInstance().writeLog(
        "PathFind::cycleOnce(): node graph not allocated.  Cannot find path.");
    return finish(PATH_NOT_FOUND);
  }
  const int current_index = chooseCurrent();
  PathNode& current_node = nodes[static_cast<size_t>(current_index)];
  current_node.open = false;
  current_node.closed = true;
  closed_count++;
  const Cell current = cellOf(current_index);
  if (current == goal) found = true;
  checkArrival(current);
  if (found) return finish(PATH_FOUND);
  expand(current);
  return open_count > 0 ? PATH_SEARCHING : finish(PATH_NOT_FOUND);
}

// The open cell with the smallest f, the most recently found among equals;
// the start cell when nothing is open yet.
int PathFind::chooseCurrent() {
  if (open_count == 0) return indexOf(start);
  while (true) {
    const OpenEntry top = open_queue.top();
    open_queue.pop();
    const PathNode& node = nodes[static_cast<size_t>(top.index)];
    // Entries left behind by a lowered f, or by a cell since expanded, are skipped.
    if (node.open && node.f == top.f) {
      open_count--;
      return top.index;
    }
  }
}

void PathFind::checkArrival(Cell current) {
  if (p_target == nullptr || !targetAlive()) return;
  const Box mover_box = getWorldBox(p_mover, toVector(current));
  const Box target_box = getWorldBox(p_target, toVector(goal));
  if (boxIntersectsBox(mover_box, target_box)) {
    found = true;
    goal = current;
  }
}

// A target destroyed while the search runs is dropped; the search goes on
// towards the goal cell.
bool PathFind::targetAlive() {
  if (Object::isAlive(p_target, target_id)) return true;
  LogManager::getInstance().writeLog(
      "PathFind::cycleOnce(): Warning! Target object destroyed; searching for the goal cell only.");
  p_target = nullptr;
  return false;
}

void PathFind::expand(Cell current) {
  int memo[3][3];
  for (auto& row : memo) std::fill(std::begin(row), std::end(row), -1);
  for (int dy = -1; dy <= 1; dy++) {
    for (int dx = -1; dx <= 1; dx++) {
      if (dx != 0 || dy != 0) relax(current, dx, dy, memo);
    }
  }
}

bool PathFind::blockedAt(Cell current, int dx, int dy, int memo[3][3]) const {
  int& answer = memo[dy + 1][dx + 1];
  if (answer < 0) answer = isBlocked(Cell{current.x + dx, current.y + dy}, goal) ? 1 : 0;
  return answer == 1;
}

void PathFind::relax(Cell current, int dx, int dy, int memo[3][3]) {
  const Cell next{current.x + dx, current.y + dy};
  if (next.x < 0 || next.y < 0 || next.x >= searchWidth() || next.y >= searchHeight()) return;
  const int next_index = indexOf(next);
  PathNode& node = nodes[static_cast<size_t>(next_index)];
  if (node.closed) return;
  if (blockedAt(current, dx, dy, memo)) return;
  // No cutting between two blocked cells that meet at a corner.
  if (dx != 0 && dy != 0 && blockedAt(current, dx, 0, memo) && blockedAt(current, 0, dy, memo)) return;
  const float g_new = nodes[static_cast<size_t>(indexOf(current))].g + length(dx, dy);
  if (node.open && g_new > node.g) return;
  const float f_new = g_new + length(goal.x - next.x, goal.y - next.y);
  openCell(next_index, g_new, f_new, indexOf(current));
}

void PathFind::openCell(int index, float g, float f, int parent) {
  PathNode& node = nodes[static_cast<size_t>(index)];
  const bool was_open = node.open;
  const bool f_changed = node.f != f;
  node.g = g;
  node.f = f;
  node.parent = parent;
  if (!was_open) {
    node.open = true;
    open_count++;
    node.order = next_order++;
    open_queue.push(OpenEntry{f, node.order, index});
  } else if (f_changed) {
    // Same place in the order as before, better f.
    open_queue.push(OpenEntry{f, node.order, index});
  }
}

bool PathFind::isBlocked(Cell cell, Cell goal_cell) const {
  const ObjectList touched = WorldManager::getInstance().getCollisions(p_mover, toVector(cell));
  for (int i = 0; i < touched.getCount(); i++) {
    const Object* p_o = touched[i];
    if (p_o->getSolidness() != HARD) continue;
    // Only the first HARD object decides.
    return !boxContainsPosition(getWorldBox(p_o), toVector(goal_cell));
  }
  return false;
}

Path PathFind::getPath() const {
  Path path;
  if (!found || !isAllocated()) return path;
  std::vector<Cell> cells;
  int index = indexOf(goal);
  const int start_index = indexOf(start);
  // Parent links always lead to a cell expanded earlier, so the walk ends;
  // the bound only guards against a corrupted grid.
  for (size_t steps = 0; index != start_index && index >= 0 && steps < nodes.size(); steps++) {
    cells.push_back(cellOf(index));
    index = nodes[static_cast<size_t>(index)].parent;
  }
  cells.push_back(start);
  for (auto it = cells.rbegin(); it != cells.rend(); ++it) path.addWaypoint(toVector(*it));
  return path;
}

}  // namespace tw
