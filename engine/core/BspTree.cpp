#include "engine/core/BspTree.h"

#include <algorithm>

namespace tw {

BspTree::BspTree(int x, int y, int width, int height) {
  nodes.push_back(BspNode{x, y, std::max(width, 0), std::max(height, 0), 0, -1, -1, -1});
}

void BspTree::clear() { nodes.resize(1); nodes[0].first_child = nodes[0].second_child = -1; }

void BspTree::splitRecursive(RandomGenerator& random, int levels, int min_width, int min_height,
                             float max_ratio) {
  for (int leaf : getLeaves()) {
    split(leaf, random, nodes[static_cast<std::size_t>(leaf)].level + levels, std::max(min_width, 1),
          std::max(min_height, 1), max_ratio);
  }
}

void BspTree::addChildren(int index, bool across_x, int size) {
  const BspNode parent = nodes[static_cast<std::size_t>(index)];
  BspNode first{parent.x, parent.y, parent.width, parent.height, parent.level + 1, index, -1, -1};
  BspNode second = first;
  if (across_x) {
    first.width = size;
    second.x += size;
    second.width -= size;
  } else {
    first.height = size;
    second.y += size;
    second.height -= size;
  }
  nodes[static_cast<std::size_t>(index)].first_child = static_cast<int>(nodes.size());
  nodes[static_cast<std::size_t>(index)].second_child = static_cast<int>(nodes.size()) + 1;
  nodes.push_back(first);
  nodes.push_back(second);
}

// Splits node index and then its parts, until last_level.
void BspTree::split(int index, RandomGenerator& random, int last_level, int min_width, int min_height,
                    float max_ratio) {
  const BspNode node = nodes[static_cast<std::size_t>(index)];
  if (node.level >= last_level) return;
  const bool can_x = node.width >= 2 * min_width;
  const bool can_y = node.height >= 2 * min_height;
  if (!can_x && !can_y) return;
  bool across_x = can_x;
  if (can_x && can_y) {
    if (node.width > max_ratio * node.height) {
      across_x = true;
    } else if (node.height > max_ratio * node.width) {
      across_x = false;
    } else {
      across_x = random.getInt(0, 1) == 0;
    }
  }
  const int size = across_x ? random.getInt(min_width, node.width - min_width)
                            : random.getInt(min_height, node.height - min_height);
  addChildren(index, across_x, size);
  const int first = nodes[static_cast<std::size_t>(index)].first_child;
  split(first, random, last_level, min_width, min_height, max_ratio);
  split(first + 1, random, last_level, min_width, min_height, max_ratio);
}

std::vector<int> BspTree::getLeaves() const {
  std::vector<int> leaves;
  std::vector<int> pending{0};
  while (!pending.empty()) {
    const int index = pending.back();
    pending.pop_back();
    const BspNode& node = nodes[static_cast<std::size_t>(index)];
    if (node.isLeaf()) {
      leaves.push_back(index);
    } else {
      pending.push_back(node.second_child);
      pending.push_back(node.first_child);
    }
  }
  return leaves;
}

}  // namespace tw
