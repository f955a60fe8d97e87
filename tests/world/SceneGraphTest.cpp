// Geometry and the world's index: box contact and the collision normal, the
// grid of cells that collision queries walk, the ordered lists, and the scene
// graph keeping an object in exactly the lists its state asks for.
#include "engine/world/SceneGraph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/world/Geometry.h"
#include "engine/world/OrderedObjectSet.h"
#include "tests/support/EngineFixtures.h"

using tw::Box;
using tw::Cell;
using tw::CellSet;
using tw::Vector;
using tw_test::Probe;

namespace {
bool has(const tw::ObjectList& list, const tw::Object* p_o) {
  for (int i = 0; i < list.getCount(); i++) {
    if (list[i] == p_o) return true;
  }
  return false;
}

Box unitBox(float x, float y) { return Box(Vector(x, y), 1, 1); }

// A grid of its own over the started 80 x 24 world (cells of 20 x 8).
class GridTest : public tw_test::WorldFixture {
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
  tw::Grid grid;
};

class SceneGraphTest : public tw_test::WorldFixture {
 protected:
  // The lists p is in, e.g. "active solid grid alt2 typed"; "grid" only when
  // listed in exactly the cells its box covers, "grid?" when listed otherwise.
  std::string lists(const tw::Object* p) {
    std::string s;
    if (has(graph().activeObjects(), p)) s += "active ";
    if (has(graph().inactiveObjects(), p)) s += "inactive ";
    if (has(graph().solidObjects(), p)) s += "solid ";
    const tw::Grid& grid = graph().getGrid();
    const CellSet covered = grid.getCells(p, p->getPosition());
    size_t listed = 0, right = 0;
    for (int y = -1; y < grid.getNumRows(); y++) {
      for (int x = (y < 0 ? -1 : 0); x < (y < 0 ? 0 : grid.getNumCols()); x++) {
        const bool in = has(grid.getCellObjects({x, y}), p);
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
};
}  // namespace

TEST_F(GridTest, BoxesTouchingOnAnEdgeOrCornerIntersectEitherWayRound) {
  const struct {
    Box a, b;
    bool hit;
  } cases[] = {
      {unitBox(0, 0), unitBox(1, 0), true},        {unitBox(0, 0), unitBox(1, 1), true},
      {unitBox(0, 0), unitBox(1.01f, 0), false},   {unitBox(0, 0), unitBox(0, 1.01f), false},
      {unitBox(0, 0), unitBox(0.5f, 3), false},    // overlap on one axis only
      {Box(Vector(0, 0), 10, 10), unitBox(4, 4), true},  // one inside the other
      {Box(Vector(5, 5), 0, 0), unitBox(5, 5), true},    // a point on a corner
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tw::boxIntersectsBox(c.a, c.b), c.hit) << c.a.toString() << " " << c.b.toString();
    EXPECT_EQ(tw::boxIntersectsBox(c.b, c.a), c.hit) << c.a.toString() << " " << c.b.toString();
  }
  EXPECT_TRUE(tw::boxContainsPosition(unitBox(5, 5), Vector(6, 6)));
  EXPECT_FALSE(tw::boxContainsPosition(unitBox(5, 5), Vector(6.01f, 5)));
  EXPECT_FALSE(tw::boxContainsPosition(unitBox(5, 5), Vector(5, 4.99f)));
}

TEST_F(GridTest, NormalPointsToTheSideTheMoverCameFrom) {
  const Probe* wall = box(Vector(10, 10), 1, 1);
  const struct {
    Vector where, velocity, normal;
  } cases[] = {
      {Vector(10, 11.5f), Vector(0, -1), Vector(0, 1)},   // rising from below
      {Vector(10, 8.5f), Vector(0, 1), Vector(0, -1)},
      {Vector(8.5f, 10), Vector(1, 0), Vector(-1, 0)},
      {Vector(11.5f, 10), Vector(-1, 0), Vector(1, 0)},
      {Vector(11, 11), Vector(0, 0), Vector(0, 1)},       // on a corner: sides first
      {Vector(11.5f, 8.5f), Vector(0, 0), Vector(1, -1)}, // clear of the sides: diagonal
      {Vector(30, 20), Vector(0, 0), Vector(0, 0)},       // no contact
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tw::getNormal(box(c.where, 1, 1, c.velocity), wall), c.normal) << c.where.toString();
  }
}

TEST_F(GridTest, CellsOfBoxesOnBordersAndOutside) {
  EXPECT_EQ(grid.getNumCols(), 4);
  EXPECT_EQ(grid.getNumRows(), 3);
  const struct {
    Vector where;
    float h, v;
    std::vector<Cell> cells;  // in set order: row, then column
  } cases[] = {
      {Vector(19, 7), 1, 1, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
      {Vector(0, 0), 20, 1, {{0, 0}, {1, 0}}},  // a right edge on a border takes the next cell
      {Vector(-5, 5), 30, 10, {{-1, -1}, {0, 0}, {1, 0}, {0, 1}, {1, 1}}},
      {Vector(-2, 3), 1, 1, {{-1, -1}}},
      {Vector(75, 9), 10, 1, {{-1, -1}, {3, 1}}},
      {Vector(10, 30), 1, 1, {{-1, -1}}},
      {Vector(-1.0e30f, 1.0e30f), 1, 1, {{-1, -1}}},  // far away or not a number:
      {Vector(std::nanf(""), 3), 1, 1, {{-1, -1}}},   // outside, never a bogus cell
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where.toString());
    Probe* p = box(Vector(0, 0), c.h, c.v);
    const CellSet set = grid.getCells(p, c.where);
    EXPECT_EQ(std::vector<Cell>(set.begin(), set.end()), c.cells);
  }
}

TEST_F(GridTest, UpdatePositionMovesBetweenTheCellsLeftAndEntered) {
  Probe* p = box(Vector(2, 2), 1, 1);
  ASSERT_EQ(grid.insertObject(p), 0);
  const struct {
    Vector to;
    Cell from, into;
  } moves[] = {{Vector(5, 5), {0, 0}, {0, 0}}, {Vector(25, 5), {0, 0}, {1, 0}},
               {Vector(90, 5), {1, 0}, tw::OUTSIDE_CELL}};
  for (const auto& m : moves) {
    EXPECT_EQ(grid.updatePosition(p, m.to), 0);
    p->setPosition(m.to);
    EXPECT_TRUE(has(grid.getCellObjects(m.into), p)) << m.to.toString();
    EXPECT_EQ(grid.getCellObjects(m.from).getCount(), m.from == m.into ? 1 : 0) << m.to.toString();
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
}

TEST_F(GridTest, StoppedGridAndNullObjectsAreRefused) {
  EXPECT_EQ(grid.startUp(), -1);
  EXPECT_EQ(grid.insertObject(nullptr), -1);
  EXPECT_EQ(grid.updatePosition(nullptr, Vector(1, 1)), -1);
  EXPECT_EQ(grid.getCollisions(nullptr, Vector(1, 1)).getCount(), 0);
  grid.shutDown();
  EXPECT_EQ(grid.insertObject(box(Vector(2, 2), 1, 1)), -1);
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
      {"spectral", [p] { p->setSolidness(tw::SPECTRAL); }, "active alt2 typed"},
      {"soft", [p] { p->setSolidness(tw::SOFT); }, all},
      {"hard", [p] { p->setSolidness(tw::HARD); }, all},  // no second entry
      {"inactive", [p] { p->setActive(false); }, "inactive"},
      {"active", [p] { p->setActive(true); }, all},
      {"altitude 4", [p] { p->setAltitude(4); }, "active solid grid alt4 typed"},
      {"invisible", [p] { p->setVisible(false); }, "active solid grid typed"},
      {"altitude 3", [p] { p->setAltitude(3); }, "active solid grid typed"},
      {"visible", [p] { p->setVisible(true); }, "active solid grid alt3 typed"},
      {"type", [p] { p->setType("Chick"); }, "active solid grid alt3 typed"},
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
  EXPECT_EQ(graph().getGrid().getCells(p, p->getPosition()).size(), 3u);  // spans three columns
  ASSERT_EQ(graph().activeObjects().getCount(), 2);
  EXPECT_EQ(graph().activeObjects()[1], p);  // re-activated objects come last
}

TEST_F(SceneGraphTest, RefusedChangesAndATypeChangeWhileInactive) {
  auto* p = new Probe("Egg", Vector(30, 10));
  EXPECT_EQ(p->setAltitude(5), -1);
  EXPECT_EQ(p->setAltitude(-1), -1);
  EXPECT_EQ(p->setSolidness(static_cast<tw::Solidness>(3)), -1);
  EXPECT_EQ(graph().updateAltitude(p, 5), -1);
  EXPECT_EQ(graph().visibleObjects(7).getCount(), 0);
  p->setActive(false);
  p->setType("Chick");  // logged, but taken: found under it on activation
  p->setActive(true);
  EXPECT_EQ(lists(p), "active solid grid alt2 typed");
  EXPECT_EQ(graph().objectsOfType("Egg").getCount(), 0);
}
