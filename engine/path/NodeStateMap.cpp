#include "engine/path/NodeStateMap.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/path/MoverFootprint.h"
#include "engine/world/Geometry.h"
#include "engine/world/Object.h"
#include "engine/world/SceneGraph.h"
#include "engine/world/WorldManager.h"

namespace tw {

NodeStateMap::NodeStateMap(BlockedCounts* p_given_counts)
    : p_own_counts(p_given_counts == nullptr ? new BlockedCounts : nullptr),
      p_counts(p_given_counts == nullptr ? p_own_counts.get() : p_given_counts) {}

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
  // Left unwritten: the first marking writes every byte, and a large grid
  // is not cleared twice.
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

// A node is blocked when some entry other than the mover's touches it; the
// few entries that the counts cannot tell apart, the mover's own and those
// holding the goal, are looked at once more for this search. The search's
// own bits are kept once there are any.
void NodeStateMap::remark(const Object* p_new_mover, Node new_goal) {
  p_mover = p_new_mover;
  mover_box = p_new_mover->getBox();
  goal = new_goal;
  revision = grid.getRevision();
  built = true;
  // Locals, which the bytes written cannot alias (as they could a member).
  std::uint8_t* bytes = states.get();
  const size_t n = node_count;
  const bool keep = written;  // bytes never written are not read
  written = true;
  if (!grid.isStarted()) {
    for (size_t i = 0; i < n; i++) bytes[i] = keep ? StateByte::withMarks(bytes[i], 0) : 0;
    return;
  }
  const std::vector<std::uint8_t>& counts = p_counts->countsFor(grid, mover_box, width, height);
  const std::uint8_t* count = counts.data();
  // The marks come from a multiplication rather than a branch per node.
  const std::uint8_t blocker = StateByte::BLOCKER;
  if (keep) {
    for (size_t i = 0; i < n; i++) {
      bytes[i] = StateByte::withMarks(bytes[i], static_cast<std::uint8_t>(blocker * (count[i] != 0)));
    }
  } else {
    for (size_t i = 0; i < n; i++) bytes[i] = static_cast<std::uint8_t>(blocker * (count[i] != 0));
  }
  markSpecialEntries(counts);
}

// The mover's own entries do not block it; entries holding the goal mark
// their nodes OPENER instead of BLOCKER. Where a count has reached MANY the
// rest are unknown, and the node is left for the world to settle.
void NodeStateMap::markSpecialEntries(const std::vector<std::uint8_t>& counts) {
  special.clear();
  const Vector goal_position = toVector(goal);
  const MoverFootprint footprint(mover_box, width, height);
  grid.forEachHardBox([this, &goal_position, &footprint](const Object* p_o, const Box& box) {
    const bool own = p_o == p_mover;
    if (!own && !boxContainsPosition(box, goal_position)) return;
    footprint.forEachNode(box, [this, own](size_t i) { special.push_back(Special{i, own}); });
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
    if (counts[index] == BlockedCounts::MANY) marks = StateByte::MARKS;  // undecided
    states[index] = StateByte::withMarks(states[index], marks);
    first = next;
  }
}

}  // namespace tw
