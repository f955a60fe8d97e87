// The manager's interest table: dispatch order, registering and removing
// listeners, the limit on event types, and dispatch while handlers change it.
#include "engine/core/Manager.h"

#include <gtest/gtest.h>

#include "engine/core/EventStep.h"
#include "engine/input/EventKeystroke.h"
#include "engine/loop/GameManager.h"
#include "tests/support/EngineFixtures.h"

using tw_test::Probe;
using Got = std::vector<Probe*>;

// A manager that accepts every "tw-" event type, so the table works on its own.
class OpenManager : public tw::Manager {
 public:
  bool isValid(std::string type) const override { return type.rfind("tw-", 0) == 0; }
};

class ManagerTest : public ::testing::Test {
 protected:
  // Sends an event of the type; returns the listeners that handled it, in order.
  Got send(const std::string& type) {
    order.clear();
    tw::Event e;
    e.setType(type);
    const int count = manager.onEvent(&e);
    EXPECT_EQ(count, static_cast<int>(order.size()));
    return order;
  }
  int listen(Probe& p, const std::string& type) {
    p.on_event = [this, &p](const tw::Event*) { order.push_back(&p); };
    return manager.registerInterest(&p, type);
  }
  tw_test::LogCapture log;
  OpenManager manager;
  Got order;
  Probe a{"A"}, b{"B"}, c{"C"};
};

// Removing a listener must remove exactly that one (the table is searched from
// the back) and keep the others in order; what is not there is refused.
TEST_F(ManagerTest, DispatchFollowsRegistrationSkipsInactiveAndForgetsRemovedListeners) {
  for (Probe* p : {&a, &b, &c}) ASSERT_EQ(listen(*p, "tw-x"), 0);
  b.setActive(false);
  EXPECT_EQ(send("tw-x"), (Got{&a, &c}));
  b.setActive(true);
  Probe stranger;
  EXPECT_EQ(manager.unregisterInterest(&stranger, "tw-x"), -1);
  EXPECT_EQ(manager.unregisterInterest(&b, "tw-none"), -1);
  EXPECT_EQ(manager.unregisterInterest(&b, "tw-x"), 0);
  EXPECT_EQ(manager.unregisterInterest(&b, "tw-x"), -1);
  EXPECT_EQ(send("tw-x"), (Got{&a, &c}));
  EXPECT_EQ(manager.unregisterInterest(&c, "tw-x"), 0);
  EXPECT_EQ(send("tw-x"), (Got{&a}));
  EXPECT_EQ(manager.unregisterInterest(&a, "tw-x"), 0);
  EXPECT_EQ(send("tw-x"), Got{});
  tw::LogManager::getInstance().setLogLevel(1);
  EXPECT_EQ(listen(a, "tw-x") + listen(a, "tw-x"), 0);  // twice: one entry, a warning
  EXPECT_EQ(send("tw-x"), (Got{&a}));
  EXPECT_TRUE(log.contains("Manager::registerInterest(): Warning! Not adding id " +
                           std::to_string(a.getId()) + " (A) twice for event tw-x."));
}

// A type whose last listener leaves frees its slot; the types after it move
// down and keep their listeners.
TEST_F(ManagerTest, EventTypesAreLimitedAndAnEmptiedTypeFreesItsSlot) {
  listen(a, "tw-first");
  for (int i = 1; i < tw::MAX_EVENTS; i++) ASSERT_EQ(listen(b, "tw-e" + std::to_string(i)), 0);
  EXPECT_EQ(listen(c, "tw-one-too-many"), -1);
  EXPECT_EQ(send("tw-one-too-many"), Got{});
  EXPECT_EQ(manager.unregisterInterest(&a, "tw-first"), 0);
  EXPECT_EQ(send("tw-first"), Got{});
  EXPECT_EQ(listen(c, "tw-one-too-many"), 0);
  EXPECT_EQ(send("tw-one-too-many"), (Got{&c}));
  EXPECT_EQ(send("tw-e1"), (Got{&b}));
  EXPECT_EQ(send("tw-e99"), (Got{&b}));
  EXPECT_EQ(tw::GameManager::getInstance().registerInterest(&a, "tw-keyboard"), -1);  // not its type
}

// Handlers that add or remove listeners do not change the event being sent;
// a listener an earlier handler destroyed is skipped, never touched.
TEST_F(ManagerTest, DispatchWalksTheListenersAsTheyWereAndSkipsDestroyedOnes) {
  auto* doomed = new Probe("Doomed");
  for (Probe* p : {&a, &b, doomed}) listen(*p, "tw-x");
  a.on_event = [&](const tw::Event*) {
    order.push_back(&a);
    manager.unregisterInterest(&b, "tw-x");
    listen(c, "tw-x");
    manager.unregisterInterest(doomed, "tw-x");
    delete doomed;
  };
  EXPECT_EQ(send("tw-x"), (Got{&a, &b}));
  EXPECT_TRUE(c.received.empty());
}

// A handler reaches an event's payload through as<T>() or eventCast<T>():
// the event itself when it is of that class (or one derived from it), null
// for another class and for no event at all.
TEST(Event, TypedAccessGivesTheEventOnlyAsItsOwnClass) {
  tw::EventStep step(5);
  tw::EventKeystroke keystroke(tw::Keyboard::A, true);
  tw::Event plain;
  const tw::Event* events[] = {&step, &keystroke, &plain, nullptr};
  const struct {
    bool step, keystroke;
  } expected[] = {{true, false}, {false, true}, {false, false}, {false, false}};
  for (int i = 0; i < 4; i++) {
    SCOPED_TRACE(i);
    EXPECT_EQ(tw::eventCast<tw::EventStep>(events[i]) != nullptr, expected[i].step);
    EXPECT_EQ(tw::eventCast<tw::EventKeystroke>(events[i]) != nullptr, expected[i].keystroke);
    EXPECT_TRUE(events[i] == nullptr || events[i]->as<tw::Event>() == events[i]);
  }
  EXPECT_EQ(step.as<tw::EventStep>()->getStepCount(), 5);
  EXPECT_TRUE(keystroke.as<tw::EventKeystroke>()->isRepeat());
  EXPECT_EQ(keystroke.as<tw::EventKeystroke>()->getCharacter(), "A");
}
