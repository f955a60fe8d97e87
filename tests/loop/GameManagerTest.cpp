// The game manager: start-up and shut-down of the engine (banner, order,
// refusals, failures said on standard error), the loop and its frame pacing.
#include "engine/loop/GameManager.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "engine/core/EventStep.h"
#include "engine/platform/Timer.h"
#include "tests/support/EngineFixtures.h"

using tw::GameManager;

namespace {
// The engine headless with a 1 ms frame, no networking and a fixed seed.
class GameManagerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (game.isStarted()) game.shutDown();
  }
  // A step listener (owned by the world) running action with each step number.
  static void onStep(const std::function<void(int)>& action) {
    auto* stepper = new tw_test::Probe;
    stepper->on_event = [action](const tw::Event* p_e) {
      action(static_cast<const tw::EventStep*>(p_e)->getStepCount());
    };
    stepper->registerInterest(tw::STEP_EVENT);
  }
  tw_test::ConfiguredEngine engine{"frame_time:1,networking:false,headless:true,random_seed:7"};
  GameManager& game = GameManager::getInstance();
};
}  // namespace

TEST_F(GameManagerTest, StartsOnceWithTheBannerAndStopsTheLogLast) {
  ASSERT_EQ(game.startUp(), 0);
  EXPECT_EQ(game.getFrameTime(), 1);
  EXPECT_EQ(game.startUp(), -1);
  const int first = rand();
  srand(7);
  EXPECT_EQ(rand(), first);  // seeded from the configuration
  game.shutDown();
  EXPECT_FALSE(tw::LogManager::getInstance().isStarted());
  EXPECT_FALSE(game.isStarted());
  EXPECT_TRUE(game.getGameOver());
  std::string lines;  // the first four and the last two messages
  const auto log = engine.logLines();
  for (size_t i : {0, 1, 2, 3}) lines += tw_test::logMessage(log.at(i)) + "\n";
  for (size_t i : {2, 1}) lines += tw_test::logMessage(log.at(log.size() - i)) + "\n";
  const std::string stars(52, '*');
  EXPECT_EQ(lines, stars + "\n** Tarnwick version 4.21 **\n** Game engine started **\n" + stars +
                       "\n" + stars + "\n** Game engine stopped **\n");
  EXPECT_TRUE(engine.logHas("GameManager::startup(): Warning! GameManager already started."));
}

TEST_F(GameManagerTest, LoopRunsUntilAStepHandlerSetsGameOver) {
  ASSERT_EQ(game.startUp(), 0);
  std::vector<int> steps;
  onStep([&steps](int step) {
    steps.push_back(step);
    if (step == 3) GameManager::getInstance().setGameOver();
  });
  game.setGameOver(true);  // cleared again by run
  game.run();
  EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(game.getStepCount(), 4);
}

TEST_F(GameManagerTest, OverlongFrameIsReportedButNotOnTheFirstStep) {
  ASSERT_EQ(game.startUp(), 0);
  onStep([](int step) {
    tw::platform::sleepMilliseconds(5);  // always longer than the 1 ms frame
    if (step == 1) GameManager::getInstance().setGameOver();
  });
  game.run();
  game.shutDown();
  int reports = 0;
  for (const std::string& line : engine.logLines()) {
    if (line.find("GameManager::run(): Can't keep up! frame_time 1 ms, split ") == std::string::npos) {
      continue;
    }
    reports++;
    EXPECT_EQ(line.substr(9, 5), "   1 ");  // written during step 1, not step 0
  }
  EXPECT_EQ(reports, 1);
}

// The log may be a file nobody reads: a failed start-up also says on standard
// error what failed and where the log is; a program still exits normally.
TEST_F(GameManagerTest, FailedStartUpSaysWhyOnStandardError) {
  {
    tw_test::ScopedEnv bad_log("TARNWICK_LOG", engine.dir.file("no-such-folder/x.log").c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(game.startUp(), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "GameManager::startUp(): Error! Starting log manager."),
              std::string::npos);
    EXPECT_FALSE(game.isStarted());
    const std::string err_file = engine.dir.file("stderr.txt");
    const int status = std::system(("./veld 2> " + err_file).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(tw_test::fileContains(err_file, "Error starting game manager!"));
    EXPECT_TRUE(tw_test::fileContains(err_file, "** Game engine stopped **"));
  }
  tw::Config::getInstance().addOverride("headless:false");
  tw::Config::getInstance().addOverride("display:window");
  tw::Config::getInstance().addOverride("font_file:no-such-font.ttf");
  testing::internal::CaptureStderr();
  EXPECT_EQ(game.startUp(), -1);
  const std::string err = testing::internal::GetCapturedStderr();
  tw::Config::getInstance().clearOverrides();
  EXPECT_NE(err.find("Tarnwick could not start: No font file 'no-such-font.ttf' (looked in the "
                     "working directory, beside the program and in "),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("(the log is " + engine.dir.file("game.log") + ")\n"), std::string::npos) << err;
}
