// The command line every game shares: which options become which settings,
// what is handed back to the game, and the status a bad one ends with.
#include "engine/loop/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/input/InputRecording.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(CommandLine, EngineOptionsBecomeSettingsAndTheRestGoesToTheGame) {
  tw_test::TempDir dir;
  std::string why;
  ASSERT_EQ(tw::InputRecording().save(dir.file("good.rec"), why), 0) << why;
  const struct {
    std::vector<std::string> args;
    const char* file;  // the configuration file's items
    int status;
    const char* display;    // after loading the file (GO_ON only)
    const char* arguments;  // handed to the game, joined by blanks
    int log_level;
  } cases[] = {
      {{}, "", tw::CommandLine::GO_ON, "auto", "", 0},
      {{}, "display:terminal", tw::CommandLine::GO_ON, "terminal", "", 0},
      {{"--capture"}, "display:terminal", tw::CommandLine::GO_ON, "capture", "", 0},
      {{"--window", "--host", "7", "word"}, "", tw::CommandLine::GO_ON, "window", "--host 7 word", 0},
      {{"--terminal", "--verbose", "--verbose"}, "", tw::CommandLine::GO_ON, "terminal", "", 2},
      {{"--record", "run.rec"}, "", tw::CommandLine::GO_ON, "auto", "", 0},
      {{"--replay", dir.file("good.rec")}, "", tw::CommandLine::GO_ON, "auto", "", 0},
      {{"--replay", dir.file("none.rec")}, "", tw::CommandLine::EXIT_NO_START, "", "", 0},
      {{"--record"}, "", tw::CommandLine::EXIT_BAD_OPTIONS, "", "", 0},
      {{"--record", "a,b.rec"}, "", tw::CommandLine::EXIT_BAD_OPTIONS, "", "", 0},
      {{"--capture", "--bogus"}, "", tw::CommandLine::EXIT_BAD_OPTIONS, "", "", 0},
      {{"--help", "--bogus"}, "", tw::CommandLine::EXIT_OK, "", "", 0},
  };
  tw::Config& config = tw::Config::getInstance();
  for (const auto& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    SCOPED_TRACE(line);
    config.clearOverrides();
    config.reset();
    tw::LogManager::getInstance().setLogLevel(0);
    std::vector<char*> argv = {const_cast<char*>("game")};
    for (const std::string& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
    tw::CommandLine command_line("game");
    command_line.addOption("--host", "  --host PORT   host");
    ASSERT_EQ(command_line.parse(static_cast<int>(argv.size()), argv.data()), c.status);
    if (c.status != tw::CommandLine::GO_ON) continue;
    config.loadConfig(c.file);
    EXPECT_EQ(config.getDisplay(), c.display);
    std::string handed;
    for (const std::string& a : command_line.getArguments()) handed += (handed.empty() ? "" : " ") + a;
    EXPECT_EQ(handed, c.arguments);
    // A game option's values are the words after it.
    EXPECT_EQ(command_line.valuesOf("--host").size(), c.args.size() == 4 ? 2u : 0u);
    EXPECT_EQ(tw::LogManager::getInstance().getLogLevel(), c.log_level);
    // A recording's file is named absolutely, whatever the working folder.
    const std::string record = config.getRecordFile(), replay = config.getReplayFile();
    EXPECT_EQ(!record.empty(), c.args.size() == 2 && c.args[0] == "--record");
    EXPECT_EQ(!replay.empty(), c.args.size() == 2 && c.args[0] == "--replay");
    for (const std::string& file : {record, replay}) EXPECT_TRUE(file.empty() || file[0] == '/');
  }
  config.clearOverrides();
  config.reset();
}

}  // namespace
