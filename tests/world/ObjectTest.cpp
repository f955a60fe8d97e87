#include "engine/world/Object.h"

#include <gtest/gtest.h>

#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/EventMouse.h"
#include "engine/input/InputManager.h"
#include "engine/network/NetworkManager.h"
#include "engine/world/EventPath.h"
#include "engine/resources/ResourceManager.h"
#include "tests/world/WorldTestSupport.h"

using tw::Box;
using tw::Vector;
using tw_test::Probe;

namespace {
class ObjectTest : public tw_test::WorldTest {};

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

TEST_F(ObjectTest, IdsCountFromOneAndFreshObjectsHaveTheirDefaults) {
  auto* first = new tw::Object;
  auto* second = new tw::Object;
  EXPECT_EQ(first->getId(), 1);
  EXPECT_EQ(second->getId(), 2);
  EXPECT_EQ(first->getType(), "(Undefined)");
  EXPECT_TRUE(first->isActive());
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->getAltitude(), 2);
  EXPECT_EQ(first->getSolidness(), tw::HARD);
  EXPECT_EQ(first->getPosition(), Vector(1, 1));
  EXPECT_EQ(first->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  EXPECT_EQ(first->getVelocity(), Vector(0, 0));
  EXPECT_FALSE(first->getNoSoft());
  EXPECT_FALSE(first->getAvoidCollisions());
  EXPECT_FALSE(first->getFollowPath());
  EXPECT_EQ(first->getShape().getType(), tw::UNDEFINED_SHAPE);
  EXPECT_EQ(first->getModified(), 0x3FFFFu);
  EXPECT_TRUE(first->isModified());
}

TEST_F(ObjectTest, SettersMarkTheirAttributeAndUnchangedValuesDoNothing) {
  auto* p = new Probe;
  p->setModified(0);
  EXPECT_FALSE(p->isModified());
  EXPECT_EQ(p->setAltitude(2), 0);
  EXPECT_EQ(p->setSolidness(tw::HARD), 0);
  EXPECT_EQ(p->setActive(true), 0);
  p->setPosition(p->getPosition());
  p->setBox(p->getBox());
  EXPECT_EQ(p->getModified(), 0u);
  p->setPosition(Vector(3, 4));
  p->setAcceleration(Vector(0, 1));
  p->setAvoidCollisions(true);
  p->setDirection(Vector(0, 2));  // marks nothing
  EXPECT_EQ(p->getModified(), tw::POSITION | tw::ACCELERATION | tw::AVOID_COLLISIONS);
  EXPECT_EQ(p->getDirection(), Vector(0, 1));
}

TEST_F(ObjectTest, UnknownSolidnessIsRefused) {
  auto* p = new Probe;
  EXPECT_EQ(p->setSolidness(static_cast<tw::Solidness>(3)), -1);
  EXPECT_EQ(p->setSolidness(static_cast<tw::Solidness>(-1)), -1);
  EXPECT_EQ(p->getSolidness(), tw::HARD);
  EXPECT_TRUE(log.contains("Object::setSolidness(): Solidness 3 not one of HARD, SOFT or SPECTRAL."));
  EXPECT_TRUE(log.contains("Object::setSolidness(): Solidness -1 not one of HARD, SOFT or SPECTRAL."));
}

TEST_F(ObjectTest, VelocityIsSpeedTimesDirection) {
  auto* p = new Probe;
  p->setModified(0);
  p->setVelocity(Vector(3, 4));
  EXPECT_FLOAT_EQ(p->getSpeed(), 5.0f);
  EXPECT_FLOAT_EQ(p->getDirection().getX(), 0.6f);
  EXPECT_FLOAT_EQ(p->getDirection().getY(), 0.8f);
  EXPECT_FLOAT_EQ(p->getVelocity().getX(), 3.0f);
  EXPECT_FLOAT_EQ(p->getVelocity().getY(), 4.0f);
  EXPECT_EQ(p->getModified(), tw::SPEED | tw::DIRECTION);
  EXPECT_FLOAT_EQ(p->predictPosition().getX(), 4.0f);
  p->setVelocity(Vector(0, 0));
  EXPECT_EQ(p->getSpeed(), 0.0f);
  EXPECT_EQ(p->getDirection(), Vector(0, 0));
}

TEST_F(ObjectTest, InterestsGoToTheManagerThatOwnsTheType) {
  tw::GameManager::getInstance();
  auto* p = new Probe;
  EXPECT_EQ(p->registerInterest(tw::STEP_EVENT), 0);
  EXPECT_EQ(p->registerInterest(tw::KEYBOARD_EVENT), 0);
  EXPECT_EQ(p->registerInterest(tw::MOUSE_EVENT), 0);
  EXPECT_EQ(p->registerInterest("tw-network-sync"), 0);
  EXPECT_EQ(p->registerInterest("veld-score"), 0);
  const tw::EventStep step(3);
  EXPECT_EQ(tw::GameManager::getInstance().onEvent(&step), 1);
  const tw::EventKeyboard key;
  EXPECT_EQ(tw::InputManager::getInstance().onEvent(&key), 1);
  const tw::Event mouse = eventOf(tw::MOUSE_EVENT);
  EXPECT_EQ(tw::InputManager::getInstance().onEvent(&mouse), 1);
  const tw::Event sync = eventOf("tw-network-sync");
  EXPECT_EQ(tw::NetworkManager::getInstance().onEvent(&sync), 1);
  const tw::Event score = eventOf("veld-score");
  EXPECT_EQ(world().onEvent(&score), 1);
  EXPECT_EQ(p->received.size(), 5u);
  EXPECT_EQ(p->getEventCount(), 5);
}

TEST_F(ObjectTest, RefusedInterestLeavesNoEntry) {
  auto* p = new Probe;
  p->setModified(0);
  EXPECT_EQ(p->registerInterest(tw::COLLISION_EVENT), -1);
  EXPECT_EQ(p->getEventCount(), 0);
  EXPECT_EQ(p->getModified(), 0u);
  EXPECT_TRUE(log.contains("WorldManager::isValid(): Event tw-collision handled automatically."));
  EXPECT_EQ(p->unregisterInterest("veld-never"), -1);
  EXPECT_TRUE(log.contains("Object::unregisterInterest(): event 'veld-never' not previously registered"));
}

TEST_F(ObjectTest, HundredInterestsAtMostAndUnregisteringKeepsTheOrder) {
  auto* p = new Probe;
  for (int i = 0; i < tw::MAX_OBJ_EVENTS; i++) {
    ASSERT_EQ(p->registerInterest("veld-" + std::to_string(i)), 0);
  }
  EXPECT_EQ(p->registerInterest("veld-extra"), -1);
  EXPECT_TRUE(log.contains(
      "Object::registerInterest(): maximum (100) reached, cannot register for event 'veld-extra'"));
  EXPECT_EQ(p->unregisterInterest("veld-1"), 0);
  EXPECT_EQ(p->getEventCount(), 99);
  EXPECT_EQ(p->getEventName(0), "veld-0");
  EXPECT_EQ(p->getEventName(1), "veld-2");
  EXPECT_EQ(p->getEventName(98), "veld-99");
  // The manager no longer hands it that event, but still the others.
  const tw::Event one = eventOf("veld-1");
  const tw::Event two = eventOf("veld-2");
  EXPECT_EQ(world().onEvent(&one), 0);
  EXPECT_EQ(world().onEvent(&two), 1);
}

TEST_F(ObjectTest, DestructionUnregistersEveryInterest) {
  auto* p = new Probe;
  p->registerInterest(tw::STEP_EVENT);
  p->registerInterest("veld-score");
  world().markForDelete(p);
  world().update();
  const tw::EventStep step(1);
  const tw::Event score = eventOf("veld-score");
  EXPECT_EQ(tw::GameManager::getInstance().onEvent(&step), 0);
  EXPECT_EQ(world().onEvent(&score), 0);
}

TEST_F(ObjectTest, PathWaypointsWithinThreeQuartersOfTheSpeedAreSnappedTo) {
  auto* near = new Probe("Near", Vector(10, 10));
  near->setSpeed(1);
  near->setPath(pathThrough({Vector(10.7f, 10)}));
  near->setFollowPath(true);
  near->followPath();
  EXPECT_EQ(near->getPosition(), Vector(10.7f, 10));
  EXPECT_FALSE(near->getFollowPath());
  EXPECT_EQ(near->getDirection(), Vector(0, 0));

  auto* far = new Probe("Far", Vector(10, 10));
  far->setSpeed(1);
  far->setPath(pathThrough({Vector(10.8f, 10)}));
  far->setFollowPath(true);
  far->followPath();
  EXPECT_EQ(far->getPosition(), Vector(10, 10));
  EXPECT_EQ(far->getDirection(), Vector(1, 0));
  EXPECT_TRUE(far->getFollowPath());
}

TEST_F(ObjectTest, WorldUpdatesWalkAnObjectAlongItsPath) {
  auto* p = new Probe("Walker", Vector(10, 10));
  p->setSolidness(tw::SPECTRAL);
  p->setSpeed(1);
  p->setPath(pathThrough({Vector(12, 10), Vector(12, 12)}));
  p->setFollowPath(true);
  EXPECT_EQ(p->getDirection(), Vector(1, 0));
  world().update();  // moves to (11,10); (12,10) is one cell away: aim at it
  EXPECT_EQ(p->getPosition(), Vector(11, 10));
  world().update();  // moves onto (12,10), snaps, then aims down
  EXPECT_EQ(p->getPosition(), Vector(12, 10));
  EXPECT_EQ(p->getDirection(), Vector(0, 1));
  world().update();
  world().update();
  EXPECT_EQ(p->getPosition(), Vector(12, 12));
  EXPECT_FALSE(p->getFollowPath());
  world().update();
  EXPECT_EQ(p->getPosition(), Vector(12, 12));
}

TEST_F(ObjectTest, AccelerationRaisesTheSpeedEveryStep) {
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
  world().update();
  EXPECT_NEAR(p->getSpeed(), 0.3f, 1e-6);
  // Without acceleration nothing changes, not even the mask.
  auto* q = new Probe("Still", Vector(20, 2));
  q->setModified(0);
  q->applyAcceleration();
  EXPECT_EQ(q->getModified(), 0u);
}

TEST_F(ObjectTest, PathEventHandsOverAFoundPath) {
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
  // Other events are not the base class's business; a bare "tw-path" is refused.
  const tw::EventStep step;
  EXPECT_EQ(p->eventHandler(&step), 0);
  const tw::Event fake = eventOf(tw::PATH_EVENT);
  EXPECT_EQ(p->eventHandler(&fake), 0);
  EXPECT_TRUE(log.contains("Object::eventHandler(): Error! Dynamic cast to EventPath failed."));
}

TEST_F(ObjectTest, SpriteFitsTheBoxAndAnUnknownLabelChangesNothing) {
  auto* p = new Probe;
  EXPECT_EQ(p->setSprite("nothing"), -1);
  EXPECT_TRUE(log.contains("Object::setSprite(): Warning! Sprite 'nothing' not found"));
  EXPECT_EQ(p->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));

  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  tw_test::TempDir dir;
  const std::string file = dir.write("ship.txt", "1\n5\n3\n1\nred\nabcde\nfghij\nklmno\n");
  ASSERT_EQ(resources.loadSprite(file, "ship"), 0);
  EXPECT_EQ(p->setSprite("ship"), 0);
  EXPECT_EQ(p->getBox(), Box(Vector(-2.5f, -1.5f), 5, 3));
  EXPECT_EQ(p->getAnimation().getName(), "ship");
  // The new box is what the grid knows: a neighbour 2 cells right is touched.
  auto* q = new Probe("Neighbour", Vector(p->getPosition().getX() + 2.8f, 1));
  EXPECT_EQ(world().getCollisions(q, q->getPosition()).getCount(), 1);
  world().shutDown();  // objects go before their sprites
  resources.shutDown();
}

TEST(Shape, TypeOutsideTheKnownShapesIsIgnored) {
  tw_test::LogCapture log;
  tw::Shape shape;
  EXPECT_EQ(shape.getType(), tw::CIRCLE);
  EXPECT_FLOAT_EQ(shape.getSize(), 24.0f);
  EXPECT_EQ(shape.getAlpha(), 255);
  EXPECT_EQ(shape.getColor(), tw::WHITE);
  shape.setType(3);
  shape.setType(-2);
  EXPECT_EQ(shape.getType(), tw::CIRCLE);
  EXPECT_TRUE(log.contains("Shape::setType(): Unknown shape type 3. Ignoring."));
  EXPECT_TRUE(log.contains("Shape::setType(): Unknown shape type -2. Ignoring."));
  shape.setType(tw::UNDEFINED_SHAPE);
  EXPECT_EQ(shape.getType(), tw::UNDEFINED_SHAPE);
}
