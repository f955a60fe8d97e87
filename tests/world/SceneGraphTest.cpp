#include "engine/world/SceneGraph.h"

#include <gtest/gtest.h>

#include "engine/loop/GameManager.h"
#include "tests/world/WorldTestSupport.h"

using tw::Box;
using tw::Vector;
using tw_test::listHas;
using tw_test::Probe;

namespace {
class SceneGraphTest : public tw_test::WorldTest {
 protected:
  // Listed in every grid cell its world box covers.
  bool inGridCells(const tw::Object* p) {
    const tw::Grid& grid = graph().getGrid();
    for (const tw::Cell& cell : grid.getCells(p, p->getPosition())) {
      if (!listHas(grid.getCellObjects(cell), p)) return false;
    }
    return true;
  }
  // Listed in any grid cell at all (or the outside list).
  bool inGridAnywhere(const tw::Object* p) {
    const tw::Grid& grid = graph().getGrid();
    if (listHas(grid.getCellObjects(tw::OUTSIDE_CELL), p)) return true;
    for (int y = 0; y < grid.getNumRows(); y++) {
      for (int x = 0; x < grid.getNumCols(); x++) {
        if (listHas(grid.getCellObjects({x, y}), p)) return true;
      }
    }
    return false;
  }
  bool visibleAt(int altitude, const tw::Object* p) {
    return listHas(graph().visibleObjects(altitude), p);
  }
  bool visibleAnywhere(const tw::Object* p) {
    for (int a = 0; a <= tw::MAX_ALTITUDE; a++) {
      if (visibleAt(a, p)) return true;
    }
    return false;
  }
  bool ofType(const std::string& type, const tw::Object* p) {
    return listHas(graph().objectsOfType(type), p);
  }
};
}  // namespace

TEST_F(SceneGraphTest, NewObjectIsInEveryListItBelongsTo) {
  auto* p = new Probe("Rock", Vector(30, 10));
  EXPECT_TRUE(listHas(graph().activeObjects(), p));
  EXPECT_TRUE(listHas(graph().solidObjects(), p));
  EXPECT_TRUE(inGridCells(p));
  EXPECT_TRUE(visibleAt(2, p));
  EXPECT_TRUE(ofType("Rock", p));
  EXPECT_FALSE(listHas(graph().inactiveObjects(), p));
}

TEST_F(SceneGraphTest, SolidnessChangesMoveBetweenSolidAndNot) {
  auto* p = new Probe("Rock", Vector(30, 10));
  ASSERT_EQ(p->setSolidness(tw::SPECTRAL), 0);
  EXPECT_FALSE(listHas(graph().solidObjects(), p));
  EXPECT_FALSE(inGridAnywhere(p));
  EXPECT_TRUE(listHas(graph().activeObjects(), p));
  EXPECT_TRUE(visibleAt(2, p));
  EXPECT_TRUE(ofType("Rock", p));
  ASSERT_EQ(p->setSolidness(tw::SOFT), 0);
  EXPECT_TRUE(listHas(graph().solidObjects(), p));
  EXPECT_TRUE(inGridCells(p));
  // HARD and SOFT are both solid: no list changes, and no second entry.
  ASSERT_EQ(p->setSolidness(tw::HARD), 0);
  EXPECT_EQ(graph().solidObjects().getCount(), 1);
}

TEST_F(SceneGraphTest, DeactivationLeavesOnlyTheInactiveListAndActivationRestores) {
  auto* first = new Probe("Rock", Vector(30, 10));
  auto* second = new Probe("Rock", Vector(50, 10));
  ASSERT_EQ(first->setActive(false), 0);
  EXPECT_FALSE(first->isActive());
  EXPECT_TRUE(listHas(graph().inactiveObjects(), first));
  EXPECT_FALSE(listHas(graph().activeObjects(), first));
  EXPECT_FALSE(listHas(graph().solidObjects(), first));
  EXPECT_FALSE(visibleAnywhere(first));
  EXPECT_FALSE(ofType("Rock", first));
  EXPECT_FALSE(inGridAnywhere(first));
  ASSERT_EQ(first->setActive(true), 0);
  EXPECT_FALSE(listHas(graph().inactiveObjects(), first));
  EXPECT_TRUE(listHas(graph().solidObjects(), first));
  EXPECT_TRUE(inGridCells(first));
  EXPECT_TRUE(visibleAt(2, first));
  EXPECT_TRUE(ofType("Rock", first));
  tw::ObjectList active = graph().activeObjects();
  ASSERT_EQ(active.getCount(), 2);
  EXPECT_EQ(active[0], second);
  EXPECT_EQ(active[1], first);  // re-activated objects come last
}

TEST_F(SceneGraphTest, VisibilityAndAltitudeChooseTheDrawingList) {
  auto* p = new Probe("Sun", Vector(30, 10));
  ASSERT_EQ(p->setAltitude(4), 0);
  EXPECT_FALSE(visibleAt(2, p));
  EXPECT_TRUE(visibleAt(4, p));
  ASSERT_EQ(p->setVisible(false), 0);
  EXPECT_FALSE(visibleAnywhere(p));
  // An invisible object changes altitude without entering a list.
  ASSERT_EQ(p->setAltitude(3), 0);
  EXPECT_EQ(p->getAltitude(), 3);
  EXPECT_FALSE(visibleAnywhere(p));
  ASSERT_EQ(p->setVisible(true), 0);
  EXPECT_TRUE(visibleAt(3, p));
  EXPECT_EQ(p->getModified() & (tw::VISIBLE | tw::ALTITUDE), tw::VISIBLE | tw::ALTITUDE);
}

TEST_F(SceneGraphTest, AltitudeOutOfRangeIsRefusedEverywhere) {
  auto* p = new Probe("Sun", Vector(30, 10));
  EXPECT_EQ(p->setAltitude(5), -1);
  EXPECT_EQ(p->setAltitude(-1), -1);
  EXPECT_EQ(p->getAltitude(), 2);
  EXPECT_TRUE(visibleAt(2, p));
  EXPECT_TRUE(log.contains("Object::setAltitude(): Altitude 5 not in range [0,4].  Ignored."));
  EXPECT_TRUE(log.contains("Object::setAltitude(): Altitude -1 not in range [0,4].  Ignored."));
  // The scene graph refuses it on its own as well.
  EXPECT_EQ(graph().updateAltitude(p, 5), -1);
  EXPECT_TRUE(log.contains("SceneGraph::updateAltitude(): New altitude 5 not in [0,4]!  No update."));
  EXPECT_EQ(graph().visibleObjects(7).getCount(), 0);
  EXPECT_TRUE(log.contains("SceneGraph::visibleObjects(): Warning! altitude 7 not in [0,4]."));
}

TEST_F(SceneGraphTest, TypeChangesMoveBetweenTypeLists) {
  auto* p = new Probe("Egg", Vector(30, 10));
  p->setType("Chick");
  EXPECT_FALSE(ofType("Egg", p));
  EXPECT_TRUE(ofType("Chick", p));
  EXPECT_EQ(p->getType(), "Chick");
}

TEST_F(SceneGraphTest, TypeChangeOfAnInactiveObjectIsLoggedButTaken) {
  auto* p = new Probe("Egg", Vector(30, 10));
  p->setActive(false);
  p->setType("Chick");
  EXPECT_EQ(p->getType(), "Chick");
  EXPECT_TRUE(log.contains("SceneGraph::updateType(): Error! Unable to remove Object (" +
                           std::to_string(p->getId()) + ") type Egg"));
  // Activated again, it is found under its new type.
  p->setActive(true);
  EXPECT_TRUE(ofType("Chick", p));
  EXPECT_FALSE(ofType("Egg", p));
}

TEST_F(SceneGraphTest, BoxAndPositionChangesFollowTheGridCells) {
  auto* p = new Probe("Crate", Vector(5, 5));
  EXPECT_TRUE(listHas(graph().getGrid().getCellObjects({0, 0}), p));
  p->setPosition(Vector(45, 5));
  EXPECT_FALSE(listHas(graph().getGrid().getCellObjects({0, 0}), p));
  EXPECT_TRUE(listHas(graph().getGrid().getCellObjects({2, 0}), p));
  // A box wide enough to span three columns is listed in each of them.
  p->setBox(Box(Vector(-25, 0), 50, 1));
  EXPECT_TRUE(inGridCells(p));
  EXPECT_TRUE(listHas(graph().getGrid().getCellObjects({1, 0}), p));
  EXPECT_TRUE(listHas(graph().getGrid().getCellObjects({3, 0}), p));
  // Still once in every other list.
  EXPECT_EQ(graph().activeObjects().getCount(), 1);
  EXPECT_EQ(graph().solidObjects().getCount(), 1);
  EXPECT_EQ(graph().visibleObjects(2).getCount(), 1);
}

TEST_F(SceneGraphTest, MissingEntriesAreSilentOnlyOnceTheGameIsOver) {
  auto* p = new Probe("Ghost", Vector(30, 10));
  auto* q = new Probe("Ghost", Vector(50, 10));
  // Take both out of every list behind their backs.
  graph().removeObject(p);
  graph().removeObject(q);
  EXPECT_EQ(p->setActive(false), -1);
  EXPECT_TRUE(p->isActive());
  EXPECT_TRUE(log.contains("SceneGraph::updateActive(): remove object (Ghost) failed for objects!"));
  EXPECT_EQ(p->setVisible(false), -1);
  EXPECT_TRUE(p->isVisible());
  EXPECT_TRUE(log.contains("SceneGraph::updateVisible(): unable to remove visible object (Ghost)"));
  const size_t lines = log.messages().size();
  tw::GameManager::getInstance().setGameOver(true);
  EXPECT_EQ(q->setVisible(false), 0);
  EXPECT_FALSE(q->isVisible());
  EXPECT_EQ(log.messages().size(), lines);
  delete q;  // in no list any more, so the world's shut-down would miss it
}

TEST_F(SceneGraphTest, ObjectsOutsideTheWorldStayOutOfTheIndex) {
  world().shutDown();
  auto* p = new Probe("Stray", Vector(5, 5));
  EXPECT_EQ(p->setActive(false), 0);
  EXPECT_EQ(p->setAltitude(3), 0);
  p->setType("Lost");
  p->setBox(Box(Vector(0, 0), 3, 3));
  ASSERT_EQ(world().startUp(), 0);
  EXPECT_EQ(graph().activeObjects().getCount(), 0);
  EXPECT_EQ(graph().inactiveObjects().getCount(), 0);
  EXPECT_FALSE(p->isActive());
  EXPECT_EQ(p->getType(), "Lost");
  delete p;  // never entered the world, so the world will not delete it
  EXPECT_EQ(graph().inactiveObjects().getCount(), 0);
}
