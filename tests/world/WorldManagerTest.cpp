#include "engine/world/WorldManager.h"

#include <gtest/gtest.h>

#include "engine/world/EventOut.h"
#include "tests/world/WorldTestSupport.h"

using tw::Box;
using tw::Vector;
using tw_test::listHas;
using tw_test::Probe;

namespace {
class WorldManagerTest : public tw_test::WorldTest {
 protected:
  // A unit-box object at where with the given solidness.
  Probe* body(const std::string& name, Vector where, tw::Solidness solidness) {
    auto* p = new Probe(name, where);
    p->setBox(Box(Vector(0, 0), 1, 1));
    p->setSolidness(solidness);
    return p;
  }
};

struct PairCase {
  tw::Solidness mover;
  bool no_soft;
  tw::Solidness other;
  bool events;  // both receive a collision event
  bool moves;   // the mover reaches its target
};
}  // namespace

TEST_F(WorldManagerTest, CollisionsBetweenEverySolidnessPair) {
  const PairCase cases[] = {
      {tw::HARD, false, tw::HARD, true, false},      {tw::HARD, false, tw::SOFT, true, true},
      {tw::HARD, false, tw::SPECTRAL, false, true},  {tw::SOFT, false, tw::HARD, true, true},
      {tw::SOFT, false, tw::SOFT, true, true},       {tw::SOFT, false, tw::SPECTRAL, false, true},
      {tw::SPECTRAL, false, tw::HARD, false, true},  {tw::SPECTRAL, false, tw::SOFT, false, true},
      {tw::HARD, true, tw::SOFT, true, false},       {tw::SOFT, true, tw::SOFT, true, false},
      {tw::SOFT, true, tw::HARD, true, true},        {tw::SPECTRAL, true, tw::SOFT, false, true},
  };
  for (const PairCase& c : cases) {
    SCOPED_TRACE(tw::toString(c.mover) + (c.no_soft ? " (no_soft)" : "") + " into " +
                 tw::toString(c.other));
    Probe* other = body("Other", Vector(10, 5), c.other);
    Probe* mover = body("Mover", Vector(8, 5), c.mover);
    mover->setNoSoft(c.no_soft);
    EXPECT_EQ(world().moveObject(mover, Vector(9.5f, 5)), c.moves ? 0 : -1);
    EXPECT_EQ(mover->getPosition(), c.moves ? Vector(9.5f, 5) : Vector(8, 5));
    EXPECT_EQ(mover->count(tw::COLLISION_EVENT), c.events ? 1 : 0);
    EXPECT_EQ(other->count(tw::COLLISION_EVENT), c.events ? 1 : 0);
    if (c.events) {
      EXPECT_EQ(mover->met.at(0), other);
      EXPECT_EQ(other->met.at(0), mover);
    }
    world().markForDelete(mover);
    world().markForDelete(other);
    world().update();
  }
}

TEST_F(WorldManagerTest, EveryPartnerGetsItsEventEvenWhenTheMoveIsBlocked) {
  Probe* wall = body("Wall", Vector(10, 5), tw::HARD);
  Probe* mist = body("Mist", Vector(10, 5.5f), tw::SOFT);
  Probe* mover = body("Mover", Vector(8, 5), tw::HARD);
  EXPECT_EQ(world().moveObject(mover, Vector(9.5f, 5)), -1);
  EXPECT_EQ(wall->count(tw::COLLISION_EVENT), 1);
  EXPECT_EQ(mist->count(tw::COLLISION_EVENT), 1);
  EXPECT_EQ(mover->met, (std::vector<tw::Object*>{wall, mist}));
}

TEST_F(WorldManagerTest, SolidnessIsJudgedAfterTheHandlersRan) {
  Probe* door = body("Door", Vector(10, 5), tw::HARD);
  door->on_event = [door](const tw::Event*) { door->setSolidness(tw::SPECTRAL); };
  Probe* mover = body("Mover", Vector(8, 5), tw::HARD);
  EXPECT_EQ(world().moveObject(mover, Vector(9.5f, 5)), 0);
  EXPECT_EQ(mover->getPosition(), Vector(9.5f, 5));
}

TEST_F(WorldManagerTest, UpdateMovesByVelocityAndStopsAtHardObjects) {
  Probe* wall = body("Wall", Vector(12, 5), tw::HARD);
  Probe* mover = body("Mover", Vector(8, 5), tw::HARD);
  mover->setVelocity(Vector(1, 0));
  world().update();
  world().update();
  EXPECT_EQ(mover->getPosition(), Vector(10, 5));
  world().update();  // (11,5) touches the wall's edge
  EXPECT_EQ(mover->getPosition(), Vector(10, 5));
  EXPECT_EQ(wall->count(tw::COLLISION_EVENT), 1);
}

TEST_F(WorldManagerTest, AvoidingMoverSlidesAlongAFloor) {
  for (int x = 0; x < 20; x++) body("Floor", Vector(static_cast<float>(x), 10), tw::HARD);
  Probe* slider = body("Slider", Vector(5, 8.5f), tw::HARD);
  slider->setAvoidCollisions(true);
  slider->setVelocity(Vector(0.6f, 0.8f));
  EXPECT_EQ(world().moveObject(slider, slider->predictPosition()), 0);
  EXPECT_FLOAT_EQ(slider->getPosition().getX(), 6.0f);  // full speed along the floor
  EXPECT_FLOAT_EQ(slider->getPosition().getY(), 8.5f);
  EXPECT_EQ(slider->count(tw::COLLISION_EVENT), 0);
}

TEST_F(WorldManagerTest, AvoidingMoverFallingStraightDownStaysPut) {
  for (int x = 0; x < 20; x++) body("Floor", Vector(static_cast<float>(x), 10), tw::HARD);
  Probe* faller = body("Faller", Vector(5, 8.5f), tw::HARD);
  faller->setAvoidCollisions(true);
  faller->setVelocity(Vector(0, 1));
  EXPECT_EQ(world().moveObject(faller, faller->predictPosition()), 0);
  EXPECT_EQ(faller->getPosition(), Vector(5, 8.5f));
  // Already resting on the floor, it cannot even stay: a double collision.
  logLevel(5);
  Probe* sitter = body("Sitter", Vector(15, 9), tw::HARD);
  sitter->setAvoidCollisions(true);
  sitter->setVelocity(Vector(0, 1));
  EXPECT_EQ(world().moveObject(sitter, sitter->predictPosition()), -1);
  EXPECT_EQ(sitter->getPosition(), Vector(15, 9));
  EXPECT_EQ(sitter->count(tw::COLLISION_EVENT), 0);
  EXPECT_TRUE(log.contains(
      "WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move."));
}

TEST_F(WorldManagerTest, LeavingTheWorldRaisesOneOutEvent) {
  Probe* runner = body("Runner", Vector(76, 5), tw::SPECTRAL);
  runner->setVelocity(Vector(1, 0));
  for (int i = 0; i < 4; i++) world().update();
  EXPECT_EQ(runner->getPosition(), Vector(80, 5));  // its left edge still on the boundary
  EXPECT_EQ(runner->count(tw::OUT_EVENT), 0);
  world().update();
  EXPECT_EQ(runner->count(tw::OUT_EVENT), 1);
  for (int i = 0; i < 5; i++) world().update();
  EXPECT_EQ(runner->count(tw::OUT_EVENT), 1);
  // Coming back and leaving again raises it again.
  runner->setVelocity(Vector(-1, 0));
  for (int i = 0; i < 10; i++) world().update();
  runner->setVelocity(Vector(1, 0));
  for (int i = 0; i < 10; i++) world().update();
  EXPECT_EQ(runner->count(tw::OUT_EVENT), 2);
}

TEST_F(WorldManagerTest, MarkedObjectsAreDeletedAfterTheMovesOfTheFrame) {
  Probe* wall = body("Wall", Vector(10, 5), tw::HARD);
  Probe* mover = body("Mover", Vector(8, 5), tw::HARD);
  mover->setVelocity(Vector(1.5f, 0));
  bool wall_gone = false;
  wall->on_destroy = [&wall_gone] { wall_gone = true; };
  EXPECT_EQ(world().markForDelete(wall), 0);
  EXPECT_EQ(world().markForDelete(wall), 0);
  EXPECT_FALSE(wall_gone);
  world().update();
  // The wall still blocked this frame's move, then went.
  EXPECT_TRUE(wall_gone);
  EXPECT_EQ(mover->getPosition(), Vector(8, 5));
  EXPECT_EQ(world().getAllObjects().getCount(), 1);
  world().update();
  EXPECT_EQ(mover->getPosition(), Vector(9.5f, 5));
}

TEST_F(WorldManagerTest, ObjectMarkedByAHandlerGoesAtTheEndOfThatUpdate) {
  Probe* bullet = body("Bullet", Vector(8, 5), tw::SOFT);
  Probe* enemy = body("Enemy", Vector(10, 5), tw::SOFT);
  int destroyed = 0;
  bullet->on_destroy = [&destroyed] { destroyed++; };
  enemy->on_destroy = [&destroyed] { destroyed++; };
  enemy->on_event = [this, bullet, enemy](const tw::Event* p_e) {
    if (p_e->getType() != tw::COLLISION_EVENT) return;
    world().markForDelete(bullet);
    world().markForDelete(enemy);
  };
  bullet->setVelocity(Vector(1.5f, 0));
  world().update();
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(world().getAllObjects(true).getCount(), 0);
}

TEST_F(WorldManagerTest, AllObjectsListsActiveThenInactive) {
  Probe* a = body("A", Vector(1, 1), tw::HARD);
  Probe* b = body("B", Vector(3, 1), tw::HARD);
  Probe* c = body("C", Vector(5, 1), tw::HARD);
  b->setActive(false);
  tw::ObjectList active = world().getAllObjects();
  EXPECT_EQ(active.getCount(), 2);
  EXPECT_FALSE(listHas(active, b));
  tw::ObjectList all = world().getAllObjects(true);
  ASSERT_EQ(all.getCount(), 3);
  EXPECT_EQ(all[0], a);
  EXPECT_EQ(all[1], c);
  EXPECT_EQ(all[2], b);
}

TEST_F(WorldManagerTest, InactiveObjectsAreNeitherMovedNorCollided) {
  Probe* sleeper = body("Sleeper", Vector(10, 5), tw::HARD);
  Probe* mover = body("Mover", Vector(8, 5), tw::HARD);
  sleeper->setVelocity(Vector(0, 1));
  sleeper->setActive(false);
  mover->setVelocity(Vector(1.5f, 0));
  world().update();
  EXPECT_EQ(sleeper->getPosition(), Vector(10, 5));
  EXPECT_EQ(mover->getPosition(), Vector(9.5f, 5));
  EXPECT_EQ(sleeper->received.size(), 0u);
}

TEST_F(WorldManagerTest, ViewPositionIsClampedToTheBoundary) {
  world().setViewPosition(Vector(10, 5));
  EXPECT_EQ(world().getView().getCorner(), Vector(0, 0));
  world().setBoundary(Box(Vector(0, 0), 200, 24));
  world().setViewPosition(Vector(100, 12));
  EXPECT_EQ(world().getView().getCorner(), Vector(60, 0));
  world().setViewPosition(Vector(195, 12));
  EXPECT_EQ(world().getView().getCorner(), Vector(120, 0));
  // A view wider than the boundary sticks to the origin.
  world().setBoundary(Box(Vector(0, 0), 50, 10));
  world().setViewPosition(Vector(40, 5));
  EXPECT_EQ(world().getView().getCorner(), Vector(0, 0));
}

TEST_F(WorldManagerTest, ViewFollowsAnObjectOnceItLeavesTheSlack) {
  world().setBoundary(Box(Vector(0, 0), 200, 24));
  world().setViewSlack(Vector(0.5f, 0.5f));
  Probe* hero = body("Hero", Vector(40, 12), tw::SPECTRAL);
  world().setViewFollowing(hero);
  hero->setVelocity(Vector(10, 0));
  world().update();  // x 50: inside the dead zone 20 .. 60
  EXPECT_EQ(world().getView().getCorner(), Vector(0, 0));
  world().update();  // x 60: on its edge
  EXPECT_EQ(world().getView().getCorner(), Vector(0, 0));
  world().update();  // x 70: ten past it
  EXPECT_EQ(world().getView().getCorner(), Vector(10, 0));
  // Deleting the followed object stops the following.
  world().markForDelete(hero);
  world().update();
  EXPECT_EQ(world().getViewFollowing(), nullptr);
}

TEST_F(WorldManagerTest, SlackOutOfRangeIsStoredWithAWarning) {
  world().setViewSlack(Vector(1.5f, 0.5f));
  EXPECT_EQ(world().getViewSlack(), Vector(1.5f, 0.5f));
  EXPECT_TRUE(log.contains("WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]"));
}

TEST_F(WorldManagerTest, DrawGoesLayerByLayerAndSkipsWhatTheViewMisses) {
  std::vector<std::string> drawn;
  auto track = [&drawn](Probe* p) { p->on_draw = [&drawn, p] { drawn.push_back(p->getType()); }; };
  Probe* sky = body("Sky", Vector(5, 5), tw::SPECTRAL);
  Probe* hero = body("Hero", Vector(6, 5), tw::SPECTRAL);
  Probe* ground = body("Ground", Vector(7, 5), tw::SPECTRAL);
  Probe* away = body("Away", Vector(90, 5), tw::SPECTRAL);
  Probe* hidden = body("Hidden", Vector(8, 5), tw::SPECTRAL);
  for (Probe* p : {sky, hero, ground, away, hidden}) track(p);
  sky->setAltitude(4);
  ground->setAltitude(0);
  away->setAltitude(0);
  hidden->setVisible(false);
  world().draw();
  EXPECT_EQ(drawn, (std::vector<std::string>{"Ground", "Hero", "Sky"}));
}

TEST_F(WorldManagerTest, ViewObjectsAreDrawnWhereverTheViewIs) {
  class Hud : public Probe {
   public:
    Hud() : Probe("Hud", Vector(500, 500)) {}
    bool isViewObject() const override { return true; }
  };
  auto* hud = new Hud;
  int draws = 0;
  hud->on_draw = [&draws] { draws++; };
  world().draw();
  EXPECT_EQ(draws, 1);
}

TEST_F(WorldManagerTest, EventTypesTheWorldDoesNotTake) {
  EXPECT_FALSE(world().isValid("tw-step"));
  EXPECT_FALSE(world().isValid("tw-keyboard"));
  EXPECT_TRUE(log.contains("WorldManager::isValid(): WorldManager does not handle tw-step"));
  EXPECT_FALSE(world().isValid("tw-out"));
  EXPECT_TRUE(log.contains("WorldManager::isValid(): Event tw-out handled automatically."));
  EXPECT_TRUE(world().isValid("tw-view"));
  EXPECT_TRUE(world().isValid("veld-score"));
}

TEST_F(WorldManagerTest, StartingTwiceAndInsertingIntoAStoppedWorld) {
  EXPECT_EQ(world().startUp(), -1);
  EXPECT_TRUE(log.contains("WorldManager::startup(): Warning! WorldManager already started."));
  world().shutDown();
  logLevel(2);
  auto* stray = new Probe("Stray");
  EXPECT_EQ(world().insertObject(stray), -1);
  std::vector<std::string> lines = log.messages();
  const std::string first =
      "WorldManager::insertObject(): Warning! Not adding Object " + std::to_string(stray->getId());
  const std::string second = "                              because WorldManager not started.";
  int pairs = 0;
  for (size_t i = 0; i + 1 < lines.size(); i++) pairs += lines[i] == first && lines[i + 1] == second;
  EXPECT_EQ(pairs, 2);  // once from the constructor, once from the call above
  delete stray;
}

TEST_F(WorldManagerTest, NewBoundaryKeepsExistingObjectsCollidable) {
  Probe* wall = body("Wall", Vector(150, 5), tw::HARD);
  world().setBoundary(Box(Vector(0, 0), 200, 24));
  EXPECT_EQ(world().getSceneGraph().getGrid().getNumCols(), 10);
  Probe* mover = body("Mover", Vector(148, 5), tw::HARD);
  EXPECT_EQ(world().moveObject(mover, Vector(149.5f, 5)), -1);
  EXPECT_EQ(wall->count(tw::COLLISION_EVENT), 1);
  EXPECT_TRUE(listHas(world().getSceneGraph().objectsOfType("Wall"), wall));
}
