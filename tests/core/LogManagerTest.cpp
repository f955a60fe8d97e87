// The log: line format, level filter, which file it opens (and truncates),
// and standard error after shut-down and on failure.
#include "engine/core/LogManager.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <regex>

#include "engine/core/Config.h"
#include "tests/support/TestSupport.h"

using tw_test::ScopedEnv;

class LogManagerTest : public ::testing::Test {
 protected:
  tw_test::TempDir dir;
  tw::LogManager& log = tw::LogManager::getInstance();
};

TEST_F(LogManagerTest, WritesTimedLinesUpToItsLevelIntoAFreshFileThenToStandardError) {
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
  const std::string time = R"(\d\d:\d\d:\d\d    0 )";
  EXPECT_TRUE(std::regex_match(text, std::regex(time + "value 42\n" + time + "shown\n" + time +
                                                "LogManager::startup\\(\\): Warning! LogManager "
                                                "already started.\n" + time + "late line\n")))
      << text;
}

// TARNWICK_LOG names the file, or else the configuration does; a file that
// cannot be opened fails start-up with a warning on standard error.
TEST_F(LogManagerTest, OpensTheFileTheEnvironmentOrTheConfigurationNames) {
  tw::Config::getInstance().loadConfig("logfile:" + dir.file("configured.log"));
  for (const std::string name : {"env.log", "", "missing-folder/x.log"}) {
    ScopedEnv env("TARNWICK_LOG", name.empty() ? nullptr : dir.file(name).c_str());
    testing::internal::CaptureStderr();
    const bool started = log.startUp() == 0;
    const std::string err = testing::internal::GetCapturedStderr();
    log.writeLog("line for '%s'", name.c_str());
    if (started) log.shutDown();
    EXPECT_EQ(started, name[0] != 'm') << name;
    EXPECT_EQ(err.find("LogManager::startup(): Warning! Unable to open file '" + dir.file(name) +
                       "'.") != std::string::npos, !started) << err;
  }
  EXPECT_EQ(tw_test::readFile(dir.file("env.log")).substr(8), "    0 line for 'env.log'\n");
  EXPECT_EQ(tw_test::readFile(dir.file("configured.log")).substr(8), "    0 line for ''\n");
}

// Opening the log empties it, so only a plain file of its own is taken: a
// link or anything else at its name is refused, saying why, and what it
// leads to keeps its bytes.
TEST_F(LogManagerTest, RefusesANameThatLeadsElsewhere) {
  const std::string kept = dir.write("precious.txt", "precious\n");
  const struct {
    const char* name;
    std::function<void(const std::string&)> make;
    const char* why;
  } cases[] = {
      {"symbolic.log", [&](const std::string& at) { ASSERT_EQ(symlink(kept.c_str(), at.c_str()), 0); },
       "is a symbolic link"},
      {"hard.log", [&](const std::string& at) { ASSERT_EQ(link(kept.c_str(), at.c_str()), 0); },
       "has another name"},
      {"pipe.log", [](const std::string& at) { ASSERT_EQ(mkfifo(at.c_str(), 0600), 0); },
       "is not a plain file"},
      {"device.log", [](const std::string& at) { ASSERT_EQ(symlink("/dev/null", at.c_str()), 0); },
       "is a symbolic link"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.file(c.name);
    c.make(path);
    ScopedEnv env("TARNWICK_LOG", path.c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(log.startUp(), -1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Unable to open file '" + path + "'"), std::string::npos) << err;
    EXPECT_NE(err.find(c.why), std::string::npos) << err;
    EXPECT_FALSE(log.isStarted());
    EXPECT_EQ(tw_test::readFile(kept), "precious\n");
  }
}

// Warnings and errors are in the file as soon as they are written, flushing
// on or off; a notice is said on standard error once, naming the log, and
// waits while it is held (the terminal shows the game).
TEST_F(LogManagerTest, WarningsReachTheFileAtOnceAndNoticesAreSaidOnce) {
  const std::string path = dir.file("now.log");
  ScopedEnv env("TARNWICK_LOG", path.c_str());
  ASSERT_EQ(log.startUp(), 0);
  log.setFlush(false);
  log.writeLog("X::y(): Warning! first");
  log.writeLog("%s", "X::z(): Error! second");
  EXPECT_NE(tw_test::readFile(path).find("Warning! first\n"), std::string::npos);
  EXPECT_NE(tw_test::readFile(path).find("Error! second\n"), std::string::npos);
  testing::internal::CaptureStderr();
  log.writeNotice("sprite '%s' missing", "a");
  log.writeNotice("sprite '%s' missing", "a");
  log.holdNotices(true);
  log.writeNotice("held");
  const std::string while_held = testing::internal::GetCapturedStderr();
  testing::internal::CaptureStderr();
  log.holdNotices(false);
  const std::string released = testing::internal::GetCapturedStderr();
  testing::internal::CaptureStderr();
  for (int i = 0; i < 150; i++) log.writeNotice("label %d", i);  // 98 more fit
  const std::string flood = testing::internal::GetCapturedStderr();
  log.shutDown();
  EXPECT_EQ(std::count(flood.begin(), flood.end(), '\n'), 99);
  EXPECT_EQ(flood.substr(flood.rfind("Tarnwick:")),
            "Tarnwick: further problems are in the log only (the log is " + path + ")\n");
  EXPECT_EQ(while_held, "Tarnwick: sprite 'a' missing (the log is " + path + ")\n");
  EXPECT_EQ(released, "Tarnwick: held (the log is " + path + ")\n");
  EXPECT_EQ(tw_test::readFile(path).find("missing"), std::string::npos);
}
