#include "engine/core/Config.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/core/LogManager.h"
#include "tests/support/TestSupport.h"

using tw::Config;
using tw_test::ScopedEnv;
using tw_test::TempDir;

namespace {
// Loads a configuration file with the given content and returns what the
// engine wrote to standard error while doing so.
std::string loadFile(const TempDir& dir, const std::string& content) {
  std::string path = dir.write("tw-config.txt", content);
  ScopedEnv env("TARNWICK_CONFIG", path.c_str());
  testing::internal::CaptureStderr();
  Config::getInstance().loadConfig();
  return testing::internal::GetCapturedStderr();
}
}  // namespace

TEST(Config, DefaultsWithoutAFile) {
  TempDir dir;
  ScopedEnv env("TARNWICK_CONFIG", dir.file("missing.txt").c_str());
  Config& c = Config::getInstance();
  c.loadConfig();
  EXPECT_EQ(c.getWindowHorizontalPixels(), 1024);
  EXPECT_EQ(c.getWindowVerticalPixels(), 768);
  EXPECT_EQ(c.getWindowHorizontalChars(), 80);
  EXPECT_EQ(c.getWindowVerticalChars(), 24);
  EXPECT_EQ(c.getWindowStyle(), 5);
  EXPECT_EQ(c.getWindowState(), 0);
  EXPECT_EQ(c.getWindowBackgroundColor(), tw::BLACK);
  EXPECT_EQ(c.getFrameTime(), 33);
  EXPECT_FLOAT_EQ(c.getFontScale(), 2.0f);
  EXPECT_EQ(c.getWindowTitle(), "Tarnwick");
  EXPECT_FALSE(c.getShowMouse());
  EXPECT_FALSE(c.getHeadless());
  EXPECT_EQ(c.getFontFile(), "tw-font.ttf");
  EXPECT_EQ(c.getLogFile(), "tarnwick.log");
  EXPECT_EQ(c.getRandomSeed(), 0);
  EXPECT_TRUE(c.getNetworking());
  EXPECT_EQ(c.getGridWidth(), 20);
  EXPECT_EQ(c.getGridHeight(), 8);
}

TEST(Config, MissingFileIsReportedAtLevelOneWithItsName) {
  TempDir dir;
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(1);
  ScopedEnv env("TARNWICK_CONFIG", dir.file("nope.txt").c_str());
  EXPECT_EQ(Config::getInstance().readConfig(), "");
  EXPECT_TRUE(log.contains("Config::readConfig(): Cannot open Tarnwick configuration file '" +
                           dir.file("nope.txt") + "'."));
}

TEST(Config, ReadsTypedValuesSkippingCommentsAndCarriageReturns) {
  TempDir dir;
  loadFile(dir,
           "# a comment line, skipped\r\n"
           "frame_time:20,\r\n"
           "\r\n"
           "font_scale:1.5,window_title:Two Words,\n"
           "window_background_color:blue,window_state:fullscreen,\n"
           "headless:true,show_mouse:true,networking:false,random_seed:-1,\n"
           "grid_width:10,grid_height:4,window_style:none,unknown_key:7");
  Config& c = Config::getInstance();
  EXPECT_EQ(c.getFrameTime(), 20);
  EXPECT_FLOAT_EQ(c.getFontScale(), 1.5f);
  EXPECT_EQ(c.getWindowTitle(), "TwoWords");
  EXPECT_EQ(c.getWindowBackgroundColor(), tw::BLUE);
  EXPECT_EQ(c.getWindowState(), 1);
  EXPECT_TRUE(c.getHeadless());
  EXPECT_TRUE(c.getShowMouse());
  EXPECT_FALSE(c.getNetworking());
  EXPECT_EQ(c.getRandomSeed(), -1);
  EXPECT_EQ(c.getGridWidth(), 10);
  EXPECT_EQ(c.getGridHeight(), 4);
  EXPECT_EQ(c.getWindowStyle(), 0);
}

TEST(Config, UnsupportedWordsKeepTheSettingAndSaySo) {
  TempDir dir;
  std::string err = loadFile(dir, "window_background_color:Red,window_style:0,window_state:max");
  Config& c = Config::getInstance();
  EXPECT_EQ(c.getWindowBackgroundColor(), tw::BLACK);
  EXPECT_EQ(c.getWindowStyle(), 5);
  EXPECT_EQ(c.getWindowState(), 0);
  EXPECT_NE(err.find("loadConfig(): Unsupported window color 'Red'"), std::string::npos);
  EXPECT_NE(err.find("loadConfig(): Unsupported window style '0'"), std::string::npos);
  EXPECT_NE(err.find("loadConfig(): Unsupported window state 'max'"), std::string::npos);
}

TEST(Config, IndentedCommentIsNotSkippedButMatchesNothing) {
  TempDir dir;
  loadFile(dir, "frame_time:25,\n #frame_time:99,\nwindow_title:Veld");
  EXPECT_EQ(Config::getInstance().getFrameTime(), 25);
  EXPECT_EQ(Config::getInstance().getWindowTitle(), "Veld");
}

// A mistyped key or a value that does not parse is skipped, and the warning
// names it; good items around it still count, and raise no warning.
TEST(Config, UnknownKeysAndUnparsedValuesAreSkippedWithAWarning) {
  TempDir dir;
  using Check = bool (*)(const Config&);
  const struct {
    const char* content;
    const char* warning;  // "" when none is expected
    Check kept;           // the settings afterwards
  } cases[] = {
      {"window_titel:Oops,frame_time:20", "Unknown key 'window_titel'. Skipped.",
       [](const Config& c) { return c.getFrameTime() == 20; }},
      {"frame_time:abc", "frame_time 'abc' is not a whole number. Skipped.",
       [](const Config& c) { return c.getFrameTime() == 33; }},
      {"font_scale:x", "font_scale 'x' is not a number. Skipped.",
       [](const Config& c) { return c.getFontScale() == 2.0f; }},
      {"window_horizontal_chars:12x", "window_horizontal_chars '12x' is not a whole number",
       [](const Config& c) { return c.getWindowHorizontalChars() == 80; }},
      {"random_seed:99999999999", "random_seed '99999999999' is not a whole number",
       [](const Config& c) { return c.getRandomSeed() == 0; }},
      {"networking:yes", "networking 'yes' is not true or false",
       [](const Config& c) { return c.getNetworking(); }},
      // No comma after 20: the item's value runs on into the next line's key.
      {"frame_time:20\nfont_scale:1.5,", "frame_time '20font_scale' is not a whole number",
       [](const Config& c) { return c.getFrameTime() == 33 && c.getFontScale() == 2.0f; }},
      {"frame_time:-0,font_scale:0.5,headless:false,window_vertical_chars:,logfile:", "",
       [](const Config& c) {
         return c.getFrameTime() == 0 && c.getFontScale() == 0.5f &&
                c.getWindowVerticalChars() == 24 && c.getLogFile() == "tarnwick.log";
       }},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.content);
    Config::getInstance().reset();
    const std::string err = loadFile(dir, test.content);
    EXPECT_TRUE(test.kept(Config::getInstance()));
    if (test.warning[0] == '\0') {
      EXPECT_EQ(err.find("Warning!"), std::string::npos) << err;
    } else {
      EXPECT_NE(err.find(std::string("Config::loadConfig(): Warning! ") + test.warning),
                std::string::npos)
          << err;
    }
  }
  Config::getInstance().reset();
}

TEST(Config, EmptyFileAndHugeLineAreHarmless) {
  TempDir dir;
  loadFile(dir, "");
  EXPECT_EQ(Config::getInstance().getFrameTime(), 33);
  std::string huge(1 << 19, 'x');
  loadFile(dir, huge + ",frame_time:12," + std::string(1 << 16, ','));
  EXPECT_EQ(Config::getInstance().getFrameTime(), 12);
}

TEST(Config, FrameTimeOutsideZeroToOneSecondIsRefusedWithAWarning) {
  TempDir dir;
  const struct {
    const char* value;
    int frame_time;
  } cases[] = {{"2147483647", 33}, {"2147484", 33}, {"1001", 33}, {"-1", 33},
               {"99999999999999999999", 33}, {"1000", 1000}, {"0", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    Config::getInstance().reset();
    const std::string err = loadFile(dir, std::string("frame_time:") + c.value);
    EXPECT_EQ(Config::getInstance().getFrameTime(), c.frame_time);
    const std::string warning = "Frame time '" + std::string(c.value) + "' not in range [0,1000]";
    EXPECT_EQ(err.find(warning) != std::string::npos, c.frame_time == 33) << err;
  }
}

// Without these checks a pipe blocks start-up and a device is read without end.
TEST(Config, FoldersPipesDevicesAndOversizedFilesAreRefused) {
  alarm(10);
  TempDir dir;
  const std::string fifo = dir.file("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string big = dir.write("big.txt", "frame_time:12," + std::string(1 << 20, ','));
  for (const std::string& name : {dir.path(), fifo, big, std::string("/dev/zero")}) {
    SCOPED_TRACE(name);
    ScopedEnv env("TARNWICK_CONFIG", name.c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(Config::getInstance().readConfig(), "");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Config::readConfig(): Error! '" + name + "'"), std::string::npos) << err;
  }
  alarm(0);
}

TEST(Config, PrintoutListsSettingsButNotTheUnusedOnes) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(1);
  Config::getInstance().printConfig();
  auto lines = log.messages();
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[0], std::string(35, '-'));
  EXPECT_EQ(lines[1], "Tarnwick configuration:");
  EXPECT_EQ(lines[9], "  Window state: default");
  EXPECT_EQ(lines[13], "  Display: window");
  EXPECT_EQ(lines[18], "  Scene graph: grid");
  EXPECT_FALSE(log.contains("quadtree"));
  EXPECT_FALSE(log.contains("ignals"));
}
