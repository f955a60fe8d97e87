// Object records: the bytes every part and object writes, how a record is
// applied, random objects sent whole and as changes, and broken records (the
// corpus of tests/data/records, listed with what each must do in cases.txt,
// every truncation of a full record, random and mutated bytes).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/LiveObjects.h"
#include "engine/display/ViewObject.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/SceneGraph.h"
#include "engine/world/Sprite.h"
#include "tests/support/EngineFixtures.h"

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
  Bytes& b(bool v) { return raw(static_cast<char>(v)); }
  Bytes& byte(int v) { return raw(static_cast<char>(v)); }
  Bytes& vec(float x, float y) { return f32(x).f32(y); }
  Bytes& str(const std::string& s) {
    u64(s.size());
    data += s;
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

std::string dataFile(const std::string& name) {
  const char* data = std::getenv("TW_TEST_DATA");
  return std::string(data != nullptr ? data : ".") + "/" + name;
}

std::string hex(float f) {
  char text[64];
  std::snprintf(text, sizeof(text), "%a", static_cast<double>(f));
  return text;
}
std::string hex(Vector v) { return "(" + hex(v.getX()) + "," + hex(v.getY()) + ")"; }

// Every attribute of an object (and a view object's own), floats exact, one
// group a line. Without exact_direction the direction is left out: normalising
// a normalised vector again may move its last bit.
std::string describe(const Object& o, bool exact_direction = true) {
  const Box box = o.getBox();
  const Animation a = o.getAnimation();
  const Shape s = o.getShape();
  std::string d = "id " + std::to_string(o.getId()) + "\ntype '" + o.getType() + "'\nactive " +
                  std::to_string(o.isActive()) + " visible " + std::to_string(o.isVisible()) +
                  "\nbox " + hex(box.getCorner()) + " " + hex(box.getHorizontal()) + " " +
                  hex(box.getVertical()) + "\nposition " + hex(o.getPosition()) + "\n";
  if (exact_direction) d += "direction " + hex(o.getDirection()) + "\n";
  d += "speed " + hex(o.getSpeed()) + " acceleration " + hex(o.getAcceleration()) +
       "\naltitude " + std::to_string(o.getAltitude()) + " solidness " +
       std::to_string(static_cast<int>(o.getSolidness())) + "\nno_soft " +
       std::to_string(o.getNoSoft()) + " avoid " + std::to_string(o.getAvoidCollisions()) +
       " follow " + std::to_string(o.getFollowPath()) + "\npath index " +
       std::to_string(o.getPath().getIndex()) + " " + o.getPath().toString() +
       "\nanimation " + (a.getSprite() != nullptr ? a.getSprite()->getLabel() : "none") + " '" +
       a.getName() + "' " + std::to_string(a.getIndex()) + " " +
       std::to_string(a.getSlowdownCount()) + "\nshape " + std::to_string(s.getType()) + " " +
       hex(s.getSize()) + " " + std::to_string(static_cast<int>(s.getColor())) + " " +
       std::to_string(s.getAlpha()) + "\nevents";
  for (int i = 0; i < o.getEventCount(); i++) d += " '" + o.getEventName(i) + "'";
  d += "\nmodified " + std::to_string(o.getModified()) + "\n";
  if (const auto* v = dynamic_cast<const ViewObject*>(&o)) {
    d += "view '" + v->getViewString() + "' value " + std::to_string(v->getValue()) + " border " +
         std::to_string(v->getBorder()) + " color " + std::to_string(static_cast<int>(v->getColor())) +
         " location " + std::to_string(v->getLocation()) + " draw_value " +
         std::to_string(v->getDrawValue()) + "\n";
  }
  return d;
}

bool has(const ObjectList& list, const Object* p_o) {
  for (int i = 0; i < list.getCount(); i++) {
    if (list[i] == p_o) return true;
  }
  return false;
}

// Empty when every object sits in exactly the scene graph lists its state asks
// for, and every solid active one in the grid cells of its box.
std::string worldProblems() {
  SceneGraph& graph = WorldManager::getInstance().getSceneGraph();
  const ObjectList all = WorldManager::getInstance().getAllObjects(true);
  std::string problems;
  for (int i = 0; i < all.getCount(); i++) {
    Object* o = all[i];
    const bool active = o->isActive(), solid = active && o->isSolid();
    const std::string who = "object " + std::to_string(o->getId()) + ": ";
    if (has(graph.activeObjects(), o) != active) problems += who + "active list\n";
    if (has(graph.inactiveObjects(), o) == active) problems += who + "inactive list\n";
    if (has(graph.solidObjects(), o) != solid) problems += who + "solid list\n";
    if (has(graph.objectsOfType(o->getType()), o) != active) problems += who + "type map\n";
    for (int alt = 0; alt <= MAX_ALTITUDE; alt++) {
      const bool wanted = active && o->isVisible() && o->getAltitude() == alt;
      if (has(graph.visibleObjects(alt), o) != wanted) problems += who + "visible list\n";
    }
    if (!solid) continue;
    for (const Cell& cell : graph.getGrid().getCells(o, o->getPosition())) {
      if (!has(graph.getGrid().getCellObjects(cell), o)) problems += who + "grid cell\n";
    }
  }
  if (graph.activeObjects().getCount() + graph.inactiveObjects().getCount() != all.getCount()) {
    problems += "object counts\n";
  }
  return problems;
}

// Writes source and reads every proper prefix of its record into target, which
// must fail and keep its own record; the whole record then makes target write
// what source wrote. Returns target after that.
template <typename T>
T readBack(const T& source, T target) {
  const std::string record = bytesOf(source), before = bytesOf(target);
  for (size_t n = 0; n < record.size(); n++) {
    std::stringstream cut = streamOf(record.substr(0, n));
    EXPECT_EQ(target.deserialize(&cut), -1) << "length " << n;
    EXPECT_EQ(bytesOf(target), before) << "length " << n;
  }
  std::stringstream whole = streamOf(record);
  EXPECT_EQ(target.deserialize(&whole), 0);
  EXPECT_EQ(bytesOf(target), record);
  std::stringstream failed;
  failed.setstate(std::ios::failbit);
  EXPECT_EQ(source.serialize(&failed), -1);
  return target;
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
    if (coin()) o->setVelocity(vec(-1, 1));
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
class SerializationTest : public tw_test::WorldFixture {
 protected:
  void SetUp() override {
    WorldFixture::SetUp();
    ASSERT_EQ(resources().startUp(), 0);
    ASSERT_EQ(resources().loadSprite(dataFile("sprites/good-simple.txt"), "good"), 0);
    ASSERT_EQ(resources().loadSprite(dataFile("sprites/good-robust.txt"), "robust"), 0);
  }
  void TearDown() override {
    WorldFixture::TearDown();
    if (resources().isStarted()) resources().shutDown();
  }
  static ResourceManager& resources() { return ResourceManager::getInstance(); }
  static Sprite* sprite(const std::string& label) { return resources().getSprite(label); }
  static Object* blank(bool view) { return view ? new ViewObject : new Object; }
  // Deserialises bytes into o; the stream is kept for inspection.
  int apply(Object* o, const std::string& bytes) {
    last = streamOf(bytes);
    return o->deserialize(&last);
  }
  bool loggedSince(size_t from, const std::string& text) const {
    const std::vector<std::string> lines = log.messages();
    return std::any_of(lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size())),
                       lines.end(), [&](const std::string& l) { return l == text; });
  }

  std::stringstream last;
  Random random;
};
}  // namespace

TEST_F(SerializationTest, EveryFieldIsWrittenInRecordOrder) {
  Animation animation;  // travels by name, without its sprite
  animation.setSprite(sprite("good"));
  animation.setIndex(1);
  animation.setSlowdownCount(3);
  Shape shape;  // the colour channels are not written
  shape.setType(SQUARE);
  shape.setSize(7.5f);
  shape.setColor(RED);
  shape.setAlpha(128);
  shape.setR(9);
  Path path;  // the index is not written
  path.addWaypoint(Vector(1, 2));
  path.addWaypoint(Vector(3, 4));
  path.next();
  auto* fresh = new Object;
  auto* mover = new Object;
  mover->setVelocity(Vector(3, 4));
  mover->setPath(path);
  mover->setType("Bullet");
  const Vector d = mover->getDirection();
  auto* view = new ViewObject;
  const std::string view_record = recordOf(view);
  const std::string view_tail = Bytes().i32(0).str("").b(true).i32(WHITE).i32(TOP_CENTER).b(true);
  const struct {
    const char* what;
    std::string written, expected;
  } cases[] = {
      {"vector", bytesOf(Vector(1.5f, -2)), Bytes().vec(1.5f, -2)},
      {"box", bytesOf(Box(Vector(1, 2), 3.25f, 4)), Bytes().vec(1, 2).f32(3.25f).f32(4)},
      {"animation", bytesOf(animation), Bytes().str("good").i32(1).i32(3)},
      {"shape", bytesOf(shape), Bytes().i32(SQUARE).f32(7.5f).i32(RED).byte(128)},
      {"path", bytesOf(path), Bytes().u64(2).vec(1, 2).vec(3, 4)},
      {"fresh object: all eighteen fields", recordOf(fresh),
       Bytes()
           .u32(0x3FFFF).i32(fresh->getId()).b(true).b(true).i32(0)  // to the (empty) events
           .vec(-0.5f, -0.5f).f32(0.99f).f32(0.99f).vec(1, 1)        // box, position
           .str("(Undefined)").str("").i32(0).i32(0)                  // type, animation
           .i32(2).i32(HARD).b(false)                                // altitude, solidness, no_soft
           .vec(0, 0).f32(0).vec(0, 0)                                // direction, speed, accel.
           .i32(UNDEFINED_SHAPE).f32(24).i32(WHITE).byte(255)         // shape
           .b(false).u64(0).b(false)},  // follow_path, empty path, avoid_collisions
      {"then nothing is modified", recordOf(fresh), Bytes().u32(0)},
      {"direction before speed, follow_path before path",
       recordOf(mover, SPEED | DIRECTION | PATH | FOLLOW_PATH),
       Bytes().u32(0x19800).vec(d.getX(), d.getY()).f32(5).b(false).u64(2).vec(1, 2).vec(3, 4)},
      {"type", recordOf(mover, TYPE), std::string("\x40\0\0\0\x06\0\0\0\0\0\0\0Bullet", 18)},
      {"unknown bits left out", recordOf(fresh, POSITION | VALUE), Bytes().u32(POSITION).vec(1, 1)},
      {"view mask", view_record.substr(0, 4), Bytes().u32(0xFFFFF)},
      {"view fields last", view_record.substr(view_record.size() - view_tail.size()), view_tail},
      {"view value", [&] { view->setValue(5); return recordOf(view); }(),
       Bytes().u32(VALUE).i32(5)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.written, c.expected) << c.what;
  // Explicit attributes are written whatever is modified, and only their bits cleared.
  EXPECT_EQ(mover->getModified(), 0x3FFFFu & ~(SPEED | DIRECTION | PATH | FOLLOW_PATH | TYPE));
  EXPECT_TRUE(log.contains("Object::serialize(): Warning! Unknown attributes "
                           "00000000000001000000000000000000 not written."));
}

TEST_F(SerializationTest, PartsReadBackWholeOrNotAtAll) {
  readBack(Vector(1.5f, -2), Vector(7, 8));
  readBack(Box(Vector(1, 2), 3.25f, 4), Box(Vector(1, 1), 2, 2));
  Animation good, robust;
  good.setSprite(sprite("good"));
  good.setIndex(1);
  good.setSlowdownCount(3);
  robust.setSprite(sprite("robust"));
  EXPECT_EQ(readBack(good, robust).getSprite(), nullptr);  // the object finds it by name
  Shape shape;
  shape.setType(TRIANGLE);
  shape.setColor(GREEN);
  readBack(shape, Shape());

  // A path keeps its index, but never beyond its new waypoints.
  Path two, three;
  two.addWaypoint(Vector(1, 2));
  two.addWaypoint(Vector(3, 4));
  for (int i = 0; i < 3; i++) three.addWaypoint(Vector(9, 9));
  three.next();
  Path read = readBack(two, three);
  EXPECT_EQ(read.getIndex(), 1);
  read.next();
  std::stringstream single = streamOf(Bytes().u64(1).vec(5, 5));
  EXPECT_EQ(read.deserialize(&single), 0);
  EXPECT_EQ(read.getIndex(), 1);
  EXPECT_TRUE(read.isDone());

  // A name ends at its first zero character.
  std::stringstream zero = streamOf(Bytes().str(std::string("ab\0cd", 5)).i32(0).i32(-1));
  EXPECT_EQ(good.deserialize(&zero), 0);
  EXPECT_EQ(good.getName(), "ab");
  EXPECT_EQ(good.getSlowdownCount(), -1);

  // An unknown shape type is refused, the rest of the shape taken.
  std::stringstream seven = streamOf(Bytes().i32(7).f32(3).i32(BLUE).byte(9));
  EXPECT_EQ(shape.deserialize(&seven), -1);
  EXPECT_TRUE(seven.good());
  EXPECT_EQ(shape.toString(), "triangle, size 3.000000, Blue, 9");

  auto* o = new Object;
  EXPECT_EQ(o->deserialize(nullptr), -1);
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Stream is NULL."));
}

TEST_F(SerializationTest, ReadIdRaisesTheIdCounterButNeverLowersIt) {
  auto* o = new Object;
  unsigned int mask = 0;
  last = streamOf(Bytes().u32(ID).i32(57));
  EXPECT_EQ(o->deserialize(&last, &mask), 0);
  EXPECT_EQ(mask, ID);
  EXPECT_EQ(o->getId(), 57);
  EXPECT_TRUE(LiveObjects::isAlive(o, 57));
  EXPECT_GE((new Object)->getId(), 58);
  EXPECT_EQ(apply(o, Bytes().u32(ID).i32(3)), 0);
  EXPECT_EQ(o->getId(), 3);
  EXPECT_GE((new Object)->getId(), 59);  // not lowered to 4
}

TEST_F(SerializationTest, SpriteIsFoundAgainByNameOrItsNameKept) {
  auto* o = new Object;
  EXPECT_EQ(apply(o, Bytes().u32(ANIMATION).str("good").i32(1).i32(2)), 0);
  EXPECT_EQ(o->getAnimation().getSprite(), sprite("good"));
  EXPECT_EQ(o->getAnimation().getIndex(), 1);
  EXPECT_EQ(o->getBox(), Box(Vector(-1.5f, -1), 3, 2));  // fitted to the sprite

  EXPECT_EQ(apply(o, Bytes().u32(ANIMATION).str("ghost").i32(0).i32(0)), 0);
  EXPECT_TRUE(log.contains("Object::setSprite(): Warning! Sprite 'ghost' not found"));
  EXPECT_EQ(o->getAnimation().getSprite(), nullptr);
  EXPECT_EQ(o->getAnimation().getName(), "ghost");
  EXPECT_EQ(o->getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
}

// tests/data/records/cases.txt lists each broken record with what it must do.
TEST_F(SerializationTest, BrokenRecordsFailOrHaveAValueRefused) {
  int cases = 0;
  for (const std::string& line : tw_test::readLines(dataFile("records/cases.txt"))) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> field;
    size_t at = 0;
    for (size_t bar; (bar = line.find(" | ", at)) != std::string::npos; at = bar + 3) {
      field.push_back(line.substr(at, bar - at));
    }
    field.push_back(line.substr(at));
    ASSERT_GE(field.size(), 4u) << line;
    SCOPED_TRACE(field[0]);
    cases++;
    Object* target = blank(field[1] == "view");
    const std::string before = describe(*target);
    const size_t lines = log.messages().size();
    const bool applied = field[2] == "applied";
    EXPECT_EQ(apply(target, tw_test::readFile(dataFile("records/" + field[0]))), applied ? 0 : -1);
    EXPECT_EQ(last.good(), applied);
    EXPECT_TRUE(loggedSince(lines, field[3])) << field[3];
    if (!applied) { EXPECT_EQ(describe(*target), before); }
    for (size_t i = 4; i < field.size(); i++) {
      EXPECT_NE(describe(*target).find(field[i]), std::string::npos) << field[i];
    }
    EXPECT_EQ(worldProblems(), "");
  }
  EXPECT_GE(cases, 24);
}

TEST_F(SerializationTest, EveryTruncationOfAFullRecordChangesNothing) {
  for (int i = 0; i < 6; i++) {
    SCOPED_TRACE("object " + std::to_string(i));
    Object* source = random.object(i % 2 == 1);
    Object* target = blank(i % 2 == 1);
    const std::string record = recordOf(source), before = describe(*target);
    for (size_t length = 0; length < record.size(); length++) {
      ASSERT_EQ(apply(target, record.substr(0, length)), -1) << "length " << length;
      ASSERT_TRUE(last.fail()) << "length " << length;
      ASSERT_EQ(describe(*target), before) << "length " << length;
    }
  }
  EXPECT_EQ(worldProblems(), "");
}

TEST_F(SerializationTest, RandomAndMutatedBytesFailCleanly) {
  std::mt19937 rng(20261206);
  auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::string valid[] = {recordOf(random.object(false)), recordOf(random.object(true))};
  for (int i = 0; i < 600; i++) {
    std::string bytes;
    if (i < 8) {  // the saved samples first
      bytes = tw_test::readFile(dataFile("records/random-" + std::string(i % 2 ? "masked-" : "") +
                                         std::to_string(i / 2 + 1) + ".bin"));
    } else if (i % 3 != 2) {  // random bytes, some behind a mask of known bits
      if (i % 3 == 1) bytes = Bytes().u32(rng() & 0xFFFFFu);
      for (int n = below(120); n > 0; n--) bytes += static_cast<char>(rng());
    } else {
      bytes = valid[below(2)];
      for (int n = 1 + below(3); n > 0; n--) {
        bytes[static_cast<size_t>(below(static_cast<int>(bytes.size())))] = static_cast<char>(rng());
      }
    }
    Object* target = blank(i % 2 == 1);
    const std::string before = describe(*target);
    const int result = apply(target, bytes);
    ASSERT_TRUE(result == 0 || result == -1) << "sample " << i;
    if (last.fail()) {
      ASSERT_EQ(result, -1) << "sample " << i;
      ASSERT_EQ(describe(*target), before) << "sample " << i;
    }
    if (i % 25 == 0) { ASSERT_EQ(worldProblems(), "") << "sample " << i; }
  }
  EXPECT_EQ(worldProblems(), "");
}

// Random objects written and read into fresh ones, in full and then as the
// changes made since, must agree in every attribute.
TEST_F(SerializationTest, RandomObjectsArriveWholeAndAsChanges) {
  for (int i = 0; i < 300; i++) {
    Object* source = random.object(i % 2 == 1);
    Object* copy = blank(i % 2 == 1);
    for (int round = 0; round < 4; round++) {
      SCOPED_TRACE("object " + std::to_string(i) + " round " + std::to_string(round));
      if (round > 0) random.change(source);
      std::stringstream ss;
      ASSERT_EQ(source->serialize(&ss), 0);
      ASSERT_EQ(copy->deserialize(&ss), 0);
      ASSERT_EQ(source->getModified(), 0u);
      // View setters mark what they change again; the object part is clear.
      ASSERT_EQ(copy->getModified() & ~(VALUE | APPEARANCE), 0u);
      copy->setModified(0);
      ASSERT_EQ(describe(*copy, false), describe(*source, false));
      ASSERT_NEAR(copy->getDirection().getX(), source->getDirection().getX(), 1e-6);
      ASSERT_NEAR(copy->getDirection().getY(), source->getDirection().getY(), 1e-6);
    }
    if (i % 10 == 0) { ASSERT_EQ(worldProblems(), "") << "object " << i; }
  }
  EXPECT_EQ(worldProblems(), "");
  // A view object placed by position arrives without a refused location.
  EXPECT_FALSE(log.contains("Location out of range"));
}
