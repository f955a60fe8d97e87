// The pause object in a real window: its handler holds the game until another
// key is pressed, or ends the game when the window is closed meanwhile.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <future>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/InputManager.h"
#include "engine/loop/GameManager.h"
#include "engine/loop/Pause.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XWindowDriver.h"

// Runs the pause handler for a release of F10 (releases of the pause key pause
// too) while act runs on another thread 0.4 s later; checks it held that long.
static int pauseWhile(tw::Pause& pause, const std::function<void()>& act) {
  tw::EventKeyboard release;
  release.setKey(tw::Keyboard::F10);
  release.setKeyboardAction(tw::KEY_RELEASED);
  auto later = std::async(std::launch::async, [act] { usleep(400000); act(); });
  const auto start = std::chrono::steady_clock::now();
  const int result = pause.eventHandler(&release);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  later.wait();
  return result;
}

TEST(PauseWindow, HoldsUntilAnotherKeyIsPressedOrTheWindowCloses) {
  tw_test::useTestDisplay();
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(10);
  tw::Config::getInstance().loadConfig("window_title:tw-pause");
  ASSERT_EQ(tw::DisplayManager::getInstance().startUp(), 0);
  ASSERT_EQ(tw::InputManager::getInstance().startUp(), 0);
  ASSERT_EQ(tw::WorldManager::getInstance().startUp(), 0);
  tw_test::XWindowDriver driver("tw-pause");
  ASSERT_TRUE(driver.found());
  tw::platform::InputEvent event;
  for (int i = 0; i < 10; i++, usleep(20000)) {  // let the window be mapped
    while (tw::DisplayManager::getInstance().getPresenter()->pollEvent(event)) continue;
  }
  driver.focus();
  auto* pause = new tw::Pause(tw::Keyboard::F10);  // owned by the world
  EXPECT_EQ(pauseWhile(*pause, [&] { driver.keyDown("a"), driver.keyUp("a"); }), 1);
  EXPECT_FALSE(tw::GameManager::getInstance().getGameOver());
  EXPECT_EQ(pauseWhile(*pause, [&] { driver.requestClose(); }), 1);
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
  tw::WorldManager::getInstance().shutDown();
  tw::InputManager::getInstance().shutDown();
  tw::DisplayManager::getInstance().shutDown();
}
