#include "engine/display/CellCoverage.h"

#include <algorithm>
#include <cmath>

namespace tw {

namespace {
// Tolerance when deciding which cells a box touches, so that boxes which only
// share an edge do not count as overlapping.
const float EDGE_EPSILON = 1e-3f;
}  // namespace

void CellCoverage::reset(int new_cols, int new_rows) {
  cols = std::max(new_cols, 0) + 2;
  rows = std::max(new_rows, 0) + 2;
  drawn.assign(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows), 0);
  stamp = 0;
}

void CellCoverage::nextFrame() {
  if (++stamp == 0) {  // wrapped: old stamps could look current
    std::fill(drawn.begin(), drawn.end(), 0);
    stamp = 1;
  }
}

bool CellCoverage::touch(float left, float top, float right, float bottom, bool mark) {
  auto index = [](float v, int limit) {
    if (!(v > -1.0f)) return 0;  // also NaN
    if (!(v < static_cast<float>(limit - 1))) return limit - 1;
    return static_cast<int>(std::floor(v)) + 1;
  };
  const int x0 = index(left - CELL_BOX_LEFT + EDGE_EPSILON, cols);
  const int x1 = index(std::ceil(right - CELL_BOX_LEFT - EDGE_EPSILON) - 1.0f, cols);
  const int y0 = index(top - CELL_BOX_TOP + EDGE_EPSILON, rows);
  const int y1 = index(std::ceil(bottom - CELL_BOX_TOP - EDGE_EPSILON) - 1.0f, rows);
  bool found = false;
  for (int y = y0; y <= y1; y++) {
    for (int x = x0; x <= x1; x++) {
      unsigned& cell = drawn[static_cast<std::size_t>(y * cols + x)];
      if (cell == stamp) found = true;
      if (mark) cell = stamp;
    }
  }
  return found;
}

void CellCoverage::markShape(const DrawItem& item, float cell_w, float cell_h,
                             std::vector<float>& corners) {
  const int n = std::max(0, item.shape.points);
  corners.resize(2 * static_cast<std::size_t>(n));
  float min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  for (int i = 0; i < n; i++) {
    float& px = corners[2 * static_cast<std::size_t>(i)];
    float& py = corners[2 * static_cast<std::size_t>(i) + 1];
    shapeCorner(item, i, cell_w, cell_h, px, py);
    min_x = i == 0 ? px : std::min(min_x, px), max_x = i == 0 ? px : std::max(max_x, px);
    min_y = i == 0 ? py : std::min(min_y, py), max_y = i == 0 ? py : std::max(max_y, py);
  }
  if (n > 0 && cell_w > 0.0f && cell_h > 0.0f) {
    touch(min_x / cell_w, min_y / cell_h, max_x / cell_w, max_y / cell_h, true);
  }
}

void CellCoverage::characterBox(const DrawItem& item, float& left, float& top, float& right,
                                float& bottom) {
  left = item.x + CELL_BOX_LEFT;
  top = item.y + CELL_BOX_TOP;
  right = left + 1.0f;
  bottom = top + 1.0f;
  if (item.rotation == 0.0f) return;
  const float reach = std::sqrt(2.0f) * (1.0f + std::fabs(CELL_BOX_LEFT) + CELL_BOX_TOP);
  left = item.x - reach, right = item.x + reach, top = item.y - reach, bottom = item.y + reach;
}

}  // namespace tw
