// Objects: what their setters mark as modified, velocity and acceleration,
// event interests routed to the manager owning each type, and following a
// path (the Path value type included) through the world's updates.
#include "engine/world/Object.h"

#include <gtest/gtest.h>

#include "engine/core/EventStep.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/InputManager.h"
#include "engine/loop/GameManager.h"
#include "engine/network/NetworkManager.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/EventPath.h"
#include "tests/support/EngineFixtures.h"

using tw::Box;
using tw::Vector;
using tw_test::Probe;

namespace {
class ObjectTest : public tw_test::WorldFixture {};

tw::Event eventOf(const std::string& type) {
  tw::Event e;
  e.setType(type);
  return e;
}

tw::Path pathThrough(std::initializer_list<Vector> points) {
  tw::Path path;
  for (const Vector& p : points) path.addWaypoint(p);
  return path;
}
}  // namespace

// The modified mask decides what a network sync sends: a missed or extra
// bit sends too little or too much.
TEST_F(ObjectTest, SettersMarkWhatChangedAndVelocityIsSpeedTimesDirection) {
  auto* p = new Probe;
  p->setModified(0);
  EXPECT_EQ(p->setAltitude(2), 0);
  p->setSolidness(tw::HARD);
  p->setActive(true);
  p->setPosition(p->getPosition());
  p->setBox(p->getBox());
  EXPECT_FALSE(p->isModified());
  p->setPosition(Vector(3, 4));
  p->setAcceleration(Vector(0, 1));
  p->setAvoidCollisions(true);
  EXPECT_EQ(p->getModified(), tw::POSITION | tw::ACCELERATION | tw::AVOID_COLLISIONS);
  p->setModified(0);
  p->setVelocity(Vector(3, 4));
  EXPECT_EQ(p->getModified(), tw::SPEED | tw::DIRECTION);
  EXPECT_FLOAT_EQ(p->getSpeed(), 5.0f);
  EXPECT_FLOAT_EQ(p->getDirection().getX(), 0.6f);
  EXPECT_FLOAT_EQ(p->getVelocity().getY(), 4.0f);
  EXPECT_FLOAT_EQ(p->predictPosition().getX(), 6.0f);
  p->setVelocity(Vector(0, 0));
  EXPECT_EQ(p->getDirection(), Vector(0, 0));
  // Shapes ignore a type they do not know.
  tw::Shape shape;
  shape.setType(3);
  EXPECT_EQ(shape.getType(), tw::CIRCLE);
  EXPECT_TRUE(log.contains("Shape::setType(): Unknown shape type 3. Ignoring."));
}

TEST_F(ObjectTest, InterestsGoToTheManagerThatOwnsTheTypeAndLeaveWithTheObject) {
  tw::GameManager::getInstance();
  auto* p = new Probe;
  EXPECT_EQ(p->registerInterest(tw::COLLISION_EVENT), -1);  // delivered anyway: refused
  EXPECT_EQ(p->getEventCount(), 0);
  for (std::string type : {tw::STEP_EVENT, tw::KEYBOARD_EVENT, std::string("tw-network-sync"), std::string("veld-score")}) {
    EXPECT_EQ(p->registerInterest(type), 0);
  }
  const tw::EventStep step(3);
  EXPECT_EQ(tw::GameManager::getInstance().onEvent(&step), 1);
  const tw::EventKeyboard key;
  EXPECT_EQ(tw::InputManager::getInstance().onEvent(&key), 1);
  const tw::Event sync = eventOf("tw-network-sync");
  EXPECT_EQ(tw::NetworkManager::getInstance().onEvent(&sync), 1);
  const tw::Event score = eventOf("veld-score");
  EXPECT_EQ(world().onEvent(&score), 1);
  EXPECT_EQ(p->received.size(), 4u);
  world().markForDelete(p);
  world().update();
  EXPECT_EQ(tw::GameManager::getInstance().onEvent(&step), 0);
  EXPECT_EQ(world().onEvent(&score), 0);
}

TEST_F(ObjectTest, HundredInterestsAtMostAndUnregisteringKeepsTheOrder) {
  auto* p = new Probe;
  for (int i = 0; i < tw::MAX_OBJ_EVENTS; i++) {
    ASSERT_EQ(p->registerInterest("veld-" + std::to_string(i)), 0);
  }
  EXPECT_EQ(p->registerInterest("veld-extra"), -1);
  EXPECT_EQ(p->unregisterInterest("veld-1"), 0);
  EXPECT_EQ(p->unregisterInterest("veld-1"), -1);
  EXPECT_EQ(p->getEventCount(), 99);
  EXPECT_EQ(p->getEventName(1), "veld-2");
  EXPECT_EQ(p->getEventName(98), "veld-99");
  const tw::Event one = eventOf("veld-1");
  const tw::Event two = eventOf("veld-2");
  EXPECT_EQ(world().onEvent(&one), 0);
  EXPECT_EQ(world().onEvent(&two), 1);
}

TEST_F(ObjectTest, PathIsWalkedWaypointByWaypointThroughTheUpdates) {
  tw::Path path = pathThrough({Vector(12, 10), Vector(12, 12)});
  EXPECT_EQ(path.toString(), "(12,10)|(12,12)|");
  tw::Path done = path;
  for (int i = 0; i < 3; i++) done.next();
  EXPECT_EQ(done.getIndex(), 2);  // never past the end
  EXPECT_TRUE(done.isDone());
  EXPECT_EQ(done.getCurrent(), Vector(0, 0));

  auto* p = new Probe("Walker", Vector(10, 10));
  p->setSolidness(tw::SPECTRAL);
  p->setSpeed(1);
  p->setPath(path);
  p->setFollowPath(true);
  EXPECT_EQ(p->getDirection(), Vector(1, 0));
  world().update();  // moves to (11,10); (12,10) is one cell away: aim at it
  EXPECT_EQ(p->getPosition(), Vector(11, 10));
  world().update();  // moves onto (12,10), snaps, then aims down
  EXPECT_EQ(p->getPosition(), Vector(12, 10));
  EXPECT_EQ(p->getDirection(), Vector(0, 1));
  for (int i = 0; i < 3; i++) world().update();
  EXPECT_EQ(p->getPosition(), Vector(12, 12));
  EXPECT_FALSE(p->getFollowPath());
  EXPECT_EQ(p->getVelocity(), Vector(0, 0));
}

TEST_F(ObjectTest, WaypointsWithinThreeQuartersOfTheSpeedAreSnappedTo) {
  const struct {
    float x;
    Vector after;
    bool following;
  } cases[] = {{10.7f, Vector(10.7f, 10), false}, {10.8f, Vector(10, 10), true}};
  for (const auto& c : cases) {
    auto* p = new Probe("Walker", Vector(10, 10));
    p->setSpeed(1);
    p->setPath(pathThrough({Vector(c.x, 10)}));
    p->setFollowPath(true);
    p->followPath();
    EXPECT_EQ(p->getPosition(), c.after) << c.x;
    EXPECT_EQ(p->getFollowPath(), c.following) << c.x;
    EXPECT_EQ(p->getDirection(), c.following ? Vector(1, 0) : Vector(0, 0)) << c.x;
  }
}

TEST_F(ObjectTest, AccelerationRaisesTheSpeedAfterEachMove) {
  auto* p = new Probe("Stone", Vector(10, 2));
  p->setSolidness(tw::SPECTRAL);
  p->setAcceleration(Vector(0, 0.1f));
  world().update();
  EXPECT_FLOAT_EQ(p->getSpeed(), 0.1f);
  EXPECT_EQ(p->getDirection(), Vector(0, 1));
  EXPECT_EQ(p->getPosition(), Vector(10, 2));  // the new speed applies next frame
  world().update();
  EXPECT_FLOAT_EQ(p->getSpeed(), 0.2f);
  EXPECT_FLOAT_EQ(p->getPosition().getY(), 2.1f);
  auto* q = new Probe("Still", Vector(20, 2));
  q->setModified(0);
  q->applyAcceleration();
  EXPECT_EQ(q->getModified(), 0u);
}

TEST_F(ObjectTest, PathEventHandsOverAFoundPathOnly) {
  auto* p = new tw::Object;
  p->setPosition(Vector(5, 5));
  const tw::EventPath none(tw::PATH_NOT_FOUND, pathThrough({Vector(9, 9)}));
  EXPECT_EQ(p->eventHandler(&none), 1);
  EXPECT_EQ(p->getPath().getWaypointCount(), 0);
  EXPECT_FALSE(p->getFollowPath());
  const tw::EventPath found(tw::PATH_FOUND, pathThrough({Vector(5, 9), Vector(9, 9)}));
  EXPECT_EQ(p->eventHandler(&found), 1);
  EXPECT_EQ(p->getPath().toString(), "(5,9)|(9,9)|");
  EXPECT_TRUE(p->getFollowPath());
  EXPECT_EQ(p->getDirection(), Vector(0, 1));
  const tw::Event fake = eventOf(tw::PATH_EVENT);  // not an EventPath
  EXPECT_EQ(p->eventHandler(&fake), 0);
}

TEST_F(ObjectTest, SpriteFromAFileFitsTheBoxTheGridKnows) {
  auto* p = new Probe;
  EXPECT_EQ(p->setSprite("nothing"), -1);
  EXPECT_EQ(p->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  tw_test::TempDir dir;
  const std::string file = dir.write("ship.txt", "1\n5\n3\n1\nred\nabcde\nfghij\nklmno\n");
  ASSERT_EQ(resources.loadSprite(file, "ship"), 0);
  EXPECT_EQ(p->setSprite("ship"), 0);
  EXPECT_EQ(p->getBox(), Box(Vector(-2.5f, -1.5f), 5, 3));
  // A neighbour 2.8 cells right is touched only through the new box.
  auto* q = new Probe("Neighbour", Vector(p->getPosition().getX() + 2.8f, 1));
  EXPECT_EQ(world().getCollisions(q, q->getPosition()).getCount(), 1);
  world().shutDown();  // objects go before their sprites
  resources.shutDown();
}
