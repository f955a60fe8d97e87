// The input manager reading real input: key presses, holds and releases and
// mouse moves and clicks are sent to the window with xdotool (through the X
// test extension, as from a real keyboard and mouse), and the events objects
// receive, their order and their cell positions are checked.
#include "engine/input/InputManager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <vector>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "tests/support/InputRecorder.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XWindowDriver.h"

namespace {

using tw_test::Received;

class InputWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    tw_test::useTestDisplay();
    tw::LogManager::getInstance().setLogLevel(1);
    const std::string title =
        std::string("tw-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    tw::Config::getInstance().loadConfig("window_title:" + title);
    ASSERT_EQ(tw::DisplayManager::getInstance().startUp(), 0);
    ASSERT_EQ(im.startUp(), 0);
    recorder = std::make_unique<tw_test::Recorder>();
    driver = std::make_unique<tw_test::XWindowDriver>(title);
    ASSERT_TRUE(driver->found());
    ASSERT_TRUE(driver->focus());
    runFrames(10);
    recorder->received.clear();
  }
  void TearDown() override {
    for (const std::string& what : held) send(what, false);
    recorder.reset();
    im.shutDown();
    tw::DisplayManager::getInstance().shutDown();
  }

  // Presses (down) or releases a key ("a") or a mouse button ("1" to "3").
  bool send(const std::string& what, bool down) {
    if (what.size() == 1 && std::isdigit(static_cast<unsigned char>(what[0]))) {
      return down ? driver->mouseDown(what[0] - '0') : driver->mouseUp(what[0] - '0');
    }
    return down ? driver->keyDown(what) : driver->keyUp(what);
  }
  void press(const std::string& what, bool down) {
    ASSERT_TRUE(send(what, down));
    if (down) {
      held.push_back(what);
    } else {
      held.erase(std::remove(held.begin(), held.end(), what), held.end());
    }
  }
  void runFrames(int n) {
    for (int i = 0; i < n; i++) {
      recorder->frame++;
      im.getInput();
      usleep(30000);
    }
  }
  // Runs frames until done() holds, for at most 3 seconds.
  bool runUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 100; i++) {
      runFrames(1);
      if (done()) return true;
    }
    return false;
  }
  bool runUntilKey(int key, int action) {
    return runUntil([&] {
      const std::vector<int> actions = recorder->actionsOf(key);
      return std::find(actions.begin(), actions.end(), action) != actions.end();
    });
  }
  static int count(const std::vector<int>& actions, int action) {
    return static_cast<int>(std::count(actions.begin(), actions.end(), action));
  }

  tw_test::LogCapture log;
  tw::InputManager& im = tw::InputManager::getInstance();
  std::unique_ptr<tw_test::Recorder> recorder;
  std::unique_ptr<tw_test::XWindowDriver> driver;
  std::vector<std::string> held;  // released again at the end
};

TEST_F(InputWindow, HeldKeyIsPressedOnceHeldEachFrameAndReleasedOnce) {
  press("a", true);
  ASSERT_TRUE(runUntilKey(tw::Keyboard::A, tw::KEY_PRESSED));
  const int pressed_frame = recorder->frame;
  runFrames(30);  // about a second: long enough for the server's auto-repeat
  press("a", false);
  ASSERT_TRUE(runUntilKey(tw::Keyboard::A, tw::KEY_RELEASED));
  runFrames(3);
  const std::vector<int> actions = recorder->actionsOf(tw::Keyboard::A);
  EXPECT_EQ(actions.front(), tw::KEY_PRESSED);
  EXPECT_EQ(actions.back(), tw::KEY_RELEASED);
  EXPECT_EQ(count(actions, tw::KEY_PRESSED), 1);
  EXPECT_EQ(count(actions, tw::KEY_RELEASED), 1);
  EXPECT_GE(count(actions, tw::KEY_HELD), 30);
  // One held report per frame, the first in the frame of the press, after it.
  std::vector<int> held_frames;
  for (const Received& r : recorder->received) {
    if (r.key == tw::Keyboard::A && r.action == tw::KEY_HELD) held_frames.push_back(r.frame);
  }
  EXPECT_EQ(held_frames.front(), pressed_frame);
  EXPECT_TRUE(std::adjacent_find(held_frames.begin(), held_frames.end()) == held_frames.end());
}

// F11 is never reported held; the main row's minus is no engine key, the
// keypad's is MINUS.
TEST_F(InputWindow, F11IsNeverHeldAndOnlyTheKeypadMinusIsMinus) {
  for (const char* key : {"F11", "minus", "KP_Subtract"}) {
    SCOPED_TRACE(key);
    const int code = key[0] == 'F' ? tw::Keyboard::F11
                   : key[0] == 'm' ? tw::Keyboard::KEY_UNDEFINED : tw::Keyboard::MINUS;
    press(key, true);
    ASSERT_TRUE(runUntilKey(code, tw::KEY_PRESSED));
    runFrames(3);
    press(key, false);
    ASSERT_TRUE(runUntilKey(code, tw::KEY_RELEASED));
    EXPECT_EQ(count(recorder->actionsOf(code), tw::KEY_HELD) >= 2, code == tw::Keyboard::MINUS);
  }
  EXPECT_EQ(count(recorder->actionsOf(tw::Keyboard::F11), tw::KEY_HELD), 0);
  EXPECT_EQ(recorder->actionsOf(tw::Keyboard::MINUS).front(), tw::KEY_PRESSED);
  EXPECT_TRUE(log.contains("InputManager::toEventKeyboard(): Warning key '-' not handled."));
}

// Positions are cells; a button is clicked once and held every frame it is
// down, in the click's frame too; its release sends nothing.
TEST_F(InputWindow, MouseMovesAndClicksReportCellsAndButtons) {
  ASSERT_TRUE(driver->moveMouse(128, 160));
  ASSERT_TRUE(runUntil([&] { return !recorder->mouse().empty(); }));
  EXPECT_EQ(recorder->mouse().back().action, tw::MOUSE_MOVED);
  EXPECT_EQ(recorder->mouse().back().button, tw::Mouse::MOUSE_BUTTON_UNDEFINED);
  EXPECT_EQ(recorder->mouse().back().position, tw::Vector(10, 5));
  const struct {
    const char* button;
    int expected;
  } buttons[] = {{"1", tw::Mouse::MOUSE_LEFT}, {"3", tw::Mouse::MOUSE_RIGHT}, {"2", tw::Mouse::MOUSE_MIDDLE}};
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.button);
    recorder->received.clear();
    press(b.button, true);
    ASSERT_TRUE(runUntil([&] { return recorder->mouse().size() >= 2; }));
    runFrames(3);
    press(b.button, false);
    runFrames(5);
    const std::vector<Received> mouse = recorder->mouse();
    ASSERT_GE(mouse.size(), 5u);
    EXPECT_EQ(mouse[0].action, tw::MOUSE_CLICKED);
    EXPECT_EQ(mouse[1].action, tw::MOUSE_HELD);
    EXPECT_EQ(mouse[1].frame, mouse[0].frame);
    EXPECT_LT(mouse.back().frame, recorder->frame - 2);
    for (const Received& r : mouse) {
      EXPECT_EQ(r.button, b.expected);
      EXPECT_EQ(r.position, tw::Vector(10, 5));
    }
  }
}

TEST_F(InputWindow, ClosingTheWindowEndsTheGameAndTheFramesInput) {
  tw::GameManager& gm = tw::GameManager::getInstance();
  gm.setGameOver(false);
  press("b", true);
  ASSERT_TRUE(runUntilKey(tw::Keyboard::B, tw::KEY_HELD));
  ASSERT_FALSE(gm.getGameOver());
  ASSERT_TRUE(driver->requestClose());
  ASSERT_TRUE(runUntil([&] { return gm.getGameOver(); }));
  for (const Received& r : recorder->received) {
    EXPECT_LT(r.frame, recorder->frame) << "event in the frame the window closed";
  }
  EXPECT_TRUE(log.contains("InputManager::getInput(): Window closed. Setting game over."));
}

}  // namespace
