// Broken records: the corpus under tests/data/records, every truncation of a
// full record, and random or mutated bytes. None may crash, allocate from a
// count the stream cannot back, or leave the scene graph inconsistent; a
// record that cannot be read to its end must change nothing.
#include <cstdlib>
#include <random>

#include "engine/world/Sprite.h"
#include "tests/network/SerializationTest.h"

using tw::Object;
using tw::Vector;
using tw::ViewObject;
using tw_test::Bytes;
using tw_test::describe;
using tw_test::streamOf;
using tw_test::worldProblems;

namespace {
struct Broken {
  const char* file;
  bool view;            // read by a view object rather than a plain object
  bool readable;        // read to its end, only some value refused
  const char* message;  // a line the log must hold
};

const Broken CORPUS[] = {
    {"object-type-huge-count.bin", false, false,
     "Object::deserialize(): Error! Cannot allocate 1152921504606846976 bytes."},
    {"object-type-count-past-end.bin", false, false,
     "Object::deserialize(): Error! Cannot allocate 10 bytes."},
    {"object-events-huge-count.bin", false, false,
     "Object::deserialize(): Error! Event count 2147483647 not in range [0,100]."},
    {"object-events-negative-count.bin", false, false,
     "Object::deserialize(): Error! Event count -3 not in range [0,100]."},
    {"object-events-count-past-end.bin", false, false,
     "Object::deserialize(): Error! Event count 40 not in range [0,100]."},
    {"object-event-huge-string.bin", false, false,
     "Object::deserialize(): Error! Cannot allocate 1152921504606846976 bytes."},
    {"object-animation-huge-name.bin", false, false,
     "Animation::deserialize(): Error! Cannot allocate 1152921504606846976 bytes."},
    {"object-animation-index-overflow.bin", false, false,
     "Animation::deserialize(): Error! Frame index 2147483647 or slowdown count 0 out of range."},
    {"object-path-huge-count.bin", false, false,
     "Path::deserialize(): Error! Cannot allocate 1152921504606846976 waypoints."},
    {"object-unknown-bit.bin", false, false,
     "Object::deserialize(): Error! Unknown attributes in mask 10000000000000000000000000100000."},
    {"object-with-view-bits.bin", false, false,
     "Object::deserialize(): Error! Unknown attributes in mask 00000000000001000000000000100000."},
    {"object-truncated-box.bin", false, false, "Box::deserialize(): Error! Stream eof."},
    {"view-string-huge-count.bin", true, false,
     "ViewObject::deserialize(): Error! Cannot allocate 1152921504606846976 bytes."},
    {"view-unknown-bit.bin", true, false,
     "ViewObject::deserialize(): Error calling Object::deserialize()."},
    {"object-altitude-nine.bin", false, true,
     "Object::setAltitude(): Altitude 9 not in range [0,4].  Ignored."},
    {"object-altitude-negative.bin", false, true,
     "Object::setAltitude(): Altitude -1 not in range [0,4].  Ignored."},
    {"object-solidness-seven.bin", false, true,
     "Object::setSolidness(): Solidness 7 not one of HARD, SOFT or SPECTRAL."},
    {"object-shape-type-nine.bin", false, true,
     "Shape::setType(): Unknown shape type 9. Ignoring."},
    {"object-id-max.bin", false, true,
     "Object::deserialize(): Error! Id 2147483647 leaves no room for later ids. Ignored."},
    {"view-location-twelve.bin", true, true,
     "ViewObject::setLocation(): Warning! Location out of range (12). Ignored."},
};

std::string recordFile(const std::string& name) {
  const char* data = std::getenv("TW_TEST_DATA");
  return tw_test::readFile(std::string(data != nullptr ? data : ".") + "/records/" + name);
}

std::string describeAny(const Object* o) {
  const auto* v = dynamic_cast<const ViewObject*>(o);
  return v != nullptr ? describe(*v) : describe(*o);
}

class SerializationCorpusTest : public tw_test::SerializationTest {
 protected:
  // An object with every attribute away from its default.
  Object* richObject() {
    auto* o = new Object;
    dress(o);
    return o;
  }
  ViewObject* richView() {
    auto* v = new ViewObject;
    dress(v);
    v->setViewString("Lives");
    v->setValue(-3);
    v->setColor(tw::CYAN);
    v->setLocation(tw::CENTER_LEFT);
    return v;
  }
  void dress(Object* o) {
    o->setType("Runner");
    o->setSprite("good");
    o->setPosition(Vector(10, 5));
    o->setVelocity(Vector(1, -0.5f));
    o->setAcceleration(Vector(0, 0.1f));
    o->setAltitude(3);
    o->setSolidness(tw::SOFT);
    o->setNoSoft(true);
    o->registerInterest("custom-a");
    o->registerInterest("tw-step");
    tw::Shape shape;
    shape.setType(tw::SQUARE);
    o->setShape(shape);
    tw::Path path;
    path.addWaypoint(Vector(12, 5));
    path.addWaypoint(Vector(14, 6));
    o->setPath(path);
    o->setFollowPath(true);
    o->setAvoidCollisions(true);
  }
  std::string recordOf(Object* o) {
    std::stringstream ss;
    EXPECT_EQ(o->serialize(&ss), 0);
    return ss.str();
  }
  // Every proper prefix of the record fails and changes nothing; the whole
  // record then makes the target a copy of the source.
  void checkTruncations(Object* source, Object* target) {
    const std::string record = recordOf(source);
    const std::string before = describeAny(target);
    for (size_t length = 0; length < record.size(); length++) {
      std::stringstream ss = streamOf(record.substr(0, length));
      ASSERT_EQ(target->deserialize(&ss), -1) << "length " << length;
      ASSERT_TRUE(ss.fail()) << "length " << length;
      ASSERT_EQ(describeAny(target), before) << "length " << length;
    }
    std::stringstream whole = streamOf(record);
    EXPECT_EQ(target->deserialize(&whole), 0);
    target->setModified(0);
    EXPECT_EQ(describeAny(target), describeAny(source));
    EXPECT_EQ(worldProblems(), "");
  }
};
}  // namespace

TEST_F(SerializationCorpusTest, UnreadableRecordsChangeNothing) {
  for (const Broken& broken : CORPUS) {
    if (broken.readable) continue;
    Object* target = broken.view ? new ViewObject : new Object;
    const std::string before = describeAny(target);
    std::stringstream ss = streamOf(recordFile(broken.file));
    EXPECT_EQ(target->deserialize(&ss), -1) << broken.file;
    EXPECT_TRUE(ss.fail()) << broken.file;
    EXPECT_TRUE(logged(broken.message)) << broken.file;
    EXPECT_EQ(describeAny(target), before) << broken.file;
  }
  EXPECT_EQ(worldProblems(), "");
}

// Read whole, so applied (and 0) except for the value a setter refused.
TEST_F(SerializationCorpusTest, RefusedValuesGiveZeroAndLeaveTheWorldSound) {
  for (const Broken& broken : CORPUS) {
    if (!broken.readable) continue;
    Object* target = broken.view ? new ViewObject : new Object;
    std::stringstream ss = streamOf(recordFile(broken.file));
    EXPECT_EQ(target->deserialize(&ss), 0) << broken.file;
    EXPECT_TRUE(ss.good()) << broken.file;
    EXPECT_TRUE(logged(broken.message)) << broken.file;
    EXPECT_EQ(worldProblems(), "") << broken.file;
  }
}

TEST_F(SerializationCorpusTest, EveryTruncationOfAnObjectRecordFailsCleanly) {
  checkTruncations(richObject(), new Object);
}

TEST_F(SerializationCorpusTest, EveryTruncationOfAViewRecordFailsCleanly) {
  checkTruncations(richView(), new ViewObject);
}

TEST_F(SerializationCorpusTest, RandomAndMutatedBytesFailCleanly) {
  std::mt19937 rng(20261206);
  auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::string valid[] = {recordOf(richObject()), recordOf(richView())};
  std::vector<std::string> samples;
  for (int k = 1; k <= 4; k++) {
    samples.push_back(recordFile("random-" + std::to_string(k) + ".bin"));
    samples.push_back(recordFile("random-masked-" + std::to_string(k) + ".bin"));
  }
  for (int i = 0; i < 600; i++) {
    std::string bytes;
    if (i % 3 == 0) {
      for (int n = below(120); n > 0; n--) bytes += static_cast<char>(rng());
    } else if (i % 3 == 1) {
      bytes = Bytes().u32(rng() & 0xFFFFFu).get();
      for (int n = below(120); n > 0; n--) bytes += static_cast<char>(rng());
    } else {
      bytes = valid[below(2)];
      for (int n = 1 + below(3); n > 0; n--) {
        bytes[below(static_cast<int>(bytes.size()))] = static_cast<char>(rng());
      }
    }
    if (i < static_cast<int>(samples.size())) bytes = samples[i];
    Object* target = (i % 2 == 0) ? new Object : new ViewObject;
    const std::string before = describeAny(target);
    std::stringstream ss = streamOf(bytes);
    const int result = target->deserialize(&ss);
    ASSERT_TRUE(result == 0 || result == -1) << "sample " << i;
    if (ss.fail()) {
      ASSERT_EQ(result, -1) << "sample " << i;
      ASSERT_EQ(describeAny(target), before) << "sample " << i;
    }
    if (i % 25 == 0) {
      ASSERT_EQ(worldProblems(), "") << "sample " << i;
    }
  }
  EXPECT_EQ(worldProblems(), "");
}
