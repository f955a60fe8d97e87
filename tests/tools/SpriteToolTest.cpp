// tw-sprite: check reports every bad file of the sprite corpus with its
// messages and lines and passes the good ones; show plays a sprite.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"
#include "tests/support/SpriteCorpus.h"

namespace {

using tw_test::spriteFile;

// The lines check printed about one file, without the file name.
std::vector<std::string> reportOf(const std::string& output, const std::string& file) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  const std::string prefix = spriteFile(file) + ":";
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line.substr(prefix.size()));
  }
  return lines;
}

TEST(SpriteTool, CheckReportsEveryBadFileWithItsLinesAndPassesTheGoodOnes) {
  const std::vector<tw_test::BadFile> bad_files = tw_test::badSpriteFiles();
  ASSERT_FALSE(bad_files.empty());
  const char* const good_files[] = {"good-simple.txt", "good-simple-crlf.txt", "good-robust.txt", "good-robust-crlf.txt",
                                    "good-robust-default.txt", "good-robust-lenient.txt", "good-robust-space.txt"};
  std::string args = "check";
  for (const tw_test::BadFile& bad : bad_files) args += " " + spriteFile(bad.name);
  for (const char* good : good_files) args += " " + spriteFile(good);
  tw_test::ProgramRun tool("tw-sprite");
  EXPECT_FALSE(tool.run(args));
  for (const tw_test::BadFile& bad : bad_files) {
    SCOPED_TRACE(bad.name);
    const std::vector<std::string> report = reportOf(tool.output(), bad.name);
    std::vector<std::string> messages;  // the reader's, not the sprite's own
    for (const std::string& m : bad.messages) {
      if (m.compare(0, 8, "Sprite::") != 0) messages.push_back(m);
    }
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(std::to_string(bad.line) + ": " + messages[0], report[0]);
    size_t at = 0;
    for (const std::string& message : messages) {
      while (at < report.size() && report[at].find(": " + message) == std::string::npos) at++;
      EXPECT_LT(at++, report.size()) << "missing: " << message;
    }
  }
  for (const char* good : good_files) {
    const std::vector<std::string> report = reportOf(tool.output(), good);
    EXPECT_TRUE(report.size() == 1 && report[0].substr(0, 4) == " ok,") << good;
  }
  EXPECT_TRUE(tool.run("check " + spriteFile("good-simple.txt") + " " + spriteFile("good-robust.txt")));
  EXPECT_FALSE(tool.run("check " + spriteFile("no-such-file.txt")));
  EXPECT_NE(std::string::npos, tool.output().find("no-such-file.txt: cannot open the file"));
}

TEST(SpriteTool, ShowPlaysTheSpriteInTheMiddle) {
  tw_test::ProgramRun tool("tw-sprite");
  tool.setFrames(10);
  ASSERT_TRUE(tool.run("show --capture " + spriteFile("good-robust.txt"))) << tool.output();
  const std::string frame = tool.lastFrame();
  EXPECT_NE(std::string::npos, frame.find("2 frames, slowdown 3, Q quits")) << frame;
  // Frame 1 or 2 of the sprite's rows, around the middle of the 80 x 24 grid.
  const size_t row = frame.find("bbb") != std::string::npos ? frame.find("bbb") : frame.find("ccc");
  ASSERT_NE(std::string::npos, row) << frame;
  EXPECT_NEAR(12 * 81 + 40, static_cast<double>(row), 81 + 2);
}

}  // namespace
