#include "engine/world/Grid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/world/WorldTestSupport.h"

using tw::Box;
using tw::Cell;
using tw::CellSet;
using tw::Vector;
using tw_test::listHas;
using tw_test::Probe;

namespace {
// A grid of its own over the started 80 x 24 world (cells of 20 x 8).
class GridTest : public tw_test::WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    ASSERT_EQ(grid.startUp(), 0);
  }
  void TearDown() override {
    grid.shutDown();
    WorldTest::TearDown();
  }
  // A spectral object (so the world's own grid ignores it) with its box
  // corner at corner and the given extent.
  Probe* box(Vector corner, float h, float v) {
    auto* p = new Probe("Box", corner);
    p->setSolidness(tw::SPECTRAL);
    p->setBox(Box(Vector(0, 0), h, v));
    return p;
  }
  tw::Grid grid;
};

CellSet cells(std::initializer_list<Cell> list) { return CellSet(list); }
}  // namespace

TEST_F(GridTest, CutsTheBoundaryIntoCells) {
  EXPECT_EQ(grid.getNumCols(), 4);
  EXPECT_EQ(grid.getNumRows(), 3);
}

TEST_F(GridTest, CellsOfABoxAcrossCellBorders) {
  Probe* p = box(Vector(19, 7), 1, 1);
  EXPECT_EQ(grid.getCells(p, p->getPosition()), cells({{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
  // A right edge exactly on a border covers the cell beyond it too.
  Probe* q = box(Vector(0, 0), 20, 1);
  EXPECT_EQ(grid.getCells(q, q->getPosition()), cells({{0, 0}, {1, 0}}));
}

TEST_F(GridTest, CellsOfBoxesReachingOutside) {
  Probe* p = box(Vector(0, 0), 1, 1);
  EXPECT_EQ(grid.getCells(p, Vector(-2, 3)), cells({{-1, -1}}));
  EXPECT_EQ(grid.getCells(p, Vector(-0.5f, 3)), cells({{-1, -1}, {0, 0}}));
  Probe* wide = box(Vector(0, 0), 10, 1);
  EXPECT_EQ(grid.getCells(wide, Vector(75, 9)), cells({{-1, -1}, {3, 1}}));
  EXPECT_EQ(grid.getCells(p, Vector(84, 9)), cells({{-1, -1}}));
  EXPECT_EQ(grid.getCells(p, Vector(10, 30)), cells({{-1, -1}}));
  // Far away or not a number: outside, never a bogus cell.
  EXPECT_EQ(grid.getCells(p, Vector(-1.0e30f, 1.0e30f)), cells({{-1, -1}}));
  EXPECT_EQ(grid.getCells(p, Vector(std::nanf(""), 3)), cells({{-1, -1}}));
}

TEST_F(GridTest, CellSetsAreOrderedByRowThenColumn) {
  Probe* p = box(Vector(0, 0), 30, 10);
  CellSet set = grid.getCells(p, Vector(-5, 5));
  std::vector<Cell> order(set.begin(), set.end());
  std::vector<Cell> expected = {{-1, -1}, {0, 0}, {1, 0}, {0, 1}, {1, 1}};
  EXPECT_EQ(order, expected);
}

TEST_F(GridTest, UpdatePositionMovesOnlyBetweenTheCellsLeftAndEntered) {
  Probe* p = box(Vector(2, 2), 1, 1);
  ASSERT_EQ(grid.insertObject(p), 0);
  EXPECT_TRUE(listHas(grid.getCellObjects({0, 0}), p));
  // Within one cell: nothing changes (one entry, not two).
  EXPECT_EQ(grid.updatePosition(p, Vector(5, 5)), 0);
  p->setPosition(Vector(5, 5));
  EXPECT_EQ(grid.getCellObjects({0, 0}).getCount(), 1);
  // Into the next cell: out of the first list, into the second.
  EXPECT_EQ(grid.updatePosition(p, Vector(25, 5)), 0);
  p->setPosition(Vector(25, 5));
  EXPECT_FALSE(listHas(grid.getCellObjects({0, 0}), p));
  EXPECT_TRUE(listHas(grid.getCellObjects({1, 0}), p));
  // And out of the world into the outside list.
  EXPECT_EQ(grid.updatePosition(p, Vector(90, 5)), 0);
  p->setPosition(Vector(90, 5));
  EXPECT_FALSE(listHas(grid.getCellObjects({1, 0}), p));
  EXPECT_TRUE(listHas(grid.getCellObjects(tw::OUTSIDE_CELL), p));
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
  // Candidates whose boxes miss are left out.
  EXPECT_EQ(grid.getCollisions(small, Vector(30, 20)).getCount(), 0);
}

TEST_F(GridTest, SecondStartUpIsRefusedAndRestartGivesAnEmptyGrid) {
  Probe* p = box(Vector(2, 2), 1, 1);
  grid.insertObject(p);
  EXPECT_EQ(grid.startUp(), -1);
  EXPECT_TRUE(log.contains("Grid::startUp(): Warning! Grid allocated. Not proceeding."));
  grid.shutDown();
  EXPECT_EQ(grid.getCollisions(p, Vector(2, 2)).getCount(), 0);
  EXPECT_TRUE(log.contains("Grid::getCollisions(): Error! grid is NULL"));
  EXPECT_EQ(grid.insertObject(p), -1);
  EXPECT_TRUE(log.contains("Grid::insertObject(): Error! grid is NULL"));
  ASSERT_EQ(grid.startUp(), 0);
  EXPECT_EQ(grid.getCellObjects({0, 0}).getCount(), 0);
}

TEST_F(GridTest, NullObjectsAreRefused) {
  EXPECT_EQ(grid.insertObject(nullptr), -1);
  EXPECT_EQ(grid.removeObject(nullptr), -1);
  EXPECT_EQ(grid.updatePosition(nullptr, Vector(1, 1)), -1);
  EXPECT_EQ(grid.getCollisions(nullptr, Vector(1, 1)).getCount(), 0);
  EXPECT_TRUE(log.contains("Grid::removeObject(): Error! Object is NULL"));
  EXPECT_TRUE(log.contains("Grid::getCollisions(): Error! Object is NULL"));
}
