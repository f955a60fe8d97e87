#include "engine/loop/Pause.h"

#include <gtest/gtest.h>

#include "engine/core/Config.h"
#include "engine/core/EventStep.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"

namespace {
class PauseHeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tw::Config::getInstance().loadConfig("headless:true");
    ASSERT_EQ(tw::DisplayManager::getInstance().startUp(), 0);
    ASSERT_EQ(tw::WorldManager::getInstance().startUp(), 0);
    pause = new tw::Pause(tw::Keyboard::F10);
  }
  void TearDown() override {
    tw::WorldManager::getInstance().shutDown();
    tw::DisplayManager::getInstance().shutDown();
  }
  static tw::EventKeyboard keyEvent(tw::Keyboard::Key key, tw::KeyboardAction action) {
    tw::EventKeyboard e;
    e.setKey(key);
    e.setKeyboardAction(action);
    return e;
  }
  tw_test::LogCapture log;
  tw::Pause* pause = nullptr;
};
}  // namespace

TEST_F(PauseHeadlessTest, IsASpectralKeyboardListener) {
  EXPECT_EQ(pause->getType(), "Pause");
  EXPECT_EQ(pause->getSolidness(), tw::SPECTRAL);
  EXPECT_EQ(pause->getEventCount(), 1);
  EXPECT_EQ(pause->getEventName(0), tw::KEYBOARD_EVENT);
  EXPECT_TRUE(log.contains("Pause::Pause(): Pause enabled.  Press any other key to resume."));
}

TEST_F(PauseHeadlessTest, WithoutAWindowThePauseKeyIsRefused) {
  const tw::EventKeyboard press = keyEvent(tw::Keyboard::F10, tw::KEY_PRESSED);
  EXPECT_EQ(pause->eventHandler(&press), 0);
  EXPECT_TRUE(log.contains(
      "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause."));
}

TEST_F(PauseHeadlessTest, OtherKeysAreHandledWithoutPausingAndOtherEventsIgnored) {
  const tw::EventKeyboard other = keyEvent(tw::Keyboard::A, tw::KEY_PRESSED);
  EXPECT_EQ(pause->eventHandler(&other), 1);
  const tw::EventStep step(3);
  EXPECT_EQ(pause->eventHandler(&step), 0);
  EXPECT_FALSE(log.contains("Cannot pause"));
}
