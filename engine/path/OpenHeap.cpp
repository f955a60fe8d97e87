#include "engine/path/OpenHeap.h"

#include <algorithm>
#include <limits>
#include <new>

namespace tw {

namespace {
const OpenHeap::Entry PAD{std::numeric_limits<OpenHeap::Key>::max(), Node{0, 0}};
const std::size_t PADS = 4;
const std::size_t FIRST_CAPACITY = 256;
}  // namespace

OpenHeap::OpenHeap() : count(0), capacity(0), p_nodes(nullptr), width(0) {}

void OpenHeap::attach(NodeCosts* p_new_nodes, int new_width) {
  // Entries left from an earlier search become pads again: pop compares
  // the slots past the last entry.
  std::fill(entries.get(), entries.get() + count, PAD);
  count = 0;
  p_nodes = p_new_nodes;
  width = new_width;
}

bool OpenHeap::grow() {
  const std::size_t grown = capacity == 0 ? FIRST_CAPACITY : capacity * 2;
  std::unique_ptr<Entry[]> p_grown(new (std::nothrow) Entry[grown]);
  if (!p_grown) return false;
  std::copy(entries.get(), entries.get() + count, p_grown.get());
  std::fill(p_grown.get() + count, p_grown.get() + grown, PAD);
  entries = std::move(p_grown);
  capacity = grown;
  return true;
}

std::size_t OpenHeap::indexOf(Node node) const {
  return static_cast<std::size_t>(node.y) * static_cast<std::size_t>(width) +
         static_cast<std::size_t>(node.x);
}

void OpenHeap::place(std::size_t slot, const Entry& entry) {
  entries[slot] = entry;
  p_nodes[indexOf(entry.node)].slot = static_cast<std::uint32_t>(slot);
}

void OpenHeap::siftUp(std::size_t hole, const Entry& entry) {
  while (hole > 0) {
    const std::size_t parent = (hole - 1) / 4;
    if (entries[parent].key <= entry.key) break;
    place(hole, entries[parent]);
    hole = parent;
  }
  place(hole, entry);
}

bool OpenHeap::push(Key key, Node node) {
  // One more entry and its pads must fit; the slots past count hold pads.
  if (count + 1 + PADS > capacity && !grow()) return false;
  siftUp(count++, Entry{key, node});
  return true;
}

void OpenHeap::lower(Key key, Node node) { siftUp(p_nodes[indexOf(node)].slot, Entry{key, node}); }

// The last entry drops into the root's hole and sinks below the smallest of
// the children while that is smaller; the pads never are, so they stay put.
// The smallest child is picked by comparisons rather than branches, which a
// search's keys would make hard to predict.
OpenHeap::Entry OpenHeap::pop() {
  const Entry top = entries[0];
  const Entry last = entries[--count];
  entries[count] = PAD;
  if (count == 0) return top;
  std::size_t hole = 0;
  while (true) {
    const std::size_t first = 4 * hole + 1;
    if (first >= count) break;
    const Entry* child = entries.get() + first;
    const std::size_t a = child[1].key < child[0].key ? 1 : 0;
    const std::size_t b = child[3].key < child[2].key ? 3 : 2;
    const std::size_t least = child[b].key < child[a].key ? b : a;
    if (child[least].key >= last.key) break;
    place(hole, child[least]);
    hole = first + least;
  }
  place(hole, last);
  return top;
}

}  // namespace tw
