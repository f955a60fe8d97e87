// One incremental A* search over the world's integer cells for one object: the node grid,
// the open and closed sets and one expansion at a time. Scheduling the searches and
// delivering their results is the path manager's business.
#pragma once

#include <cstdint>
#include <queue>
#include <vector>

#include "engine/world/Path.h"
#include "engine/world/Grid.h"
#include "engine/world/Vector.h"

namespace tw {

class Object;

// Largest node grid a search allocates (2048 x 2048 cells, 80 MB); a
// bigger world cannot be searched and the search is refused up front.
const long MAX_PATH_NODES = 2048L * 2048L;

// Search state of one cell.
struct PathNode {
  float g;     // cost of the best known route from the start
  float f;     // g plus the straight-line distance to the goal
  int parent;  // node index the best route came from, or -1
  std::uint32_t order;  // when the cell entered the open set
  bool open;   // in the open set: found, not yet expanded
  bool closed; // expanded
};

class PathFind {
 public:
  // Allocates a node grid of the world boundary's size (truncated to whole
  // cells) with the start's g = 0. The grid stays missing when the world is
  // empty or too large, when the start lies outside it, or when memory runs out.
  PathFind(Object* p_mover, Cell start, Cell goal, Object* p_target = nullptr);
  ~PathFind();
  PathFind(const PathFind&) = delete;
  PathFind& operator=(const PathFind&) = delete;

  // One expansion: 0 = no path (or no node grid), 1 = the search goes on,
  // 2 = found. Once a search has ended, later calls return the same result
  // and change nothing.
  int cycleOnce();
  // Start to goal, start first, index 0; empty unless found.
  Path getPath() const;
  // Whether the mover may not stand on cell: the first HARD object it would
  // touch there blocks it, unless that object's box contains the goal.
  bool isBlocked(Cell cell, Cell goal_cell) const;

  bool isAllocated() const;
  bool isFound() const;
  Object* getMover() const;
  Object* getTarget() const;  // null once the target object has been destroyed
  Cell getStart() const;
  Cell getGoal() const;
  int getOpenCount() const;
  int getClosedCount() const;
  int getGridWidth() const;   // columns the node grid was allocated with
  int getGridHeight() const;  // rows the node grid was allocated with

 private:
  // An open-set entry. The open set behaves as the ordered list of cells in
  // the order they were found, scanned from the end for the strictly smallest
  // f; a heap ordered by (f, newest first) picks the same cell.
  struct OpenEntry {
    float f;
    std::uint32_t order;  // when the cell entered the open set
    int index;
    bool operator<(const OpenEntry& other) const;
  };

  void allocate(Cell start);
  int finish(int result);
  bool inGrid(Cell cell) const;
  int indexOf(Cell cell) const;
  Cell cellOf(int index) const;
  int chooseCurrent();
  void checkArrival(Cell current);
  bool targetAlive();
  void expand(Cell current);
  // The neighbour steps of one expansion; memo caches isBlocked answers for
  // the 3 x 3 cells around current (-1 = not asked yet).
  void relax(Cell current, int dx, int dy, int memo[3][3]);
  bool blockedAt(Cell current, int dx, int dy, int memo[3][3]) const;
  void openCell(int index, float g, float f, int parent);
  int searchWidth() const;
  int searchHeight() const;

  Object* p_mover;   // its box is used for every obstacle test; not owned
  Object* p_target;  // reaching its box counts as arrival; not owned, may be null
  int target_id;     // to tell whether the target still exists
  Cell start;
  Cell goal;  // moved to the arrival cell when the target is reached
  std::vector<PathNode> nodes;  // rows of width nodes; empty when not allocated
  int width;   // columns allocated
  int height;  // rows allocated
  std::priority_queue<OpenEntry> open_queue;  // may hold outdated entries
  int open_count;
  int closed_count;
  std::uint32_t next_order;
  bool found;
  int final_result;  // 1 while searching, then 0 or 2
};

}  // namespace tw
