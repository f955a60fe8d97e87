#include "engine/loop/GameManager.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/platform/Timer.h"
#include "tests/support/CoreTestObjects.h"
#include "tests/support/TestSupport.h"

using tw::GameManager;
using tw_test::ScopedEnv;
using tw_test::TempDir;

namespace {
// Starts the engine headless with a 1 ms frame, no networking, logging to a
// temporary file.
class GameManagerTest : public ::testing::Test {
 protected:
  GameManagerTest()
      : config_env("TARNWICK_CONFIG",
                   dir.write("tw-config.txt", "frame_time:1,networking:false,headless:true,random_seed:7")
                       .c_str()),
        log_env("TARNWICK_LOG", dir.file("game.log").c_str()) {}
  void TearDown() override {
    if (GameManager::getInstance().isStarted()) GameManager::getInstance().shutDown();
  }
  std::vector<std::string> logLines() const { return tw_test::readLines(dir.file("game.log")); }
  bool logHas(const std::string& text) const {
    return tw_test::fileContains(dir.file("game.log"), text);
  }

  TempDir dir;
  ScopedEnv config_env;
  ScopedEnv log_env;
};

// Runs a command and returns its exit status (or -1 when it did not exit).
int exitStatus(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST_F(GameManagerTest, StartUpWritesTheBannerFirst) {
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  tw::LogManager::getInstance().setFlush(true);
  tw::LogManager::getInstance().writeLog("flush");
  auto lines = logLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(tw_test::logMessage(lines[0]), std::string(52, '*'));
  EXPECT_EQ(tw_test::logMessage(lines[1]), "** Tarnwick version 4.21 **");
  EXPECT_EQ(tw_test::logMessage(lines[2]), "** Game engine started **");
  EXPECT_EQ(tw_test::logMessage(lines[3]), std::string(52, '*'));
  EXPECT_EQ(GameManager::getInstance().getFrameTime(), 1);
}

TEST_F(GameManagerTest, SecondStartUpIsRefused) {
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  EXPECT_EQ(GameManager::getInstance().startUp(), -1);
  tw::LogManager::getInstance().setFlush(true);
  tw::LogManager::getInstance().writeLog("flush");
  EXPECT_TRUE(logHas("GameManager::startup(): Warning! GameManager already started."));
}

TEST_F(GameManagerTest, LoopRunsUntilAStepHandlerSetsGameOver) {
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  auto* stepper = new tw_test::RecordingObject;  // the world owns it
  std::vector<int> steps;
  stepper->on_event = [&steps](const tw::Event* p_e) {
    int step = static_cast<const tw::EventStep*>(p_e)->getStepCount();
    steps.push_back(step);
    if (step == 3) GameManager::getInstance().setGameOver();
  };
  stepper->registerInterest("tw-step");
  GameManager::getInstance().setGameOver(true);  // cleared again by run
  GameManager::getInstance().run();
  EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(GameManager::getInstance().getStepCount(), 4);
}

TEST_F(GameManagerTest, OverlongFrameIsReportedButNotOnTheFirstStep) {
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  auto* slow = new tw_test::RecordingObject;  // the world owns it
  slow->on_event = [](const tw::Event* p_e) {
    tw::platform::sleepMilliseconds(5);  // always longer than the 1 ms frame
    if (static_cast<const tw::EventStep*>(p_e)->getStepCount() == 1) {
      GameManager::getInstance().setGameOver();
    }
  };
  slow->registerInterest("tw-step");
  GameManager::getInstance().run();
  GameManager::getInstance().shutDown();
  int reports = 0;
  for (const std::string& line : logLines()) {
    if (line.find("GameManager::run(): Can't keep up! frame_time 1 ms, split ") != std::string::npos) {
      reports++;
      EXPECT_EQ(line.substr(9, 5), "   1 ");  // written during step 1, not step 0
    }
  }
  EXPECT_EQ(reports, 1);
}

TEST_F(GameManagerTest, ShutDownStopsTheLogLast) {
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  GameManager::getInstance().shutDown();
  EXPECT_FALSE(tw::LogManager::getInstance().isStarted());
  EXPECT_FALSE(GameManager::getInstance().isStarted());
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  auto lines = logLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(tw_test::logMessage(lines[lines.size() - 2]), std::string(52, '*'));
  EXPECT_EQ(tw_test::logMessage(lines.back()), "** Game engine stopped **");
}

TEST_F(GameManagerTest, FixedSeedMakesTheRandomSequenceRepeatable) {
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  int first = rand();
  srand(7);
  EXPECT_EQ(rand(), first);
}

TEST_F(GameManagerTest, UnopenableLogMakesStartUpFail) {
  ScopedEnv bad_log("TARNWICK_LOG", dir.file("no-such-folder/x.log").c_str());
  testing::internal::CaptureStderr();
  EXPECT_EQ(GameManager::getInstance().startUp(), -1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("GameManager::startUp(): Error! Starting log manager."), std::string::npos);
  EXPECT_FALSE(GameManager::getInstance().isStarted());
}

TEST_F(GameManagerTest, ProgramExitsZeroWhenTheEngineCannotStart) {
  std::string err_file = dir.file("stderr.txt");
  std::string command = "TARNWICK_LOG=" + dir.file("no-such-folder/x.log") + " ./veld 2> " + err_file;
  EXPECT_EQ(exitStatus(command), 0);
  EXPECT_TRUE(tw_test::fileContains(err_file, "Error starting game manager!"));
  EXPECT_TRUE(tw_test::fileContains(err_file, "** Game engine stopped **"));
}

// The log may be a file nobody reads: a failed start-up (here the window's
// font, found nowhere) also says on standard error what failed and where the
// log is, in one line.
TEST_F(GameManagerTest, FailedStartUpSaysWhyOnStandardError) {
  tw::Config::getInstance().addOverride("headless:false");
  tw::Config::getInstance().addOverride("display:window");
  tw::Config::getInstance().addOverride("font_file:no-such-font.ttf");
  testing::internal::CaptureStderr();
  EXPECT_EQ(GameManager::getInstance().startUp(), -1);
  const std::string err = testing::internal::GetCapturedStderr();
  tw::Config::getInstance().clearOverrides();
  EXPECT_NE(err.find("Tarnwick could not start: No font file 'no-such-font.ttf' (looked in the "
                     "working directory, beside the program and in "),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("(the log is " + dir.file("game.log") + ")\n"), std::string::npos) << err;
}
