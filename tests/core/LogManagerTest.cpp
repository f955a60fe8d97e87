#include "engine/core/LogManager.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "engine/core/Config.h"
#include "tests/support/TestSupport.h"

using tw::LogManager;
using tw_test::readLines;
using tw_test::ScopedEnv;
using tw_test::TempDir;

namespace {
class LogManagerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (LogManager::getInstance().isStarted()) LogManager::getInstance().shutDown();
  }
  TempDir dir;
};
}  // namespace

TEST_F(LogManagerTest, LineHasTimeStepColumnAndMessage) {
  ScopedEnv env("TARNWICK_LOG", dir.file("a.log").c_str());
  LogManager& log = LogManager::getInstance();
  ASSERT_EQ(log.startUp(), 0);
  EXPECT_EQ(log.writeLog("value %d", 42), 8);
  log.shutDown();
  auto lines = readLines(dir.file("a.log"));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d\d:\d\d:\d\d    0 value 42)")))
      << lines[0];
}

TEST_F(LogManagerTest, LevelAboveLogLevelIsSuppressed) {
  ScopedEnv env("TARNWICK_LOG", dir.file("a.log").c_str());
  LogManager& log = LogManager::getInstance();
  log.startUp();
  EXPECT_EQ(log.writeLog(1, "hidden"), 0);
  EXPECT_EQ(log.writeLog(0, "shown"), 5);
  log.shutDown();
  std::string text = tw_test::readFile(dir.file("a.log"));
  EXPECT_EQ(text.find("hidden"), std::string::npos);
  EXPECT_NE(text.find("shown"), std::string::npos);
}

TEST_F(LogManagerTest, EnvironmentNameWinsOverConfiguredFile) {
  ScopedEnv env("TARNWICK_LOG", dir.file("env.log").c_str());
  tw::Config::getInstance().loadConfig("logfile:" + dir.file("configured.log"));
  LogManager::getInstance().startUp();
  LogManager::getInstance().writeLog("x");
  LogManager::getInstance().shutDown();
  EXPECT_TRUE(tw_test::fileContains(dir.file("env.log"), " x"));
  EXPECT_FALSE(std::ifstream(dir.file("configured.log")).good());
}

TEST_F(LogManagerTest, ConfiguredFileIsUsedWithoutEnvironment) {
  ScopedEnv env("TARNWICK_LOG", nullptr);
  tw::Config::getInstance().loadConfig("logfile:" + dir.file("configured.log"));
  LogManager::getInstance().startUp();
  LogManager::getInstance().writeLog("y");
  LogManager::getInstance().shutDown();
  EXPECT_TRUE(tw_test::fileContains(dir.file("configured.log"), " y"));
}

TEST_F(LogManagerTest, OpeningTruncatesAnEarlierLog) {
  std::string path = dir.write("old.log", "left from an earlier run\n");
  ScopedEnv env("TARNWICK_LOG", path.c_str());
  LogManager::getInstance().startUp();
  LogManager::getInstance().shutDown();
  EXPECT_FALSE(tw_test::fileContains(path, "earlier run"));
}

TEST_F(LogManagerTest, UnopenableFileFailsWithWarningOnStandardError) {
  std::string bad = dir.file("missing-folder/x.log");
  ScopedEnv env("TARNWICK_LOG", bad.c_str());
  testing::internal::CaptureStderr();
  EXPECT_EQ(LogManager::getInstance().startUp(), -1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("LogManager::startup(): Warning! Unable to open file '" + bad + "'."),
            std::string::npos);
  EXPECT_FALSE(LogManager::getInstance().isStarted());
}

TEST_F(LogManagerTest, SecondStartUpIsRefusedAndKeepsTheFile) {
  ScopedEnv env("TARNWICK_LOG", dir.file("a.log").c_str());
  LogManager& log = LogManager::getInstance();
  ASSERT_EQ(log.startUp(), 0);
  EXPECT_EQ(log.startUp(), -1);
  log.writeLog("still here");
  log.shutDown();
  EXPECT_TRUE(tw_test::fileContains(dir.file("a.log"),
                                    "LogManager::startup(): Warning! LogManager already started."));
  EXPECT_TRUE(tw_test::fileContains(dir.file("a.log"), "still here"));
}

TEST_F(LogManagerTest, AfterShutDownLinesGoToStandardErrorWithPrefixes) {
  ScopedEnv env("TARNWICK_LOG", dir.file("a.log").c_str());
  LogManager::getInstance().startUp();
  LogManager::getInstance().shutDown();
  testing::internal::CaptureStderr();
  LogManager::getInstance().writeLog("late line");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(std::regex_search(err, std::regex(R"(\d\d:\d\d:\d\d    0 late line\n)"))) << err;
}

TEST(LogTimeString, IsHoursMinutesSeconds) {
  EXPECT_TRUE(std::regex_match(std::string(tw::getTimeString()), std::regex(R"(\d\d:\d\d:\d\d)")));
}
