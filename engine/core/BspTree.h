// Binary space partitioning of a rectangle of cells, the usual start of a map of rooms and
// corridors: parts are split in two, at random places, until they are small enough. The
// tree keeps every part; its leaves are the smallest, side by side, covering the whole.
#pragma once

#include <vector>

#include "engine/core/RandomGenerator.h"
#include "engine/platform/Export.h"

namespace tw {

struct TW_API BspNode {
  int x;  // the part's top-left cell
  int y;
  int width;  // in cells
  int height;
  int level;         // 0 for the whole rectangle, one more per split
  int parent;        // index in the tree's nodes; -1 for the root
  int first_child;   // left or top part; -1 for a leaf
  int second_child;  // right or bottom part
  bool isLeaf() const { return first_child < 0; }
};

class TW_API BspTree {
 public:
  BspTree(int x, int y, int width, int height);

  // Splits each leaf, and each part made, up to levels deep. A part is split
  // only when both halves keep at least min_width columns (for a split
  // across x) or min_height rows (across y); a part more than max_ratio
  // times longer than wide (or wider than long) is split across its longer
  // side, any other at random. The split's place is uniform among those allowed.
  void splitRecursive(RandomGenerator& random, int levels, int min_width, int min_height,
                      float max_ratio = 1.5f);
  // Back to the whole rectangle alone.
  void clear();

  const std::vector<BspNode>& getNodes() const { return nodes; }
  const BspNode& getNode(int index) const { return nodes[static_cast<std::size_t>(index)]; }
  // The indices of the leaves, left or top parts before their siblings.
  std::vector<int> getLeaves() const;

 private:
  void split(int index, RandomGenerator& random, int levels, int min_width, int min_height, float max_ratio);
  void addChildren(int index, bool across_x, int size);

  std::vector<BspNode> nodes;  // the root first
};

}  // namespace tw
