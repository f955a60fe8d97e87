// Real input in a window: key presses, holds and releases and mouse moves and
// clicks are sent to the window with xdotool (through the X test extension, as
// from a real keyboard and mouse), and the events objects receive, their order
// and their cell positions are checked; the pause object holds the game until
// a key is pressed or the window is closed.
#include "engine/input/InputManager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <functional>
#include <memory>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "engine/loop/Pause.h"
#include "tests/support/InputRecorder.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XWindowDriver.h"

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
    driver = std::make_unique<tw_test::XWindowDriver>(title);
    ASSERT_TRUE(driver->found());
    ASSERT_TRUE(driver->focus());
    runFrames(10);
    recorder.received.clear();
  }
  void TearDown() override {
    if (driver) driver->keyUp("a");  // in case a test stopped while it was down
    im.shutDown();
    tw::DisplayManager::getInstance().shutDown();
  }
  void runFrames(int n) {
    for (int i = 0; i < n; i++, usleep(30000)) {
      recorder.frame++;
      im.getInput();
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
    return runUntil([=] { return count(recorder.actionsOf(key), action) > 0; });
  }
  static int count(const std::vector<int>& actions, int action) {
    return static_cast<int>(std::count(actions.begin(), actions.end(), action));
  }

  tw_test::LogCapture log;
  tw::InputManager& im = tw::InputManager::getInstance();
  tw_test::Recorder recorder;
  std::unique_ptr<tw_test::XWindowDriver> driver;
};

// Pressed once, held once a frame from the frame of the press on (whatever
// the server's auto-repeat does), released once.
TEST_F(InputWindow, HeldKeyIsPressedOnceHeldEachFrameAndReleasedOnce) {
  ASSERT_TRUE(driver->keyDown("a"));
  ASSERT_TRUE(runUntilKey(tw::Keyboard::A, tw::KEY_PRESSED));
  const int pressed_frame = recorder.frame;
  runFrames(30);  // about a second: long enough for the server's auto-repeat
  ASSERT_TRUE(driver->keyUp("a"));
  ASSERT_TRUE(runUntilKey(tw::Keyboard::A, tw::KEY_RELEASED));
  runFrames(3);
  const std::vector<int> actions = recorder.actionsOf(tw::Keyboard::A);
  EXPECT_EQ(actions.front(), tw::KEY_PRESSED);
  EXPECT_EQ(actions.back(), tw::KEY_RELEASED);
  EXPECT_EQ(count(actions, tw::KEY_PRESSED) + count(actions, tw::KEY_RELEASED), 2);
  EXPECT_GE(count(actions, tw::KEY_HELD), 30);
  std::vector<int> held_frames;
  for (const Received& r : recorder.received) {
    if (r.key == tw::Keyboard::A && r.action == tw::KEY_HELD) held_frames.push_back(r.frame);
  }
  EXPECT_EQ(held_frames.front(), pressed_frame);
  EXPECT_TRUE(std::adjacent_find(held_frames.begin(), held_frames.end()) == held_frames.end());
}

// Positions are cells; a button is clicked once and held every frame it is
// down, in the click's frame too; its release sends nothing.
TEST_F(InputWindow, MouseMovesAndClicksReportCellsAndButtons) {
  ASSERT_TRUE(driver->moveMouse(128, 160));
  ASSERT_TRUE(runUntil([&] { return !recorder.mouse().empty(); }));
  const Received moved = recorder.mouse().back();
  EXPECT_EQ(moved.action, tw::MOUSE_MOVED);
  EXPECT_EQ(moved.button, tw::Mouse::MOUSE_BUTTON_UNDEFINED);
  EXPECT_EQ(moved.position, tw::Vector(10, 5));
  const int buttons[] = {tw::Mouse::MOUSE_LEFT, tw::Mouse::MOUSE_MIDDLE, tw::Mouse::MOUSE_RIGHT};
  for (int x_button = 1; x_button <= 3; x_button++) {
    SCOPED_TRACE(x_button);
    const auto of_button = [&] {
      std::vector<Received> mouse;
      for (const Received& r : recorder.mouse()) {
        if (r.button == buttons[x_button - 1]) mouse.push_back(r);
      }
      return mouse;
    };
    recorder.received.clear();
    ASSERT_TRUE(driver->mouseDown(x_button));
    const bool seen = runUntil([&] { return of_button().size() >= 2; });
    runFrames(3);
    ASSERT_TRUE(driver->mouseUp(x_button));
    // Held no more: three frames in a row without its event.
    EXPECT_TRUE(runUntil([&] { return of_button().back().frame < recorder.frame - 2; }));
    const std::vector<Received> mouse = of_button();
    ASSERT_TRUE(seen && mouse.size() >= 5u);
    EXPECT_EQ(mouse[0].action, tw::MOUSE_CLICKED);
    EXPECT_EQ(mouse[1].action, tw::MOUSE_HELD);
    EXPECT_EQ(mouse[1].frame, mouse[0].frame);
    for (const Received& r : mouse) EXPECT_EQ(r.position, tw::Vector(10, 5));
  }
}

// The pause handler, for a release of F10 (releases of the pause key pause
// too), holds while act runs on another thread 0.4 s later.
TEST_F(InputWindow, PauseHoldsUntilAnotherKeyIsPressedOrTheWindowCloses) {
  tw::Pause pause(tw::Keyboard::F10);
  tw::LogManager::getInstance().setLogLevel(10);
  const auto pauseWhile = [&](const std::function<void()>& act) {
    tw::EventKeyboard release;
    release.setKey(tw::Keyboard::F10);
    release.setKeyboardAction(tw::KEY_RELEASED);
    auto later = std::async(std::launch::async, [act] { usleep(400000); act(); });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(pause.eventHandler(&release), 1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  };
  pauseWhile([&] { driver->keyDown("a") && driver->keyUp("a"); });
  EXPECT_FALSE(tw::GameManager::getInstance().getGameOver());
  pauseWhile([&] { driver->requestClose(); });
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
  const auto lines = log.messages();
  const char* const expected[] = {"Game paused.", "Keypressed.", "Game resumed.", "Game paused.",
                                  "Window closed. Setting game over."};
  auto at = lines.begin();
  for (const char* line : expected) {
    at = std::find(at, lines.end(), std::string("Pause::eventHandler(): ") + line);
    EXPECT_NE(at, lines.end()) << line;
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Pause::eventHandler(): Game resumed."), 1);
}
