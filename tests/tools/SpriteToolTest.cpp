// tw-sprite: check reports every bad file of the sprite corpus with its
// messages and lines and passes the good ones; show plays a sprite.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"
#include "tests/support/SpriteCorpus.h"

namespace {

std::string corpus(const std::string& name) {
  const char* data = std::getenv("TW_TEST_DATA");
  return std::string(data != nullptr ? data : "tests/data") + "/sprites/" + name;
}

const char* const GOOD_FILES[] = {"good-simple.txt",         "good-simple-crlf.txt",
                                  "good-robust.txt",         "good-robust-crlf.txt",
                                  "good-robust-default.txt", "good-robust-lenient.txt",
                                  "good-robust-space.txt"};

// The lines check printed about one file, without the file name.
std::vector<std::string> reportOf(const std::string& output, const std::string& file) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  const std::string prefix = corpus(file) + ":";
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line.substr(prefix.size()));
  }
  return lines;
}

TEST(SpriteTool, CheckReportsEveryBadFileWithItsLinesAndPassesTheGoodOnes) {
  tw_test::ProgramRun tool("tw-sprite");
  std::string args = "check";
  for (const tw_test::BadFile& bad : tw_test::BAD_SPRITE_FILES) args += " " + corpus(bad.name);
  for (const char* good : GOOD_FILES) args += " " + corpus(good);
  EXPECT_FALSE(tool.run(args));
  const std::string output = tool.output();
  for (const tw_test::BadFile& bad : tw_test::BAD_SPRITE_FILES) {
    SCOPED_TRACE(bad.name);
    const std::vector<std::string> report = reportOf(output, bad.name);
    size_t at = 0;
    for (const std::string& message : bad.messages) {
      if (message.compare(0, 8, "Sprite::") == 0) continue;  // the sprite's own, not the reader's
      if (at == 0) {
        ASSERT_FALSE(report.empty());
        EXPECT_EQ(std::to_string(bad.line) + ": " + message, report[0]);
      }
      while (at < report.size() && report[at].find(": " + message) == std::string::npos) at++;
      EXPECT_LT(at++, report.size()) << "missing: " << message;
    }
  }
  for (const char* good : GOOD_FILES) {
    const std::vector<std::string> report = reportOf(output, good);
    ASSERT_EQ(1u, report.size()) << good;
    EXPECT_EQ(" ok,", report[0].substr(0, 4)) << good;
  }
  tw_test::ProgramRun good_only("tw-sprite");
  EXPECT_TRUE(
      good_only.run("check " + corpus("good-simple.txt") + " " + corpus("good-robust.txt")));
  EXPECT_FALSE(good_only.run("check " + corpus("no-such-file.txt")));
  EXPECT_NE(std::string::npos, good_only.output().find("no-such-file.txt: cannot open the file"));
}

TEST(SpriteTool, ShowPlaysTheSpriteInTheMiddle) {
  tw_test::ProgramRun tool("tw-sprite");
  tool.setFrames(10);
  ASSERT_TRUE(tool.run("show --capture " + corpus("good-robust.txt"))) << tool.output();
  const std::string frame = tool.lastFrame();
  EXPECT_NE(std::string::npos, frame.find("2 frames, slowdown 3, Q quits")) << frame;
  // Frame 1 or 2 of the sprite's rows, around the middle of the 80 x 24 grid.
  const size_t row = frame.find("bbb") != std::string::npos ? frame.find("bbb") : frame.find("ccc");
  ASSERT_NE(std::string::npos, row) << frame;
  EXPECT_NEAR(12 * 81 + 40, static_cast<double>(row), 81 + 2);
}

}  // namespace
