#include "engine/path/NodeStateMap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "engine/world/Geometry.h"
#include "engine/world/Object.h"
#include "engine/world/SceneGraph.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
Vector toVector(Node cell) {
  return Vector(static_cast<float>(cell.x), static_cast<float>(cell.y));
}

// Coordinates and grid sizes up to this keep float rounding below a
// quarter cell, so a range worked out in double precision, widened by one
// cell on each side, holds every cell that the float test accepts.
const float SAFE_MAGNITUDE = 1048576.0f;

bool safe(float v) { return std::fabs(v) <= SAFE_MAGNITUDE; }  // false for NaN too

// floor(v) for |v| well inside the range of long long.
long long floorOf(double v) {
  const auto i = static_cast<long long>(v);
  return static_cast<double>(i) > v ? i - 1 : i;
}
}  // namespace

bool NodeStateMap::askWorld(const Object* p_mover, Node node, Node goal_node) {
  const ObjectList touched = WorldManager::getInstance().getCollisions(p_mover, toVector(node));
  for (int i = 0; i < touched.getCount(); i++) {
    const Object* p_o = touched[i];
    if (p_o->getSolidness() != HARD) continue;
    // Only the first HARD object decides.
    return !boxContainsPosition(getWorldBox(p_o), toVector(goal_node));
  }
  return false;
}

bool NodeStateMap::allocate(int new_width, int new_height) {
  // Left unwritten: the first build writes every byte, and a large grid is
  // not cleared twice.
  const size_t count = static_cast<size_t>(new_width) * static_cast<size_t>(new_height);
  states.reset(new (std::nothrow) std::uint8_t[count + SPARE_BYTES]);
  node_count = states ? count : 0;
  written = false;
  if (!states) return false;
  std::memset(states.get() + count, 0, SPARE_BYTES);
  width = new_width;
  height = new_height;
  built = false;
  return true;
}

bool NodeStateMap::resolve(std::uint8_t& state, int x, int y) {
  const bool blocked = askWorld(p_mover, Node{x, y}, goal);
  state = StateByte::withMarks(state, blocked ? StateByte::BLOCKER : 0);
  return blocked;
}

void NodeStateMap::remark(const Object* p_new_mover, Node new_goal) {
  const unsigned long now = grid.getRevision();
  p_mover = p_new_mover;
  mover_box = p_new_mover->getBox();
  goal = new_goal;
  revision = now;
  built = true;
  rebuild();
}

namespace {
// Per node of a search's grid, how many HARD entries of the grid a mover with a
// given box would touch there (the mover's own included; 255 stands for 255
// or more), kept from one search to the next while the grid has not changed:
// searches in an unchanged world, one after another or side by side, build
// it once.
struct SharedCounts {
  bool valid = false;
  unsigned long revision = 0;
  Box mover_box;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> counts;
};

SharedCounts& sharedCounts() {
  static SharedCounts shared;
  return shared;
}

const std::uint8_t MANY = 255;

// Multiplicative hashing: the product's top bits depend on every bit of the
// span, so spans that differ only in low mantissa bits (neighbouring
// coordinates) still spread over the memo. The factor is 2^32 divided by the
// golden ratio, odd, whose multiples leave the fewest clusters.
const std::uint32_t GOLDEN_FACTOR = 2654435761u;
}  // namespace

int NodeStateMap::memoSlot(std::uint32_t corner_bits, std::uint32_t extent_bits) {
  static_assert((MEMO_SIZE & (MEMO_SIZE - 1)) == 0 && MEMO_SIZE <= 256, "a slot from the top byte");
  return static_cast<int>(((corner_bits ^ (extent_bits >> 7)) * GOLDEN_FACTOR >> 24) % MEMO_SIZE);
}

// The collision query finds only objects in the grid: the same objects are
// walked here, with the boxes the grid keeps for them (an object listed in
// several grid cells counts once for each, which changes only how many). A
// node is blocked when some entry other than the mover's touches it; the few
// entries that the counts cannot tell apart, the mover's own and those
// holding the goal, are looked at once more for this search.
void NodeStateMap::rebuild() {
  for (auto& axis : memo) {
    for (RunMemo& entry : axis) entry.used = false;
  }
  // Locals, which the bytes written cannot alias (as they could a member).
  std::uint8_t* bytes = states.get();
  const size_t n = node_count;
  if (!grid.isStarted()) {
    for (size_t i = 0; i < n; i++) bytes[i] = written ? StateByte::withMarks(bytes[i], 0) : 0;
    written = true;
    return;
  }
  const std::vector<std::uint8_t>& counts = currentCounts();
  const std::uint8_t* count = counts.data();
  // The search's own bits are kept once there are any. The marks come from
  // a multiplication rather than a branch per node.
  const std::uint8_t blocker = StateByte::BLOCKER;
  if (written) {
    for (size_t i = 0; i < n; i++) {
      bytes[i] = StateByte::withMarks(bytes[i], static_cast<std::uint8_t>(blocker * (count[i] != 0)));
    }
  } else {
    for (size_t i = 0; i < n; i++) bytes[i] = static_cast<std::uint8_t>(blocker * (count[i] != 0));
  }
  written = true;
  markSpecialEntries(counts);
}

const std::vector<std::uint8_t>& NodeStateMap::currentCounts() {
  SharedCounts& shared = sharedCounts();
  if (shared.valid && shared.revision == revision && shared.mover_box == mover_box &&
      shared.width == width && shared.height == height) {
    return shared.counts;
  }
  shared.valid = false;
  shared.counts.assign(node_count, 0);
  grid.forEachHardBox([this, &shared](const Object*, const Box& box) {
    forEachTouched(box, [&shared](size_t i) {
      if (shared.counts[i] != MANY) shared.counts[i]++;
    });
  });
  shared.revision = revision;
  shared.mover_box = mover_box;
  shared.width = width;
  shared.height = height;
  shared.valid = true;
  return shared.counts;
}

// The mover's own entries do not block it; entries holding the goal mark
// their nodes OPENER instead of BLOCKER. Where a count has reached MANY the
// rest are unknown, and the node is left for the world to settle.
void NodeStateMap::markSpecialEntries(const std::vector<std::uint8_t>& counts) {
  special.clear();
  const Vector goal_position = toVector(goal);
  grid.forEachHardBox([this, &goal_position](const Object* p_o, const Box& box) {
    const bool own = p_o == p_mover;
    if (!own && !boxContainsPosition(box, goal_position)) return;
    forEachTouched(box, [this, own](size_t i) { special.push_back(Special{i, own}); });
  });
  if (special.empty()) return;
  std::sort(special.begin(), special.end(),
            [](const Special& a, const Special& b) { return a.index < b.index; });
  for (size_t first = 0; first < special.size();) {
    const size_t index = special[first].index;
    int own = 0;
    int holding = 0;
    size_t next = first;
    for (; next < special.size() && special[next].index == index; next++) {
      (special[next].own ? own : holding)++;
    }
    const int others = counts[index] - own - holding;
    std::uint8_t marks = static_cast<std::uint8_t>((others > 0 ? StateByte::BLOCKER : 0) |
                                                   (holding > 0 ? StateByte::OPENER : 0));
    if (counts[index] == MANY) marks = StateByte::MARKS;  // undecided
    states[index] = StateByte::withMarks(states[index], marks);
    first = next;
  }
}

// The mover at node (x, y) touches the object exactly when it overlaps it on
// the x axis at column x and on the y axis at row y, so the nodes form the
// product of the columns and rows found on each axis by the same float test.
template <typename Visit>
void NodeStateMap::forEachTouched(const Box& box, Visit visit) {
  int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  const Run columns = runOnAxis(0, box.getCorner().getX(), box.getHorizontal(), x0, x1);
  const Run rows = runOnAxis(1, box.getCorner().getY(), box.getVertical(), y0, y1);
  if (columns == Run::NONE || rows == Run::NONE) return;
  const size_t w = static_cast<size_t>(width);
  if (columns == Run::FOUND && rows == Run::FOUND) {
    for (int y = y0; y <= y1; y++) {
      for (int x = x0; x <= x1; x++) visit(static_cast<size_t>(y) * w + static_cast<size_t>(x));
    }
    return;
  }
  if (!overlapsOnAxis(mover_box.getCorner().getX(), mover_box.getHorizontal(), box.getCorner().getX(),
                      box.getHorizontal(), width, x0, x1, column_hits) ||
      !overlapsOnAxis(mover_box.getCorner().getY(), mover_box.getVertical(), box.getCorner().getY(),
                      box.getVertical(), height, y0, y1, row_hits)) {
    return;
  }
  for (int y = y0; y <= y1; y++) {
    if (row_hits[static_cast<size_t>(y - y0)] == 0) continue;
    for (int x = x0; x <= x1; x++) {
      if (column_hits[static_cast<size_t>(x - x0)] != 0) {
        visit(static_cast<size_t>(y) * w + static_cast<size_t>(x));
      }
    }
  }
}

// With neither extent negative, spansOverlap(a, a_extent, b, b_extent) is
// exactly a <= b + b_extent && b <= a + a_extent in float, and both halves
// change only once as a = mover_corner + node grows: the overlapping nodes
// form one run, found from an estimate by checking its two ends.
NodeStateMap::Run NodeStateMap::overlapRun(float mover_corner, float mover_extent, float corner,
                                         float extent, int count, int& lo, int& hi) {
  if (!(mover_extent >= 0.0f && extent >= 0.0f) || !safe(mover_corner) || !safe(mover_extent) ||
      !safe(corner) || !safe(extent) || count > SAFE_MAGNITUDE) {
    return Run::UNKNOWN;
  }
  const float end = corner + extent;
  auto reaches = [&](int i) {
    return corner <= (mover_corner + static_cast<float>(i)) + mover_extent;
  };
  auto starts_before_end = [&](int i) { return mover_corner + static_cast<float>(i) <= end; };
  const long long lo_guess = floorOf(static_cast<double>(corner) - mover_extent - mover_corner);
  lo = static_cast<int>(std::min(static_cast<long long>(count), std::max(0LL, lo_guess)));
  while (lo > 0 && reaches(lo - 1)) lo--;
  while (lo < count && !reaches(lo)) lo++;
  const long long hi_guess = floorOf(static_cast<double>(end) - mover_corner);
  hi = static_cast<int>(std::min(static_cast<long long>(count - 1), std::max(-1LL, hi_guess)));
  while (hi < count - 1 && starts_before_end(hi + 1)) hi++;
  while (hi >= 0 && !starts_before_end(hi)) hi--;
  return lo <= hi ? Run::FOUND : Run::NONE;
}

NodeStateMap::Run NodeStateMap::runOnAxis(int axis, float corner, float extent, int& lo, int& hi) {
  std::uint32_t corner_bits = 0;
  std::uint32_t extent_bits = 0;
  std::memcpy(&corner_bits, &corner, sizeof corner_bits);
  std::memcpy(&extent_bits, &extent, sizeof extent_bits);
  RunMemo& entry = memo[axis][memoSlot(corner_bits, extent_bits)];
  if (!entry.used || entry.corner_bits != corner_bits || entry.extent_bits != extent_bits) {
    const Vector mover_corner = mover_box.getCorner();
    entry.run = axis == 0 ? overlapRun(mover_corner.getX(), mover_box.getHorizontal(), corner,
                                       extent, width, entry.lo, entry.hi)
                          : overlapRun(mover_corner.getY(), mover_box.getVertical(), corner,
                                       extent, height, entry.lo, entry.hi);
    entry.corner_bits = corner_bits;
    entry.extent_bits = extent_bits;
    entry.used = true;
  }
  lo = entry.lo;
  hi = entry.hi;
  return entry.run;
}

bool NodeStateMap::overlapsOnAxis(float mover_corner, float mover_extent, float corner, float extent,
                                  int count, int& lo, int& hi, std::vector<char>& hits) {
  lo = 0;
  hi = count - 1;
  if (safe(mover_corner) && safe(mover_extent) && safe(corner) && safe(extent) &&
      count <= SAFE_MAGNITUDE) {
    // The mover's corner a overlaps when it lies in [corner, corner + extent]
    // or in [corner - mover_extent, corner].
    const double a_min = std::min<double>(corner, static_cast<double>(corner) - mover_extent);
    const double a_max = std::max<double>(static_cast<double>(corner) + extent, corner);
    const long long first = floorOf(a_min - mover_corner) - 1;
    const long long last = -floorOf(mover_corner - a_max) + 1;  // ceil, plus one
    if (last < 0 || first > count - 1) return false;
    lo = static_cast<int>(std::max(0LL, first));
    hi = static_cast<int>(std::min(static_cast<long long>(count - 1), last));
  }
  if (hits.size() < static_cast<size_t>(hi - lo + 1)) hits.resize(static_cast<size_t>(hi - lo + 1));
  bool any = false;
  for (int i = lo; i <= hi; i++) {
    const bool hit = spansOverlap(mover_corner + static_cast<float>(i), mover_extent, corner, extent);
    hits[static_cast<size_t>(i - lo)] = hit ? 1 : 0;
    any = any || hit;
  }
  return any;
}

}  // namespace tw
