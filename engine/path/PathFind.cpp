#include "engine/path/PathFind.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "engine/core/LiveObjects.h"
#include "engine/core/LogManager.h"
#include "engine/world/EventPath.h"
#include "engine/world/Box.h"
#include "engine/world/Geometry.h"
#include "engine/world/Object.h"
#include "engine/path/OpenKey.h"
#include "engine/path/StateByte.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {

// Whether [a, a + a_extent] and [b, b + b_extent] share more than an end: a
// length, or (for a span of no length) a point strictly inside the other,
// or the same point.
bool spansShare(float a, float a_extent, float b, float b_extent) {
  if (a_extent == 0.0f && b_extent == 0.0f) return a == b;
  if (a_extent == 0.0f) return b < a && a < b + b_extent;
  if (b_extent == 0.0f) return a < b && b < a + a_extent;
  return std::min(a + a_extent, b + b_extent) - std::max(a, b) > 0.0f;
}

// Whether the boxes overlap, rather than only touch at an edge or a corner.
bool boxesOverlap(const Box& a, const Box& b) {
  const Vector ac = a.getCorner();
  const Vector bc = b.getCorner();
  return spansShare(ac.getX(), a.getHorizontal(), bc.getX(), b.getHorizontal()) &&
         spansShare(ac.getY(), a.getVertical(), bc.getY(), b.getVertical());
}
// The eight neighbour steps in the order they are tried: rows y-1, y, y+1,
// and within a row columns x-1, x, x+1.
const int STEPS[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

// Straight-line length of (dx, dy), formed in double precision, kept as float.
float straightLine(int dx, int dy) {
  return static_cast<float>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
}

// What each step adds to g: its own length.
struct StepCosts {
  float of[8];
  StepCosts() : of() {
    for (int step = 0; step < 8; step++) of[step] = straightLine(STEPS[step][0], STEPS[step][1]);
  }
};
const StepCosts STEP_COSTS;

// For each set of blocked neighbours (bit i: the neighbour of step i), the
// diagonal steps that would cut between two blocked cells meeting at a
// corner: those whose two orthogonal sides, (dx, 0) and (0, dy), are both
// blocked.
struct CornerCuts {
  std::uint8_t of[256];
  CornerCuts() : of() {
    for (int diagonal = 0; diagonal < 8; diagonal++) {
      const int dx = STEPS[diagonal][0];
      const int dy = STEPS[diagonal][1];
      if (dx == 0 || dy == 0) continue;
      const unsigned sides = bitOfStep(dx, 0) | bitOfStep(0, dy);
      for (unsigned blocked = 0; blocked < 256; blocked++) {
        if ((blocked & sides) == sides) of[blocked] = static_cast<std::uint8_t>(of[blocked] | 1u << diagonal);
      }
    }
  }
  static unsigned bitOfStep(int dx, int dy) {
    for (int step = 0; step < 8; step++) {
      if (STEPS[step][0] == dx && STEPS[step][1] == dy) return 1u << step;
    }
    return 0;
  }
};
const CornerCuts CORNER_CUTS;

// The steps a cell allows (bit i: step i) given which neighbours are
// blocked and which expanded already.
unsigned allowedSteps(unsigned blocked, unsigned closed) {
  return ~(blocked | closed | CORNER_CUTS.of[blocked & 0xFFu]) & 0xFFu;
}

// The world boundary's extents truncated to whole cells.
void boundaryCells(const WorldManager& world, int& w, int& h) {
  const Box boundary = world.getBoundary();
  w = static_cast<int>(boundary.getHorizontal());
  h = static_cast<int>(boundary.getVertical());
}
}  // namespace

PathFind::PathFind(Object* p_init_mover, Node init_start, Node init_goal, Object* p_init_target,
                   BlockedCounts* p_counts)
    : world(WorldManager::getInstance()),
      p_mover(p_init_mover),
      target(p_init_target),
      targeting(p_init_target != nullptr),
      start(init_start),
      goal(init_goal),
      states(p_counts),
      width(0),
      height(0),
      closed_count(0),
      next_order(0),
      found(false),
      out_of_memory(false),
      final_result(PATH_SEARCHING) {
  allocate(init_start);
}

PathFind::~PathFind() = default;

void PathFind::allocate(Node start_cell) {
  int w = 0;
  int h = 0;
  boundaryCells(world, w, h);
  if (w <= 0 || h <= 0 || static_cast<long>(w) * h > MAX_PATH_NODES) return;
  if (start_cell.x < 0 || start_cell.y < 0 || start_cell.x >= w || start_cell.y >= h) return;
  if (!states.allocate(w, h)) return;
  // Left uninitialised: a node is written before it is read.
  nodes.reset(new (std::nothrow) NodeCosts[static_cast<size_t>(w) * static_cast<size_t>(h)]);
  if (!nodes) return;
  open_heap.attach(nodes.get(), w);
  // The grid keeps these dimensions for its whole life, whatever the
  // boundary does meanwhile, so it is never indexed with other ones.
  width = w;
  height = h;
  nodes[static_cast<size_t>(indexOf(start_cell))].g = 0.0f;
}

bool PathFind::isAllocated() const { return nodes != nullptr; }
bool PathFind::isFound() const { return found; }
Object* PathFind::getMover() const { return p_mover; }
Object* PathFind::getTarget() const { return target.get(); }
Node PathFind::getStart() const { return start; }
Node PathFind::getGoal() const { return goal; }
int PathFind::getOpenCount() const { return static_cast<int>(open_heap.size()); }
int PathFind::getClosedCount() const { return closed_count; }
int PathFind::getGridWidth() const { return width; }
int PathFind::getGridHeight() const { return height; }

int PathFind::indexOf(Node cell) const { return cell.y * width + cell.x; }

// Neighbours are limited to the boundary as it is now, and never reach past
// the grid as it was allocated.
void PathFind::searchLimits(int& limit_w, int& limit_h) const {
  boundaryCells(world, limit_w, limit_h);
  limit_w = std::min(limit_w, width);
  limit_h = std::min(limit_h, height);
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
  // The world may have changed since the last expansion (and the first
  // refresh writes every cell's byte).
  states.refresh(p_mover, goal);
  const Node current = chooseCurrent();
  std::uint8_t& current_state = states.at(static_cast<size_t>(indexOf(current)));
  current_state = static_cast<std::uint8_t>((current_state & ~StateByte::OPEN) | StateByte::CLOSED);
  closed_count++;
  if (current == goal) found = true;
  if (targeting) checkArrival(current);
  if (found) return finish(PATH_FOUND);
  int limit_w = 0;
  int limit_h = 0;
  searchLimits(limit_w, limit_h);
  expand(current, limit_w, limit_h);
  if (out_of_memory) {
    LogManager::getInstance().writeLog("PathFind::cycleOnce(): Error! Out of memory for the open set.");
    return finish(PATH_NOT_FOUND);
  }
  return open_heap.empty() ? finish(PATH_NOT_FOUND) : PATH_SEARCHING;
}

// The open cell with the smallest f, the most recently found among equals;
// the start cell when nothing is open yet.
Node PathFind::chooseCurrent() {
  if (open_heap.empty()) return start;
  return open_heap.pop().node;
}

void PathFind::setArrival(PathArrival new_arrival) { arrival = new_arrival; }

void PathFind::checkArrival(Node current) {
  const Object* p_target = target.get();
  if (p_target == nullptr) {
    dropTarget();
    return;
  }
  const Box mover_box = getWorldBox(p_mover, toVector(current));
  const Box target_box = getWorldBox(p_target, toVector(goal));
  const bool arrived = arrival == ARRIVE_OVERLAPPING ? boxesOverlap(mover_box, target_box)
                                                     : boxIntersectsBox(mover_box, target_box);
  if (arrived) {
    found = true;
    goal = current;
  }
}

// A target destroyed while the search runs is dropped; the search goes on
// towards the goal cell.
void PathFind::dropTarget() {
  LogManager::getInstance().writeLog(
      "PathFind::cycleOnce(): Warning! Target object destroyed; searching for the goal cell only.");
  targeting = false;
}

// A neighbour may be entered when it lies inside the limits, has not been
// expanded, is not blocked, and is not reached by cutting between two
// blocked cells that meet at a corner. Then it is visited unless a route
// already found to it is better. Visiting changes no neighbour's marks or
// closed bit, so the steps can all be chosen before any is taken.
void PathFind::expand(Node current, int limit_w, int limit_h) {
  const bool inside = current.x > 0 && current.y > 0 && current.x < limit_w - 1 &&
                      current.y < limit_h - 1;
  unsigned steps = 0;
  if (!inside || !interiorSteps(static_cast<size_t>(indexOf(current)), steps)) {
    steps = edgeSteps(current, limit_w, limit_h);
  }
  const float g = nodes[static_cast<size_t>(indexOf(current))].g;
  for (; steps != 0; steps &= steps - 1) visit(current, __builtin_ctz(steps), g);
}

namespace {
const std::uint64_t LOW_BITS = 0x0101010101010101u;

// Bit 0 of each of the eight bytes (each 0 or 1) as bits 0 to 7: the
// multiplication sends byte i's bit to bit 56 + i, and no two partial
// products meet.
unsigned gatherBits(std::uint64_t bytes) {
  return static_cast<unsigned>((bytes * 0x0102040810204080u) >> 56);
}

// Of eight state bytes side by side, the given bit of each, as bit 0 of its byte.
std::uint64_t bitOfEach(std::uint64_t bytes, int bit) { return (bytes >> bit) & LOW_BITS; }
}  // namespace

// The steps from a cell whose eight neighbours all lie inside the limits,
// worked out for all eight at once, without a branch per neighbour (whether
// one is blocked is as unpredictable as the map): their bytes side by side,
// byte i holding the neighbour of step i; each mark and flag is read at
// its StateByte position. False when some neighbour's marks must be settled
// by asking the world.
bool PathFind::interiorSteps(size_t here, unsigned& steps) {
  const size_t w = static_cast<size_t>(width);
  const std::uint64_t bytes = static_cast<std::uint64_t>(states.threeAt(here - w - 1)) |
                              static_cast<std::uint64_t>(states.at(here - 1)) << 24 |
                              static_cast<std::uint64_t>(states.at(here + 1)) << 32 |
                              static_cast<std::uint64_t>(states.threeAt(here + w - 1)) << 40;
  const std::uint64_t blocker = bitOfEach(bytes, StateByte::BLOCKER_BIT);
  const std::uint64_t opener = bitOfEach(bytes, StateByte::OPENER_BIT);
  if ((blocker & opener) != 0) return false;  // undecided
  const unsigned blocked = gatherBits(blocker & ~opener);
  const unsigned closed = gatherBits(bitOfEach(bytes, StateByte::CLOSED_BIT));
  steps = allowedSteps(blocked, closed);
  return true;
}

// The same one neighbour at a time, asking the world where the marks leave
// a cell undecided. Neighbours outside the limits are never entered, and
// those outside the grid count as blocked (only diagonals outside it have
// them as sides).
unsigned PathFind::edgeSteps(Node current, int limit_w, int limit_h) {
  unsigned blocked = 0;
  unsigned closed = 0;
  unsigned outside = 0;
  for (unsigned step = 0; step < 8; step++) {
    const unsigned bit = 1u << step;
    const int nx = current.x + STEPS[step][0];
    const int ny = current.y + STEPS[step][1];
    if (nx < 0 || ny < 0 || nx >= limit_w || ny >= limit_h) outside |= bit;
    if (nx < 0 || ny < 0 || nx >= width || ny >= height) {
      blocked |= bit;
      continue;
    }
    std::uint8_t& next_state = states.at(static_cast<size_t>(ny * width + nx));
    if (states.isBlocked(next_state, nx, ny)) blocked |= bit;
    if ((next_state & StateByte::CLOSED) != 0) closed |= bit;
  }
  return allowedSteps(blocked, closed) & ~outside;
}

// Takes one step from current (g) unless the route it makes is worse than
// one already found. A cell found again on an equal or better route takes
// the new parent and keeps its place in the order.
void PathFind::visit(Node current, int step, float g) {
  const int nx = current.x + STEPS[step][0];
  const int ny = current.y + STEPS[step][1];
  const auto next = static_cast<size_t>(ny * width + nx);
  std::uint8_t& next_state = states.at(next);
  const float g_new = g + STEP_COSTS.of[step];
  NodeCosts& node = nodes[next];
  const bool was_open = (next_state & StateByte::OPEN) != 0;
  if (was_open && g_new > node.g) return;
  const float f_new = g_new + straightLine(goal.x - nx, goal.y - ny);
  // A node is read only once written: when it is open.
  const bool f_changed = !was_open || node.f != f_new;
  node.g = g_new;
  node.f = f_new;
  next_state = StateByte::opened(next_state, static_cast<unsigned>(step));
  if (was_open) {
    if (f_changed) open_heap.lower(OpenKey::make(f_new, node.order), Node{nx, ny});
    return;
  }
  node.order = next_order++;
  if (!open_heap.push(OpenKey::make(f_new, node.order), Node{nx, ny})) out_of_memory = true;
}

bool PathFind::isBlocked(Node cell, Node goal_cell) const {
  return NodeStateMap::askWorld(p_mover, cell, goal_cell);
}

Path PathFind::getPath() const {
  Path path;
  if (!found || !isAllocated()) return path;
  std::vector<Node> route;
  Node cell = goal;
  // Parent steps always lead to a cell expanded earlier, so the walk ends;
  // the bound only guards against a corrupted grid.
  const size_t most = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t steps = 0; !(cell == start) && steps < most; steps++) {
    route.push_back(cell);
    const unsigned step = StateByte::stepOf(states.at(static_cast<size_t>(indexOf(cell))));
    cell = Node{cell.x - STEPS[step][0], cell.y - STEPS[step][1]};
    if (cell.x < 0 || cell.y < 0 || cell.x >= width || cell.y >= height) return Path();
  }
  route.push_back(start);
  for (auto it = route.rbegin(); it != route.rend(); ++it) path.addWaypoint(toVector(*it));
  return path;
}

}  // namespace tw
