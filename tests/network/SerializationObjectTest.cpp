// Object records: the exact bytes written, which attributes are selected and
// cleared, and how a record is applied through the setters and scene graph.
#include <climits>

#include "engine/core/Event.h"
#include "engine/core/LiveObjects.h"
#include "engine/core/LogManager.h"
#include "engine/world/Sprite.h"
#include "tests/network/SerializationTest.h"

using tw::Box;
using tw::Object;
using tw::Vector;
using tw_test::Bytes;
using tw_test::describe;
using tw_test::streamOf;
using tw_test::worldProblems;

namespace {
class SerializationObjectTest : public tw_test::SerializationTest {
 protected:
  // Deserialises bytes into o; the stream's state is kept for inspection.
  int apply(Object* o, const std::string& bytes) {
    last = streamOf(bytes);
    return o->deserialize(&last);
  }
  int listeners(const std::string& type) {
    tw::Event e;
    e.setType(type);
    return world().onEvent(&e);
  }
  std::stringstream last;
};

bool listed(const tw::ObjectList& list, const Object* o) {
  for (int i = 0; i < list.getCount(); i++) {
    if (list[i] == o) return true;
  }
  return false;
}
}  // namespace

TEST_F(SerializationObjectTest, FreshObjectWritesAllEighteenFieldsThenNothing) {
  auto* o = new Object;
  std::stringstream ss;
  EXPECT_EQ(o->serialize(&ss), 0);
  Bytes expected;
  expected.u32(0x3FFFF).i32(o->getId()).b(true).b(true).i32(0);  // to the (empty) events
  expected.vec(-0.5f, -0.5f).f32(0.99f).f32(0.99f).vec(1, 1);    // box, position
  expected.str("(Undefined)").str("").i32(0).i32(0);              // type, animation
  expected.i32(2).i32(tw::HARD).b(false);                        // altitude, solidness, no_soft
  expected.vec(0, 0).f32(0).vec(0, 0);                           // direction, speed, acceleration
  expected.i32(tw::UNDEFINED_SHAPE).f32(24).i32(tw::WHITE).byte(255);  // shape
  expected.b(false).u64(0).b(false);  // follow_path, empty path, avoid_collisions
  EXPECT_EQ(ss.str(), expected.get());
  EXPECT_EQ(ss.str().size(), 125u);
  EXPECT_EQ(o->getModified(), 0u);

  std::stringstream again;
  EXPECT_EQ(o->serialize(&again), 0);
  EXPECT_EQ(again.str(), std::string(4, '\0'));
}

TEST_F(SerializationObjectTest, ExplicitAttributesAreWrittenWhateverIsModified) {
  auto* o = new Object;
  o->setPosition(Vector(3, 4));
  o->setModified(0);
  std::stringstream position;
  EXPECT_EQ(o->serialize(&position, tw::POSITION), 0);
  EXPECT_EQ(position.str(), Bytes().u32(0x20).vec(3, 4).get());

  o->setModified(0x3FFFF);
  std::stringstream again;
  EXPECT_EQ(o->serialize(&again, tw::POSITION), 0);
  EXPECT_EQ(again.str(), position.str());
  EXPECT_EQ(o->getModified(), 0x3FFFFu & ~0x20u);
}

TEST_F(SerializationObjectTest, DirectionPrecedesSpeedAndFollowPathPrecedesPath) {
  auto* o = new Object;
  o->setVelocity(Vector(3, 4));
  tw::Path path;
  path.addWaypoint(Vector(7, 8));
  o->setPath(path);
  std::stringstream ss;
  EXPECT_EQ(o->serialize(&ss, tw::SPEED | tw::DIRECTION | tw::PATH | tw::FOLLOW_PATH), 0);
  const Vector d = o->getDirection();
  EXPECT_EQ(ss.str(),
            Bytes().u32(0x19800).vec(d.getX(), d.getY()).f32(5).b(false).u64(1).vec(7, 8).get());
}

TEST_F(SerializationObjectTest, TypeIsACountOfEightBytesAndTheCharacters) {
  auto* o = new Object;
  o->setType("Bullet");
  std::stringstream ss;
  EXPECT_EQ(o->serialize(&ss, tw::TYPE), 0);
  EXPECT_EQ(ss.str(), std::string("\x40\0\0\0\x06\0\0\0\0\0\0\0Bullet", 18));

  auto* copy = new Object;
  EXPECT_EQ(copy->deserialize(&ss), 0);
  EXPECT_EQ(copy->getType(), "Bullet");
  EXPECT_TRUE(listed(graph().objectsOfType("Bullet"), copy));
}

TEST_F(SerializationObjectTest, UnknownAttributesAreNeitherMaskedNorWritten) {
  auto* o = new Object;
  std::stringstream ss;
  EXPECT_EQ(o->serialize(&ss, tw::POSITION | tw::VALUE), 0);
  EXPECT_EQ(ss.str(), Bytes().u32(0x20).vec(1, 1).get());
  EXPECT_TRUE(logged(
      "Object::serialize(): Warning! Unknown attributes 00000000000001000000000000000000 not "
      "written."));
}

TEST_F(SerializationObjectTest, DeserialisedIdRaisesTheIdCounter) {
  auto* o = new Object;
  unsigned int mask = 0;
  last = streamOf(Bytes().u32(tw::ID).i32(57).get());
  EXPECT_EQ(o->deserialize(&last, &mask), 0);
  EXPECT_EQ(mask, tw::ID);
  EXPECT_EQ(o->getId(), 57);
  EXPECT_TRUE(tw::LiveObjects::isAlive(o, 57));
  EXPECT_GE((new Object)->getId(), 58);

  // A lower id is taken without lowering the counter.
  auto* low = new Object;
  EXPECT_EQ(apply(low, Bytes().u32(tw::ID).i32(3).get()), 0);
  EXPECT_EQ(low->getId(), 3);
  EXPECT_GE((new Object)->getId(), 60);

  // The largest int leaves the counter no room above it.
  EXPECT_EQ(apply(low, Bytes().u32(tw::ID).i32(INT_MAX).get()), 0);
  EXPECT_EQ(low->getId(), 3);
  EXPECT_TRUE(
      logged("Object::deserialize(): Error! Id 2147483647 leaves no room for later ids. Ignored."));
}

TEST_F(SerializationObjectTest, RefusedValuesAreSkippedAndTheRestApplied) {
  auto* o = new Object;
  const std::string record = Bytes()
                                 .u32(tw::POSITION | tw::ALTITUDE | tw::SOLIDNESS | tw::NO_SOFT)
                                 .vec(5, 6)
                                 .i32(9)
                                 .i32(7)
                                 .b(true)
                                 .get();
  EXPECT_EQ(apply(o, record), 0);  // read whole: applied except the refused values
  EXPECT_TRUE(logged("Object::setAltitude(): Altitude 9 not in range [0,4].  Ignored."));
  EXPECT_TRUE(logged("Object::setSolidness(): Solidness 7 not one of HARD, SOFT or SPECTRAL."));
  EXPECT_TRUE(last.good());
  EXPECT_EQ(o->getAltitude(), 2);
  EXPECT_EQ(o->getSolidness(), tw::HARD);
  EXPECT_EQ(o->getPosition(), Vector(5, 6));
  EXPECT_TRUE(o->getNoSoft());
  EXPECT_EQ(o->getModified(), 0u);
  EXPECT_EQ(worldProblems(), "");

  EXPECT_EQ(apply(o, Bytes().u32(tw::SOLIDNESS).i32(-5).get()), 0);
  EXPECT_TRUE(logged("Object::setSolidness(): Solidness -5 not one of HARD, SOFT or SPECTRAL."));
}

TEST_F(SerializationObjectTest, EmptyStreamIsReportedAsEof) {
  auto* o = new Object;
  const std::string before = describe(*o);
  EXPECT_EQ(apply(o, ""), -1);
  EXPECT_TRUE(logged("Object::deserialize(): Error! Stream eof."));
  EXPECT_EQ(describe(*o), before);
  EXPECT_EQ(o->deserialize(nullptr), -1);
  EXPECT_TRUE(logged("Object::deserialize(): Error! Stream is NULL."));
}

TEST_F(SerializationObjectTest, ActivityVisibilityAltitudeAndSolidnessGoThroughTheSceneGraph) {
  auto* o = new Object;
  EXPECT_EQ(apply(o, Bytes()
                         .u32(tw::VISIBLE | tw::ALTITUDE | tw::SOLIDNESS)
                         .b(false)
                         .i32(3)
                         .i32(tw::SPECTRAL)
                         .get()),
            0);
  EXPECT_FALSE(o->isVisible());
  EXPECT_FALSE(listed(graph().visibleObjects(2), o));
  EXPECT_FALSE(listed(graph().visibleObjects(3), o));
  EXPECT_FALSE(listed(graph().solidObjects(), o));
  EXPECT_EQ(worldProblems(), "");

  EXPECT_EQ(apply(o, Bytes().u32(tw::VISIBLE | tw::SOLIDNESS).b(true).i32(tw::SOFT).get()), 0);
  EXPECT_TRUE(listed(graph().visibleObjects(3), o));
  EXPECT_TRUE(listed(graph().solidObjects(), o));
  EXPECT_EQ(worldProblems(), "");

  EXPECT_EQ(apply(o, Bytes().u32(tw::ACTIVE | tw::POSITION).b(false).vec(30, 10).get()), 0);
  EXPECT_TRUE(listed(graph().inactiveObjects(), o));
  EXPECT_FALSE(listed(graph().activeObjects(), o));
  EXPECT_EQ(worldProblems(), "");
}

TEST_F(SerializationObjectTest, SpriteIsFoundAgainByNameAndKeepsTheFrame) {
  auto* o = new Object;
  EXPECT_EQ(apply(o, Bytes().u32(tw::ANIMATION).str("good").i32(1).i32(2).get()), 0);
  const tw::Animation a = o->getAnimation();
  EXPECT_EQ(a.getSprite(), tw::ResourceManager::getInstance().getSprite("good"));
  EXPECT_EQ(a.getIndex(), 1);
  EXPECT_EQ(a.getSlowdownCount(), 2);
  EXPECT_EQ(o->getBox(), Box(Vector(-1.5f, -1), 3, 2));

  // The record's own box wins over the sprite's fit.
  EXPECT_EQ(apply(o, Bytes()
                         .u32(tw::BOX | tw::ANIMATION)
                         .vec(-1, -1)
                         .f32(2)
                         .f32(2)
                         .str("robust")
                         .i32(0)
                         .i32(0)
                         .get()),
            0);
  EXPECT_EQ(o->getAnimation().getSprite(), tw::ResourceManager::getInstance().getSprite("robust"));
  EXPECT_EQ(o->getBox(), Box(Vector(-1, -1), 2, 2));

  // So does a box of the object's own that no sprite fitted.
  EXPECT_EQ(apply(o, Bytes().u32(tw::ANIMATION).str("good").i32(0).i32(0).get()), 0);
  EXPECT_EQ(o->getAnimation().getSprite(), tw::ResourceManager::getInstance().getSprite("good"));
  EXPECT_EQ(o->getBox(), Box(Vector(-1, -1), 2, 2));
  EXPECT_EQ(worldProblems(), "");
}

TEST_F(SerializationObjectTest, UnknownSpriteKeepsTheName) {
  auto* o = new Object;
  o->setSprite("good");
  EXPECT_EQ(
      apply(o, Bytes().u32(tw::ANIMATION | tw::TYPE).str("Ghost").str("ghost").i32(0).i32(0).get()),
      0);
  EXPECT_TRUE(logged("Object::setSprite(): Warning! Sprite 'ghost' not found"));
  EXPECT_EQ(o->getAnimation().getSprite(), nullptr);
  EXPECT_EQ(o->getAnimation().getName(), "ghost");
  EXPECT_EQ(o->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  EXPECT_EQ(o->getType(), "Ghost");
}

TEST_F(SerializationObjectTest, EventsReplaceTheCurrentInterests) {
  auto* o = new Object;
  ASSERT_EQ(o->registerInterest("custom-a"), 0);
  ASSERT_EQ(o->registerInterest("custom-b"), 0);
  EXPECT_EQ(
      apply(
          o,
          Bytes().u32(tw::EVENTS).i32(3).str("custom-c").str("tw-collision").str("custom-b").get()),
      0);
  EXPECT_TRUE(logged("Object::deserialize(): Error! Register interest: tw-collision"));
  ASSERT_EQ(o->getEventCount(), 2);
  EXPECT_EQ(o->getEventName(0), "custom-c");
  EXPECT_EQ(o->getEventName(1), "custom-b");
  EXPECT_EQ(listeners("custom-a"), 0);
  EXPECT_EQ(listeners("custom-b"), 1);
  EXPECT_EQ(listeners("custom-c"), 1);
}

TEST_F(SerializationObjectTest, AttributesAreTracedAtLevelTwentyFive) {
  tw::LogManager::getInstance().setLogLevel(25);
  auto* o = new Object;
  o->setType("Bullet");
  std::stringstream ss;
  ASSERT_EQ(o->serialize(&ss, tw::TYPE | tw::ALTITUDE), 0);
  auto* copy = new Object;
  ASSERT_EQ(copy->deserialize(&ss), 0);
  for (const char* line : {"Object::serialize(): attr is 320, modified is 262143 (true)",
                           "\t00000000000000000000000101000000", "\tTYPE: Bullet", "\tALTITUDE: 2",
                           "Object::deserialize(): attr 320 (00000000000000000000000101000000)",
                           "Object::deserialize(): done checking all types."}) {
    EXPECT_TRUE(logged(line)) << line;
  }
}
