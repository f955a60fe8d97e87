// Plays the built game in a real window on the test X server: start screen, a
// run with a jump, a shot and a give-up, the game-over screen, back to the
// start screen, and the window closed. Screenshots along the way check what a
// player would see.
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

// A test of a screenshot: at least `least` pixels of the colour in the cells
// [col0, col1) x [row0, row1) of the default 1024 x 768 window.
std::function<bool(const Screenshot&)> has(int least, std::uint32_t color, int col0, int row0, int col1,
                                           int row1) {
  const float w = 1024.0f / 80, h = 768.0f / 24;
  return [=](const Screenshot& s) {
    return s.count(int(col0 * w), int(row0 * h), int(col1 * w), int(row1 * h), color) >= least;
  };
}
const auto START_SCREEN = has(2000, 0xFFFF00, 0, 0, 80, 24);  // yellow title
const auto GAME_OVER = has(5000, 0xFF0000, 5, 5, 75, 20);      // red box

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
  // after two minutes), its standard error into veld.err. Audio goes to the
  // audio library's null device, so that a device is opened (and must be
  // closed) without a sound card.
  void launch(const std::string& options = "") {
    status = std::async(std::launch::async, [this, options] {
      return std::system(
          ("timeout -s KILL 120 ./veld " + options + " 2> " + dir.file("veld.err")).c_str());
    });
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
  ASSERT_TRUE(eventually(20, [&] {
    driver = std::make_unique<tw_test::XWindowDriver>("Veld");
    return driver->found();
  })) << "no game window";
  ASSERT_TRUE(seen(10, START_SCREEN)) << "start screen not shown";
  press("p");
  ASSERT_TRUE(seen(10, [](const Screenshot& s) {
    return has(100, 0x00FFFF, 7, 16, 14, 23)(s) && has(500, 0x00FF00, 0, 23, 80, 24)(s);
  })) << "runner not on the ground row";
  EXPECT_TRUE(eventually(10, [&] {  // a jump lasts less than a second: catch one in a screenshot
    press("space");
    return has(50, 0x00FFFF, 7, 8, 14, 15)(driver->screenshot());
  })) << "runner did not jump";
  driver->moveMouse(60 * 1024 / 80, 6 * 768 / 24);  // up and to the right
  EXPECT_TRUE(seen(10, has(1, 0xFF0000, 58, 5, 62, 7))) << "reticle not at the pointer";
  EXPECT_TRUE(eventually(10, [&] {  // clicks until the runner may fire, 40 steps into the run
    driver->mouseDown(1);
    driver->mouseUp(1);
    return has(1, 0xFFFF00, 14, 5, 70, 23)(driver->screenshot());
  })) << "no bullet seen";
  press("q");  // the runner gives up
  ASSERT_TRUE(seen(10, GAME_OVER)) << "game-over screen not shown";
  press("p");
  ASSERT_TRUE(seen(10, [](const Screenshot& s) { return START_SCREEN(s) && !GAME_OVER(s); }));
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
  launch("--window");
  EXPECT_EQ(exitCode(), 1);
  EXPECT_TRUE(logHas("Error! Unable to open display '': display:terminal and display:capture "
                     "need none."));
  EXPECT_TRUE(logHas("Error starting game manager!"));
}

}  // namespace
