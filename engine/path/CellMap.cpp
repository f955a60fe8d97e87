#include "engine/path/CellMap.h"

#include <algorithm>

namespace tw {

namespace {
std::uint8_t flagsOf(bool walkable, bool transparent) {
  return static_cast<std::uint8_t>((walkable ? CellMap::WALKABLE : 0) | (transparent ? CellMap::TRANSPARENT : 0));
}
}  // namespace

CellMap::CellMap(int new_width, int new_height, bool open)
    : width(std::max(new_width, 0)),
      height(std::max(new_height, 0)),
      cells(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), flagsOf(open, open)) {}

int CellMap::setCell(int x, int y, bool walkable, bool transparent) {
  if (!contains(x, y)) return -1;
  cells[indexOf(x, y)] = flagsOf(walkable, transparent);
  revision++;
  return 0;
}

int CellMap::setWalkable(int x, int y, bool walkable) {
  if (!contains(x, y)) return -1;
  return setCell(x, y, walkable, isTransparent(x, y));
}

int CellMap::setTransparent(int x, int y, bool transparent) {
  if (!contains(x, y)) return -1;
  return setCell(x, y, isWalkable(x, y), transparent);
}

void CellMap::fill(bool walkable, bool transparent) {
  std::fill(cells.begin(), cells.end(), flagsOf(walkable, transparent));
  revision++;
}

}  // namespace tw
