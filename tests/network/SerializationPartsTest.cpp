// The records of the value types an object is made of: Vector, Box,
// Animation, Shape and Path.
#include "engine/world/Sprite.h"
#include "tests/network/SerializationTest.h"

using tw::Animation;
using tw::Box;
using tw::Path;
using tw::Shape;
using tw::Vector;
using tw_test::Bytes;
using tw_test::streamOf;

namespace {
class SerializationPartsTest : public tw_test::SerializationTest {};

tw::Sprite* sprite(const std::string& label) {
  return tw::ResourceManager::getInstance().getSprite(label);
}
}  // namespace

TEST_F(SerializationPartsTest, VectorAndBoxWriteTheirFloatsInFieldOrder) {
  std::stringstream ss;
  EXPECT_EQ(Vector(1.5f, -2).serialize(&ss), 0);
  EXPECT_EQ(Box(Vector(1, 2), 3.25f, 4).serialize(&ss), 0);
  EXPECT_EQ(ss.str(), Bytes().vec(1.5f, -2).vec(1, 2).f32(3.25f).f32(4).get());
  Vector v;
  Box b;
  EXPECT_EQ(v.deserialize(&ss), 0);
  EXPECT_EQ(b.deserialize(&ss), 0);
  EXPECT_EQ(v, Vector(1.5f, -2));
  EXPECT_EQ(b, Box(Vector(1, 2), 3.25f, 4));
}

TEST_F(SerializationPartsTest, ShortVectorOrBoxRecordChangesNothing) {
  Vector v(7, 8);
  std::stringstream short_vector = streamOf(Bytes().f32(1).byte(0).get());
  EXPECT_EQ(v.deserialize(&short_vector), -1);
  EXPECT_EQ(v, Vector(7, 8));
  EXPECT_TRUE(logged("Vector::deserialize(): Error! Stream eof."));

  const Box before(Vector(1, 1), 2, 2);
  Box b = before;
  std::stringstream short_box = streamOf(Bytes().vec(5, 5).f32(9).get());
  EXPECT_EQ(b.deserialize(&short_box), -1);
  EXPECT_EQ(b, before);
  EXPECT_TRUE(logged("Box::deserialize(): Error! Stream eof."));
}

TEST_F(SerializationPartsTest, EveryPartReportsAFailedStreamUnderItsOwnName) {
  std::stringstream ss;
  ss.setstate(std::ios::failbit);
  EXPECT_EQ(Vector().serialize(&ss), -1);
  EXPECT_EQ(Box().serialize(&ss), -1);
  EXPECT_EQ(Animation().serialize(&ss), -1);
  EXPECT_EQ(Shape().serialize(&ss), -1);
  EXPECT_EQ(Path().serialize(&ss), -1);
  EXPECT_EQ(Vector().serialize(nullptr), -1);
  for (const char* name : {"Vector", "Box", "Animation", "Shape", "Path"}) {
    EXPECT_TRUE(logged(std::string(name) + "::serialize(): Error! Stream fail.")) << name;
  }
  EXPECT_TRUE(logged("Vector::serialize(): Error! Stream is NULL."));
}

TEST_F(SerializationPartsTest, AnimationTravelsByNameWithoutItsSprite) {
  Animation a;
  a.setSprite(sprite("good"));
  a.setIndex(1);
  a.setSlowdownCount(3);
  std::stringstream ss;
  EXPECT_EQ(a.serialize(&ss), 0);
  EXPECT_EQ(ss.str(), Bytes().str("good").i32(1).i32(3).get());

  Animation read;
  read.setSprite(sprite("robust"));
  EXPECT_EQ(read.deserialize(&ss), 0);
  EXPECT_EQ(read.getSprite(), nullptr);
  EXPECT_EQ(read.getName(), "good");
  EXPECT_EQ(read.getIndex(), 1);
  EXPECT_EQ(read.getSlowdownCount(), 3);
}

TEST_F(SerializationPartsTest, AnimationNameEndsAtItsFirstZeroAndShortRecordsChangeNothing) {
  Animation a;
  std::stringstream zero = streamOf(Bytes().str(std::string("ab\0cd", 5)).i32(0).i32(-1).get());
  EXPECT_EQ(a.deserialize(&zero), 0);
  EXPECT_EQ(a.getName(), "ab");
  EXPECT_EQ(a.getSlowdownCount(), -1);

  a.setSprite(sprite("good"));
  std::stringstream cut = streamOf(Bytes().str("robust").i32(1).get());
  EXPECT_EQ(a.deserialize(&cut), -1);
  EXPECT_TRUE(logged("Animation::deserialize(): Error! Stream eof."));
  EXPECT_EQ(a.getSprite(), sprite("good"));
  EXPECT_EQ(a.getName(), "good");
}

TEST_F(SerializationPartsTest, ShapeWritesTypeSizeColourAndAlphaButNoChannels) {
  Shape s;
  s.setType(tw::SQUARE);
  s.setSize(7.5f);
  s.setColor(tw::RED);
  s.setAlpha(128);
  s.setR(9);
  std::stringstream ss;
  EXPECT_EQ(s.serialize(&ss), 0);
  EXPECT_EQ(ss.str(), Bytes().i32(1).f32(7.5f).i32(1).byte(128).get());
  EXPECT_EQ(ss.str().size(), 13u);

  Shape read;
  EXPECT_EQ(read.deserialize(&ss), 0);
  EXPECT_EQ(read.getType(), tw::SQUARE);
  EXPECT_EQ(read.getSize(), 7.5f);
  EXPECT_EQ(read.getColor(), tw::RED);
  EXPECT_EQ(read.getAlpha(), 128);
  EXPECT_EQ(read.getR(), 0);
}

TEST_F(SerializationPartsTest, ShapeWithUnknownTypeKeepsItsTypeAndTakesTheRest) {
  Shape s;
  s.setType(tw::TRIANGLE);
  std::stringstream ss = streamOf(Bytes().i32(7).f32(3).i32(tw::GREEN).byte(9).get());
  EXPECT_EQ(s.deserialize(&ss), -1);
  EXPECT_TRUE(logged("Shape::setType(): Unknown shape type 7. Ignoring."));
  EXPECT_TRUE(ss.good());
  EXPECT_EQ(s.getType(), tw::TRIANGLE);
  EXPECT_EQ(s.getSize(), 3.0f);
  EXPECT_EQ(s.getColor(), tw::GREEN);
  EXPECT_EQ(s.getAlpha(), 9);

  std::stringstream short_shape = streamOf(Bytes().i32(0).f32(3).i32(1).get());
  EXPECT_EQ(s.deserialize(&short_shape), -1);
  EXPECT_EQ(s.getColor(), tw::GREEN);
  EXPECT_TRUE(logged("Shape::deserialize(): Error! Stream eof."));
}

TEST_F(SerializationPartsTest, ShapeTextNamesTypeSizeColourAndAlpha) {
  EXPECT_EQ(Shape().toString(), "circle, size 24.000000, White, 255");
  Shape s;
  s.setType(tw::UNDEFINED_SHAPE);
  s.setSize(7.5f);
  s.setColor(tw::RED);
  s.setAlpha(0);
  EXPECT_EQ(s.toString(), "undefined, size 7.500000, Red, 0");
}

TEST_F(SerializationPartsTest, PathWritesItsWaypointsButNotItsIndex) {
  Path p;
  p.addWaypoint(Vector(1, 2));
  p.addWaypoint(Vector(3, 4));
  p.next();
  std::stringstream ss;
  EXPECT_EQ(p.serialize(&ss), 0);
  EXPECT_EQ(ss.str(), Bytes().u64(2).vec(1, 2).vec(3, 4).get());

  // The index stays where it was, but never beyond the new waypoints.
  Path three;
  for (int i = 0; i < 3; i++) three.addWaypoint(Vector(9, 9));
  three.next();
  std::stringstream again = streamOf(ss.str());
  EXPECT_EQ(three.deserialize(&again), 0);
  EXPECT_EQ(three.toString(), "(1,2)|(3,4)|");
  EXPECT_EQ(three.getIndex(), 1);
  three.next();
  three.next();
  Path one_left = three;
  std::stringstream single = streamOf(Bytes().u64(1).vec(5, 5).get());
  EXPECT_EQ(one_left.deserialize(&single), 0);
  EXPECT_EQ(one_left.getIndex(), 1);
  EXPECT_TRUE(one_left.isDone());
}

TEST_F(SerializationPartsTest, PathRefusesACountTheStreamCannotHold) {
  Path p;
  p.addWaypoint(Vector(1, 1));
  std::stringstream short_path = streamOf(Bytes().u64(3).vec(2, 2).vec(3, 3).get());
  EXPECT_EQ(p.deserialize(&short_path), -1);
  EXPECT_TRUE(logged("Path::deserialize(): Error! Cannot allocate 3 waypoints."));
  EXPECT_EQ(p.toString(), "(1,1)|");
}
