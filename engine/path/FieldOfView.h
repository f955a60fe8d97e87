// Which cells of a CellMap a viewer at one cell can see, by one of four algorithms; the
// result is kept per cell until the next computation. Cells that block sight are the map's
// non-transparent ones; cells beyond the map's edge block too and are never seen.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/path/CellMap.h"
#include "engine/platform/Export.h"

namespace tw {

enum FovAlgorithm : int {
  // A floor cell is seen when the line from the viewer's centre to its
  // centre is clear (walls taken as diamonds); then the viewer is seen back.
  FOV_SYMMETRIC = 0,
  // A cell is seen when any part of its square is in the light.
  FOV_PERMISSIVE,
  // A floor cell is seen only when its centre is lit and walls shade their
  // whole square: fewer cells round corners and pillars.
  FOV_RESTRICTIVE,
  // Plain ray casting: straight lines from the viewer to each cell of the
  // edge of the square of the radius (or of the map), each stopped by the
  // first wall.
  FOV_RAYS,
};

class TW_API FieldOfView {
 public:
  FieldOfView();

  // Computes what a viewer at (x, y) sees on map, within radius cells (a
  // cell counts when dx * dx + dy * dy <= radius * radius; 0 or less: no
  // limit). With light_walls, walls at the edge of the light are seen too.
  // -1, and nothing is seen, when the viewer stands outside the map.
  int compute(const CellMap& map, int x, int y, int radius, bool light_walls = true,
              FovAlgorithm algorithm = FOV_SYMMETRIC);
  // Whether the last computation saw the cell; false outside its map.
  bool isVisible(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height &&
           seen[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] != 0;
  }
  int getWidth() const { return width; }
  int getHeight() const { return height; }

 private:
  struct Slope {
    long long n;
    long long d;  // always positive
  };
  struct Row {
    int depth;
    Slope start;
    Slope end;
  };
  // Maps a quadrant's (depth, column) to map cells.
  struct Quadrant {
    int xx, xy, yx, yy;
  };

  void reset(const CellMap& map);
  void mark(int x, int y);
  void scanQuadrant(const Quadrant& quadrant);
  void scanRow(const Quadrant& quadrant, const Row& row);
  bool seesCell(const Row& row, int column, bool wall) const;
  void castRays();
  void castRay(int to_x, int to_y);
  bool inRadius(int dx, int dy) const {
    return radius_squared <= 0 || dx * dx + dy * dy <= radius_squared;
  }

  std::vector<std::uint8_t> seen;  // 1 for a seen cell, row by row
  int width;
  int height;
  // The bounds of the cells the last computation may have marked, cleared
  // before the next one rather than the whole grid.
  int marked_left, marked_top, marked_right, marked_bottom;
  const CellMap* p_map;  // during a computation; not owned
  int origin_x, origin_y;
  int radius;  // 0: no limit
  int radius_squared;
  bool light_walls;
  FovAlgorithm algorithm;
};

}  // namespace tw
