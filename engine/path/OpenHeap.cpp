#include "engine/path/OpenHeap.h"

#include <limits>

namespace tw {

namespace {
const OpenHeap::Entry PAD{std::numeric_limits<OpenHeap::Key>::max(), Cell{0, 0}};
const std::size_t PADS = 4;
}  // namespace

OpenHeap::OpenHeap() : entries(PADS, PAD), count(0) {}

void OpenHeap::push(Key key, Cell cell) {
  entries.push_back(PAD);
  std::size_t hole = count++;
  while (hole > 0) {
    const std::size_t parent = (hole - 1) / 4;
    if (entries[parent].key <= key) break;
    entries[hole] = entries[parent];
    hole = parent;
  }
  entries[hole] = Entry{key, cell};
}

// The last entry drops into the root's hole and sinks below the smallest of
// the children while that is smaller; the pads never are, so they stay put.
// The smallest child is picked by comparisons rather than branches, which a
// search's keys would make hard to predict.
OpenHeap::Entry OpenHeap::pop() {
  const Entry top = entries[0];
  const Entry last = entries[--count];
  entries[count] = PAD;
  entries.pop_back();
  if (count == 0) return top;
  std::size_t hole = 0;
  while (true) {
    const std::size_t first = 4 * hole + 1;
    if (first >= count) break;
    const Entry* child = &entries[first];
    const std::size_t a = child[1].key < child[0].key ? 1 : 0;
    const std::size_t b = child[3].key < child[2].key ? 3 : 2;
    const std::size_t least = child[b].key < child[a].key ? b : a;
    if (child[least].key >= last.key) break;
    entries[hole] = child[least];
    hole = first + least;
  }
  entries[hole] = last;
  return top;
}

}  // namespace tw
