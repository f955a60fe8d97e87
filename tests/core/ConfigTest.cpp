// The configuration: reading the file, parsing and checking each setting
// (cases in tests/data/config-cases.txt), refusing files that are no plain
// configuration.
#include "engine/core/Config.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "engine/core/ConfigKeys.h"
#include "engine/core/LogManager.h"
#include "tests/support/TestSupport.h"

using tw::Config;
using tw_test::ScopedEnv;

// Every setting as " key=value ", booleans as 0/1.
static std::string settings(const Config& c) {
  std::ostringstream s;
  s << " window_horizontal_pixels=" << c.getWindowHorizontalPixels()
    << " window_vertical_pixels=" << c.getWindowVerticalPixels()
    << " window_horizontal_chars=" << c.getWindowHorizontalChars()
    << " window_vertical_chars=" << c.getWindowVerticalChars() << " window_style=" << c.getWindowStyle()
    << " window_state=" << c.getWindowState() << " window_background_color="
    << c.getWindowBackgroundColor() << " frame_time=" << c.getFrameTime() << " font_scale="
    << c.getFontScale() << " window_title=" << c.getWindowTitle() << " show_mouse=" << c.getShowMouse()
    << " headless=" << c.getHeadless() << " display=" << c.getDisplay() << " font_file="
    << c.getFontFile() << " logfile=" << c.getLogFile() << " random_seed=" << c.getRandomSeed()
    << " networking=" << c.getNetworking() << " max_message_bytes=" << c.getMaxMessageBytes()
    << " grid_width=" << c.getGridWidth()
    << " grid_height=" << c.getGridHeight() << " debug_overlay=" << c.getDebugOverlay()
    << " debug_key=" << c.getDebugKey() << " debug_freeze_times=" << c.getDebugFreezeTimes()
    << " log_collisions=" << c.getLogCollisions() << " loop_mode=" << c.getLoopMode() << " ";
  return s.str();
}

// Loads content as the configuration file; returns what went to standard error.
static std::string loadFile(const tw_test::TempDir& dir, const std::string& content) {
  ScopedEnv env("TARNWICK_CONFIG", dir.write("tw-config.txt", content).c_str());
  testing::internal::CaptureStderr();
  Config::getInstance().loadConfig();
  return testing::internal::GetCapturedStderr();
}

TEST(Config, FilesGiveTheirSettingsAndWarnAboutWhatIsSkipped) {
  tw_test::TempDir dir;
  int cases = 0;
  for (const std::string& line : tw_test::caseLines("config-cases.txt")) {
    SCOPED_TRACE(line);
    cases++;
    std::vector<std::string> fields;  // content, settings, log lines
    std::istringstream split(line + " ");
    for (std::string field; std::getline(split, field, '|');) {
      fields.push_back(field.substr(0, field.size() - 1));  // without the blank before '|'
    }
    std::string content;
    for (size_t i = 0; i < fields[0].size(); i++) {  // \n, \r and \t
      const char c = fields[0][i] == '\\' ? fields[0][++i] : 0;
      content += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : fields[0][i];
    }
    Config::getInstance().reset();
    const std::string err = loadFile(dir, content);
    std::istringstream expected(fields.at(1));
    const std::string now = settings(Config::getInstance());
    for (std::string pair; expected >> pair;) {
      EXPECT_NE(now.find(" " + pair + " "), std::string::npos) << pair << " not in" << now;
    }
    for (size_t i = 2; i < fields.size(); i++) {
      EXPECT_NE(err.find(fields[i].substr(1) + "\n"), std::string::npos) << err;
    }
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), static_cast<long>(fields.size() - 2)) << err;
  }
  EXPECT_GE(cases, 20);
}

// Without these checks a pipe blocks start-up and a device is read without
// end; a missing file gives the defaults, and a long line is no problem.
TEST(Config, MissingFoldersPipesDevicesAndOversizedFilesGiveTheDefaults) {
  alarm(10);
  tw_test::TempDir dir;
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(1);
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
  const std::string big = dir.write("big.txt", "frame_time:12," + std::string(1 << 20, ','));
  for (const std::string& name : {dir.path(), dir.file("fifo"), big, std::string("/dev/zero"), dir.file("no")}) {
    ScopedEnv env("TARNWICK_CONFIG", name.c_str());
    EXPECT_EQ(Config::getInstance().readConfig(), "") << name;
    EXPECT_TRUE(log.contains("'" + name + "'")) << name;  // the log names it
  }
  alarm(0);
  loadFile(dir, std::string(1 << 19, 'x') + ",frame_time:12," + std::string(1 << 16, ','));
  EXPECT_EQ(Config::getInstance().getFrameTime(), 12);
}

// The keys in the first column of the configuration reference's table
// ("| a / b | ..." names two keys).
static std::set<std::string> documentedKeys(const std::string& path) {
  std::set<std::string> keys;
  bool in_table = false;
  for (const std::string& line : tw_test::readLines(path)) {
    if (line.rfind("| key |", 0) == 0) in_table = true;
    if (!in_table || line.rfind("| key |", 0) == 0 || line.rfind("|---", 0) == 0) continue;
    if (line.empty() || line[0] != '|') break;
    std::istringstream names(line.substr(1, line.find('|', 1) - 1));
    for (std::string name; names >> name;) {
      if (name != "/") keys.insert(name);
    }
  }
  return keys;
}

// The reference cannot drift from the parser: every key the parser reads has
// a row, and every row names a key the parser reads.
TEST(Config, ReferenceTableListsExactlyTheParsersKeys) {
  const std::string reference = tw_test::dataPath("../../docs/reference/configuration.md");
  const std::set<std::string> documented = documentedKeys(reference);
  ASSERT_FALSE(documented.empty()) << "no key table found in " << reference;
  const std::vector<std::string> parsed = tw::configKeys();
  for (const std::string& key : parsed) {
    EXPECT_EQ(documented.count(key), 1u)
        << "The configuration key '" << key << "' is read by the parser but missing from "
        << "docs/reference/configuration.md: add a row '| " << key << " | default | meaning |' to its table.";
  }
  for (const std::string& key : documented) {
    EXPECT_NE(std::find(parsed.begin(), parsed.end(), key), parsed.end())
        << "docs/reference/configuration.md documents the key '" << key << "', which the parser "
        << "does not read: add it to KNOWN_KEYS in engine/core/Config.cpp, or remove its row.";
  }
}
