// One state byte per node of a search (laid out by StateByte): the marks say whether the
// mover may stand there, kept in step with the world's solid objects, and the other bits
// belong to the search itself. The marks come from the counts of HARD objects per node
// (BlockedCounts), shared with other searches while the grid reports no change; they are
// marked again whenever it does, so each answer is the world's.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/path/BlockedCounts.h"
#include "engine/path/Node.h"
#include "engine/path/StateByte.h"
#include "engine/world/Box.h"
#include "engine/world/Grid.h"
#include "engine/world/Object.h"
#include "engine/world/SceneGraph.h"
#include "engine/world/WorldManager.h"

namespace tw {

class NodeStateMap {
 public:
  // Takes its counts from p_counts, which must outlive the map (the path
  // manager's, shared by its searches); with none, the map keeps its own.
  explicit NodeStateMap(BlockedCounts* p_counts = nullptr);

  // The world's own answer, one collision query: the first HARD object the
  // mover would touch at the node blocks it, unless that object's box contains
  // the goal position (so a search may end on the obstacle it aims at).
  static bool askWorld(const Object* p_mover, Node node, Node goal);

  // Sizes the map for a width x height node grid; false when memory runs
  // out. The bytes are written whole by the first refresh, which must come
  // before any other use.
  bool allocate(int width, int height);
  // Marks the nodes again if the world's solid objects, the mover's box or
  // the goal have changed since they were last marked. Asked before every
  // expansion, so the usual answer, nothing changed, is found inline.
  void refresh(const Object* p_new_mover, Node new_goal) {
    if (!built || grid.getRevision() != revision || p_new_mover != p_mover ||
        !(p_new_mover->getBox() == mover_box) || !(new_goal == goal)) {
      remark(p_new_mover, new_goal);
    }
  }
  // The byte of node (x, y), at index y * width + x.
  std::uint8_t& at(size_t index) { return states[index]; }
  std::uint8_t at(size_t index) const { return states[index]; }
  // The bytes of the three nodes from index on, the first lowest, read as
  // one word (the map ends in spare bytes, so a word may reach past its end).
  std::uint32_t threeAt(size_t index) const {
    std::uint32_t word = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(&word, &states[index], sizeof word);
#else
    for (size_t i = 0; i < sizeof word; i++) word |= static_cast<std::uint32_t>(states[index + i]) << (8 * i);
#endif
    return word & 0xFFFFFFu;
  }
  // Whether the mover may not stand on (x, y), a node of the grid.
  bool isBlocked(int x, int y) {
    const size_t index = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    return isBlocked(states[index], x, y);
  }
  // The same for the byte of that node, already at hand. Undecided marks
  // are settled by asking the world, once: the answer replaces them.
  bool isBlocked(std::uint8_t& state, int x, int y) {
    if (StateByte::isUndecided(state)) return resolve(state, x, y);
    return StateByte::isBlocked(state);
  }

 private:
  bool resolve(std::uint8_t& state, int x, int y);
  void remark(const Object* p_new_mover, Node new_goal);
  void markSpecialEntries(const std::vector<std::uint8_t>& counts);

  // The world's grid, which lives as long as the program; read on every step.
  const Grid& grid = WorldManager::getInstance().getSceneGraph().getGrid();
  std::unique_ptr<BlockedCounts> p_own_counts;  // when none were given
  BlockedCounts* p_counts;                      // not owned, unless p_own_counts
  static const size_t SPARE_BYTES = 4;  // after the last node, for threeAt
  std::unique_ptr<std::uint8_t[]> states;  // width x height, row by row, then the spare bytes
  size_t node_count = 0;
  bool written = false;  // every byte has been written (by the first marking)
  int width = 0;
  int height = 0;
  bool built = false;
  unsigned long revision = 0;  // of the world's grid when marked
  const Object* p_mover = nullptr;  // not owned
  Box mover_box;  // relative to the mover's position, when marked
  Node goal{0, 0};
  struct Special {
    size_t index;  // of a node touched by an entry
    bool own;      // the mover's own entry, or else one holding the goal
  };
  std::vector<Special> special;  // scratch of markSpecialEntries
};

}  // namespace tw
