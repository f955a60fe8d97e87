// The log: line format, level filter, which file it opens (and truncates),
// and standard error before start-up, after shut-down and on failure.
#include "engine/core/LogManager.h"

#include <gtest/gtest.h>

#include <regex>

#include "engine/core/Config.h"
#include "tests/support/TestSupport.h"

using tw::LogManager;
using tw_test::ScopedEnv;

namespace {
class LogManagerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (log.isStarted()) log.shutDown();
  }
  tw_test::TempDir dir;
  LogManager& log = LogManager::getInstance();
};
}  // namespace

TEST_F(LogManagerTest, WritesTimedLinesUpToItsLevelIntoAFreshFile) {
  const std::string path = dir.write("a.log", "left from an earlier run\n");
  ScopedEnv env("TARNWICK_LOG", path.c_str());
  ASSERT_EQ(log.startUp(), 0);
  EXPECT_EQ(log.writeLog("value %d", 42), 8);
  EXPECT_EQ(log.writeLog(1, "hidden"), 0);
  EXPECT_EQ(log.writeLog(0, "shown"), 5);
  EXPECT_EQ(log.startUp(), -1);  // keeps the open file
  log.shutDown();
  const auto lines = tw_test::readLines(path);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d\d:\d\d:\d\d    0 value 42)"))) << lines[0];
  EXPECT_EQ(tw_test::logMessage(lines[1]), "shown");
  EXPECT_EQ(tw_test::logMessage(lines[2]), "LogManager::startup(): Warning! LogManager already started.");
  testing::internal::CaptureStderr();
  log.writeLog("late line");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(std::regex_match(err, std::regex(R"(\d\d:\d\d:\d\d    0 late line\n)"))) << err;
}

TEST_F(LogManagerTest, EnvironmentNameWinsOverTheConfiguredFile) {
  tw::Config::getInstance().loadConfig("logfile:" + dir.file("configured.log"));
  for (const bool with_env : {true, false}) {
    ScopedEnv env("TARNWICK_LOG", with_env ? dir.file("env.log").c_str() : nullptr);
    ASSERT_EQ(log.startUp(), 0);
    log.writeLog(with_env ? "x" : "y");
    log.shutDown();
  }
  EXPECT_EQ(tw_test::readFile(dir.file("env.log")).substr(8), "    0 x\n");
  EXPECT_EQ(tw_test::readFile(dir.file("configured.log")).substr(8), "    0 y\n");
}

TEST_F(LogManagerTest, UnopenableFileFailsWithAWarningOnStandardError) {
  const std::string bad = dir.file("missing-folder/x.log");
  ScopedEnv env("TARNWICK_LOG", bad.c_str());
  testing::internal::CaptureStderr();
  EXPECT_EQ(log.startUp(), -1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("LogManager::startup(): Warning! Unable to open file '" + bad + "'."),
            std::string::npos);
  EXPECT_FALSE(log.isStarted());
}
