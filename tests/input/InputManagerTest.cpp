// The input manager and its events without a window: the key table and its
// mapping from window keys, keyboard event building, accepted event types, and
// start-up with and without the display manager.
#include "engine/input/InputManager.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/world/Object.h"
#include "engine/loop/GameManager.h"
#include "engine/display/CapturePresenter.h"
#include "tests/support/InputRecorder.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::Keyboard::Key;
using PK = tw::platform::Key;

tw::platform::InputEvent keyEvent(PK code, bool pressed = true) {
  tw::platform::InputEvent event;
  event.type = pressed ? tw::platform::InputEvent::Type::KeyPressed
                       : tw::platform::InputEvent::Type::KeyReleased;
  event.key = code;
  return event;
}

TEST(InputManager, KeyToStringGivesEachKeysCharacter) {
  const tw::InputManager& im = tw::InputManager::getInstance();
  EXPECT_EQ(im.keyToString(tw::Keyboard::SPACE), " ");
  EXPECT_EQ(im.keyToString(tw::Keyboard::ENTER), "");
  EXPECT_EQ(im.keyToString(tw::Keyboard::TILDE), "~");
  EXPECT_EQ(im.keyToString(tw::Keyboard::BACKSLASH), "\\");
  EXPECT_EQ(im.keyToString(tw::Keyboard::A), "A");
  EXPECT_EQ(im.keyToString(tw::Keyboard::DIGIT_1), "1");
  EXPECT_EQ(im.keyToString(tw::Keyboard::DIGIT_0), "0");
  EXPECT_EQ(im.keyToString(tw::Keyboard::RESERVED_KEY), "");
  EXPECT_EQ(im.keyToString(tw::Keyboard::BACKQUOTE), "`");
  EXPECT_EQ(im.keyToString(static_cast<Key>(77)), "");
  EXPECT_EQ(im.keyToString(tw::Keyboard::KEY_UNDEFINED), "");
}

TEST(InputManager, WindowKeysMapOntoTheEngineKeys) {
  using tw::InputManager;
  EXPECT_EQ(InputManager::toEngineKey(PK::Space), tw::Keyboard::SPACE);
  EXPECT_EQ(InputManager::toEngineKey(PK::Subtract), tw::Keyboard::MINUS);
  EXPECT_EQ(InputManager::toEngineKey(PK::Add), tw::Keyboard::PLUS);
  EXPECT_EQ(InputManager::toEngineKey(PK::Grave), tw::Keyboard::TILDE);
  EXPECT_EQ(InputManager::toEngineKey(PK::Multiply), tw::Keyboard::ASTERISK);
  EXPECT_EQ(InputManager::toEngineKey(PK::Apostrophe), tw::Keyboard::APOSTROPHE);
  EXPECT_EQ(InputManager::toEngineKey(PK::Num0), tw::Keyboard::DIGIT_0);
  EXPECT_EQ(InputManager::toEngineKey(PK::Num9), tw::Keyboard::DIGIT_9);
  EXPECT_EQ(InputManager::toEngineKey(PK::F12), tw::Keyboard::F12);
  EXPECT_EQ(InputManager::toEngineKey(PK::Q), tw::Keyboard::Q);
  for (PK unmapped : {PK::Hyphen, PK::LAlt, PK::RSystem, PK::Menu, PK::PageUp, PK::Delete,
                      PK::Divide, PK::Numpad0, PK::Numpad9, PK::F13, PK::F15, PK::Unknown}) {
    EXPECT_EQ(InputManager::toEngineKey(unmapped), tw::Keyboard::KEY_UNDEFINED)
        << tw::platform::keyDescription(unmapped);
  }
  // 75 engine keys have a window key, each its own; the round trip holds.
  std::set<Key> reached;
  for (int code = 0; code < tw::platform::KEY_COUNT; code++) {
    Key key = InputManager::toEngineKey(static_cast<PK>(code));
    if (key == tw::Keyboard::KEY_UNDEFINED) continue;
    EXPECT_TRUE(reached.insert(key).second) << "key " << key << " reached twice";
    EXPECT_EQ(InputManager::toPlatformKey(key), static_cast<PK>(code));
  }
  EXPECT_EQ(reached.size(), 75u);
  EXPECT_EQ(reached.count(tw::Keyboard::RESERVED_KEY), 0u);
  EXPECT_EQ(reached.count(tw::Keyboard::BACKQUOTE), 0u);
}

TEST(InputManager, ToEventKeyboardSetsTheKeyAndLeavesTheAction) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(15);
  const tw::InputManager& im = tw::InputManager::getInstance();
  tw::EventKeyboard pressed = im.toEventKeyboard(keyEvent(PK::A));
  EXPECT_EQ(pressed.getKey(), tw::Keyboard::A);
  EXPECT_EQ(pressed.getKeyboardAction(), tw::KEY_ACTION_UNDEFINED);
  EXPECT_EQ(im.toEventKeyboard(keyEvent(PK::Subtract, false)).getKey(), tw::Keyboard::MINUS);
  EXPECT_TRUE(log.contains("InputManager::toEventKeyboard(): Keyboard event 'A' (A)"));
  EXPECT_TRUE(log.contains("InputManager::toEventKeyboard(): Keyboard event '-' (Numpad -)"));
  tw::platform::InputEvent moved;
  moved.type = tw::platform::InputEvent::Type::MouseMoved;
  EXPECT_EQ(im.toEventKeyboard(moved).getKey(), tw::Keyboard::KEY_UNDEFINED);
  EXPECT_TRUE(log.contains("toEventKeyboard(): Error! Called with non-keyboard event."));
}

TEST(InputManager, UnhandledKeysWarnWithAReadableName) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(1);
  const tw::InputManager& im = tw::InputManager::getInstance();
  EXPECT_EQ(im.toEventKeyboard(keyEvent(PK::Hyphen)).getKey(), tw::Keyboard::KEY_UNDEFINED);
  EXPECT_EQ(im.toEventKeyboard(keyEvent(PK::Numpad5)).getKey(), tw::Keyboard::KEY_UNDEFINED);
  EXPECT_EQ(im.toEventKeyboard(keyEvent(PK::Unknown)).getKey(), tw::Keyboard::KEY_UNDEFINED);
  const std::vector<std::string> expected = {
      "InputManager::toEventKeyboard(): Warning key '-' not handled.",
      "InputManager::toEventKeyboard(): Warning key 'Numpad 5' not handled.",
      "InputManager::toEventKeyboard(): Warning key 'Unknown' not handled.",
  };
  EXPECT_EQ(log.messages(), expected);
}

TEST(InputManager, AcceptsInterestInKeyboardAndMouseOnly) {
  tw_test::LogCapture log;
  tw::InputManager& im = tw::InputManager::getInstance();
  EXPECT_TRUE(im.isValid("tw-keyboard"));
  EXPECT_TRUE(im.isValid("tw-mouse"));
  EXPECT_FALSE(im.isValid("tw-step"));
  EXPECT_FALSE(im.isValid("tw-keyboard-network"));
  tw::Object object;
  EXPECT_EQ(im.registerInterest(&object, "tw-keyboard"), 0);
  EXPECT_EQ(im.registerInterest(&object, "tw-step"), -1);
  im.unregisterInterest(&object, "tw-keyboard");
}

TEST(InputManager, HeadlessStartsAloneAndReadsNothing) {
  tw_test::LogCapture log;
  tw_test::ScopedEnv no_display("DISPLAY", nullptr);
  tw::Config::getInstance().loadConfig("headless:true");
  tw::InputManager& im = tw::InputManager::getInstance();
  ASSERT_FALSE(tw::DisplayManager::getInstance().isStarted());
  EXPECT_EQ(im.startUp(), 0);
  EXPECT_TRUE(im.isStarted());
  im.getInput();
  EXPECT_TRUE(log.messages().empty());
  EXPECT_EQ(im.startUp(), -1);
  EXPECT_TRUE(log.contains("InputManager::startup(): Warning! InputManager already started."));
  im.shutDown();
  EXPECT_FALSE(im.isStarted());
}

TEST(InputManager, NeedsTheDisplayManagerStartedFirst) {
  tw_test::LogCapture log;
  tw::Config::getInstance().loadConfig("headless:false");
  EXPECT_EQ(tw::InputManager::getInstance().startUp(), -1);
  EXPECT_FALSE(tw::InputManager::getInstance().isStarted());
  EXPECT_TRUE(log.contains("InputManager::startUp(): Error! DisplayManager must be started first."));
}

TEST(InputManager, WithoutAWindowWarnsAndReadsNothing) {
  tw_test::LogCapture log;
  // A display manager started headless, then the setting turned off: started
  // but without a window.
  tw::Config::getInstance().loadConfig("headless:true");
  ASSERT_EQ(tw::DisplayManager::getInstance().startUp(), 0);
  tw::Config::getInstance().loadConfig("headless:false");
  tw::InputManager& im = tw::InputManager::getInstance();
  EXPECT_EQ(im.startUp(), 0);
  EXPECT_TRUE(log.contains(
      "InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat."));
  im.getInput();
  EXPECT_TRUE(
      log.contains("InputManager::getInput(): DisplayManager unexpectedly returned null window!"));
}

// Events queued in the capture presenter arrive in order within a frame,
// then held buttons and keys; a release ends the held reports; a close
// request ends the game and the frame's input.
TEST(InputManager, PresenterEventsArriveInOrderThenHeldOnes) {
  tw_test::LogCapture log;
  tw::Config::getInstance().loadConfig("display:capture");
  ASSERT_EQ(tw::DisplayManager::getInstance().startUp(), 0);
  tw::InputManager& im = tw::InputManager::getInstance();
  ASSERT_EQ(im.startUp(), 0);
  auto* presenter = dynamic_cast<tw::CapturePresenter*>(tw::DisplayManager::getInstance().getPresenter());
  ASSERT_NE(presenter, nullptr);
  using Type = tw::platform::InputEvent::Type;
  auto push = [&](Type type, PK key, float x = 0, float y = 0) {
    tw::platform::InputEvent e;
    e.type = type;
    e.key = key;
    e.x = x;
    e.y = y;
    presenter->pushEvent(e);
  };
  tw_test::Recorder recorder;
  push(Type::KeyPressed, PK::A);
  push(Type::MouseButtonPressed, PK::Unknown, 3.5f, 4.0f);
  im.getInput();
  recorder.frame = 1;
  push(Type::KeyReleased, PK::A);
  im.getInput();
  const std::vector<std::vector<int>> expected = {
      {0, 1, tw::Keyboard::A, tw::KEY_PRESSED}, {0, 0, -1, tw::MOUSE_CLICKED},
      {0, 0, -1, tw::MOUSE_HELD},               {0, 1, tw::Keyboard::A, tw::KEY_HELD},
      {1, 1, tw::Keyboard::A, tw::KEY_RELEASED}, {1, 0, -1, tw::MOUSE_HELD}};
  ASSERT_EQ(recorder.received.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); i++) {
    const tw_test::Received& r = recorder.received[i];
    EXPECT_EQ((std::vector<int>{r.frame, r.keyboard, r.key, r.action}), expected[i]) << i;
    if (!r.keyboard) {
      EXPECT_FLOAT_EQ(r.position.getX(), 3.5f) << i;
    }
  }
  push(Type::Closed, PK::Unknown);
  push(Type::KeyPressed, PK::B);
  im.getInput();
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
  EXPECT_FALSE(recorder.has(tw::Keyboard::B, tw::KEY_PRESSED));
  im.shutDown();
  tw::DisplayManager::getInstance().shutDown();
}

}  // namespace
