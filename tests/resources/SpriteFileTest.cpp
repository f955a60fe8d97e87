// Every sprite file of the corpus in tests/data/sprites, loaded through the
// resource manager: good files give the expected sprite, bad files give their
// messages and replace or leave behind nothing.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/resources/ResourceManager.h"
#include "engine/world/Sprite.h"
#include "tests/support/SpriteCorpus.h"
#include "tests/support/TestSupport.h"

namespace {

using tw_test::spriteFile;

class SpriteFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, rm.startUp()); }
  tw::ResourceManager& rm = tw::ResourceManager::getInstance();
  tw_test::LogCapture log;
};

TEST_F(SpriteFileTest, EveryBadFileIsRefusedWithItsMessagesAndKeepsTheGoodSprite) {
  ASSERT_EQ(0, rm.loadSprite(spriteFile("good-simple.txt"), "hero"));
  tw::Sprite* const hero = rm.getSprite("hero");
  const std::vector<tw_test::BadFile> bad_files = tw_test::badSpriteFiles();
  ASSERT_EQ(42u, bad_files.size());
  for (const tw_test::BadFile& bad : bad_files) {
    SCOPED_TRACE(bad.name);
    const std::size_t before = log.messages().size();
    EXPECT_EQ(-1, rm.loadSprite(spriteFile(bad.name), "hero"));
    std::vector<std::string> expected = bad.messages;
    expected.push_back("RM::loadSprite(): Sprite 'hero' NOT loaded.");
    const std::vector<std::string> messages = log.messages();
    std::size_t at = before;  // each expected message in order, after the earlier ones
    for (const std::string& want : expected) {
      while (at < messages.size() && messages[at] != want) at++;
      EXPECT_LT(at++, messages.size()) << "missing: " << want;
    }
    EXPECT_EQ(1, rm.getSpriteCount());
    EXPECT_EQ(hero, rm.getSprite("hero"));
  }
}

TEST_F(SpriteFileTest, GoodFilesGiveTheirFramesSizeSlowdownColourAndTransparency) {
  const struct {
    const char *name, *first, *last;  // the first and last frames' characters
    int frames, width, height, slowdown;
    tw::Color color;
    char transparency;
  } cases[] = {
      {"good-simple.txt", "abcdef", "ghijkl", 2, 3, 2, 4, tw::RED, 0},
      {"good-simple-crlf.txt", "abcdef", "ghijkl", 2, 3, 2, 4, tw::RED, 0},
      {"good-robust.txt", "#a#bbb", "ccc#d#", 2, 3, 2, 3, tw::GREEN, '#'},
      {"good-robust-crlf.txt", "#a#bbb", "ccc#d#", 2, 3, 2, 3, tw::GREEN, '#'},
      {"good-robust-space.txt", " a ", " a ", 1, 3, 1, 0, tw::CYAN, ' '},  // transparency " "
      {"good-robust-default.txt", "o", "o", 1, 1, 1, 0, tw::WHITE, 0},
      // Two width lines (the later wins), "framesX1", slowdown -1 read as
      // absent, no colour (white), unused header and footer lines.
      {"good-robust-lenient.txt", "xy", "xy", 1, 2, 1, 0, tw::WHITE, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(0, rm.loadSprite(spriteFile(c.name), c.name));
    const tw::Sprite* sprite = rm.getSprite(c.name);
    EXPECT_EQ(std::make_tuple(c.frames, c.width, c.height, c.slowdown, c.color, c.transparency),
              std::make_tuple(sprite->getFrameCount(), sprite->getWidth(), sprite->getHeight(),
                              sprite->getSlowdown(), sprite->getColor(), sprite->getTransparency()));
    EXPECT_EQ(c.first, sprite->getFrame(0).getString());
    EXPECT_EQ(c.last, sprite->getFrame(c.frames - 1).getString());
  }
}

}  // namespace
