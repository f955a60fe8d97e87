// A grid of cells for games that think in cells (a roguelike's map): whether each cell can
// be walked on and whether it can be seen through. Field of view, Dijkstra maps and the
// immediate path search read it; the world's solid objects are a separate matter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/platform/Export.h"

namespace tw {

class TW_API CellMap {
 public:
  // A width x height map (negative sizes count as 0), every cell walkable
  // and transparent when open, else neither.
  CellMap(int width, int height, bool open = true);

  int getWidth() const { return width; }
  int getHeight() const { return height; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // Outside the map both answer false.
  bool isWalkable(int x, int y) const { return contains(x, y) && (cells[indexOf(x, y)] & WALKABLE) != 0; }
  bool isTransparent(int x, int y) const {
    return contains(x, y) && (cells[indexOf(x, y)] & TRANSPARENT) != 0;
  }
  // Sets one cell; -1 (and nothing changes) outside the map.
  int setCell(int x, int y, bool walkable, bool transparent);
  int setWalkable(int x, int y, bool walkable);
  int setTransparent(int x, int y, bool transparent);
  void fill(bool walkable, bool transparent);
  // Sets every cell from a game's own array of width x height cells, row by
  // row: walkable(cell) and transparent(cell) decide each flag.
  template <typename Cell, typename Walkable, typename Transparent>
  void assign(const Cell* p_cells, Walkable walkable, Transparent transparent) {
    revision++;
    for (std::size_t i = 0; i < cells.size(); i++) {
      cells[i] = static_cast<std::uint8_t>((walkable(p_cells[i]) ? WALKABLE : 0) |
                                           (transparent(p_cells[i]) ? TRANSPARENT : 0));
    }
  }

  // The flags of a cell as the searches read them, index y * width + x.
  static const std::uint8_t WALKABLE = 1;
  static const std::uint8_t TRANSPARENT = 2;
  const std::uint8_t* data() const { return cells.data(); }
  // Counts the changes to the map, so that what is derived from it can
  // tell whether it is still current.
  unsigned long getRevision() const { return revision; }
  std::size_t indexOf(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
  }

 private:
  int width;
  int height;
  std::vector<std::uint8_t> cells;  // WALKABLE | TRANSPARENT per cell, row by row
  unsigned long revision = 0;
};

}  // namespace tw
