// The grid: contact and the collision normal, the buckets a box covers on
// borders and outside, and collision queries listing each object once in
// bucket order.
#include "engine/world/Grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/world/Geometry.h"
#include "tests/support/WorldIndex.h"

using tw::Box;
using tw::Bucket;
using tw::BucketSet;
using tw::Vector;
using tw_test::Probe;
using tw_test::unitBox;

namespace {
using GridTest = tw_test::WorldIndex;
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
