// The configuration: reading the file, parsing and checking each setting
// (cases in tests/data/config-cases.txt), refusing files that are no plain
// configuration, and the printout.
#include "engine/core/Config.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <sstream>

#include "engine/core/LogManager.h"
#include "engine/core/Utility.h"
#include "tests/support/TestSupport.h"

using tw::Config;
using tw_test::ScopedEnv;

namespace {
std::string text(int v) { return std::to_string(v); }
std::string text(float v) { return tw::toString(v); }
std::string text(const std::string& v) { return v; }

// Each setting by its configuration key, as text.
#define SETTING(key, getter) {#key, [](const Config& c) { return text(c.getter()); }}
const std::map<std::string, std::function<std::string(const Config&)>> SETTINGS = {
    SETTING(window_horizontal_pixels, getWindowHorizontalPixels),
    SETTING(window_vertical_pixels, getWindowVerticalPixels),
    SETTING(window_horizontal_chars, getWindowHorizontalChars),
    SETTING(window_vertical_chars, getWindowVerticalChars),
    SETTING(window_style, getWindowStyle), SETTING(window_state, getWindowState),
    SETTING(window_background_color, getWindowBackgroundColor), SETTING(frame_time, getFrameTime), SETTING(font_scale, getFontScale),
    SETTING(window_title, getWindowTitle), SETTING(show_mouse, getShowMouse),
    SETTING(headless, getHeadless), SETTING(display, getDisplay), SETTING(font_file, getFontFile),
    SETTING(logfile, getLogFile), SETTING(random_seed, getRandomSeed),
    SETTING(networking, getNetworking), SETTING(grid_width, getGridWidth),
    SETTING(grid_height, getGridHeight)};
#undef SETTING

std::string trim(const std::string& s) {
  const size_t start = s.find_first_not_of(' ');
  return start == std::string::npos ? "" : s.substr(start, s.find_last_not_of(' ') - start + 1);
}

std::string unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); i++) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char c = s[++i];
      out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    } else {
      out += s[i];
    }
  }
  return out;
}

// Loads content as the configuration file; returns what went to standard error.
std::string loadFile(const tw_test::TempDir& dir, const std::string& content) {
  ScopedEnv env("TARNWICK_CONFIG", dir.write("tw-config.txt", content).c_str());
  testing::internal::CaptureStderr();
  Config::getInstance().loadConfig();
  return testing::internal::GetCapturedStderr();
}
}  // namespace

TEST(Config, FilesGiveTheirSettingsAndWarnAboutWhatIsSkipped) {
  tw_test::TempDir dir;
  const char* data = std::getenv("TW_TEST_DATA");
  const auto lines = tw_test::readLines(std::string(data ? data : ".") + "/config-cases.txt");
  int cases = 0;
  for (const std::string& line : lines) {
    if (line.empty() || line[0] == '#') continue;
    SCOPED_TRACE(line);
    cases++;
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '|');) fields.push_back(trim(field));
    ASSERT_GE(fields.size(), 2u);
    Config::getInstance().reset();
    const std::string err = loadFile(dir, unescape(fields[0]));
    std::istringstream settings(fields[1]);
    for (std::string pair; settings >> pair;) {
      const std::string key = pair.substr(0, pair.find('='));
      ASSERT_EQ(SETTINGS.count(key), 1u) << key;
      EXPECT_EQ(key + "=" + SETTINGS.at(key)(Config::getInstance()), pair);
    }
    for (size_t i = 2; i < fields.size(); i++) {
      EXPECT_NE(err.find(fields[i] + "\n"), std::string::npos) << err;
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
  const std::string fifo = dir.file("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string big = dir.write("big.txt", "frame_time:12," + std::string(1 << 20, ','));
  for (const std::string& name : {dir.path(), fifo, big, std::string("/dev/zero"), dir.file("no")}) {
    SCOPED_TRACE(name);
    ScopedEnv env("TARNWICK_CONFIG", name.c_str());
    EXPECT_EQ(Config::getInstance().readConfig(), "");
    EXPECT_TRUE(log.contains("Config::readConfig(): " +
                             std::string(name == dir.file("no") ? "Cannot open Tarnwick configuration file '"
                                                                : "Error! '") + name + "'"));
  }
  alarm(0);
  loadFile(dir, std::string(1 << 19, 'x') + ",frame_time:12," + std::string(1 << 16, ','));
  EXPECT_EQ(Config::getInstance().getFrameTime(), 12);
}

TEST(Config, PrintoutListsSettingsButNotTheUnusedOnes) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(1);
  Config::getInstance().loadConfig("record_file:r.rec,window_state:fullscreen");
  Config::getInstance().printConfig();
  const auto lines = log.messages();
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[0], std::string(35, '-'));
  EXPECT_EQ(lines[9], "  Window state: fullscreen");
  EXPECT_EQ(lines[13], "  Display: window");
  EXPECT_EQ(lines[17], "  Record file: r.rec");
  EXPECT_EQ(lines[19], "  Scene graph: grid");
  EXPECT_FALSE(log.contains("quadtree"));
  EXPECT_FALSE(log.contains("ignals"));
}
