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
  p->setVelocity(Vector(0, 0));
  EXPECT_EQ(p->getDirection(), Vector(0, 0));
}

TEST_F(ObjectTest, InterestsGoToTheManagerOwningTheTypeAndLeaveWithTheObject) {
  tw::GameManager::getInstance();
  auto* p = new Probe;
  EXPECT_EQ(p->registerInterest(tw::COLLISION_EVENT), -1);  // delivered anyway: refused
  for (int i = 0; i < tw::MAX_OBJ_EVENTS - 3; i++) p->registerInterest("veld-" + std::to_string(i));
  for (const char* type : {"tw-step", "tw-keyboard", "tw-network-sync"}) EXPECT_EQ(p->registerInterest(type), 0);
  EXPECT_EQ(p->registerInterest("veld-extra"), -1);  // a hundred at most
  EXPECT_EQ(p->unregisterInterest("veld-1"), 0);
  EXPECT_EQ(p->getEventName(1), "veld-2");  // the order is kept
  const tw::Event one = eventOf("veld-1");
  const tw::Event two = eventOf("veld-2");
  EXPECT_EQ(world().onEvent(&one), 0);
  EXPECT_EQ(world().onEvent(&two), 1);
  const tw::EventStep step(3);
  EXPECT_EQ(tw::GameManager::getInstance().onEvent(&step), 1);
  const tw::EventKeyboard key;
  EXPECT_EQ(tw::InputManager::getInstance().onEvent(&key), 1);
  const tw::Event sync = eventOf("tw-network-sync");
  EXPECT_EQ(tw::NetworkManager::getInstance().onEvent(&sync), 1);
  EXPECT_EQ(p->received.size(), 4u);
  world().markForDelete(p);
  world().update();
  EXPECT_EQ(tw::GameManager::getInstance().onEvent(&step), 0);
  EXPECT_EQ(world().onEvent(&two), 0);
}

TEST_F(ObjectTest, AccelerationRaisesTheSpeedAfterEachMove) {
  auto* p = new Probe("Stone", Vector(10, 2));
  p->setSolidness(tw::SPECTRAL);
  p->setAcceleration(Vector(0, 0.1f));
  world().update();
  EXPECT_FLOAT_EQ(p->getSpeed(), 0.1f);
  EXPECT_EQ(p->getPosition(), Vector(10, 2));  // the new speed applies next frame
  world().update();
  EXPECT_FLOAT_EQ(p->getSpeed(), 0.2f);
  EXPECT_FLOAT_EQ(p->getPosition().getY(), 2.1f);
}

TEST_F(ObjectTest, PathIsWalkedWaypointByWaypointThroughTheUpdates) {
  tw::Path path = pathThrough({Vector(12, 10), Vector(12, 12)});
  EXPECT_EQ(path.toString(), "(12,10)|(12,12)|");
  tw::Path done = path;
  for (int i = 0; i < 3; i++) done.next();
  EXPECT_EQ(done.getIndex(), 2);  // never past the end
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

TEST_F(ObjectTest, PathEventHandsOverAFoundPathOnly) {
  auto* p = new tw::Object;
  p->setPosition(Vector(5, 5));
  const tw::EventPath none(tw::PATH_NOT_FOUND, pathThrough({Vector(9, 9)}));
  EXPECT_EQ(p->eventHandler(&none), 1);
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
  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  tw_test::TempDir dir;
  ASSERT_EQ(resources.loadSprite(dir.write("ship.txt", "1\n5\n3\n1\nred\nabcde\nfghij\nklmno\n"), "ship"), 0);
  EXPECT_EQ(p->setSprite("ship"), 0);
  EXPECT_EQ(p->getBox(), Box(Vector(-2.5f, -1.5f), 5, 3));
  // A neighbour 2.8 cells right is touched only through the new box.
  auto* q = new Probe("Neighbour", Vector(p->getPosition().getX() + 2.8f, 1));
  EXPECT_EQ(world().getCollisions(q, q->getPosition()).getCount(), 1);
  world().shutDown();  // objects go before their sprites
  resources.shutDown();
}
