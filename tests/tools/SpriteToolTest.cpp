// tw-sprite: check reports every bad file of the sprite corpus at the line of
// its first problem and passes the good ones; show plays a sprite.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"
#include "tests/support/SpriteCorpus.h"

namespace {

using tw_test::spriteFile;

TEST(SpriteTool, CheckReportsEveryBadFileWithItsLinesAndPassesTheGoodOnes) {
  const std::vector<tw_test::BadFile> bad_files = tw_test::badSpriteFiles();
  ASSERT_FALSE(bad_files.empty());
  const char* const good_files[] = {"good-simple.txt",         "good-simple-crlf.txt",
                                    "good-robust.txt",         "good-robust-crlf.txt",
                                    "good-robust-default.txt", "good-robust-lenient.txt",
                                    "good-robust-space.txt"};
  std::string args = "check";
  for (const tw_test::BadFile& bad : bad_files) args += " " + spriteFile(bad.name);
  for (const char* good : good_files) args += " " + spriteFile(good);
  tw_test::ProgramRun tool("tw-sprite");
  EXPECT_FALSE(tool.run(args));
  // The first line check printed about each file, without the file name.
  const std::string output = tool.output();
  auto firstReport = [&](const std::string& file) -> std::string {
    const std::string prefix = spriteFile(file) + ":";
    const std::size_t at = ("\n" + output).find("\n" + prefix);  // where its first line starts
    if (at == std::string::npos) return "(none)";
    const std::size_t from = at + prefix.size();
    return output.substr(from, output.find('\n', from) - from);
  };
  for (const tw_test::BadFile& bad : bad_files) {
    std::size_t first = 0;  // the reader's first message, not the sprite's own
    while (bad.messages[first].compare(0, 8, "Sprite::") == 0) first++;
    EXPECT_EQ(std::to_string(bad.line) + ": " + bad.messages[first], firstReport(bad.name))
        << bad.name;
  }
  for (const char* good : good_files) EXPECT_EQ(" ok,", firstReport(good).substr(0, 4)) << good;
  EXPECT_TRUE(tool.run("check " + spriteFile("good-simple.txt")));
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
