// The open set of a path search: a four-way min-heap of the nodes of a search's grid under
// distinct keys (OpenKey), so the smallest comes out first whatever the heap's shape. Each
// node is in it at most once, and its costs record keeps its place, so its key can be
// lowered there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/path/Node.h"
#include "engine/path/OpenKey.h"

namespace tw {

// Costs of a node that the search has found. They are written when the cell
// is first found (the start's g when the grid is made) and read only after,
// so the node grid is never cleared.
struct NodeCosts {
  float g;  // cost of the best known route from the start
  float f;  // g plus the straight-line distance to the goal
  std::uint32_t order;  // when the node entered the open set
  std::uint32_t slot;   // where its entry stands in the open heap, while open
};

class OpenHeap {
 public:
  using Key = OpenKey::Bits;
  struct Entry {
    Key key;
    Node node;
  };

  OpenHeap();
  // Works on a node grid of rows width nodes wide, which must outlive the
  // heap's use. Empties the heap, which may then serve another search.
  void attach(NodeCosts* p_nodes, int width);
  bool empty() const { return count == 0; }
  std::size_t size() const { return count; }
  // Adds a node not in the heap. False, with the heap unchanged, when memory
  // for more entries runs out.
  bool push(Key key, Node node);
  // Gives a node in the heap a smaller key.
  void lower(Key key, Node node);
  // Removes and returns the entry with the smallest key; the heap must not be empty.
  Entry pop();

 private:
  bool grow();
  std::size_t indexOf(Node node) const;
  // Moves entry up from hole while its parent's key is larger, and places it.
  void siftUp(std::size_t hole, const Entry& entry);
  void place(std::size_t slot, const Entry& entry);

  // The entries, then always four with keys larger than any real one, so
  // that every node's four children can be compared without asking how many
  // there are.
  std::unique_ptr<Entry[]> entries;
  std::size_t count;
  std::size_t capacity;  // entries plus pads that fit
  NodeCosts* p_nodes;  // not owned
  int width;
};

}  // namespace tw
