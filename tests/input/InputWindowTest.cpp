// The input manager reading real input: key presses, holds and releases and
// mouse moves and clicks are sent to the window with xdotool (through the X
// test extension, as from a real keyboard and mouse), and the events objects
// receive, their order and their cell positions are checked.
#include "engine/input/InputManager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "engine/core/Config.h"
#include "engine/loop/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/world/Object.h"
#include "tests/support/InputRecorder.h"
#include "tests/support/XWindowDriver.h"
#include "tests/support/TestSupport.h"

namespace {

using tw_test::Received;
using tw_test::Recorder;


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
    recorder = std::make_unique<Recorder>();
    driver = std::make_unique<tw_test::XWindowDriver>(title);
    ASSERT_TRUE(driver->found());
    ASSERT_TRUE(driver->focus());
    runFrames(10);
    recorder->received.clear();
  }

  void TearDown() override {
    for (const std::string& key : keys_down) driver->keyUp(key);
    for (int button : buttons_down) driver->mouseUp(button);
    recorder.reset();
    im.shutDown();
    tw::DisplayManager::getInstance().shutDown();
  }

  void keyDown(const std::string& key) {
    ASSERT_TRUE(driver->keyDown(key));
    keys_down.push_back(key);
  }
  void keyUp(const std::string& key) {
    ASSERT_TRUE(driver->keyUp(key));
    keys_down.erase(std::remove(keys_down.begin(), keys_down.end(), key), keys_down.end());
  }
  void mouseDown(int button) {
    ASSERT_TRUE(driver->mouseDown(button));
    buttons_down.push_back(button);
  }
  void mouseUp(int button) {
    ASSERT_TRUE(driver->mouseUp(button));
    buttons_down.erase(std::remove(buttons_down.begin(), buttons_down.end(), button),
                       buttons_down.end());
  }

  // One game-loop input step.
  void frame() {
    recorder->frame++;
    im.getInput();
    usleep(30000);
  }
  void runFrames(int n) {
    for (int i = 0; i < n; i++) frame();
  }
  // Runs frames until done() holds, for at most 3 seconds.
  bool runUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 100; i++) {
      frame();
      if (done()) return true;
    }
    return false;
  }
  bool runUntilKey(int key, int action) {
    return runUntil([&] { return recorder->has(key, action); });
  }

  tw_test::LogCapture log;
  tw::InputManager& im = tw::InputManager::getInstance();
  std::unique_ptr<Recorder> recorder;
  std::unique_ptr<tw_test::XWindowDriver> driver;
  std::vector<std::string> keys_down;
  std::vector<int> buttons_down;
};

TEST_F(InputWindow, HeldKeyIsPressedOnceHeldEachFrameAndReleasedOnce) {
  keyDown("a");
  ASSERT_TRUE(runUntilKey(tw::Keyboard::A, tw::KEY_PRESSED));
  const int pressed_frame = recorder->frame;
  runFrames(30);  // about a second: long enough for the server's auto-repeat
  keyUp("a");
  ASSERT_TRUE(runUntilKey(tw::Keyboard::A, tw::KEY_RELEASED));
  runFrames(3);

  const std::vector<int> actions = recorder->actionsOf(tw::Keyboard::A);
  ASSERT_GE(actions.size(), 3u);
  EXPECT_EQ(actions.front(), tw::KEY_PRESSED);
  EXPECT_EQ(actions.back(), tw::KEY_RELEASED);
  EXPECT_EQ(std::count(actions.begin(), actions.end(), tw::KEY_PRESSED), 1);
  EXPECT_EQ(std::count(actions.begin(), actions.end(), tw::KEY_RELEASED), 1);
  EXPECT_GE(std::count(actions.begin(), actions.end(), tw::KEY_HELD), 30);
  // One held report per frame, the first in the frame of the press, after it.
  std::vector<int> held_frames;
  for (const Received& r : recorder->received) {
    if (r.key == tw::Keyboard::A && r.action == tw::KEY_HELD) held_frames.push_back(r.frame);
  }
  EXPECT_EQ(held_frames.front(), pressed_frame);
  EXPECT_TRUE(std::adjacent_find(held_frames.begin(), held_frames.end()) == held_frames.end());
}

TEST_F(InputWindow, F11IsPressedAndReleasedButNeverHeld) {
  keyDown("F11");
  ASSERT_TRUE(runUntilKey(tw::Keyboard::F11, tw::KEY_PRESSED));
  runFrames(5);
  keyUp("F11");
  ASSERT_TRUE(runUntilKey(tw::Keyboard::F11, tw::KEY_RELEASED));
  const std::vector<int> expected = {tw::KEY_PRESSED, tw::KEY_RELEASED};
  EXPECT_EQ(recorder->actionsOf(tw::Keyboard::F11), expected);
}

TEST_F(InputWindow, MainRowMinusIsUndefinedAndKeypadMinusIsMinus) {
  keyDown("minus");
  ASSERT_TRUE(runUntilKey(tw::Keyboard::KEY_UNDEFINED, tw::KEY_PRESSED));
  keyUp("minus");
  ASSERT_TRUE(runUntilKey(tw::Keyboard::KEY_UNDEFINED, tw::KEY_RELEASED));
  EXPECT_TRUE(log.contains("InputManager::toEventKeyboard(): Warning key '-' not handled."));
  EXPECT_TRUE(recorder->actionsOf(tw::Keyboard::MINUS).empty());

  keyDown("KP_Subtract");
  ASSERT_TRUE(runUntilKey(tw::Keyboard::MINUS, tw::KEY_PRESSED));
  runFrames(2);
  keyUp("KP_Subtract");
  ASSERT_TRUE(runUntilKey(tw::Keyboard::MINUS, tw::KEY_RELEASED));
  const std::vector<int> actions = recorder->actionsOf(tw::Keyboard::MINUS);
  EXPECT_EQ(actions.front(), tw::KEY_PRESSED);
  EXPECT_EQ(std::count(actions.begin(), actions.end(), tw::KEY_HELD) >= 2, true);
}

TEST_F(InputWindow, MouseMovesAndClicksReportCellPositions) {
  ASSERT_TRUE(driver->moveMouse(128, 160));
  ASSERT_TRUE(runUntil([&] { return !recorder->mouse().empty(); }));
  std::vector<Received> mouse = recorder->mouse();
  EXPECT_EQ(mouse.back().action, tw::MOUSE_MOVED);
  EXPECT_EQ(mouse.back().button, tw::Mouse::MOUSE_BUTTON_UNDEFINED);
  EXPECT_EQ(mouse.back().position, tw::Vector(10, 5));

  recorder->received.clear();
  mouseDown(1);
  ASSERT_TRUE(runUntil([&] { return recorder->mouse().size() >= 2; }));
  runFrames(3);
  mouseUp(1);
  runFrames(5);
  mouse = recorder->mouse();
  ASSERT_GE(mouse.size(), 5u);
  EXPECT_EQ(mouse.front().action, tw::MOUSE_CLICKED);
  for (const Received& r : mouse) {
    EXPECT_EQ(r.button, tw::Mouse::MOUSE_LEFT);
    EXPECT_EQ(r.position, tw::Vector(10, 5));
  }
  // Held every frame it was down, in the click's frame too; the release sends nothing.
  const int last_frame = recorder->frame;
  EXPECT_EQ(std::count_if(mouse.begin(), mouse.end(),
                          [](const Received& r) { return r.action == tw::MOUSE_CLICKED; }),
            1);
  EXPECT_EQ(mouse[1].action, tw::MOUSE_HELD);
  EXPECT_EQ(mouse[1].frame, mouse[0].frame);
  EXPECT_LT(mouse.back().frame, last_frame - 2);
}

TEST_F(InputWindow, RightAndMiddleButtonsAreReportedAsSuch) {
  ASSERT_TRUE(driver->moveMouse(300, 400));
  runFrames(3);
  recorder->received.clear();
  mouseDown(3);
  ASSERT_TRUE(runUntil([&] { return !recorder->mouse().empty(); }));
  mouseUp(3);
  mouseDown(2);
  auto middle_click = [](const Received& r) {
    return r.action == tw::MOUSE_CLICKED && r.button == tw::Mouse::MOUSE_MIDDLE;
  };
  EXPECT_TRUE(runUntil([&] {
    const std::vector<Received> seen = recorder->mouse();
    return std::any_of(seen.begin(), seen.end(), middle_click);
  }));
  mouseUp(2);
  runFrames(3);
  const std::vector<Received> mouse = recorder->mouse();
  EXPECT_EQ(mouse.front().action, tw::MOUSE_CLICKED);
  EXPECT_EQ(mouse.front().button, tw::Mouse::MOUSE_RIGHT);
  EXPECT_EQ(mouse.front().position, tw::pixelsToSpaces(tw::Vector(300, 400)));
  EXPECT_EQ(std::count_if(mouse.begin(), mouse.end(), middle_click), 1);
}

TEST_F(InputWindow, ClosingTheWindowEndsTheGameAndTheFramesInput) {
  tw::GameManager& gm = tw::GameManager::getInstance();
  gm.setGameOver(false);
  keyDown("b");
  ASSERT_TRUE(runUntilKey(tw::Keyboard::B, tw::KEY_HELD));
  ASSERT_FALSE(gm.getGameOver());

  ASSERT_TRUE(driver->requestClose());
  ASSERT_TRUE(runUntil([&] { return gm.getGameOver(); }));
  const int closing_frame = recorder->frame;
  for (const Received& r : recorder->received) {
    EXPECT_LT(r.frame, closing_frame) << "event in the frame the window closed";
  }
  EXPECT_TRUE(log.contains("InputManager::getInput(): Window closed. Setting game over."));
}

}  // namespace
