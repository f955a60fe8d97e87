// Every sprite file of the corpus in tests/data/sprites, loaded through the
// resource manager: good files give the expected sprite, bad files give their
// messages (with line numbers) and leave nothing behind.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "engine/world/Sprite.h"
#include "engine/resources/ResourceManager.h"
#include "tests/support/SpriteCorpus.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::ResourceManager;
using tw::Sprite;

std::string corpus(const std::string& name) {
  const char* data = std::getenv("TW_TEST_DATA");
  return std::string(data != nullptr ? data : "tests/data") + "/sprites/" + name;
}

// True when expected appears, in order, within messages.
bool inOrder(const std::vector<std::string>& messages, const std::vector<std::string>& expected,
             std::string& missing) {
  size_t at = 0;
  for (const std::string& want : expected) {
    while (at < messages.size() && messages[at] != want) at++;
    if (at == messages.size()) {
      missing = want;
      return false;
    }
    at++;
  }
  return true;
}

class SpriteFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, ResourceManager::getInstance().startUp()); }
  void TearDown() override { ResourceManager::getInstance().shutDown(); }
  Sprite* load(const std::string& name) {
    if (ResourceManager::getInstance().loadSprite(corpus(name), name) != 0) return nullptr;
    return ResourceManager::getInstance().getSprite(name);
  }
  tw_test::LogCapture log;
};

// ---------------------------------------------------------------- bad files

using tw_test::BadFile;

class BadSpriteFile : public SpriteFileTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadSpriteFile, IsRefusedWithItsMessagesAndLeavesNoSprite) {
  const BadFile& bad = GetParam();
  EXPECT_EQ(-1, ResourceManager::getInstance().loadSprite(corpus(bad.name), "label"));
  std::vector<std::string> expected = bad.messages;
  expected.push_back("RM::loadSprite(): Sprite 'label' NOT loaded.");
  std::string missing;
  EXPECT_TRUE(inOrder(log.messages(), expected, missing)) << "missing: '" << missing << "'";
  EXPECT_EQ(0, ResourceManager::getInstance().getSpriteCount());
  EXPECT_EQ(nullptr, ResourceManager::getInstance().getSprite("label"));
}

std::string caseName(const ::testing::TestParamInfo<BadFile>& info) {
  std::string name;
  for (const char* c = info.param.name; *c != '\0' && *c != '.'; c++) {
    name += (*c == '-') ? '_' : *c;
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, BadSpriteFile, ::testing::ValuesIn(tw_test::BAD_SPRITE_FILES),
                         caseName);

TEST_F(SpriteFileTest, AFailureAfterAGoodLoadKeepsOnlyTheGoodSprite) {
  ResourceManager& rm = ResourceManager::getInstance();
  ASSERT_EQ(0, rm.loadSprite(corpus("good-simple.txt"), "hero"));
  Sprite* good = rm.getSprite("hero");
  EXPECT_EQ(-1, rm.loadSprite(corpus("bad-robust-short-row.txt"), "hero"));
  EXPECT_EQ(-1, rm.loadSprite(corpus("bad-simple-extra-data.txt"), "other"));
  EXPECT_EQ(1, rm.getSpriteCount());
  EXPECT_EQ(good, rm.getSprite("hero"));
  EXPECT_EQ(nullptr, rm.getSprite("other"));
}

// ---------------------------------------------------------------- good files

TEST_F(SpriteFileTest, SimpleFileGivesItsFramesSizeSlowdownAndColour) {
  for (const char* name : {"good-simple.txt", "good-simple-crlf.txt"}) {
    SCOPED_TRACE(name);
    Sprite* sprite = load(name);
    ASSERT_NE(nullptr, sprite);
    EXPECT_EQ(name, sprite->getLabel());
    EXPECT_EQ(2, sprite->getFrameCount());
    EXPECT_EQ(3, sprite->getWidth());
    EXPECT_EQ(2, sprite->getHeight());
    EXPECT_EQ(4, sprite->getSlowdown());
    EXPECT_EQ(tw::RED, sprite->getColor());
    EXPECT_EQ(0, sprite->getTransparency());
    EXPECT_EQ("abcdef", sprite->getFrame(0).getString());
    EXPECT_EQ("ghijkl", sprite->getFrame(1).getString());
  }
}

TEST_F(SpriteFileTest, RobustFileGivesItsHeaderValuesAndFrames) {
  for (const char* name : {"good-robust.txt", "good-robust-crlf.txt"}) {
    SCOPED_TRACE(name);
    Sprite* sprite = load(name);
    ASSERT_NE(nullptr, sprite);
    EXPECT_EQ(2, sprite->getFrameCount());
    EXPECT_EQ(3, sprite->getWidth());
    EXPECT_EQ(2, sprite->getHeight());
    EXPECT_EQ(3, sprite->getSlowdown());
    EXPECT_EQ(tw::GREEN, sprite->getColor());
    EXPECT_EQ('#', sprite->getTransparency());
    EXPECT_EQ("#a#bbb", sprite->getFrame(0).getString());
    EXPECT_EQ("ccc#d#", sprite->getFrame(1).getString());
  }
}

TEST_F(SpriteFileTest, QuotedBlankMakesBlanksTransparent) {
  Sprite* sprite = load("good-robust-space.txt");
  ASSERT_NE(nullptr, sprite);
  EXPECT_EQ(' ', sprite->getTransparency());
  EXPECT_EQ(tw::CYAN, sprite->getColor());
  EXPECT_EQ(" a ", sprite->getFrame(0).getString());
}

TEST_F(SpriteFileTest, RobustHeaderToleratesRepeatsOddKeywordsAndAbsentOptions) {
  // Two width lines (the later wins), "framesX1", slowdown -1 read as absent,
  // no colour (white), and unused header and footer lines.
  Sprite* sprite = load("good-robust-lenient.txt");
  ASSERT_NE(nullptr, sprite);
  EXPECT_EQ(1, sprite->getFrameCount());
  EXPECT_EQ(2, sprite->getWidth());
  EXPECT_EQ(0, sprite->getSlowdown());
  EXPECT_EQ(tw::WHITE, sprite->getColor());
  EXPECT_EQ(0, sprite->getTransparency());
  EXPECT_EQ("xy", sprite->getFrame(0).getString());
}

TEST_F(SpriteFileTest, MissingColourWarnsButDefaultDoesNot) {
  tw::LogManager::getInstance().setLogLevel(5);
  ASSERT_NE(nullptr, load("good-robust-lenient.txt"));
  EXPECT_TRUE(log.contains("RM::loadRobustSprite(): Warning! No 'color' in header."));
  EXPECT_TRUE(log.contains("RM::loadRobustSprite(): Note! No 'slowdown' in header."));
  const size_t before = log.messages().size();
  Sprite* sprite = load("good-robust-default.txt");
  ASSERT_NE(nullptr, sprite);
  EXPECT_EQ(tw::WHITE, sprite->getColor());
  const std::vector<std::string> after = log.messages();
  ASSERT_GT(after.size(), before);
  for (size_t i = before; i < after.size(); i++) {
    EXPECT_EQ(std::string::npos, after[i].find("No 'color'")) << after[i];
  }
}

}  // namespace
