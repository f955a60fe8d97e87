// The manager's interest table: dispatch order, registering and removing
// listeners, the limit on event types, and dispatch while handlers change it.
#include "engine/core/Manager.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/loop/GameManager.h"
#include "tests/support/EngineFixtures.h"

using tw_test::Probe;

namespace {
// A manager that accepts every "tw-" event type, so the table works on its own.
class OpenManager : public tw::Manager {
 public:
  bool isValid(std::string event_type) const override { return event_type.rfind("tw-", 0) == 0; }
};

class ManagerTest : public ::testing::Test {
 protected:
  // Sends an event of the type; returns the listeners that handled it, in order.
  std::vector<Probe*> send(const std::string& type) {
    order.clear();
    tw::Event e;
    e.setType(type);
    const int count = manager.onEvent(&e);
    EXPECT_EQ(count, static_cast<int>(order.size()));
    return order;
  }
  void listen(Probe& p, const std::string& type) {
    p.on_event = [this, &p](const tw::Event*) { order.push_back(&p); };
    ASSERT_EQ(manager.registerInterest(&p, type), 0);
  }
  using Got = std::vector<Probe*>;
  tw_test::LogCapture log;
  OpenManager manager;
  Got order;
  Probe a{"A"}, b{"B"}, c{"C"};
};
}  // namespace

// Removing a listener must remove exactly that one (the table is searched from
// the back) and keep the others in order; what is not there is refused.
TEST_F(ManagerTest, DispatchFollowsRegistrationSkipsInactiveAndForgetsRemovedListeners) {
  for (Probe* p : {&a, &b, &c}) listen(*p, "tw-x");
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
}

TEST_F(ManagerTest, RegisteringTwiceKeepsOneEntryAndWarns) {
  tw::LogManager::getInstance().setLogLevel(1);
  listen(a, "tw-step");
  EXPECT_EQ(manager.registerInterest(&a, "tw-step"), 0);
  EXPECT_EQ(send("tw-step"), (Got{&a}));
  EXPECT_TRUE(log.contains("Manager::registerInterest(): Warning! Not adding id " +
                           std::to_string(a.getId()) + " (A) twice for event tw-step."));
}

// A type whose last listener leaves frees its slot; the types after it move
// down and keep their listeners.
TEST_F(ManagerTest, EventTypesAreLimitedAndAnEmptiedTypeFreesItsSlot) {
  listen(a, "tw-first");
  listen(b, "tw-second");
  for (int i = 2; i < tw::MAX_EVENTS; i++) {
    ASSERT_EQ(manager.registerInterest(&c, "tw-e" + std::to_string(i)), 0);
  }
  EXPECT_EQ(manager.registerInterest(&c, "tw-one-too-many"), -1);
  EXPECT_EQ(send("tw-one-too-many"), Got{});
  EXPECT_EQ(manager.unregisterInterest(&a, "tw-first"), 0);
  EXPECT_EQ(send("tw-first"), Got{});
  listen(a, "tw-one-too-many");
  EXPECT_EQ(send("tw-one-too-many"), (Got{&a}));
  EXPECT_EQ(send("tw-second"), (Got{&b}));
  c.on_event = [this](const tw::Event*) { order.push_back(&c); };
  EXPECT_EQ(send("tw-e99"), (Got{&c}));
}

TEST_F(ManagerTest, UndefinedAndInvalidEventsReachNobody) {
  tw::GameManager& game = tw::GameManager::getInstance();
  EXPECT_EQ(game.registerInterest(&a, "tw-keyboard"), -1);
  EXPECT_TRUE(log.contains(
      "Manager(GameManager)::registerInterest(): Event 'tw-keyboard' not valid for this Manager"));
  game.registerInterest(&a, "tw-step");
  tw::Event undefined, other;
  other.setType("tw-mouse");
  EXPECT_EQ(game.onEvent(&undefined), 0);
  EXPECT_EQ(game.onEvent(&other), 0);
  EXPECT_TRUE(a.received.empty());
  game.unregisterInterest(&a, "tw-step");
}

// Handlers that add or remove listeners do not change the event being sent;
// a listener an earlier handler destroyed is skipped, never touched.
TEST_F(ManagerTest, DispatchWalksTheListenersAsTheyWereAndSkipsDestroyedOnes) {
  auto* doomed = new Probe("Doomed");
  listen(a, "tw-x");
  listen(b, "tw-x");
  listen(*doomed, "tw-x");
  a.on_event = [&](const tw::Event*) {
    order.push_back(&a);
    manager.unregisterInterest(&b, "tw-x");
    manager.registerInterest(&c, "tw-x");
    manager.unregisterInterest(doomed, "tw-x");
    delete doomed;
  };
  EXPECT_EQ(send("tw-x"), (Got{&a, &b}));
  EXPECT_TRUE(c.received.empty());
}
