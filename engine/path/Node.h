// A node of a path search: a whole-cell position of the world, the place a mover may stand
// on. The search has one node per world cell; the collision grid's buckets and the
// display's character cells are other things.
#pragma once

namespace tw {

struct Node {
  int x;  // column, 0 at the world boundary's corner
  int y;  // row
  bool operator==(const Node& other) const { return x == other.x && y == other.y; }
};

}  // namespace tw
