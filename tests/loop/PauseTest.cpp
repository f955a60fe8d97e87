// The pause object without a window: what it listens to, which keys it takes,
// and its refusal to pause with no window to wait on.
#include "engine/loop/Pause.h"

#include <gtest/gtest.h>

#include "engine/core/EventStep.h"
#include "engine/input/EventKeyboard.h"
#include "tests/support/EngineFixtures.h"

namespace {
class PauseTest : public tw_test::WorldFixture {
 protected:
  int press(tw::Keyboard::Key key) {
    tw::EventKeyboard e;
    e.setKey(key);
    e.setKeyboardAction(tw::KEY_PRESSED);
    return pause->eventHandler(&e);
  }
  void SetUp() override {
    WorldFixture::SetUp();
    pause = new tw::Pause(tw::Keyboard::F10);  // owned by the world
  }
  tw::Pause* pause = nullptr;
};
}  // namespace

TEST_F(PauseTest, ListensToTheKeyboardAndRefusesToPauseWithoutAWindow) {
  EXPECT_EQ(pause->getSolidness(), tw::SPECTRAL);
  ASSERT_EQ(pause->getEventCount(), 1);
  EXPECT_EQ(pause->getEventName(0), tw::KEYBOARD_EVENT);
  EXPECT_TRUE(log.contains("Pause::Pause(): Pause enabled.  Press any other key to resume."));
  const tw::EventStep step(3);
  EXPECT_EQ(pause->eventHandler(&step), 0);
  EXPECT_EQ(press(tw::Keyboard::A), 1);  // handled, no pause
  EXPECT_FALSE(log.contains("Cannot pause"));
  EXPECT_EQ(press(tw::Keyboard::F10), 0);
  EXPECT_TRUE(log.contains(
      "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause."));
}
