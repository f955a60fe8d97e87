#include "engine/path/FieldOfView.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tw {

namespace {

// Whether the fraction an / ad is below bn / bd (both denominators positive).
bool less(long long an, long long ad, long long bn, long long bd) { return an * bd < bn * ad; }

// floor(n / d) for d > 0.
long long floorDiv(long long n, long long d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// The four quadrants, each a cone of rows around one axis: column c at
// depth d is the cell origin + c * (xx, yx) + d * (xy, yy).
const int QUADRANTS[4][4] = {{1, 0, 0, -1}, {1, 0, 0, 1}, {0, 1, 1, 0}, {0, -1, 1, 0}};

}  // namespace

FieldOfView::FieldOfView()
    : width(0), height(0), marked_left(0), marked_top(0), marked_right(-1), marked_bottom(-1),
      p_map(nullptr), origin_x(0), origin_y(0), radius(0), radius_squared(0), light_walls(true),
      algorithm(FOV_SYMMETRIC) {}

void FieldOfView::reset(const CellMap& map) {
  if (map.getWidth() != width || map.getHeight() != height) {
    width = map.getWidth();
    height = map.getHeight();
    seen.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  } else {
    for (int y = marked_top; y <= marked_bottom; y++) {
      std::memset(&seen[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + marked_left], 0,
                  static_cast<std::size_t>(marked_right - marked_left + 1));
    }
  }
  marked_right = marked_bottom = -1;
}

void FieldOfView::mark(int x, int y) {
  seen[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = 1;
}

int FieldOfView::compute(const CellMap& map, int x, int y, int new_radius, bool new_light_walls,
                         FovAlgorithm new_algorithm) {
  reset(map);
  if (!map.contains(x, y)) return -1;
  p_map = &map;
  origin_x = x;
  origin_y = y;
  radius = std::max(new_radius, 0);
  radius_squared = radius * radius;
  light_walls = new_light_walls;
  algorithm = new_algorithm;
  // Nothing outside the square of the radius is marked, so only it needs
  // clearing next time.
  marked_left = radius > 0 ? std::max(0, x - radius) : 0;
  marked_top = radius > 0 ? std::max(0, y - radius) : 0;
  marked_right = radius > 0 ? std::min(width - 1, x + radius) : width - 1;
  marked_bottom = radius > 0 ? std::min(height - 1, y + radius) : height - 1;
  mark(x, y);
  if (algorithm == FOV_RAYS) {
    castRays();
  } else {
    for (const auto& q : QUADRANTS) scanQuadrant(Quadrant{q[0], q[1], q[2], q[3]});
  }
  p_map = nullptr;
  return 0;
}

void FieldOfView::scanQuadrant(const Quadrant& quadrant) {
  scanRow(quadrant, Row{1, Slope{-1, 1}, Slope{1, 1}});
}

// Whether the cell at column c of the row is seen, by the algorithm's rule,
// against the light the row received (cells of one row never shade each
// other; they shade the rows beyond).
bool FieldOfView::seesCell(const Row& row, int c, bool wall) const {
  const long long d = row.depth;
  const Slope& s = row.start;
  const Slope& e = row.end;
  if (algorithm == FOV_PERMISSIVE) {
    // The square's corners seen from the viewer's centre.
    const long long lo_d = 2 * c - 1 >= 0 ? 2 * d + 1 : 2 * d - 1;
    const long long hi_d = 2 * c + 1 > 0 ? 2 * d - 1 : 2 * d + 1;
    return less(s.n, s.d, 2 * c + 1, hi_d) && less(2 * c - 1, lo_d, e.n, e.d);
  }
  if (wall) return less(s.n, s.d, 2 * c + 1, 2 * d) && less(2 * c - 1, 2 * d, e.n, e.d);
  return !less(c, d, s.n, s.d) && !less(e.n, e.d, c, d);
}

void FieldOfView::scanRow(const Quadrant& q, const Row& row) {
  const int d = row.depth;
  if (radius > 0 && d > radius) return;
  const int row_x = origin_x + d * q.xy;
  const int row_y = origin_y + d * q.yy;
  if (q.xy == 0 ? (row_y < 0 || row_y >= height) : (row_x < 0 || row_x >= width)) return;
  // The columns the light may touch; one more each side for the square
  // cells of the permissive and restrictive rules.
  const long long widen = algorithm == FOV_SYMMETRIC ? 0 : 1;
  const long long from = floorDiv(2 * d * row.start.n + row.start.d, 2 * row.start.d) - widen;
  const long long to = -floorDiv(-(2 * d * row.end.n - row.end.d), 2 * row.end.d) + widen;
  const int first = static_cast<int>(std::max<long long>(-d, from));
  const int last = static_cast<int>(std::min<long long>(d, to));
  // Columns run along x (stride 1) or y (stride width), always upwards;
  // those beyond the map's sides are walls that are never seen.
  const int lateral = q.xx != 0 ? row_x : row_y;
  const int inside_first = -lateral;
  const int inside_last = (q.xx != 0 ? width : height) - 1 - lateral;
  const std::size_t stride = q.xx != 0 ? 1 : static_cast<std::size_t>(width);
  const std::size_t row_index = p_map->indexOf(row_x, row_y);
  const std::uint8_t* flags = p_map->data();
  const bool square_walls = algorithm == FOV_RESTRICTIVE;
  Slope next_start = row.start;
  for (int c = first; c <= last; c++) {
    const bool inside = c >= inside_first && c <= inside_last;
    const std::size_t index = row_index + static_cast<std::size_t>(c) * stride;  // wraps for c < 0, as intended
    const bool wall = !inside || (flags[index] & CellMap::TRANSPARENT) == 0;
    if (inside && (!wall || light_walls) && inRadius(c, d) && seesCell(row, c, wall)) seen[index] = 1;
    if (!wall) continue;
    // The wall's shadow: its diamond, or its whole square.
    Slope lo{2 * c - 1, 2 * d};
    Slope hi{2 * c + 1, 2 * d};
    if (square_walls) {
      lo.d = 2 * c - 1 >= 0 ? 2 * d + 1 : 2 * d - 1;
      hi.d = 2 * c + 1 > 0 ? 2 * d - 1 : 2 * d + 1;
    }
    const Slope cut = less(lo.n, lo.d, row.end.n, row.end.d) ? lo : row.end;
    if (less(next_start.n, next_start.d, cut.n, cut.d)) scanRow(q, Row{d + 1, next_start, cut});
    if (less(next_start.n, next_start.d, hi.n, hi.d)) next_start = hi;
  }
  if (less(next_start.n, next_start.d, row.end.n, row.end.d)) scanRow(q, Row{d + 1, next_start, row.end});
}

void FieldOfView::castRays() {
  const int left = radius > 0 ? std::max(0, origin_x - radius) : 0;
  const int right = radius > 0 ? std::min(width - 1, origin_x + radius) : width - 1;
  const int top = radius > 0 ? std::max(0, origin_y - radius) : 0;
  const int bottom = radius > 0 ? std::min(height - 1, origin_y + radius) : height - 1;
  for (int x = left; x <= right; x++) {
    castRay(x, top);
    castRay(x, bottom);
  }
  for (int y = top + 1; y < bottom; y++) {
    castRay(left, y);
    castRay(right, y);
  }
}

// Walks a Bresenham line from the viewer towards (to_x, to_y), marking the
// cells it passes until a wall or the radius stops it.
void FieldOfView::castRay(int to_x, int to_y) {
  const int dx = std::abs(to_x - origin_x);
  const int dy = std::abs(to_y - origin_y);
  const int step_x = to_x > origin_x ? 1 : -1;
  const int step_y = to_y > origin_y ? 1 : -1;
  int error = dx - dy;
  int x = origin_x;
  int y = origin_y;
  while (x != to_x || y != to_y) {
    const int twice = 2 * error;
    if (twice > -dy) {
      error -= dy;
      x += step_x;
    }
    if (twice < dx) {
      error += dx;
      y += step_y;
    }
    if (!inRadius(x - origin_x, y - origin_y)) return;
    if (!p_map->isTransparent(x, y)) {
      if (light_walls) mark(x, y);
      return;
    }
    mark(x, y);
  }
}

}  // namespace tw
