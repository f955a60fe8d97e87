// The pause object in a real window: its handler holds the game until another
// key is pressed, or ends the game when the window is closed meanwhile.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "engine/core/Config.h"
#include "engine/loop/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/loop/Pause.h"
#include "engine/display/DisplayManager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/InputManager.h"
#include "engine/platform/Sfml.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XWindowDriver.h"

namespace {
class PauseWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tw_test::useTestDisplay();
    tw::LogManager::getInstance().setLogLevel(10);
    const std::string title =
        std::string("tw-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    tw::Config::getInstance().loadConfig("window_title:" + title);
    ASSERT_EQ(tw::DisplayManager::getInstance().startUp(), 0);
    ASSERT_EQ(tw::InputManager::getInstance().startUp(), 0);
    ASSERT_EQ(tw::WorldManager::getInstance().startUp(), 0);
    driver = std::make_unique<tw_test::XWindowDriver>(title);
    ASSERT_TRUE(driver->found());
    for (int i = 0; i < 10; i++) {  // let the window be mapped
      tw::platform::InputEvent event;
      while (tw::DisplayManager::getInstance().getPresenter()->pollEvent(event)) {
      }
      usleep(20000);
    }
    driver->focus();
    pause = new tw::Pause(tw::Keyboard::F10);
  }
  void TearDown() override {
    tw::WorldManager::getInstance().shutDown();
    tw::InputManager::getInstance().shutDown();
    tw::DisplayManager::getInstance().shutDown();
  }

  // Runs the pause handler for a press of F10 while `act` runs on another
  // thread after a short delay; returns the handler's result and how long it held.
  int pauseWhile(const std::function<void()>& act, double& held_seconds) {
    tw::EventKeyboard press;
    press.setKey(tw::Keyboard::F10);
    press.setKeyboardAction(tw::KEY_RELEASED);  // releases of the pause key pause too
    auto later = std::async(std::launch::async, [act] {
      std::this_thread::sleep_for(std::chrono::milliseconds(400));
      act();
    });
    const auto start = std::chrono::steady_clock::now();
    const int result = pause->eventHandler(&press);
    held_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    later.wait();
    return result;
  }

  tw_test::LogCapture log;
  std::unique_ptr<tw_test::XWindowDriver> driver;
  tw::Pause* pause = nullptr;
};
}  // namespace

TEST_F(PauseWindowTest, HoldsUntilAnotherKeyIsPressed) {
  double held = 0;
  const int result = pauseWhile(
      [this] {
        driver->keyDown("a");
        driver->keyUp("a");
      },
      held);
  EXPECT_EQ(result, 1);
  EXPECT_GE(held, 0.3);
  EXPECT_TRUE(log.contains("Pause::eventHandler(): Game paused."));
  EXPECT_TRUE(log.contains("Pause::eventHandler(): Keypressed."));
  EXPECT_TRUE(log.contains("Pause::eventHandler(): Game resumed."));
  EXPECT_FALSE(tw::GameManager::getInstance().getGameOver());
}

TEST_F(PauseWindowTest, ClosingTheWindowWhilePausedEndsTheGame) {
  double held = 0;
  const int result = pauseWhile([this] { driver->requestClose(); }, held);
  EXPECT_EQ(result, 1);
  EXPECT_GE(held, 0.3);
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
  EXPECT_TRUE(log.contains("Pause::eventHandler(): Window closed. Setting game over."));
  EXPECT_FALSE(log.contains("Game resumed."));
}
