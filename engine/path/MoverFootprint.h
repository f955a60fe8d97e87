// Where a mover touches a box: the nodes of a search's grid at which the mover's box,
// placed there, meets the box as the world's collision test sees it (edges and corners
// count). The one place the path search answers that question for many nodes at once.
#pragma once

#include <cstddef>

#include "engine/world/Box.h"

namespace tw {

class MoverFootprint {
 public:
  // For a mover with this box (relative to its position) on a width x height
  // node grid.
  MoverFootprint(const Box& mover_box, int width, int height);

  // The nodes lo..hi (within 0..count-1) of one axis at which the mover's
  // span, starting at mover_corner + node, meets [corner, corner + extent]
  // by spansOverlap, the world's own test; false when there are none. Those
  // nodes always form one run, so the answer is exact for any values.
  static bool touchedRun(float mover_corner, float mover_extent, float corner, float extent, int count,
                         int& lo, int& hi);

  // Calls visit(index) for every node (x, y), at index y * width + x, where
  // the mover would touch box: the columns touched on x times the rows
  // touched on y, as boxIntersectsBox is the span test on both axes.
  template <typename Visit>
  void forEachNode(const Box& box, Visit visit) const {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    if (!touchedRun(mover_box.getCorner().getX(), mover_box.getHorizontal(), box.getCorner().getX(),
                    box.getHorizontal(), width, x0, x1) ||
        !touchedRun(mover_box.getCorner().getY(), mover_box.getVertical(), box.getCorner().getY(),
                    box.getVertical(), height, y0, y1)) {
      return;
    }
    const auto w = static_cast<std::size_t>(width);
    for (int y = y0; y <= y1; y++) {
      for (int x = x0; x <= x1; x++) visit(static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x));
    }
  }

 private:
  Box mover_box;
  int width;
  int height;
};

}  // namespace tw
