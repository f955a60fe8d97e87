// Real input in a window: key presses, holds and releases and mouse moves and
// clicks are sent to the window with xdotool (through the X test extension, as
// from a real keyboard and mouse), and the events objects receive, their order
// and their cell positions are checked; the pause object holds the game until
// a key is pressed or the window is closed.
#include "engine/input/InputManager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <future>
#include <functional>
#include <iterator>
#include <memory>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "engine/loop/Pause.h"
#include "tests/support/InputScript.h"
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
  // Presses with down(true) until two of its events (mine) came, holds for
  // `frames` frames, releases with down(false) until three frames passed
  // without one (and a key's release came); returns its events.
  std::vector<Received> pressAndRelease(const std::function<bool(bool)>& down,
                                        const std::function<bool(const Received&)>& mine, int frames) {
    recorder.received.clear();
    const auto events = [&] {
      std::vector<Received> out;
      std::copy_if(recorder.received.begin(), recorder.received.end(), std::back_inserter(out), mine);
      return out;
    };
    EXPECT_TRUE(down(true) && runUntil([&] { return events().size() >= 2; }));
    runFrames(frames);
    EXPECT_TRUE(down(false) && runUntil([&] {
      const Received last = events().back();
      return last.frame < recorder.frame - 2 && !(last.keyboard && last.action == tw::KEY_HELD);
    }));
    return events();
  }

  tw_test::LogCapture log;
  tw::InputManager& im = tw::InputManager::getInstance();
  tw_test::Recorder recorder;
  std::unique_ptr<tw_test::XWindowDriver> driver;
};

// Pressed once, held once a frame from the frame of the press on (whatever
// the server's auto-repeat does), released once.
TEST_F(InputWindow, HeldKeyIsPressedOnceHeldEachFrameAndReleasedOnce) {
  const std::vector<Received> a = pressAndRelease(
      [&](bool down) { return down ? driver->keyDown("a") : driver->keyUp("a"); },
      [](const Received& r) { return r.keyboard && r.key == tw::Keyboard::A; }, 30);
  ASSERT_GE(a.size(), 32u);  // 30 frames: long enough for the server's auto-repeat
  EXPECT_EQ(a.front().action, tw::KEY_PRESSED);
  EXPECT_EQ(a.back().action, tw::KEY_RELEASED);
  for (size_t i = 1; i + 1 < a.size(); i++) {
    EXPECT_EQ(a[i].action, tw::KEY_HELD) << i;
    EXPECT_EQ(a[i].frame, a[0].frame + static_cast<int>(i) - 1) << i;
  }
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
  for (int b = 1; b <= 3; b++) {
    SCOPED_TRACE(b);
    const std::vector<Received> events = pressAndRelease(
        [&](bool down) { return down ? driver->mouseDown(b) : driver->mouseUp(b); },
        [&](const Received& r) { return !r.keyboard && r.button == buttons[b - 1]; }, 3);
    ASSERT_GE(events.size(), 5u);
    for (size_t i = 0; i < events.size(); i++) {
      EXPECT_EQ(events[i].action, i == 0 ? tw::MOUSE_CLICKED : tw::MOUSE_HELD) << i;
      EXPECT_EQ(events[i].frame, events[0].frame + std::max(0, static_cast<int>(i) - 1)) << i;
      EXPECT_EQ(events[i].position, tw::Vector(10, 5)) << i;
    }
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
  pauseWhile([&] { driver->tap("a"); });
  EXPECT_FALSE(tw::GameManager::getInstance().getGameOver());
  pauseWhile([&] { driver->requestClose(); });
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
  const auto lines = log.messages();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Pause::eventHandler(): Game resumed."), 1);
  EXPECT_TRUE(log.contains("Pause::eventHandler(): Window closed. Setting game over."));
}

// The input script sent to the probe's window (display:auto picks the window
// where there is a display): the X server's own auto-repeat makes the held
// key's repeats, and the report is the one every presenter gives.
TEST(InputScript, WindowReportsWhatEveryPresenterReports) {
  tw_test::useTestDisplay();
  tw_test::TempDir dir;
  const std::string config = dir.write(
      "tw-config.txt", "window_title:tw-input-probe,\nlogfile:" + dir.file("probe.log") + ",\n");
  auto ended = std::async(std::launch::async, [&] {
    return std::system(("TARNWICK_CONFIG=" + config + " timeout -s KILL 120 " TW_INPUT_PROBE " " +
                        dir.file("report.txt"))
                           .c_str());
  });
  std::unique_ptr<tw_test::XWindowDriver> driver;
  for (int i = 0; i < 200 && !(driver && driver->found()); i++, usleep(100000)) {
    driver = std::make_unique<tw_test::XWindowDriver>("tw-input-probe");
  }
  ASSERT_TRUE(driver->found());
  ASSERT_TRUE(driver->focus());
  const auto keysym = [](tw::Keyboard::Key key) { return key == tw::Keyboard::LEFT_ARROW ? "Left" : "Down"; };
  tw_test::playScript([&](tw::Keyboard::Key key) { EXPECT_TRUE(driver->tap(keysym(key))); },
                      [&](tw::Keyboard::Key key) {
                        EXPECT_TRUE(driver->keyDown(keysym(key)));
                        usleep(tw_test::HOLD_MS * 1000);  // the X server's auto-repeat starts
                        EXPECT_TRUE(driver->keyUp(keysym(key)));
                      },
                      dir.file("probe.log"));
  EXPECT_TRUE(driver->tap("q"));
  EXPECT_EQ(ended.get(), 0);
  EXPECT_EQ(tw_test::readFile(dir.file("report.txt")), tw_test::EXPECTED_REPORT);
  EXPECT_TRUE(tw_test::fileContains(dir.file("probe.log"), "display:auto chose the window"));
}
