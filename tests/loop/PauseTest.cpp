// The pause object without a window: what it listens to, which keys it takes,
// and its refusal to pause with no window to wait on.
#include "engine/loop/Pause.h"

#include <gtest/gtest.h>

#include "engine/core/EventStep.h"
#include "engine/input/EventKeyboard.h"
#include "tests/support/EngineFixtures.h"

using PauseTest = tw_test::WorldFixture;

TEST_F(PauseTest, ListensToTheKeyboardAndRefusesToPauseWithoutAWindow) {
  auto* pause = new tw::Pause(tw::Keyboard::F10);  // owned by the world
  EXPECT_EQ(pause->getSolidness(), tw::SPECTRAL);
  EXPECT_EQ(pause->getEventCount() == 1 ? pause->getEventName(0) : "", tw::KEYBOARD_EVENT);
  const tw::EventStep step(3);
  EXPECT_EQ(pause->eventHandler(&step), 0);
  tw::EventKeyboard key;
  key.setKey(tw::Keyboard::A);
  EXPECT_EQ(pause->eventHandler(&key), 1);  // handled, no pause
  EXPECT_FALSE(log.contains("Cannot pause"));
  key.setKey(tw::Keyboard::F10);
  EXPECT_EQ(pause->eventHandler(&key), 0);
  EXPECT_TRUE(log.contains(
      "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause."));
}
