// The open set of a path search: a four-way min-heap of cells under distinct
// 64-bit keys, so the smallest comes out first whatever the heap's shape.
// Four children per node halve the depth that every removal walks down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/world/Grid.h"

namespace tw {

class OpenHeap {
 public:
  using Key = std::uint64_t;
  struct Entry {
    Key key;
    Cell cell;
  };

  OpenHeap();
  bool empty() const { return count == 0; }
  std::size_t size() const { return count; }
  void push(Key key, Cell cell);
  // Removes and returns the entry with the smallest key; the heap must not be empty.
  Entry pop();

 private:
  // The entries, then always four with keys larger than any real one, so
  // that every node's four children can be compared without asking how many
  // there are.
  std::vector<Entry> entries;
  std::size_t count;
};

}  // namespace tw
