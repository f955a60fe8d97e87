// Plays the built game in a real window on the test X server: start screen, a
// run with a jump, a shot and a give-up, the game-over screen, back to
// the start screen, and the window closed. Screenshots along the way check
// what a player would see.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "tests/support/EngineFixtures.h"
#include "tests/support/XWindowDriver.h"

namespace {

using tw_test::Screenshot;

// Pixels of a colour in the cells [col0, col1) x [row0, row1) of the default
// 1024 x 768 window.
int cells(const Screenshot& shot, int col0, int row0, int col1, int row1, std::uint32_t color) {
  const float w = 1024.0f / 80, h = 768.0f / 24;
  return shot.count(int(col0 * w), int(row0 * h), int(col1 * w), int(row1 * h), color);
}
bool startScreen(const Screenshot& s) { return cells(s, 0, 0, 80, 24, 0xFFFF00) > 2000; }
bool runnerOnGround(const Screenshot& s) {
  return cells(s, 7, 16, 14, 23, 0x00FFFF) > 100 && cells(s, 0, 23, 80, 24, 0x00FF00) > 500;
}
bool runnerInTheAir(const Screenshot& s) { return cells(s, 7, 8, 14, 15, 0x00FFFF) > 50; }
bool gameOverScreen(const Screenshot& s) { return cells(s, 5, 5, 75, 20, 0xFF0000) > 5000; }
bool reticleAt60x6(const Screenshot& s) { return cells(s, 58, 5, 62, 7, 0xFF0000) > 0; }
bool bulletInFlight(const Screenshot& s) { return cells(s, 14, 5, 70, 23, 0xFFFF00) > 0; }

// Polls until the condition holds, for at most the given seconds.
bool eventually(double seconds, const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

class EndToEndTest : public ::testing::Test, public tw_test::ConfiguredEngine {
 protected:
  EndToEndTest() : ConfiguredEngine("random_seed:5,networking:false") { tw_test::useTestDisplay(); }

  // Starts ./veld from the program's folder (the working directory; killed
  // after two minutes), its standard error into veld.err, and waits for its
  // start screen. Audio goes to the audio library's null device, so that a
  // device is opened (and must be closed) without a sound card.
  void launch(bool with_window = true) {
    status = std::async(std::launch::async, [this] {
      return std::system(("timeout -s KILL 120 ./veld 2> " + dir.file("veld.err")).c_str());
    });
    if (!with_window) return;
    ASSERT_TRUE(eventually(20, [&] { return (driver = std::make_unique<tw_test::XWindowDriver>("Veld"))->found(); }))
        << "no game window";
    ASSERT_TRUE(seen(10, startScreen)) << "start screen not shown";
  }
  // A screenshot satisfying the condition, taken within the time limit.
  bool seen(double seconds, const std::function<bool(const Screenshot&)>& condition) {
    return eventually(seconds, [&] {
      const Screenshot shot = driver->screenshot();
      return shot.valid() && condition(shot);
    });
  }
  void press(const std::string& keysym) {
    driver->focus();
    driver->keyDown(keysym);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    driver->keyUp(keysym);
  }
  // The program's exit code; -1 when it did not end within 20 seconds.
  int exitCode() {
    if (status.wait_for(std::chrono::seconds(20)) != std::future_status::ready) return -1;
    const int code = status.get();
    return WIFEXITED(code) ? WEXITSTATUS(code) : -1;
  }

  tw_test::ScopedEnv audio{"ALSOFT_DRIVERS", "null"};
  std::future<int> status;
  std::unique_ptr<tw_test::XWindowDriver> driver;
};

TEST_F(EndToEndTest, PlaysFromStartScreenToClosingTheWindow) {
  launch();
  press("p");
  ASSERT_TRUE(seen(10, runnerOnGround)) << "runner not on the ground row";
  EXPECT_FALSE(startScreen(driver->screenshot()));
  press("space");
  EXPECT_TRUE(seen(3, runnerInTheAir)) << "runner did not jump";
  driver->moveMouse(60 * 1024 / 80, 6 * 768 / 24);  // up and to the right
  EXPECT_TRUE(seen(3, reticleAt60x6)) << "reticle not at the pointer";
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // 40 steps into the run
  driver->mouseDown(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  driver->mouseUp(1);
  EXPECT_TRUE(seen(2, bulletInFlight)) << "no bullet seen";
  press("q");  // the runner gives up
  ASSERT_TRUE(seen(10, gameOverScreen)) << "game-over screen not shown";
  press("p");
  ASSERT_TRUE(seen(10, startScreen)) << "no start screen after game over";
  EXPECT_FALSE(gameOverScreen(driver->screenshot()));
  driver->requestClose();
  EXPECT_EQ(exitCode(), 0);
  EXPECT_TRUE(logHas("** Game engine stopped **"));
  EXPECT_FALSE(logHas("Error") || logHas("not found")) << tw_test::readFile(dir.file("game.log"));
  EXPECT_FALSE(tw_test::readFile(dir.path() + "/veld/best-score").empty());
  // The audio device is closed and nothing leaks (a sanitizer build reports here).
  const std::string errors = tw_test::readFile(dir.file("veld.err"));
  EXPECT_EQ(errors.find("device not closed"), std::string::npos) << errors;
  EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
}

TEST_F(EndToEndTest, WithoutADisplayStartUpFailsCleanly) {
  const tw_test::ScopedEnv no_display("DISPLAY", nullptr);
  launch(false);
  EXPECT_EQ(exitCode(), 0);
  EXPECT_TRUE(logHas("Error! Unable to open display"));
  EXPECT_TRUE(logHas("Error starting game manager!"));
}

}  // namespace
