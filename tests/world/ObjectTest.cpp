// Objects and the world's index: setters, interests, acceleration and paths;
// contact and the collision normal; the grid, the ordered lists, and the scene
// graph keeping an object in exactly the lists its state asks for.
#include "engine/world/Object.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/world/EventPath.h"
#include "engine/world/Geometry.h"
#include "engine/world/OrderedObjectSet.h"
#include "engine/world/SceneGraph.h"
#include "tests/support/EngineFixtures.h"

using tw::Box;
using tw::Bucket;
using tw::BucketSet;
using tw::Vector;
using tw_test::Probe;

namespace {
tw::Path pathThrough(std::initializer_list<Vector> points) {
  tw::Path path;
  for (const Vector& p : points) path.addWaypoint(p);
  return path;
}

bool has(const tw::ObjectList& list, const tw::Object* p_o) {
  for (int i = 0; i < list.getCount(); i++) {
    if (list[i] == p_o) return true;
  }
  return false;
}

Box unitBox(float x, float y) { return Box(Vector(x, y), 1, 1); }

// The started world, and a grid of its own over it (cells of 20 x 8).
class WorldIndex : public tw_test::WorldFixture {
 protected:
  void SetUp() override {
    WorldFixture::SetUp();
    ASSERT_EQ(grid.startUp(), 0);
  }
  // A spectral object (left out of the world's own grid) with its box corner
  // at corner, the given extent and velocity.
  static Probe* box(Vector corner, float h, float v, Vector velocity = Vector(0, 0)) {
    auto* p = new Probe("Box", corner);
    p->setSolidness(tw::SPECTRAL);
    p->setBox(Box(Vector(0, 0), h, v));
    p->setVelocity(velocity);
    return p;
  }
  // The world's lists p is in, e.g. "active solid grid alt2 typed"; "grid"
  // only when listed in exactly the cells its box covers, else "grid?".
  static std::string lists(const tw::Object* p) {
    std::string s;
    if (has(graph().activeObjects(), p)) s += "active ";
    if (has(graph().inactiveObjects(), p)) s += "inactive ";
    if (has(graph().solidObjects(), p)) s += "solid ";
    const tw::Grid& world_grid = graph().getGrid();
    const BucketSet covered = world_grid.getCells(p, p->getPosition());
    size_t listed = 0, right = 0;
    for (int y = -1; y < world_grid.getNumRows(); y++) {
      for (int x = (y < 0 ? -1 : 0); x < (y < 0 ? 0 : world_grid.getNumCols()); x++) {
        const bool in = has(world_grid.getCellObjects({x, y}), p);
        listed += in;
        right += in && covered.count({x, y}) != 0;
      }
    }
    if (listed > 0) s += listed == right && right == covered.size() ? "grid " : "grid? ";
    for (int a = 0; a <= tw::MAX_ALTITUDE; a++) {
      if (has(graph().visibleObjects(a), p)) s += "alt" + std::to_string(a) + " ";
    }
    if (has(graph().objectsOfType(p->getType()), p)) s += "typed ";
    if (!s.empty()) s.pop_back();
    return s;
  }
  tw::Grid grid;
};
using ObjectTest = WorldIndex;
using GridTest = WorldIndex;
using SceneGraphTest = WorldIndex;
}  // namespace

// Boxes touching on an edge or a corner intersect; the collision normal
// points to the side the mover came from, sides before diagonals.
TEST_F(GridTest, ContactAndTheCollisionNormal) {
  EXPECT_TRUE(tw::boxIntersectsBox(unitBox(0, 0), unitBox(1, 1)));
  EXPECT_FALSE(tw::boxIntersectsBox(unitBox(1.01f, 0), unitBox(0, 0)));
  EXPECT_FALSE(tw::boxIntersectsBox(unitBox(0, 0), unitBox(0.5f, 3)));  // overlap on one axis only
  EXPECT_TRUE(tw::boxIntersectsBox(Box(Vector(5, 5), 0, 0), unitBox(5, 5)));
  EXPECT_FALSE(tw::boxContainsPosition(unitBox(5, 5), Vector(5, 4.99f)));
  const Probe* wall = box(Vector(10, 10), 1, 1);
  const struct {
    Vector where, velocity, normal;
  } cases[] = {
      {Vector(10, 11.5f), Vector(0, -1), Vector(0, 1)},   {Vector(8.5f, 10), Vector(1, 0), Vector(-1, 0)},
      {Vector(11, 11), Vector(0, 0), Vector(0, 1)},       {Vector(11.5f, 8.5f), Vector(0, 0), Vector(1, -1)},
      {Vector(30, 20), Vector(0, 0), Vector(0, 0)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tw::getNormal(box(c.where, 1, 1, c.velocity), wall), c.normal) << c.where.toString();
  }
}

TEST_F(GridTest, CellsOfBoxesOnBordersAndOutside) {
  const struct {
    Vector where;
    float h, v;
    std::vector<Bucket> cells;  // in set order: row, then column
  } cases[] = {
      {Vector(19, 7), 1, 1, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
      {Vector(0, 0), 20, 1, {{0, 0}, {1, 0}}},  // a right edge on a border takes the next cell
      {Vector(-5, 5), 30, 10, {{-1, -1}, {0, 0}, {1, 0}, {0, 1}, {1, 1}}},
      {Vector(-2, 3), 1, 1, {{-1, -1}}},
      {Vector(75, 9), 10, 1, {{-1, -1}, {3, 1}}},
      {Vector(-1.0e30f, 1.0e30f), 1, 1, {{-1, -1}}},  // far away or not a number:
      {Vector(std::nanf(""), 3), 1, 1, {{-1, -1}}},   // outside, never a bogus cell
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where.toString());
    Probe* p = box(Vector(0, 0), c.h, c.v);
    const BucketSet set = grid.getCells(p, c.where);
    EXPECT_EQ(std::vector<Bucket>(set.begin(), set.end()), c.cells);
  }
}

TEST_F(GridTest, CollisionsListEachOtherObjectOnceInCellOrder) {
  // big spans four cells and the outside; small lies in cell (1, 1) only.
  Probe* big = box(Vector(-1, 6), 22, 4);
  Probe* small = box(Vector(21, 9), 1, 1);
  Probe* outside = box(Vector(-3, 7), 3, 1);
  Probe* mover = box(Vector(0, 0), 30, 10);
  for (Probe* p : {small, big, outside, mover}) grid.insertObject(p);
  tw::ObjectList hits = grid.getCollisions(mover, Vector(-2, 5));
  ASSERT_EQ(hits.getCount(), 3);
  EXPECT_EQ(hits[0], big);  // outside list first, in insertion order
  EXPECT_EQ(hits[1], outside);
  EXPECT_EQ(hits[2], small);
  EXPECT_EQ(grid.getCollisions(small, Vector(30, 20)).getCount(), 0);  // boxes that miss
  // Null objects and a stopped grid are refused.
  EXPECT_EQ(grid.insertObject(nullptr), -1);
  EXPECT_EQ(grid.getCollisions(nullptr, Vector(1, 1)).getCount(), 0);
  grid.shutDown();
  EXPECT_EQ(grid.insertObject(small), -1);
}

// The scene graph's lists keep insertion order through removals at the
// front, in the middle and at the back, and through compaction.
TEST_F(GridTest, OrderedSetKeepsInsertionOrderThroughRemovalsAndCompaction) {
  tw::OrderedObjectSet set(tw::ListKind::INACTIVE);  // a kind no list of the world holds them in
  std::vector<Probe*> kept;
  for (int i = 0; i < 100; i++) {
    kept.push_back(new Probe);
    ASSERT_EQ(set.insert(kept.back()), 0);
  }
  // The last, two in every three and the first ten go, back to front.
  for (size_t i = kept.size(); i-- > 0;) {
    if (i >= 10 && i % 3 == 0 && i != 99) continue;
    EXPECT_EQ(set.remove(kept[i]), 0);
    EXPECT_EQ(set.remove(kept[i]), -1);
    kept.erase(kept.begin() + static_cast<long>(i));
  }
  EXPECT_EQ(set.insert(kept[0]), -1);  // still there
  const tw::ObjectList list = set.toList();
  ASSERT_EQ(list.getCount(), static_cast<int>(kept.size()));
  for (size_t i = 0; i < kept.size(); i++) EXPECT_EQ(list[static_cast<int>(i)], kept[i]) << i;
}

// Also refused values, and a type changed while inactive (logged, but taken).
TEST_F(SceneGraphTest, EverySetterLeavesTheObjectInExactlyItsLists) {
  auto* other = new Probe("Rock", Vector(50, 10));
  auto* p = new Probe("Rock", Vector(30, 10));
  const std::string all = "active solid grid alt2 typed";
  const struct {
    const char* what;
    std::function<void()> change;
    std::string lists;
  } steps[] = {
      {"new", [] {}, all},
      {"refused", [p] { p->setAltitude(5), p->setAltitude(-1), p->setSolidness(tw::Solidness(3)); }, all},
      {"spectral", [p] { p->setSolidness(tw::SPECTRAL); }, "active alt2 typed"},
      {"soft", [p] { p->setSolidness(tw::SOFT); }, all},
      {"hard", [p] { p->setSolidness(tw::HARD); }, all},  // no second entry
      {"inactive", [p] { p->setActive(false); }, "inactive"},
      {"typed while inactive", [p] { p->setType("Chick"); }, "inactive"},
      {"active", [p] { p->setActive(true); }, all},
      {"altitude 4", [p] { p->setAltitude(4); }, "active solid grid alt4 typed"},
      {"invisible", [p] { p->setVisible(false); }, "active solid grid typed"},
      {"altitude 3", [p] { p->setAltitude(3); }, "active solid grid typed"},
      {"visible", [p] { p->setVisible(true); }, "active solid grid alt3 typed"},
      {"moved", [p] { p->setPosition(Vector(45, 5)); }, "active solid grid alt3 typed"},
      {"wide box", [p] { p->setBox(Box(Vector(-25, 0), 50, 1)); }, "active solid grid alt3 typed"},
  };
  for (const auto& step : steps) {
    step.change();
    EXPECT_EQ(lists(p), step.lists) << step.what;
    EXPECT_EQ(lists(other), all) << step.what;
  }
  EXPECT_EQ(graph().solidObjects().getCount(), 2);
  EXPECT_EQ(graph().objectsOfType("Rock").getCount(), 1);
  EXPECT_EQ(graph().visibleObjects(7).getCount(), 0);
  EXPECT_EQ(graph().getGrid().getCells(p, p->getPosition()).size(), 3u);  // spans three columns
  ASSERT_EQ(graph().activeObjects().getCount(), 2);
  EXPECT_EQ(graph().activeObjects()[1], p);  // re-activated objects come last
}

// The modified mask decides what a network sync sends: a missed or extra
// bit sends too little or too much.
TEST_F(ObjectTest, SettersMarkWhatChangedAndVelocityIsSpeedTimesDirection) {
  auto* p = new Probe;
  p->setModified(0);
  p->setAltitude(2);
  p->setSolidness(tw::HARD);
  p->setPosition(p->getPosition());
  EXPECT_FALSE(p->isModified());
  p->setPosition(Vector(3, 4));
  p->setAcceleration(Vector(0, 1));
  p->setAvoidCollisions(true);
  EXPECT_EQ(p->getModified(), tw::POSITION | tw::ACCELERATION | tw::AVOID_COLLISIONS);
  p->setModified(0);
  p->setVelocity(Vector(3, 4));
  EXPECT_EQ(p->getModified(), tw::SPEED | tw::DIRECTION);
  EXPECT_FLOAT_EQ(p->getSpeed(), 5.0f);
  EXPECT_FLOAT_EQ(p->predictPosition().getX(), 6.0f);
}

TEST_F(ObjectTest, InterestsGoToTheManagerOwningTheTypeAndLeaveWithTheObject) {
  tw::GameManager::getInstance();
  auto* p = new Probe;
  EXPECT_EQ(p->registerInterest(tw::COLLISION_EVENT), -1);  // delivered anyway: refused
  for (int i = 0; i < tw::MAX_OBJ_EVENTS - 1; i++) p->registerInterest("veld-" + std::to_string(i));
  EXPECT_EQ(p->registerInterest("tw-step"), 0);
  EXPECT_EQ(p->registerInterest("veld-extra"), -1);  // a hundred at most
  EXPECT_EQ(p->unregisterInterest("veld-1"), 0);
  EXPECT_EQ(p->getEventName(1), "veld-2");  // the order is kept
  tw::Event one, two, fake;
  one.setType("veld-1"), two.setType("veld-2"), fake.setType(tw::PATH_EVENT);
  EXPECT_EQ(world().onEvent(&one), 0);
  EXPECT_EQ(world().onEvent(&two), 1);
  const tw::EventStep step(3);
  EXPECT_EQ(tw::GameManager::getInstance().onEvent(&step), 1);
  EXPECT_EQ(p->received.size(), 2u);
  EXPECT_EQ(p->Object::eventHandler(&fake), 0);  // not an EventPath: refused
  world().markForDelete(p);
  world().update();
  EXPECT_EQ(tw::GameManager::getInstance().onEvent(&step), 0);
  EXPECT_EQ(world().onEvent(&two), 0);
}

TEST_F(ObjectTest, UpdatesAccelerateAndWalkAPathWaypointByWaypoint) {
  auto* stone = new Probe("Stone", Vector(10, 2));
  stone->setSolidness(tw::SPECTRAL);
  stone->setAcceleration(Vector(0, 0.1f));
  world().update();
  EXPECT_FLOAT_EQ(stone->getSpeed(), 0.1f);
  EXPECT_EQ(stone->getPosition(), Vector(10, 2));  // the new speed applies next frame
  world().update();
  EXPECT_FLOAT_EQ(stone->getPosition().getY(), 2.1f);
  tw::Path path = pathThrough({Vector(12, 10), Vector(12, 12)});
  auto* p = new Probe("Walker", Vector(10, 10));
  p->setSolidness(tw::SPECTRAL);
  p->setSpeed(1);
  p->setPath(path);
  p->setFollowPath(true);
  EXPECT_EQ(p->getDirection(), Vector(1, 0));
  world().update();  // moves to (11,10); (12,10) is one cell away: aim at it
  EXPECT_EQ(p->getPosition(), Vector(11, 10));
  world().update();  // moves onto (12,10), snaps, then aims down
  EXPECT_EQ(p->getDirection(), Vector(0, 1));
  for (int i = 0; i < 3; i++) world().update();
  EXPECT_EQ(p->getPosition(), Vector(12, 12));
  EXPECT_FALSE(p->getFollowPath());
  EXPECT_EQ(p->getVelocity(), Vector(0, 0));
  // A waypoint within three quarters of the speed is snapped to.
  for (float x : {10.7f, 10.8f}) {
    auto* q = new Probe("Walker", Vector(10, 10));
    q->setSpeed(1);
    q->setPath(pathThrough({Vector(x, 10)}));
    q->setFollowPath(true);
    q->followPath();
    EXPECT_EQ(q->getPosition(), x < 10.75f ? Vector(x, 10) : Vector(10, 10)) << x;
    EXPECT_EQ(q->getFollowPath(), x > 10.75f) << x;
  }
}
