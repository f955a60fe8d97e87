// A node of a path search: a whole-cell position of the world, the place a mover may stand
// on. The search has one node per world cell; the collision grid's buckets and the
// display's character cells are other things.
#pragma once

#include "engine/world/Vector.h"

namespace tw {

struct Node {
  int x;  // column, 0 at the world boundary's corner
  int y;  // row
  bool operator==(const Node& other) const { return x == other.x && y == other.y; }
};

// The world position of the node.
inline Vector toVector(Node node) { return Vector(static_cast<float>(node.x), static_cast<float>(node.y)); }

}  // namespace tw
