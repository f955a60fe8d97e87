// Plays the built game in a real window on the test X server: start screen, a
// run with a jump, a shot and a give-up, the game-over screen, back to the start
// screen, and quit. Screenshots along the way check what a player would see.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "tests/support/TestSupport.h"
#include "tests/support/XWindowDriver.h"

extern char** environ;

namespace {
using tw_test::Screenshot;
using tw_test::XWindowDriver;

const std::uint32_t YELLOW = 0xFFFF00;
const std::uint32_t CYAN = 0x00FFFF;
const std::uint32_t GREEN = 0x00FF00;
const std::uint32_t RED = 0xFF0000;
const std::uint32_t WHITE = 0xFFFFFF;
const float CELL_W = 1024.0f / 80.0f;  // pixels per cell with the default window
const float CELL_H = 768.0f / 24.0f;

// Pixels of a colour in the cell rectangle [col0, col1) x [row0, row1).
int cells(const Screenshot& shot, int col0, int row0, int col1, int row1, std::uint32_t color) {
  return shot.count(static_cast<int>(col0 * CELL_W), static_cast<int>(row0 * CELL_H),
                    static_cast<int>(col1 * CELL_W), static_cast<int>(row1 * CELL_H), color);
}

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tw_test::useTestDisplay();
    log_path = dir.file("veld.log");
    err_path = dir.file("veld.err");
    config_path = dir.write("tw-config.txt", "random_seed:5,networking:false");
  }
  void TearDown() override {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }

  // Starts ./veld from the program's folder (the working directory), its
  // standard error going to err_path. Audio goes to the audio library's null
  // device, so that a device is opened (and must be closed) without a sound card.
  void launch() {
    std::string log_env = "TARNWICK_LOG=" + log_path;
    std::string config_env = "TARNWICK_CONFIG=" + config_path;
    std::string data_env = "XDG_DATA_HOME=" + dir.path();
    putenv(log_env.data());
    putenv(config_env.data());
    putenv(data_env.data());
    setenv("ALSOFT_DRIVERS", "null", 1);
    char program[] = "./veld";
    char* argv[] = {program, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_EQ(posix_spawn(&pid, "./veld", &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    unsetenv("TARNWICK_LOG");
    unsetenv("TARNWICK_CONFIG");
    unsetenv("XDG_DATA_HOME");
    unsetenv("ALSOFT_DRIVERS");
  }

  // Polls until the condition holds, for at most the given seconds.
  static bool eventually(double seconds, const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
  }

  // A screenshot that satisfies the condition, taken within the time limit.
  bool seen(double seconds, const std::function<bool(const Screenshot&)>& condition) {
    return eventually(seconds, [&] {
      Screenshot shot = driver->screenshot();
      return shot.valid() && condition(shot);
    });
  }

  void press(const std::string& keysym) {
    driver->focus();
    driver->keyDown(keysym);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    driver->keyUp(keysym);
  }

  // Waits for the process to end; its exit code, or -1.
  int waitForExit(double seconds) {
    int status = 0;
    const bool ended = eventually(seconds, [&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended) return -1;
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  tw_test::TempDir dir;
  std::string log_path;
  std::string err_path;
  std::string config_path;
  pid_t pid = -1;
  std::unique_ptr<XWindowDriver> driver;
};

bool startScreen(const Screenshot& s) { return cells(s, 0, 0, 80, 24, YELLOW) > 2000; }
bool runnerOnGround(const Screenshot& s) {
  return cells(s, 7, 16, 14, 23, CYAN) > 100 && cells(s, 0, 23, 80, 24, GREEN) > 500;
}
bool runnerInTheAir(const Screenshot& s) { return cells(s, 7, 8, 14, 15, CYAN) > 50; }
bool bulletInFlight(const Screenshot& s) { return cells(s, 14, 5, 70, 23, YELLOW) > 0; }
bool gameOverScreen(const Screenshot& s) { return cells(s, 5, 5, 75, 20, RED) > 5000; }
bool pausedBox(const Screenshot& s) { return cells(s, 23, 9, 57, 15, WHITE) > 1500; }
}  // namespace

TEST_F(EndToEndTest, PlaysFromStartScreenToQuit) {
  launch();
  ASSERT_TRUE(eventually(20, [&] {
    driver = std::make_unique<XWindowDriver>("Veld");
    return driver->found();
  })) << "no game window";
  ASSERT_TRUE(seen(10, startScreen)) << "start screen not shown";

  press("p");
  ASSERT_TRUE(seen(10, runnerOnGround)) << "runner not on the ground row";
  EXPECT_FALSE(startScreen(driver->screenshot()));

  press("Escape");
  EXPECT_TRUE(seen(3, pausedBox)) << "no PAUSED box";
  press("Escape");
  EXPECT_TRUE(seen(3, [](const Screenshot& s) { return !pausedBox(s); })) << "still paused";

  press("space");
  EXPECT_TRUE(seen(3, runnerInTheAir)) << "runner did not jump";

  // A shot is allowed 40 steps after the run began; aim up and to the right.
  driver->moveMouse(static_cast<int>(60 * CELL_W), static_cast<int>(6 * CELL_H));
  EXPECT_TRUE(seen(3, [](const Screenshot& s) { return cells(s, 58, 5, 62, 7, RED) > 0; }))
      << "reticle not at the pointer";
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  driver->mouseDown(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  driver->mouseUp(1);
  EXPECT_TRUE(seen(2, bulletInFlight)) << "no bullet seen";

  press("q");  // the runner gives up
  ASSERT_TRUE(seen(10, gameOverScreen)) << "game-over screen not shown";

  press("p");
  ASSERT_TRUE(seen(10, startScreen)) << "no start screen after game over";
  EXPECT_FALSE(gameOverScreen(driver->screenshot()));

  press("q");
  EXPECT_EQ(waitForExit(20), 0);

  const std::string log = tw_test::readFile(log_path);
  EXPECT_NE(log.find("** Game engine started **"), std::string::npos);
  EXPECT_NE(log.find("** Game engine stopped **"), std::string::npos);
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  EXPECT_EQ(log.find("not found"), std::string::npos) << log;
  EXPECT_FALSE(tw_test::readFile(dir.path() + "/veld/best-score").empty());
}

TEST_F(EndToEndTest, ClosingTheWindowEndsTheGameWithExitCodeZero) {
  launch();
  ASSERT_TRUE(eventually(20, [&] {
    driver = std::make_unique<XWindowDriver>("Veld");
    return driver->found();
  }));
  ASSERT_TRUE(seen(10, startScreen));
  driver->requestClose();
  EXPECT_EQ(waitForExit(20), 0);
  EXPECT_TRUE(tw_test::fileContains(log_path, "** Game engine stopped **"));
  // The audio device is closed and nothing leaks (a sanitizer build reports here).
  const std::string errors = tw_test::readFile(err_path);
  EXPECT_EQ(errors.find("device not closed"), std::string::npos) << errors;
  EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
}

TEST_F(EndToEndTest, WithoutADisplayStartUpFailsCleanly) {
  unsetenv("DISPLAY");
  launch();
  EXPECT_EQ(waitForExit(20), 0);
  const std::string log = tw_test::readFile(log_path);
  EXPECT_NE(log.find("Error! Unable to open display"), std::string::npos) << log;
  EXPECT_NE(log.find("Error starting game manager!"), std::string::npos) << log;
}
