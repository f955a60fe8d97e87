// Random objects and view objects written and read back into fresh ones must
// agree in every attribute, in full and after changes sent as deltas. The
// seed is fixed, so a failure repeats.
#include <algorithm>
#include <random>
#include <vector>

#include "tests/network/SerializationTest.h"

using tw::Box;
using tw::Object;
using tw::Vector;
using tw::ViewObject;
using tw_test::describe;
using tw_test::worldProblems;

namespace {
class SerializationRoundTripTest : public tw_test::SerializationTest {
 protected:
  float real(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
  int integer(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool coin() { return integer(0, 1) == 1; }
  Vector vector(float lo, float hi) { return Vector(real(lo, hi), real(lo, hi)); }

  // Printable text of up to 12 characters, possibly empty.
  std::string word() {
    std::string w;
    for (int n = integer(0, 12); n > 0; n--) w += static_cast<char>(integer(32, 126));
    return w;
  }

  void randomAnimation(Object* o) {
    const int choice = integer(0, 2);
    if (choice == 0) return;
    o->setSprite(choice == 1 ? "good" : "robust");
    tw::Animation a = o->getAnimation();
    a.setIndex(integer(0, 1));
    a.setSlowdownCount(integer(-1, 3));
    o->setAnimation(a, false);
  }

  tw::Shape randomShape() {
    tw::Shape s;
    s.setType(integer(-1, 2));
    s.setSize(real(1, 40));
    s.setColor(static_cast<tw::Color>(integer(0, 8)));
    s.setAlpha(static_cast<std::uint8_t>(integer(0, 255)));
    return s;
  }

  tw::Path randomPath() {
    tw::Path p;
    for (int n = integer(0, 4); n > 0; n--) p.addWaypoint(vector(0, 20));
    return p;
  }

  void randomEvents(Object* o) {
    std::vector<std::string> pool = {"tw-step", "tw-keyboard", "tw-mouse", "custom-a", "custom-b"};
    std::shuffle(pool.begin(), pool.end(), rng);
    for (const std::string& e : pool) {
      if (coin()) {
        ASSERT_EQ(o->registerInterest(e), 0);
      }
    }
  }

  void randomise(Object* o) {
    o->setType(word());
    randomAnimation(o);
    if (coin()) o->setBox(Box(vector(-3, 0), real(0.5f, 6), real(0.5f, 6)));
    o->setPosition(Vector(real(-10, 90), real(-5, 30)));
    o->setVelocity(vector(-2, 2));
    o->setAcceleration(vector(-0.5f, 0.5f));
    o->setAltitude(integer(0, 4));
    o->setSolidness(static_cast<tw::Solidness>(integer(0, 2)));
    o->setNoSoft(coin());
    o->setAvoidCollisions(coin());
    randomEvents(o);
    o->setShape(randomShape());
    o->setPath(randomPath());
    o->setFollowPath(coin());
    o->setVisible(coin());
    o->setActive(integer(0, 3) != 0);
  }

  void randomiseView(ViewObject* v) {
    randomise(v);
    v->setViewString(word());
    v->setValue(integer(-1000, 1000));
    v->setBorder(coin());
    v->setColor(static_cast<tw::Color>(integer(0, 8)));
    if (coin()) v->setLocation(integer(0, 8));
    v->setDrawValue(coin());
  }

  // A few changes through setters that mark what they change.
  void change(Object* o) {
    if (coin()) o->setPosition(vector(0, 40));
    if (coin()) o->setVelocity(vector(-1, 1));
    if (coin()) o->setType(word());
    if (coin()) o->setAltitude(integer(0, 4));
    if (coin()) o->setSolidness(static_cast<tw::Solidness>(integer(0, 2)));
    if (coin()) o->setShape(randomShape());
    if (coin()) o->setPath(randomPath());
    if (coin()) o->setActive(!o->isActive());
    if (coin() && o->getEventCount() > 0) o->unregisterInterest(o->getEventName(0));
    if (coin()) {
      tw::Animation a = o->getAnimation();
      a.setSlowdownCount(integer(-1, 3));
      o->setAnimation(a, false);
    }
  }

  // Writes the changed attributes of source and reads them into copy.
  void send(Object* source, Object* copy) {
    sendRecord(source, copy);
    const Vector want = source->getDirection();
    const Vector got = copy->getDirection();
    EXPECT_NEAR(got.getX(), want.getX(), 1e-6);
    EXPECT_NEAR(got.getY(), want.getY(), 1e-6);
  }

  void sendRecord(Object* source, Object* copy) {
    std::stringstream ss;
    ASSERT_EQ(source->serialize(&ss), 0);
    ASSERT_EQ(copy->deserialize(&ss), 0);
    ASSERT_EQ(source->getModified(), 0u);
    // View setters mark what they change again; the object part is clear.
    ASSERT_EQ(copy->getModified() & ~(tw::VALUE | tw::APPEARANCE), 0u);
    copy->setModified(0);
  }

  std::mt19937 rng{424242};
};
}  // namespace

TEST_F(SerializationRoundTripTest, RandomObjectsArriveWhole) {
  for (int i = 0; i < 150; i++) {
    auto* source = new Object;
    randomise(source);
    auto* copy = new Object;
    send(source, copy);
    ASSERT_EQ(describe(*copy, false), describe(*source, false)) << "object " << i;
    for (int round = 0; round < 3; round++) {
      change(source);
      send(source, copy);
      ASSERT_EQ(describe(*copy, false), describe(*source, false))
          << "object " << i << " round " << round;
    }
    if (i % 10 == 0) {
      ASSERT_EQ(worldProblems(), "") << "object " << i;
    }
  }
  EXPECT_EQ(worldProblems(), "");
}

TEST_F(SerializationRoundTripTest, RandomViewObjectsArriveWhole) {
  for (int i = 0; i < 150; i++) {
    auto* source = new ViewObject;
    randomiseView(source);
    auto* copy = new ViewObject;
    send(source, copy);
    ASSERT_EQ(describe(*copy, false), describe(*source, false)) << "view object " << i;
    for (int round = 0; round < 3; round++) {
      change(source);
      source->setValue(integer(-5, 5));
      if (coin()) source->setLocation(integer(0, 8));
      send(source, copy);
      ASSERT_EQ(describe(*copy, false), describe(*source, false))
          << "view object " << i << " round " << round;
    }
    if (i % 10 == 0) {
      ASSERT_EQ(worldProblems(), "") << "view object " << i;
    }
  }
  EXPECT_EQ(worldProblems(), "");
}
