// The search's node map: what its bytes' marks read as, and on every node of worlds with
// scattered walls, crowded spots, the mover's own box, a goal inside a wall and spans too
// large or odd for the quick per-axis runs, the map says blocked exactly where the world's
// own collision query does, also after the world changes.
#include "engine/path/NodeStateMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>

#include "engine/path/MoverFootprint.h"
#include "engine/path/StateByte.h"
#include "engine/world/Geometry.h"
#include "tests/support/EngineFixtures.h"

using tw::Node;
using tw::NodeStateMap;
using tw::Vector;

// The byte's readings: only BLOCKER alone blocks, both marks leave the node
// undecided, and opening a node keeps its marks beside the step taken.
TEST(StateByte, MarksReadAsBlockedOrUndecidedAndOpeningKeepsThem) {
  const std::uint8_t marks[] = {0, tw::StateByte::BLOCKER, tw::StateByte::OPENER, tw::StateByte::MARKS};
  const char* const expected[] = {"free", "blocked", "free", "free undecided"};
  for (int i = 0; i < 4; i++) {
    const std::uint8_t state = tw::StateByte::opened(tw::StateByte::CLOSED | marks[i], 5);
    const std::string reading = std::string(tw::StateByte::isBlocked(state) ? "blocked" : "free") +
                                (tw::StateByte::isUndecided(state) ? " undecided" : "");
    EXPECT_EQ(reading + " step " + std::to_string(tw::StateByte::stepOf(state)),
              std::string(expected[i]) + " step 5") << int{marks[i]};
  }
}

namespace {
class NodeStateMapTest : public tw_test::WorldFixture {
 protected:
  static constexpr int W = 300;  // more columns than the map's memo of spans has slots
  static constexpr int H = 40;
  void SetUp() override {
    WorldFixture::SetUp();
    world().setBoundary(tw::Box(Vector(0, 0), W, H));
  }
  static tw::Object* wall(Vector where, tw::Box box = tw::Box(Vector(0, 0), 1, 1)) {
    auto* p = new tw::Object;
    p->setPosition(where);
    p->setBox(box);
    return p;
  }
  // Nodes where the map and the world disagree, as "(x,y) " each.
  static std::string disagreements(NodeStateMap& map, const tw::Object* p_mover, Node goal) {
    map.refresh(p_mover, goal);
    std::string wrong;
    for (int y = 0; y < H; y++) {
      for (int x = 0; x < W; x++) {
        if (map.isBlocked(x, y) != NodeStateMap::askWorld(p_mover, Node{x, y}, goal)) {
          wrong += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
        }
      }
    }
    return wrong;
  }
};
}  // namespace

TEST_F(NodeStateMapTest, BlocksExactlyWhereTheWorldDoes) {
  const struct {
    const char* world;
    std::function<void()> build;
  } worlds[] = {
      {"scattered walls",
       [] {
         std::mt19937 random(7);
         for (int i = 0; i < 2500; i++) wall(Vector(random() % W, random() % H));
       }},
      {"a crowded spot: more walls on one node than a count holds",
       [] {
         for (int i = 0; i < 300; i++) wall(Vector(50, 20));
         wall(Vector(49.5f, 20), tw::Box(Vector(-2, -2), 4, 4));  // holds the goal (50, 20)
       }},
      {"a goal inside a wide wall that overlaps a small one",
       [] {
         wall(Vector(51, 20));
         wall(Vector(50, 20), tw::Box(Vector(-1.5f, -1.5f), 2.99f, 2.99f));
       }},
      {"spans the quick runs cannot take",
       [] {
         wall(Vector(120, 10), tw::Box(Vector(0, 0), -3, 2));    // negative extent
         wall(Vector(3.0e6f, 5), tw::Box(Vector(0, 0), 1, 1));   // far outside
         wall(Vector(200, 30), tw::Box(Vector(0, 0), 2.0e6f, 0.5f));  // reaching far out
         wall(Vector(10.25f, 33.75f), tw::Box(Vector(0, 0), 0.2f, 0.3f));  // between nodes
       }},
      {"one corner, two extents: spans that share a slot of the map's memo",
       [] {
         wall(Vector(130, 5), tw::Box(Vector(0, 0), 0.5f, 1));
         wall(Vector(130, 25), tw::Box(Vector(0, 0), 6.5f, 1));
       }},
  };
  for (const auto& w : worlds) {
    SCOPED_TRACE(w.world);
    w.build();
    auto* mover = wall(Vector(1, 1), tw::Box(Vector(-0.25f, -0.5f), 1.5f, 0.75f));
    NodeStateMap map;
    ASSERT_TRUE(map.allocate(W, H));
    EXPECT_EQ(disagreements(map, mover, Node{50, 20}), "");
    // Another goal, then a moved mover and walls: the marks follow.
    EXPECT_EQ(disagreements(map, mover, Node{51, 20}), "");
    mover->setPosition(Vector(50, 19));
    const tw::ObjectList all = world().getAllObjects();
    for (int i = 0; i < all.getCount(); i += 7) all[i]->setPosition(all[i]->getPosition() + Vector(1, 1));
    EXPECT_EQ(disagreements(map, mover, Node{50, 20}), "");
    for (int i = 0; i < all.getCount(); i++) world().markForDelete(all[i]);
    world().update();
  }
}

// The run of nodes touched on one axis, against the span test node by node,
// for ordinary spans and for odd ones: negative, huge, infinite or NaN
// values, and corners far outside the grid.
TEST(MoverFootprint, TouchedRunHoldsExactlyTheNodesTheSpanTestAccepts) {
  const float inf = std::numeric_limits<float>::infinity();
  const float odd[] = {0, 0.99f, -0.5f, -1.5f, 2.99f, 1e7f, -3e6f, inf, -inf, std::nanf(""), 1e-30f, 39.5f};
  std::mt19937 random(5);
  std::uniform_real_distribution<float> ordinary(-6, 46);
  auto pick = [&] { return random() % 4 == 0 ? odd[random() % 12] : ordinary(random); };
  const int count = 40;
  for (int i = 0; i < 20000; i++) {
    const float mover_corner = pick(), mover_extent = pick(), corner = pick(), extent = pick();
    std::string expected;
    for (int node = 0; node < count; node++) {
      if (!tw::spansOverlap(mover_corner + static_cast<float>(node), mover_extent, corner, extent)) continue;
      expected += " " + std::to_string(node);
    }
    int lo = 0;
    int hi = -1;
    std::string found;
    if (tw::MoverFootprint::touchedRun(mover_corner, mover_extent, corner, extent, count, lo, hi)) {
      for (int node = lo; node <= hi; node++) found += " " + std::to_string(node);
    }
    ASSERT_EQ(found, expected) << mover_corner << " " << mover_extent << " " << corner << " " << extent;
  }
}
