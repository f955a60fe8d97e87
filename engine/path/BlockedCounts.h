// The counts of HARD objects per node that path searches start their node maps from, kept
// between searches: one set per mover box and grid size, each valid while the world's grid
// keeps the revision it was built at. The path manager owns one and hands it to searches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/world/Box.h"

namespace tw {

class Grid;

class BlockedCounts {
 public:
  // A count that has reached MANY stands for MANY or more.
  static const std::uint8_t MANY = 255;
  // Sets of counts kept at once; movers of up to this many different boxes
  // (or grid sizes) share the world without evicting each other.
  static const std::size_t MOST_SETS = 4;

  // Per node of a width x height grid, row by row, how many HARD entries of
  // grid a mover with mover_box (relative to its position) would touch there,
  // its own included. Built anew unless a set for the same box and size was
  // built at the grid's current revision; the least recently used set makes
  // room when all are taken. The reference is good until the next call.
  const std::vector<std::uint8_t>& countsFor(const Grid& grid, const Box& mover_box, int width, int height);

  // How many sets have been built so far.
  long getBuildCount() const { return builds; }

 private:
  struct Set {
    bool used = false;
    Box mover_box;
    int width = 0;
    int height = 0;
    unsigned long revision = 0;  // of the grid, when built
    unsigned long last_use = 0;
    std::vector<std::uint8_t> counts;
  };
  Set& slotFor(const Box& mover_box, int width, int height);
  void build(Set& set, const Grid& grid);

  Set sets[MOST_SETS];
  unsigned long uses = 0;
  long builds = 0;
};

}  // namespace tw
