// Objects: setters and what they mark modified, interests, acceleration and
// following a path, and the frame it draws centred on its position. The grid
// and the scene graph have tests of their own.
#include "engine/world/Object.h"

#include <gtest/gtest.h>


#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/world/EventPath.h"
#include "engine/world/Frame.h"
#include "tests/support/EngineFixtures.h"

using tw::Box;
using tw::Vector;
using tw_test::Probe;

namespace {
tw::Path pathThrough(std::initializer_list<Vector> points) {
  tw::Path path;
  for (const Vector& p : points) path.addWaypoint(p);
  return path;
}
// The started world.
using ObjectTest = tw_test::WorldFixture;
}  // namespace

// The modified mask decides what a network sync sends: a missed or extra
// bit sends too little or too much.
TEST_F(ObjectTest, SettersMarkWhatChangedAndVelocityIsSpeedTimesDirection) {
  auto* p = new Probe;
  // A new shape's size: the font scale (2) times the smaller cell side in
  // whole pixels (1024 / 80 = 12.8 wide, 768 / 24 = 32 high).
  EXPECT_EQ(p->getShape().getSize(), 24.0f);
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

// What an object draws: its frame's characters centred on its position.
TEST(Frame, CentresItsCharactersOnThePosition) {
  const struct {
    int width, height, x, y;
    Vector at;
  } cases[] = {{3, 1, 0, 0, Vector(9, 5)}, {1, 3, 0, 2, Vector(10, 6)}, {4, 2, 3, 1, Vector(11.5f, 5.5f)}};
  for (const auto& c : cases) {
    const tw::Frame frame(c.width, c.height, std::string(static_cast<size_t>(c.width * c.height), '#'));
    EXPECT_EQ(frame.cellPosition(Vector(10, 5), c.x, c.y), c.at) << c.width << " x " << c.height;
  }
}
