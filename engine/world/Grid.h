// The spatial index behind collision queries: the boundary cut into cells listing the solid
// active objects whose boxes cover them, plus a list for objects reaching outside. The scene
// graph decides which objects belong here and reports their moves before they happen.
#pragma once

#include <set>
#include <vector>

#include "engine/core/ObjectList.h"
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

  int getNumCols() const;
  int getNumRows() const;
  int getCellWidth() const;
  int getCellHeight() const;

 private:
  // False, with the log line naming where, without cells or without an object.
  bool ready(const char* where, const Object* p_o) const;
  // The list behind a cell, or null for a pair outside the grid.
  ObjectList* listFor(const Cell& cell);
  const ObjectList* listFor(const Cell& cell) const;

  std::vector<std::vector<ObjectList>> cells;  // cells[row][column]
  bool allocated;  // the cells exist (started)
  ObjectList outside;
  int num_cols;
  int num_rows;
  int cell_width;   // world units
  int cell_height;  // world units
};

}  // namespace tw
