// The spatial index behind collision queries: the boundary cut into buckets (the grid's
// cells, 20 x 8 world cells by default) listing the solid active objects whose boxes cover
// them, with those boxes, plus a list for objects reaching outside. The scene graph decides which objects belong here and reports their moves
// before they happen.
#pragma once

#include <cstddef>
#include <set>

#include "engine/core/ObjectList.h"
#include "engine/platform/LargeArray.h"
#include "engine/world/Box.h"
#include "engine/world/BucketList.h"
#include "engine/world/Vector.h"

namespace tw {

class Object;

// One of the grid's cells, a bucket of cell_width x cell_height world cells
// (column x, row y); (-1, -1) stands for the outside list.
struct Bucket {
  int x;
  int y;
  // Row first, then column, so (-1, -1) comes first.
  bool operator<(const Bucket& other) const {
    return y != other.y ? y < other.y : x < other.x;
  }
  bool operator==(const Bucket& other) const { return x == other.x && y == other.y; }
};

const Bucket OUTSIDE_BUCKET = {-1, -1};

using BucketSet = std::set<Bucket>;

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
  // Called before the object's position changes to where; changes only the
  // lists of the cells it leaves or enters, and its box in the others.
  int updatePosition(Object* p_o, Vector where);
  // Called before an object in the grid turns between HARD and SOFT.
  void updateHardness(const Object* p_o, bool hard);
  // Asks the processor to fetch the first cell that a query of p_o at where
  // will read; changes nothing.
  void prefetch(const Object* p_o, Vector where) const;
  // The objects (never p_o itself) that p_o's box at where would touch:
  // outside list first, then by cell in row order, each object once.
  ObjectList getCollisions(const Object* p_o, Vector where) const;
  BucketSet getCells(const Object* p_o, Vector where) const;
  // The objects listed in one cell (the outside list for OUTSIDE_BUCKET); empty
  // for a cell outside the grid.
  ObjectList getCellObjects(Bucket cell) const;
  // Calls visit(const Object* p_o, const Box& box) for every HARD object in
  // the grid with its world box as the grid last saw it, once per cell list
  // it is in, the outside list first. The path search builds its map of
  // blocked nodes from these, without knowing how entries are kept.
  template <typename Visit>
  void forEachHardBox(Visit visit) const {
    auto visit_list = [&visit](const BucketList& list) {
      for (const GridEntry& entry : list) {
        if (entry.isHard()) visit(static_cast<const Object*>(entry.object()), entry.box);
      }
    };
    visit_list(outside);
    for (size_t i = 0; i < cell_count; i++) visit_list(cells[i]);
  }
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
  // rangeOf, taken from the last collision query when it asked about the
  // same object, box and place: a move usually follows its query.
  CellRange queriedRangeOf(const Object* p_o, Vector where) const;
  // Calls change(BucketList&) for the list of every cell of range.
  template <typename Change>
  void forEachList(const CellRange& range, Change change);
  // False, with the log line naming where, without cells or without an object.
  bool ready(const char* where, const Object* p_o) const;
  static void prefetchList(const BucketList& list, int lines);
  // The list of an existing cell (0 <= x < num_cols, 0 <= y < num_rows).
  BucketList& cellAt(int x, int y);
  const BucketList& cellAt(int x, int y) const;
  // The list behind a cell pair (OUTSIDE_BUCKET too), or null outside the grid.
  const BucketList* listFor(const Bucket& cell) const;

  platform::LargeArray<BucketList> cells;  // row by row, num_cols lists per row
  size_t cell_count;  // buckets in cells, num_cols x num_rows
  bool allocated;  // the cells exist (started)
  BucketList outside;
  int num_cols;
  int num_rows;
  int cell_width;   // world units
  int cell_height;  // world units
  float cell_size_x;  // cell_width and cell_height as floats
  float cell_size_y;
  unsigned long revision;
  struct Query {
    const Object* p_o;  // not owned; null when there is none
    Vector where;
    Box box;  // the object's own box at the time
    CellRange range;
  };
  mutable Query last_query;
};

}  // namespace tw
