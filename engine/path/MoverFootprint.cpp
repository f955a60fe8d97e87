#include "engine/path/MoverFootprint.h"

#include <cmath>

#include "engine/world/Geometry.h"

namespace tw {

MoverFootprint::MoverFootprint(const Box& new_mover_box, int new_width, int new_height)
    : mover_box(new_mover_box), width(new_width), height(new_height) {}

// With a = mover_corner + node (which grows with the node, float rounding
// included), spansOverlap holds for a below corner exactly while a + extent
// reaches corner (true from some node on), for a above corner exactly while
// a stays within corner + extent (true up to some node), and for a equal to
// corner either always or never. So the nodes that touch form one run, and
// from a node beside corner the run is found by walking: onto it, then
// along it. A walk is as long as the run plus a step, unless the values are
// extreme (a corner far outside the grid), when it stops at the grid's end.
bool MoverFootprint::touchedRun(float mover_corner, float mover_extent, float corner, float extent,
                                int count, int& lo, int& hi) {
  if (count <= 0) return false;
  auto at = [mover_corner](int node) { return mover_corner + static_cast<float>(node); };
  auto touches = [&](int node) { return spansOverlap(at(node), mover_extent, corner, extent); };
  const double guess = std::floor(static_cast<double>(corner) - static_cast<double>(mover_corner));
  int node = 0;
  if (guess >= count - 1) {
    node = count - 1;
  } else if (guess > 0) {  // false for NaN too
    node = static_cast<int>(guess);
  }
  if (!touches(node)) {
    // Below corner the run lies further on, above it further back.
    const int way = at(node) < corner ? 1 : at(node) > corner ? -1 : 0;
    if (way == 0) return false;
    while (true) {
      node += way;
      if (node < 0 || node >= count) return false;
      if (touches(node)) break;
      // Past corner the other way, a node that does not touch ends the hope.
      if (way > 0 ? at(node) > corner : at(node) < corner) return false;
    }
  }
  lo = node;
  hi = node;
  while (lo > 0 && touches(lo - 1)) lo--;
  while (hi < count - 1 && touches(hi + 1)) hi++;
  return true;
}

}  // namespace tw
