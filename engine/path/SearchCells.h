// One byte per cell of a search's node grid: the low bits say whether the mover may stand
// there, kept in step with the world's solid objects, and the bits above belong to the
// search itself. The marks come from a count of solid objects per cell, made in one sweep
// over the boxes the grid keeps with its entries and shared by searches while the grid
// reports no change; they are built again whenever it does, so each answer is the world's.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/world/Box.h"
#include "engine/world/Grid.h"
#include "engine/world/SceneGraph.h"
#include "engine/world/WorldManager.h"

namespace tw {

class Object;

class SearchCells {
 public:
  // The bits of a cell's byte that hold its marks; the search keeps its own
  // flags in the others. Marks BLOCKED block for certain; UNDECIDED ones are
  // settled by isBlocked, which asks the world; others leave the cell free.
  static const std::uint8_t MARK_BITS = 3;
  static const std::uint8_t BLOCKED = 1;
  static const std::uint8_t UNDECIDED = 3;

  // The world's own answer, one collision query: the first HARD object the
  // mover would touch at cell blocks it, unless that object's box contains
  // the goal position (so a search may end on the obstacle it aims at).
  static bool askWorld(const Object* p_mover, Cell cell, Cell goal);

  // Sizes the map for a width x height node grid; false when memory runs
  // out. The bytes are written whole by the first refresh, which must come
  // before any other use.
  bool allocate(int width, int height);
  // Marks the cells again if the world's solid objects, the mover's box or
  // the goal have changed since they were last marked.
  void refresh(const Object* p_mover, Cell goal);
  // The byte of cell (x, y), at index y * width + x.
  std::uint8_t& at(size_t index) { return cells[index]; }
  std::uint8_t at(size_t index) const { return cells[index]; }
  // The bytes of the three cells from index on, the first lowest, read as
  // one word (the map ends in spare bytes, so a word may reach past its end).
  std::uint32_t threeAt(size_t index) const {
    std::uint32_t word = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(&word, &cells[index], sizeof word);
#else
    for (size_t i = 0; i < sizeof word; i++) word |= static_cast<std::uint32_t>(cells[index + i]) << (8 * i);
#endif
    return word & 0xFFFFFFu;
  }
  // Whether the mover may not stand on (x, y), a cell of the node grid.
  bool isBlocked(int x, int y) {
    const size_t index = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    return isBlocked(cells[index], x, y);
  }
  // The same for the byte of that cell, already at hand.
  bool isBlocked(std::uint8_t& cell, int x, int y) {
    const std::uint8_t marks = cell & MARK_BITS;
    if (marks == (BLOCKER | OPENER)) return resolve(cell, x, y);
    return marks == BLOCKER;
  }

 private:
  // Marks of a cell: some HARD object touched there leaves the goal outside
  // its box (BLOCKER), or holds the goal (OPENER). Only BLOCKER alone blocks;
  // with both marks the order of the objects decides, so the world is asked.
  static const std::uint8_t BLOCKER = 1;
  static const std::uint8_t OPENER = 2;

  bool resolve(std::uint8_t& cell, int x, int y);
  void rebuild();
  // How many HARD entries touch each cell, built anew only when the grid, the
  // mover's box or the node grid's size have changed since it was last built.
  const std::vector<std::uint8_t>& currentCounts();
  void markSpecialEntries(const std::vector<std::uint8_t>& counts);
  // Calls visit(index) for every cell where the mover would touch an object
  // with this world box.
  template <typename Visit>
  void forEachTouched(const Box& box, Visit visit);
  // The cells of one axis where the mover, its box starting at mover_corner +
  // cell, overlaps the object's span: the run lo..hi within 0..count-1
  // (FOUND), none at all (NONE), or UNKNOWN for extents or coordinates that
  // need the cell-by-cell test below.
  enum class Run { FOUND, NONE, UNKNOWN };
  static Run overlapRun(float mover_corner, float mover_extent, float corner, float extent,
                        int count, int& lo, int& hi);
  // overlapRun for the mover on one axis (0 = x, 1 = y), remembered by the
  // span's exact bits: objects in a row or column share their answers.
  Run runOnAxis(int axis, float corner, float extent, int& lo, int& hi);
  // The cells lo..hi (clipped to 0..count-1) on one axis where the mover,
  // its box starting at mover_corner + cell, overlaps the object's span;
  // false when there are none. hits[i] tells about cell lo + i.
  static bool overlapsOnAxis(float mover_corner, float mover_extent, float corner, float extent,
                             int count, int& lo, int& hi, std::vector<char>& hits);

  // The world's grid, which lives as long as the program; read on every step.
  const Grid& grid = WorldManager::getInstance().getSceneGraph().getGrid();
  static const size_t SPARE_BYTES = 4;  // after the last cell, for threeAt
  std::unique_ptr<std::uint8_t[]> cells;  // width x height, row by row, then the spare bytes
  size_t cell_count = 0;
  bool written = false;  // every byte has been written (by the first build)
  int width = 0;
  int height = 0;
  bool built = false;
  unsigned long revision = 0;  // of the world's grid when built
  const Object* p_mover = nullptr;  // not owned
  Box mover_box;  // relative to the mover's position, when built
  Cell goal{0, 0};
  struct Special {
    size_t index;  // of a cell touched by an entry
    bool own;      // the mover's own entry, or else one holding the goal
  };
  std::vector<Special> special;   // scratch of markSpecialEntries
  std::vector<char> column_hits;  // scratch of forEachTouched
  std::vector<char> row_hits;
  struct RunMemo {
    std::uint32_t corner_bits;
    std::uint32_t extent_bits;
    Run run;
    int lo;
    int hi;
    bool used;
  };
  static const int MEMO_SIZE = 256;  // per axis, a power of two
  RunMemo memo[2][MEMO_SIZE];  // emptied whenever the marks are built
};

}  // namespace tw
