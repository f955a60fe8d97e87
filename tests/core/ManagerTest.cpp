#include "engine/core/Manager.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/loop/GameManager.h"
#include "engine/core/LogManager.h"
#include "tests/support/CoreTestObjects.h"
#include "tests/support/TestSupport.h"

using tw_test::RecordingObject;

namespace {
// A manager that accepts every event type but the undefined one, so the
// interest table can be exercised on its own.
class OpenManager : public tw::Manager {
 public:
  bool isValid(std::string event_type) const override { return event_type.rfind("tw-", 0) == 0; }
};

class ManagerTest : public ::testing::Test {
 protected:
  tw_test::LogCapture log;
  OpenManager manager;
};

tw::Event eventOf(const std::string& type) {
  tw::Event e;
  e.setType(type);
  return e;
}
}  // namespace

TEST_F(ManagerTest, DispatchFollowsRegistrationOrderAndSkipsInactive) {
  std::vector<int> order;
  RecordingObject a, b, c;
  for (RecordingObject* p : {&a, &b, &c}) {
    p->on_event = [&order, p](const tw::Event*) { order.push_back(p->getId()); };
    manager.registerInterest(p, "tw-x");
  }
  b.setActive(false);
  tw::Event e = eventOf("tw-x");
  EXPECT_EQ(manager.onEvent(&e), 2);
  EXPECT_EQ(order, (std::vector<int>{a.getId(), c.getId()}));
}

TEST_F(ManagerTest, RegisteringTwiceKeepsOneEntryAndWarns) {
  tw::LogManager::getInstance().setLogLevel(1);
  RecordingObject a("Twice");
  EXPECT_EQ(manager.registerInterest(&a, "tw-step"), 0);
  EXPECT_EQ(manager.registerInterest(&a, "tw-step"), 0);
  tw::EventStep step(0);
  EXPECT_EQ(manager.onEvent(&step), 1);
  EXPECT_TRUE(log.contains("Manager::registerInterest(): Warning! Not adding id " +
                           std::to_string(a.getId()) + " (Twice) twice for event tw-step."));
}

TEST_F(ManagerTest, HundredAndFirstEventTypeIsRefused) {
  RecordingObject a;
  for (int i = 0; i < tw::MAX_EVENTS; i++) {
    ASSERT_EQ(manager.registerInterest(&a, "tw-e" + std::to_string(i)), 0);
  }
  EXPECT_EQ(manager.registerInterest(&a, "tw-one-too-many"), -1);
  tw::Event extra = eventOf("tw-one-too-many");
  EXPECT_EQ(manager.onEvent(&extra), 0);
  tw::Event last = eventOf("tw-e99");
  EXPECT_EQ(manager.onEvent(&last), 1);
}

TEST_F(ManagerTest, UnregisteringTheOnlyObjectMovesLaterTypesDown) {
  RecordingObject a, b;
  manager.registerInterest(&a, "tw-first");
  manager.registerInterest(&b, "tw-second");
  manager.registerInterest(&a, "tw-second");
  EXPECT_EQ(manager.unregisterInterest(&a, "tw-first"), 0);
  // The freed slot can take a new type; the second type still reaches b then a.
  manager.registerInterest(&a, "tw-third");
  tw::Event second = eventOf("tw-second");
  EXPECT_EQ(manager.onEvent(&second), 2);
  EXPECT_EQ(b.received.back(), "tw-second");
  tw::Event first = eventOf("tw-first");
  EXPECT_EQ(manager.onEvent(&first), 0);
}

TEST_F(ManagerTest, UnregisteringWhatWasNeverRegisteredFails) {
  RecordingObject a, b;
  manager.registerInterest(&a, "tw-x");
  EXPECT_EQ(manager.unregisterInterest(&b, "tw-x"), -1);
  EXPECT_EQ(manager.unregisterInterest(&a, "tw-none"), -1);
  tw::Event e = eventOf("tw-x");
  EXPECT_EQ(manager.onEvent(&e), 1);
}

TEST_F(ManagerTest, UndefinedAndInvalidEventsReachNobody) {
  RecordingObject a;
  tw::GameManager& game = tw::GameManager::getInstance();
  EXPECT_EQ(game.registerInterest(&a, "tw-keyboard"), -1);
  EXPECT_TRUE(log.contains("Manager(GameManager)::registerInterest(): Event 'tw-keyboard' not valid for this Manager"));
  game.registerInterest(&a, "tw-step");
  tw::Event undefined;
  EXPECT_EQ(game.onEvent(&undefined), 0);
  tw::Event other = eventOf("tw-mouse");
  EXPECT_EQ(game.onEvent(&other), 0);
  EXPECT_TRUE(a.received.empty());
  game.unregisterInterest(&a, "tw-step");
}

TEST_F(ManagerTest, DispatchWalksACopyTakenBeforeTheFirstHandler) {
  RecordingObject first, second, late;
  manager.registerInterest(&first, "tw-x");
  manager.registerInterest(&second, "tw-x");
  first.on_event = [&](const tw::Event*) {
    manager.unregisterInterest(&second, "tw-x");
    manager.registerInterest(&late, "tw-x");
  };
  tw::Event e = eventOf("tw-x");
  EXPECT_EQ(manager.onEvent(&e), 2);
  EXPECT_EQ(second.received.size(), 1u);  // still in the copy
  EXPECT_TRUE(late.received.empty());     // not in the copy
}

TEST_F(ManagerTest, ListenerDestroyedByAnEarlierHandlerIsSkipped) {
  auto* doomed = new RecordingObject();
  RecordingObject killer;
  manager.registerInterest(&killer, "tw-x");
  manager.registerInterest(doomed, "tw-x");
  killer.on_event = [&](const tw::Event*) {
    manager.unregisterInterest(doomed, "tw-x");
    delete doomed;  // what a shut-down from inside a handler does
  };
  tw::Event e = eventOf("tw-x");
  EXPECT_EQ(manager.onEvent(&e), 1);
}

TEST_F(ManagerTest, StartUpAndShutDownToggleTheFlag) {
  EXPECT_FALSE(manager.isStarted());
  EXPECT_EQ(manager.startUp(), 0);
  EXPECT_TRUE(manager.isStarted());
  manager.shutDown();
  EXPECT_FALSE(manager.isStarted());
  EXPECT_EQ(manager.startUp(), 0);  // may start again
}
