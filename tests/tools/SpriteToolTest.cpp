// tw-sprite: check says what is wrong with every bad file of the sprite
// corpus, at its line and in the file's terms, and passes the good ones; show
// plays a sprite.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"
#include "tests/support/SpriteCorpus.h"

namespace {

using tw_test::spriteFile;

TEST(SpriteTool, CheckSaysWhatIsWrongWithEachBadFileInItsTermsAndPassesTheGoodOnes) {
  const std::vector<tw_test::BadFile> bad_files = tw_test::badSpriteFiles();
  ASSERT_FALSE(bad_files.empty());
  std::string args = "check";
  for (const tw_test::BadFile& bad : bad_files) args += " " + spriteFile(bad.name);
  for (const char* good : tw_test::GOOD_SPRITE_FILES) args += " " + spriteFile(good);
  tw_test::ProgramRun tool("tw-sprite");
  EXPECT_FALSE(tool.run(args));
  // One line per file, in order, each starting with the file's path.
  std::istringstream output(tool.output());
  std::vector<std::string> lines;
  for (std::string line; std::getline(output, line);) lines.push_back(line);
  const std::size_t files = bad_files.size() + std::size(tw_test::GOOD_SPRITE_FILES);
  ASSERT_EQ(lines.size(), files) << tool.output();
  for (std::size_t i = 0; i < bad_files.size(); i++) {
    SCOPED_TRACE(bad_files[i].name);
    EXPECT_EQ(lines[i], spriteFile("") + bad_files[i].check);
  }
  for (std::size_t i = 0; i < std::size(tw_test::GOOD_SPRITE_FILES); i++) {
    const std::string good = tw_test::GOOD_SPRITE_FILES[i];
    EXPECT_EQ(lines[bad_files.size() + i].substr(0, spriteFile(good).size() + 5),
              spriteFile(good) + ": ok,");
  }
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
