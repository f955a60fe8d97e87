#include "engine/path/BlockedCounts.h"

#include "engine/path/MoverFootprint.h"
#include "engine/world/Grid.h"

namespace tw {

const std::vector<std::uint8_t>& BlockedCounts::countsFor(const Grid& grid, const Box& mover_box, int width,
                                                          int height) {
  Set& set = slotFor(mover_box, width, height);
  if (!set.used || !(set.mover_box == mover_box) || set.width != width || set.height != height) {
    set.used = false;
    set.mover_box = mover_box;
    set.width = width;
    set.height = height;
  }
  set.last_use = ++uses;
  if (!set.used || set.revision != grid.getRevision()) build(set, grid);
  return set.counts;
}

// The set with this key if there is one, else a free one, else the least
// recently used.
BlockedCounts::Set& BlockedCounts::slotFor(const Box& mover_box, int width, int height) {
  Set* p_oldest = &sets[0];
  for (Set& set : sets) {
    if (set.used && set.mover_box == mover_box && set.width == width && set.height == height) return set;
  }
  for (Set& set : sets) {
    if (!set.used) return set;
    if (set.last_use < p_oldest->last_use) p_oldest = &set;
  }
  return *p_oldest;
}

// The collision query finds only objects in the grid: the same entries are
// walked here, with the boxes the grid keeps for them (an object listed in
// several grid cells counts once for each, which changes only how many).
void BlockedCounts::build(Set& set, const Grid& grid) {
  set.used = false;
  set.counts.assign(static_cast<std::size_t>(set.width) * static_cast<std::size_t>(set.height), 0);
  std::uint8_t* count = set.counts.data();
  const MoverFootprint footprint(set.mover_box, set.width, set.height);
  grid.forEachHardBox([&footprint, count](const Object*, const Box& box) {
    footprint.forEachNode(box, [count](std::size_t i) {
      if (count[i] != MANY) count[i]++;
    });
  });
  set.revision = grid.getRevision();
  set.used = true;
  builds++;
}

}  // namespace tw
