// The game manager: start-up and shut-down of the engine (banner, order,
// refusals, failures said on standard error, files another running game
// writes left to it), the loop and its frame pacing.
#include "engine/loop/GameManager.h"
#include "engine/core/Version.h"

#include <gtest/gtest.h>

#include <chrono>

#include "engine/core/EventStep.h"
#include "engine/platform/LockedFile.h"
#include "engine/platform/Timer.h"
#include "tests/support/EngineFixtures.h"

using tw::GameManager;

// The engine headless with a 10 ms frame, no networking and a fixed seed.
class GameManagerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (game.isStarted()) game.shutDown();
  }
  tw_test::ConfiguredEngine engine{"frame_time:10,networking:false,headless:true,random_seed:7"};
  GameManager& game = GameManager::getInstance();
};

TEST_F(GameManagerTest, StartsOnceWithTheBannerAndStopsTheLogLast) {
  ASSERT_EQ(game.startUp(), 0);
  EXPECT_EQ(game.startUp(), -1);
  const int first = rand();
  srand(7);
  EXPECT_EQ(rand(), first);  // seeded from the configuration
  game.shutDown();
  EXPECT_FALSE(tw::LogManager::getInstance().isStarted() || game.isStarted());
  EXPECT_TRUE(game.getGameOver());
  EXPECT_EQ(tw_test::logMessage(engine.logLines().at(1)),
            "** Tarnwick version " + std::to_string(TARNWICK_VERSION_MAJOR) + "." +
                std::to_string(TARNWICK_VERSION_MINOR) + " **");  // the library's, as the header says
  EXPECT_EQ(tw_test::logMessage(engine.logLines().at(2)), "** Game engine started **");
  EXPECT_EQ(tw_test::logMessage(engine.logLines().back()), "** Game engine stopped **");
  EXPECT_TRUE(engine.logHas("GameManager::startup(): Warning! GameManager already started."));
}

// Each step takes the frame time (the sleep makes up what the step left); a
// step that overran is reported, except on the first step.
TEST_F(GameManagerTest, LoopStepsAtTheFrameTimeUntilAHandlerSetsGameOver) {
  ASSERT_EQ(game.startUp(), 0);
  std::vector<int> steps;
  auto* stepper = new tw_test::Probe;  // owned by the world
  stepper->on_event = [&steps](const tw::Event* p_e) {
    steps.push_back(static_cast<const tw::EventStep*>(p_e)->getStepCount());
    if (steps.back() <= 1) tw::platform::sleepMilliseconds(15);  // overruns the frame
    if (steps.back() == 5) GameManager::getInstance().setGameOver();
  };
  stepper->registerInterest(tw::STEP_EVENT);
  game.setGameOver(true);  // cleared again by run
  const auto start = std::chrono::steady_clock::now();
  game.run();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(game.getStepCount(), 6);
  EXPECT_GE(took, std::chrono::milliseconds(15 + 15 + 4 * 9));
  EXPECT_LT(took, std::chrono::seconds(5));  // not a sleep counted in the wrong unit
  game.shutDown();
  std::string report_steps;  // the step column of each report
  for (const std::string& line : engine.logLines()) {
    if (line.find("GameManager::run(): Can't keep up! frame_time 10 ms") != std::string::npos) {
      report_steps += line.substr(9, 5);
    }
  }
  // Not step 0; step 1 (a busy machine may make later steps overrun too).
  EXPECT_EQ(report_steps.substr(0, 5), "   1 ");
}

// The log may be a file nobody reads: a failed start-up also says on standard
// error what failed and where the log is. (The end-to-end tests run the game so.)
TEST_F(GameManagerTest, FailedStartUpSaysWhyOnStandardError) {
  {
    tw_test::ScopedEnv bad_log("TARNWICK_LOG", engine.dir.file("no-such-folder/x.log").c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(game.startUp(), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "GameManager::startUp(): Error! Starting log manager."),
              std::string::npos);
    EXPECT_FALSE(game.isStarted());
  }
  tw::Config::getInstance().addOverride("headless:false,display:window,font_file:no-such-font.ttf");
  testing::internal::CaptureStderr();
  EXPECT_EQ(game.startUp(), -1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Tarnwick could not start: No font file 'no-such-font.ttf' (looked in the "
                     "working directory, beside the program and in "),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("): name a TrueType font with font_file, or put one beside the program "
                     "(tarnwick_copy_font in CMake). (the log is "),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("(the log is " + engine.dir.file("game.log") + ")\n"), std::string::npos) << err;
}

// What stopping says, on standard error, once the game is over: nothing
// for a second stop (a quit key stops the engine, then the program does);
// one line for a log or a recording that could not be written.
TEST_F(GameManagerTest, SaysOnceWhatOnlyTheLogWouldShow) {
  const struct {
    const char* name;
    const char* log;      // TARNWICK_LOG, or the test's log
    std::string setting;
    std::string said;     // "" for nothing at all
  } cases[] = {
      {"stopped twice", nullptr, "", ""},
      {"log on a full disk", "/dev/full", "",
       "the log '/dev/full' could not be written (No space left on device)"},
      {"recording on a full disk", nullptr, "record_file:/dev/full",
       "the recording into '/dev/full' stopped at frame 0: cannot write: No space left on device"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tw_test::ScopedEnv log_env("TARNWICK_LOG", c.log != nullptr ? c.log : engine.dir.file("game.log").c_str());
    tw::Config::getInstance().clearOverrides();
    if (!c.setting.empty()) tw::Config::getInstance().addOverride(c.setting);
    ASSERT_EQ(game.startUp(), 0);
    auto* quitter = new tw_test::Probe;  // the world owns it
    quitter->registerInterest(tw::STEP_EVENT);
    quitter->on_event = [&](const tw::Event*) {
      if (game.getStepCount() == 2) game.setGameOver();
    };
    testing::internal::CaptureStderr();
    game.run();
    game.shutDown();
    game.shutDown();
    const std::string err = testing::internal::GetCapturedStderr();
    if (c.said.empty()) {
      EXPECT_EQ(err, "");
    } else {
      const std::size_t at = err.find(c.said);
      EXPECT_NE(at, std::string::npos) << err;
      EXPECT_EQ(err.find(c.said, at + 1), std::string::npos) << err;
    }
  }
}

// A log or a record file another running game is writing (here: holding
// under its lock, with a line in it) stays that game's: a second log is
// taken beside it, a record file is refused before play. A record file that
// cannot be created is refused too.
TEST_F(GameManagerTest, LeavesFilesAnotherRunningGameWritesToIt) {
  const std::string d = engine.dir.path() + "/";
  const struct {
    const char* held;
    std::string setting;
    int started;
    std::string said;  // on standard error
    const char* log;   // where the log went
  } cases[] = {
      {"game.log", "", 0,
       "the log '" + d + "game.log' is in use by another running game; this one writes '" + d +
           "game-2.log'.",
       "game-2.log"},
      {"run.rec", "record_file:" + d + "run.rec", -1,
       "Record file refused: '" + d + "run.rec' is in use by another running program.", "game.log"},
      {nullptr, "record_file:" + d + "none/run.rec", -1,
       "Record file refused: cannot open '" + d + "none/run.rec': No such file", "game.log"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    tw::platform::LockedFile other_game;
    std::string why;
    if (c.held != nullptr) {
      ASSERT_EQ(other_game.open(d + c.held, why), tw::platform::LockedFile::Status::OK) << why;
      ASSERT_EQ(other_game.append("the other game's\n", why), 0);
    }
    tw::Config::getInstance().clearOverrides();
    if (!c.setting.empty()) tw::Config::getInstance().addOverride(c.setting);
    testing::internal::CaptureStderr();
    EXPECT_EQ(game.startUp(), c.started);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(c.said), std::string::npos) << err;
    EXPECT_EQ(tw::LogManager::getInstance().getLogFileName(), d + c.log);
    game.shutDown();
    EXPECT_TRUE(tw_test::fileContains(d + c.log, "Game engine stopped"));
    if (c.held != nullptr) {
      EXPECT_EQ(tw_test::readFile(d + c.held), "the other game's\n");
    }
  }
}
