// One incremental A* search over the world's integer cells for one object: the node grid,
// the open and closed sets and one expansion at a time. Scheduling the searches and
// delivering their results is the path manager's business.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/LiveObjects.h"
#include "engine/path/OpenHeap.h"
#include "engine/world/Path.h"
#include "engine/path/NodeStateMap.h"
#include "engine/path/Node.h"
#include "engine/path/PathManager.h"
#include "engine/world/Vector.h"

namespace tw {

class BlockedCounts;
class Object;
class WorldManager;

// Largest node grid a search allocates (2048 x 2048 cells, about 70 MB); a
// bigger world cannot be searched and the search is refused up front.
const long MAX_PATH_NODES = 2048L * 2048L;

class PathFind {
 public:
  // Allocates a node grid of the world boundary's size (truncated to whole
  // cells) with the start's g = 0. The grid stays missing when the world is
  // empty or too large, when the start lies outside it, or when memory runs out.
  // The counts of blocking objects come from p_counts, which must outlive
  // the search (the path manager's); with none, the search keeps its own.
  PathFind(Object* p_mover, Node start, Node goal, Object* p_target = nullptr,
           BlockedCounts* p_counts = nullptr);
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
  // touch there blocks it, unless that object's box contains the goal. Asks
  // the world directly; the search itself reads the same answers from its
  // map of blocked cells.
  bool isBlocked(Node cell, Node goal_cell) const;

  // What reaching the target means (touching unless set).
  void setArrival(PathArrival new_arrival);

  bool isAllocated() const;
  bool isFound() const;
  Object* getMover() const;
  Object* getTarget() const;  // null once the target object has been destroyed
  Node getStart() const;
  Node getGoal() const;
  int getOpenCount() const;
  int getClosedCount() const;
  int getGridWidth() const;   // columns the node grid was allocated with
  int getGridHeight() const;  // rows the node grid was allocated with

 private:
  void allocate(Node start);
  int finish(int result);
  int indexOf(Node cell) const;
  Node chooseCurrent();
  void checkArrival(Node current);
  void dropTarget();
  // Visits the neighbours of current that lie inside limit_w x limit_h and
  // may be entered from it.
  void expand(Node current, int limit_w, int limit_h);
  // Bit i set: the search may take step i (an index into its eight steps).
  bool interiorSteps(size_t here, unsigned& steps);
  unsigned edgeSteps(Node current, int limit_w, int limit_h);
  void visit(Node current, int step, float g);
  // The boundary's extents in whole cells, but never past the node grid.
  void searchLimits(int& limit_w, int& limit_h) const;

  const WorldManager& world;  // asked for the boundary at every step
  Object* p_mover;   // its box is used for every obstacle test; not owned
  Handle<Object> target;  // reaching its box counts as arrival; null when none
  bool targeting;         // a target was given and has not been dropped
  PathArrival arrival = ARRIVE_TOUCHING;
  Node start;
  Node goal;  // moved to the arrival cell when the target is reached
  std::unique_ptr<NodeCosts[]> nodes;  // rows of width nodes; null when not allocated
  // Per node: blocked or not, open, closed, and the step from the node the
  // best route came from.
  NodeStateMap states;
  int width;   // columns allocated
  int height;  // rows allocated
  // The open nodes, smallest OpenKey first: by f, the newest among equals,
  // as a list scanned from its end for the strictly smallest f would pick.
  OpenHeap open_heap;
  int closed_count;
  std::uint32_t next_order;
  bool found;
  bool out_of_memory;  // the open set could not grow: the search ends, not found
  int final_result;  // 1 while searching, then 0 or 2
};

}  // namespace tw
