// The spatial index behind collision queries: the boundary cut into cells listing the solid
// active objects whose boxes cover them, plus a list for objects reaching outside, and a
// table of their world boxes. The scene graph decides which objects belong here and
// reports their moves before they happen.
#pragma once

#include <set>
#include <unordered_map>
#include <vector>

#include "engine/core/ObjectList.h"
#include "engine/world/Box.h"
#include "engine/world/Vector.h"

namespace tw {

class Object;

// A grid cell (column x, row y); (-1, -1) stands for the outside list.
struct Cell {
  int x;
  int y;
  // Row first, then column, so (-1, -1) comes first.
  bool operator<(const Cell& other) const {
    return y != other.y ? y < other.y : x < other.x;
  }
  bool operator==(const Cell& other) const { return x == other.x && y == other.y; }
};

const Cell OUTSIDE_CELL = {-1, -1};

using CellSet = std::set<Cell>;

// An object in the grid with its world box as the grid last saw it.
struct SolidBox {
  const Object* p_o;
  Box box;    // in world coordinates
  bool hard;  // HARD, not SOFT
};

class Grid {
 public:
  // Takes the cell size from the configuration ("grid_width", "grid_height").
  Grid();

  // Cuts the world manager's boundary into cells; -1 when already started.
  int startUp();
  void shutDown();
  bool isStarted() const;

  int insertObject(Object* p_o);
  int removeObject(Object* p_o);
  // Called before the object's position changes to where; touches only the
  // cells it leaves or enters.
  int updatePosition(Object* p_o, Vector where);
  // The objects (never p_o itself) that p_o's box at where would touch:
  // outside list first, then by cell in row order, each object once.
  ObjectList getCollisions(const Object* p_o, Vector where) const;
  CellSet getCells(const Object* p_o, Vector where) const;
  // The objects listed in one cell (the outside list for OUTSIDE_CELL); empty
  // for a cell outside the grid.
  ObjectList getCellObjects(Cell cell) const;
  // Called before an object in the grid turns between HARD and SOFT.
  void updateHardness(const Object* p_o, bool hard);
  // Every object in the grid with its world box, in no particular order: a
  // sweep over all solid objects that never touches the objects themselves.
  const std::vector<SolidBox>& getSolidBoxes() const { return solid_boxes; }
  // Counts every change of the solid objects: entering, leaving, moving and
  // turning between HARD and SOFT. A reader that saw the same number before
  // knows that no collision answer has changed since.
  unsigned long getRevision() const { return revision; }

  int getNumCols() const;
  int getNumRows() const;
  int getCellWidth() const;
  int getCellHeight() const;

 private:
  // The cells of a cell set as a rectangle of columns x0..x1 and rows
  // y0..y1 (empty when x0 > x1 or y0 > y1), plus whether the outside list
  // belongs to it.
  struct CellRange {
    int x0, y0, x1, y1;
    bool outside;
    bool operator==(const CellRange& other) const;
    bool holds(int x, int y) const;
  };
  CellRange rangeOf(const Object* p_o, Vector where) const;
  // False, with the log line naming where, without cells or without an object.
  bool ready(const char* where, const Object* p_o) const;
  // The list of an existing cell (0 <= x < num_cols, 0 <= y < num_rows).
  ObjectList& cellAt(int x, int y);
  const ObjectList& cellAt(int x, int y) const;
  // Keeps the box table in step: an entry made or replaced, or dropped.
  void recordBox(const Object* p_o, Vector where);
  void dropBox(const Object* p_o);
  // The list behind a cell pair (OUTSIDE_CELL too), or null outside the grid.
  const ObjectList* listFor(const Cell& cell) const;

  std::vector<std::vector<ObjectList>> cells;  // cells[row][column]
  bool allocated;  // the cells exist (started)
  ObjectList outside;
  int num_cols;
  int num_rows;
  int cell_width;   // world units
  int cell_height;  // world units
  unsigned long revision;
  std::vector<SolidBox> solid_boxes;
  std::unordered_map<const Object*, size_t> box_slot;  // each object's entry in solid_boxes
};

}  // namespace tw
