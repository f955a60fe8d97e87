// Object records: the bytes every part and object writes, how a record is
// applied, random objects sent whole and as changes, and broken records (the
// corpus of tests/data/records, listed with what each must do in cases.txt;
// truncated records, random and mutated bytes).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/RepeatedLog.h"
#include "engine/core/LiveObjects.h"
#include "engine/display/ViewObject.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/SceneGraph.h"
#include "engine/world/Sprite.h"
#include "tests/support/WorldIndex.h"

using namespace tw;

namespace {
// Record bytes built by hand, in the machine's byte order.
struct Bytes {
  template <typename T>
  Bytes& raw(T v) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &v, sizeof(T));
    data.append(bytes, sizeof(T));
    return *this;
  }
  Bytes& i32(std::int32_t v) { return raw(v); }
  Bytes& u32(std::uint32_t v) { return raw(v); }
  Bytes& f32(float v) { return raw(v); }
  Bytes& u64(std::uint64_t v) { return raw(v); }
  Bytes& byte(int v) { return raw(static_cast<char>(v)); }
  Bytes& vec(float x, float y) { return f32(x).f32(y); }
  Bytes& vec(Vector v) { return vec(v.getX(), v.getY()); }
  Bytes& str(const std::string& s) {
    u64(s.size()).data += s;
    return *this;
  }
  operator std::string() const { return data; }
  std::string data;
};

std::stringstream streamOf(const std::string& bytes) {
  return std::stringstream(bytes, std::ios::in | std::ios::out | std::ios::binary);
}

template <typename T>
std::string bytesOf(const T& part) {
  std::stringstream ss;
  EXPECT_EQ(part.serialize(&ss), 0);
  return ss.str();
}

std::string recordOf(Object* o, unsigned int attr = 0) {
  std::stringstream ss;
  EXPECT_EQ(o->serialize(&ss, attr), 0);
  return ss.str();
}

std::string dataFile(const std::string& name) { return tw_test::dataPath(name); }

// Every attribute of an object: its full record (the last test checks the
// writer) and its sprite, path index and modified bits, which no record holds.
// Without exact_direction the direction is left out: normalising a normalised
// vector again may move its last bit.
std::string describe(Object& o, bool exact_direction = true) {
  const unsigned int modified = o.getModified();
  const unsigned int all = dynamic_cast<ViewObject*>(&o) != nullptr ? 0xFFFFF : 0x3FFFF;
  const std::string record = recordOf(&o, exact_direction ? all : all & ~DIRECTION);
  o.setModified(modified);
  const Sprite* sprite = o.getAnimation().getSprite();
  return record + (sprite != nullptr ? sprite->getLabel() : "-") + " " +
         std::to_string(o.getPath().getIndex()) + " " + std::to_string(modified);
}

// The attributes the broken records of the corpus touch, as text.
std::string summary(const Object& o) {
  std::string text = "position " + o.getPosition().toString() + " altitude " +
                     std::to_string(o.getAltitude()) + " " + toString(o.getSolidness()) +
                     " no_soft " + std::to_string(o.getNoSoft()) + " shape " +
                     o.getShape().toString() + " path " + o.getPath().toString() + " events";
  for (int i = 0; i < o.getEventCount(); i++) text += " " + o.getEventName(i);
  if (const auto* v = dynamic_cast<const ViewObject*>(&o)) text += " view " + v->getViewString();
  return text;
}

// Objects and view objects with random attributes, and random changes to them
// through the setters (which mark what they change). Fixed seed: failures repeat.
struct Random {
  std::mt19937 rng{424242};
  float real(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
  int integer(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool coin() { return integer(0, 1) == 1; }
  Vector vec(float lo, float hi) { return Vector(real(lo, hi), real(lo, hi)); }
  std::string word() {
    std::string w;
    for (int n = integer(0, 12); n > 0; n--) w += static_cast<char>(integer(32, 126));
    return w;
  }
  Shape shape() {
    Shape s;
    s.setType(integer(-1, 2));
    s.setSize(real(1, 40));
    s.setColor(static_cast<Color>(integer(0, 8)));
    s.setAlpha(static_cast<std::uint8_t>(integer(0, 255)));
    return s;
  }
  Path path() {
    Path p;
    for (int n = integer(0, 4); n > 0; n--) p.addWaypoint(vec(0, 20));
    return p;
  }
  void animate(Object* o, bool frame) {
    Animation a = o->getAnimation();
    if (frame) a.setIndex(integer(0, 1));
    a.setSlowdownCount(integer(-1, 3));
    o->setAnimation(a, false);
  }
  Object* object(bool is_view) {
    auto* view = is_view ? new ViewObject : nullptr;
    Object* o = view != nullptr ? view : new Object;
    o->setType(word());
    if (const int choice = integer(0, 2)) {
      o->setSprite(choice == 1 ? "good" : "robust");
      animate(o, true);
    }
    if (coin()) o->setBox(Box(vec(-3, 0), real(0.5f, 6), real(0.5f, 6)));
    o->setPosition(Vector(real(-10, 90), real(-5, 30)));
    o->setVelocity(vec(-2, 2));
    o->setAcceleration(vec(-0.5f, 0.5f));
    o->setAltitude(integer(0, 4));
    o->setSolidness(static_cast<Solidness>(integer(0, 2)));
    o->setNoSoft(coin());
    o->setAvoidCollisions(coin());
    for (const char* e : {"tw-step", "tw-keyboard", "tw-mouse", "custom-a", "custom-b"}) {
      if (coin()) o->registerInterest(e);
    }
    o->setShape(shape());
    o->setPath(path());
    o->setFollowPath(coin());
    o->setVisible(coin());
    o->setActive(integer(0, 3) != 0);
    if (view != nullptr) {
      view->setViewString(word());
      view->setValue(integer(-1000, 1000));
      view->setBorder(coin());
      view->setColor(static_cast<Color>(integer(0, 8)));
      if (coin()) view->setLocation(integer(0, 8));
      view->setDrawValue(coin());
    }
    return o;
  }
  void change(Object* o) {
    if (coin()) o->setPosition(vec(0, 40));
    if (coin()) o->setType(word());
    if (coin()) o->setAltitude(integer(0, 4));
    if (coin()) o->setSolidness(static_cast<Solidness>(integer(0, 2)));
    if (coin()) o->setShape(shape());
    if (coin()) o->setPath(path());
    if (coin()) o->setActive(!o->isActive());
    if (coin() && o->getEventCount() > 0) o->unregisterInterest(o->getEventName(0));
    if (coin()) animate(o, false);
    if (auto* view = dynamic_cast<ViewObject*>(o)) {
      view->setValue(integer(-5, 5));
      if (coin()) view->setLocation(integer(0, 8));
    }
  }
};

// A started 80 x 24 world with the sprites "good" and "robust" (3 x 2, two frames).
class SerializationTest : public tw_test::WorldIndex {
 protected:
  void SetUp() override {
    WorldIndex::SetUp();
    ASSERT_EQ(resources().startUp(), 0);
    ASSERT_EQ(resources().loadSprite(dataFile("sprites/good-simple.txt"), "good"), 0);
    ASSERT_EQ(resources().loadSprite(dataFile("sprites/good-robust.txt"), "robust"), 0);
  }
  void TearDown() override {
    WorldIndex::TearDown();
    if (resources().isStarted()) resources().shutDown();
  }
  static ResourceManager& resources() { return ResourceManager::getInstance(); }
  static Object* blank(bool view) { return view ? new ViewObject : new Object; }
  // Deserialises bytes into o; the stream is kept for inspection.
  int apply(Object* o, const std::string& bytes) {
    last = streamOf(bytes);
    return o->deserialize(&last);
  }
  // Empty when every object is in exactly the world's lists (and grid cells)
  // its state asks for.
  static std::string worldProblems() {
    const ObjectList all = world().getAllObjects(true);
    std::string problems;
    for (int i = 0; i < all.getCount(); i++) {
      const Object* o = all[i];
      std::string wanted = o->isActive() ? "active" : "inactive";
      if (o->isActive() && o->isSolid()) wanted += " solid grid";
      if (o->isActive() && o->isVisible()) wanted += " alt" + std::to_string(o->getAltitude());
      if (o->isActive()) wanted += " typed";
      if (lists(o) != wanted) problems += "object " + std::to_string(o->getId()) + ": " + lists(o) + "\n";
    }
    return problems;
  }

  std::stringstream last;
  Random random;
};
}  // namespace

TEST_F(SerializationTest, ExplicitAttributesAndViewRecords) {
  // Explicit attributes are written whatever is modified, and only their bits cleared.
  auto* o = new Object;
  o->setType("Bullet");
  EXPECT_EQ(recordOf(o, TYPE), std::string("\x40\0\0\0\x06\0\0\0\0\0\0\0Bullet", 18));
  EXPECT_EQ(recordOf(o, POSITION | VALUE), Bytes().u32(POSITION).vec(1, 1).data);
  EXPECT_EQ(o->getModified(), 0x3FFFFu & ~(TYPE | POSITION));

  // A view object's record ends in VALUE and APPEARANCE.
  auto* view = new ViewObject;
  const std::string record = recordOf(view);
  const std::string tail = Bytes().i32(0).str("").byte(true).i32(WHITE).i32(TOP_CENTER).byte(true);
  EXPECT_EQ(record.substr(0, 4), Bytes().u32(0xFFFFF).data);
  EXPECT_EQ(record.substr(record.size() - tail.size()), tail);
  view->setValue(5);
  EXPECT_EQ(recordOf(view), Bytes().u32(VALUE).i32(5).data);

  // Asked every step, the warning is written in full once, then counted.
  for (int step = 1; step < 120; step++) recordOf(o, POSITION | APPEARANCE);
  tw::LogManager::getInstance().shutDown();
  const std::vector<std::string> expected = {
      "Object::serialize(): Warning! Unknown attributes 00000000000001000000000000000000 "
      "not written.",
      "Object::serialize(): Warning! 10 records asked to write unknown attributes so far.",
      "Object::serialize(): Warning! 100 records asked to write unknown attributes so far.",
      "LogManager::shutDown(): Note! 120 records asked to write unknown attributes in all."};
  EXPECT_EQ(log.messages(), expected);
}

TEST_F(SerializationTest, UnusualRecordsAreTakenAsTheyCome) {
  auto* o = new Object;  // a name ends at its first zero character
  EXPECT_EQ(apply(o, Bytes().u32(TYPE).str(std::string("ab\0cd", 5))), 0);
  EXPECT_EQ(o->getType(), "ab");

  // An unknown sprite leaves the name, no sprite and the plain box.
  o->setSprite("good");
  EXPECT_EQ(apply(o, Bytes().u32(ANIMATION).str("ghost").i32(0).i32(0)), 0);
  EXPECT_TRUE(log.contains("Object::setSprite(): Warning! Sprite 'ghost' not found"));
  EXPECT_EQ(o->getAnimation().getSprite(), nullptr);
  EXPECT_EQ(o->getAnimation().getName(), "ghost");
  EXPECT_EQ(o->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));

  // A read id raises the id counter but never lowers it.
  EXPECT_EQ(apply(o, Bytes().u32(ID).i32(57)), 0);
  EXPECT_TRUE(LiveObjects::isAlive(o, 57));
  EXPECT_GE((new Object)->getId(), 58);
  EXPECT_EQ(apply(o, Bytes().u32(ID).i32(3)), 0);
  EXPECT_EQ(o->getId(), 3);
  EXPECT_GE((new Object)->getId(), 59);  // not 4
  EXPECT_EQ(o->deserialize(nullptr), -1);
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Stream is NULL."));
}

// tests/data/records/cases.txt lists each broken record with what it must do.
TEST_F(SerializationTest, BrokenRecordsFailOrHaveAValueRefused) {
  int cases = 0;
  for (const std::string& line : tw_test::caseLines("records/cases.txt")) {
    std::vector<std::string> field;
    size_t at = 0;
    for (size_t bar; (bar = line.find(" | ", at)) != std::string::npos; at = bar + 3) {
      field.push_back(line.substr(at, bar - at));
    }
    field.push_back(line.substr(at));
    ASSERT_GE(field.size(), 4u) << line;
    SCOPED_TRACE(field[0]);
    cases++;
    // Each record is the first refused: later ones are only counted.
    tw::RepeatedLog::closeAll("SerializationTest");
    Object* target = blank(field[1] == "view");
    const std::string before = describe(*target);
    const auto logged = static_cast<std::ptrdiff_t>(log.messages().size());
    const bool applied = field[2] == "applied";
    EXPECT_EQ(apply(target, tw_test::readFile(dataFile("records/" + field[0]))), applied ? 0 : -1);
    EXPECT_EQ(last.good(), applied);
    const std::vector<std::string> lines = log.messages();
    EXPECT_NE(std::find(lines.begin() + logged, lines.end(), field[3]), lines.end()) << field[3];
    if (!applied) { EXPECT_EQ(describe(*target), before); }
    for (size_t i = 4; i < field.size(); i++) {
      EXPECT_NE(summary(*target).find(field[i]), std::string::npos) << summary(*target);
    }
    EXPECT_EQ(worldProblems(), "");
  }
  EXPECT_GE(cases, 26);
}

// Every truncation of a full record must fail; the saved random samples,
// random bytes and records with a few bytes changed may also be taken. What
// fails must fail whole, and the world stays sound.
TEST_F(SerializationTest, ShortAndRandomBytesFailCleanly) {
  std::mt19937 rng(20261206);
  auto roll = [&rng](size_t n) { return static_cast<size_t>(rng() % n); };
  for (int i = 0; i < 700; i++) {
    const bool view = i % 2 == 1;
    std::string bytes = recordOf(random.object(view));
    size_t cut = bytes.size();
    if (i < 8) {
      bytes = tw_test::readFile(dataFile("records/random-" + std::string(view ? "masked-" : "") +
                                         std::to_string(i / 2 + 1) + ".bin"));
    } else if (i < 100) {  // must fail: the last 1 to 46 bytes cut, then anywhere
      cut = i < 54 ? bytes.size() - static_cast<size_t>(i - 7) : roll(bytes.size());
    } else if (i % 3 == 0) {
      for (size_t n = 1 + roll(3); n > 0; n--) bytes[roll(bytes.size())] = static_cast<char>(rng());
    } else {  // random bytes, some behind a mask of known bits
      bytes = i % 3 == 1 ? Bytes().u32(rng() & 0xFFFFFu).data : "";
      for (size_t n = roll(120); n > 0; n--) bytes += static_cast<char>(rng());
    }
    Object* target = blank(view);
    const std::string before = describe(*target);
    const int result = apply(target, bytes.substr(0, cut));
    ASSERT_TRUE(result == 0 || result == -1) << "sample " << i;
    if (cut < bytes.size()) { ASSERT_TRUE(last.fail()) << "sample " << i; }
    if (last.fail()) {
      ASSERT_EQ(result, -1) << "sample " << i;
      ASSERT_EQ(describe(*target), before) << "sample " << i;
    }
    if (i % 25 == 0) { ASSERT_EQ(worldProblems(), "") << "sample " << i; }
  }
  EXPECT_EQ(worldProblems(), "");
}

// Random objects and view objects: a full record holds every field in order
// (the bytes expected built from the getters), and a fresh object reading the
// record, then the changes made since, agrees in every attribute.
TEST_F(SerializationTest, RandomObjectsArriveWholeAndAsChanges) {
  for (int i = 0; i < 300; i++) {
    SCOPED_TRACE("object " + std::to_string(i));
    const bool view = i % 2 == 1;
    Object* o = random.object(view);
    Object* copy = blank(view);
    std::string expected;
    if (!view && i < 40) {
      const Box box = o->getBox();
      const Animation a = o->getAnimation();
      const Shape s = o->getShape();
      Bytes e;
      e.u32(0x3FFFF).i32(o->getId()).byte(o->isActive()).byte(o->isVisible());
      e.i32(o->getEventCount());
      for (int k = 0; k < o->getEventCount(); k++) e.str(o->getEventName(k));
      e.vec(box.getCorner()).f32(box.getHorizontal()).f32(box.getVertical()).vec(o->getPosition());
      e.str(o->getType()).str(a.getName()).i32(a.getIndex()).i32(a.getSlowdownCount());
      e.i32(o->getAltitude()).i32(o->getSolidness()).byte(o->getNoSoft());
      e.vec(o->getDirection()).f32(o->getSpeed()).vec(o->getAcceleration());  // direction first
      e.i32(s.getType()).f32(s.getSize()).i32(s.getColor()).byte(s.getAlpha());
      e.byte(o->getFollowPath()).u64(static_cast<std::uint64_t>(o->getPath().getWaypointCount()));
      for (Path p = o->getPath(); !p.isDone(); p.next()) e.vec(p.getCurrent());
      e.byte(o->getAvoidCollisions());
      expected = e.data;
    }
    for (int round = 0; round < 4; round++) {
      SCOPED_TRACE("round " + std::to_string(round));
      if (round > 0) random.change(o);
      std::stringstream ss;
      ASSERT_EQ(o->serialize(&ss), 0);
      if (round == 0 && !expected.empty()) { EXPECT_EQ(ss.str(), expected); }
      ASSERT_EQ(copy->deserialize(&ss), 0);
      ASSERT_EQ(o->getModified(), 0u);
      // View setters mark what they change again; the object part is clear.
      ASSERT_EQ(copy->getModified() & ~(VALUE | APPEARANCE), 0u);
      copy->setModified(0);
      ASSERT_EQ(describe(*copy, false), describe(*o, false));
      ASSERT_NEAR(copy->getDirection().getX(), o->getDirection().getX(), 1e-6);
      ASSERT_NEAR(copy->getDirection().getY(), o->getDirection().getY(), 1e-6);
    }
    if (i % 10 == 0) { ASSERT_EQ(worldProblems(), "") << "object " << i; }
  }
  EXPECT_EQ(worldProblems(), "");
  // A view object placed by position arrives without a refused location.
  EXPECT_FALSE(log.contains("Location out of range"));
}
