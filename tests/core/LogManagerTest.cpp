// The log: line format, level filter, which file it opens (and truncates),
// and standard error after shut-down and on failure.
#include "engine/core/LogManager.h"

#include <gtest/gtest.h>

#include <regex>

#include "engine/core/Config.h"
#include "tests/support/TestSupport.h"

using tw_test::ScopedEnv;

namespace {
class LogManagerTest : public ::testing::Test {
 protected:
  tw_test::TempDir dir;
  tw::LogManager& log = tw::LogManager::getInstance();
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
  testing::internal::CaptureStderr();
  log.writeLog("late line");
  const std::string text = tw_test::readFile(path) + testing::internal::GetCapturedStderr();
  const std::string time = R"(\d\d:\d\d:\d\d )";
  EXPECT_TRUE(std::regex_match(text, std::regex(time + "   0 value 42\n" + time + "   0 shown\n" + time +
                                                "   0 LogManager::startup\\(\\): Warning! LogManager "
                                                "already started.\n" + time + "   0 late line\n")))
      << text;
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
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "LogManager::startup(): Warning! Unable to open file '" + bad + "'."),
            std::string::npos);
  EXPECT_FALSE(log.isStarted());
}
