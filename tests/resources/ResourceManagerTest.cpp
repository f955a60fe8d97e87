#include "engine/resources/ResourceManager.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "engine/world/Sprite.h"
#include "tests/resources/WavFile.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::ResourceManager;

const char* const ONE_FRAME = "1\n1\n1\n0\nred\nx\n";
const char* const TWO_FRAMES = "2\n1\n1\n0\nblue\nx\ny\n";

class ResourceManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, rm.startUp()); }
  void TearDown() override {
    if (rm.isStarted()) rm.shutDown();
  }
  ResourceManager& rm = ResourceManager::getInstance();
  tw_test::LogCapture log;
  tw_test::TempDir dir;
};

TEST_F(ResourceManagerTest, IsNamedAndRefusesASecondStart) {
  EXPECT_EQ("ResourceManager", rm.getType());
  EXPECT_EQ(-1, rm.startUp());
  EXPECT_TRUE(log.contains("ResourceManager::startup(): Warning! ResourceManager already started."));
  EXPECT_TRUE(rm.isStarted());
}

TEST(ResourceManager, RefusesEveryLoadWhileNotStarted) {
  tw_test::LogCapture log;
  tw_test::TempDir dir;
  ResourceManager& rm = ResourceManager::getInstance();
  EXPECT_EQ(-1, rm.loadSprite(dir.write("s.txt", ONE_FRAME), "s"));
  EXPECT_EQ(-1, rm.loadSound("x.wav", "x"));
  EXPECT_EQ(-1, rm.loadMusic("x.wav", "x"));
  std::istringstream in(ONE_FRAME);
  EXPECT_EQ(nullptr, rm.loadSimpleSprite(in));
  EXPECT_EQ(nullptr, rm.loadRobustSprite(in));
  int refusals = 0;
  for (const std::string& m : log.messages()) refusals += m == "ResourceManager not started!";
  EXPECT_EQ(5, refusals);
  EXPECT_EQ(0, rm.getSpriteCount());
}

TEST_F(ResourceManagerTest, SpriteLookupGivesTheFirstLoadedUnderALabel) {
  ASSERT_EQ(0, rm.loadSprite(dir.write("a.txt", ONE_FRAME), "twin"));
  ASSERT_EQ(0, rm.loadSprite(dir.write("b.txt", TWO_FRAMES), "twin"));
  ASSERT_EQ(0, rm.loadSprite(dir.file("b.txt"), "other"));
  tw::Sprite* twin = rm.getSprite("twin");
  ASSERT_NE(nullptr, twin);
  EXPECT_EQ(tw::RED, twin->getColor());
  EXPECT_EQ("twin", twin->getLabel());
  EXPECT_EQ(2, rm.getSprite("other")->getFrameCount());
  EXPECT_EQ(nullptr, rm.getSprite("Twin"));  // labels compare exactly
  EXPECT_TRUE(log.contains("RM::getSprite(): Warning! Sprite 'Twin' not found."));
}

TEST_F(ResourceManagerTest, ThousandAndFirstSpriteIsRefused) {
  const std::string file = dir.write("s.txt", ONE_FRAME);
  for (int i = 0; i < tw::MAX_SPRITES; i++) {
    ASSERT_EQ(0, rm.loadSprite(file, "s" + std::to_string(i)));
  }
  EXPECT_EQ(-1, rm.loadSprite(file, "one-too-many"));
  EXPECT_TRUE(log.contains("RM::loadRobustSprite(): Error! Cannot add more Sprites (max is 1000)."));
  EXPECT_TRUE(log.contains("RM::loadRobustSprite(): Sprite 'one-too-many' not loaded."));
  EXPECT_EQ(1000, rm.getSpriteCount());
  EXPECT_NE(nullptr, rm.getSprite("s999"));
}

TEST_F(ResourceManagerTest, UnreadableFilesAreRefused) {
  EXPECT_EQ(-1, rm.loadSprite(dir.file("absent.txt"), "absent"));
  EXPECT_TRUE(log.contains("RM::loadSprite(): Error! Cannot open file '" + dir.file("absent.txt") + "'."));
  EXPECT_TRUE(log.contains("RM::loadSprite(): Sprite 'absent' not loaded."));
  EXPECT_EQ(-1, rm.loadSprite(dir.path(), "folder"));
  EXPECT_TRUE(log.contains("RM::loadSprite(): Error! Cannot open file '" + dir.path() + "'."));
  EXPECT_TRUE(log.contains("RM::loadSprite(): Sprite 'folder' not loaded."));
  EXPECT_EQ(0, rm.getSpriteCount());
}

TEST_F(ResourceManagerTest, ShutDownReleasesEverySprite) {
  ASSERT_EQ(0, rm.loadSprite(dir.write("a.txt", ONE_FRAME), "a"));
  rm.shutDown();
  EXPECT_EQ(0, rm.getSpriteCount());
  EXPECT_EQ(nullptr, rm.getSprite("a"));
  ASSERT_EQ(0, rm.startUp());  // and it can start again
  EXPECT_EQ(0, rm.loadSprite(dir.file("a.txt"), "a"));
  EXPECT_NE(nullptr, rm.getSprite("a"));
}

TEST_F(ResourceManagerTest, SoundsLoadUpToTheLimitAndAFailureKeepsTheSlot) {
  tw_test::writeWav(dir.file("beep.wav"));
  EXPECT_EQ(-1, rm.loadSound(dir.write("bad.wav", "not a sound"), "bad"));
  EXPECT_TRUE(log.contains("RM::loadSound(): Error! Cannot load sound from file '" +
                           dir.file("bad.wav") + "'."));
  EXPECT_EQ(0, rm.getSoundCount());
  EXPECT_EQ(nullptr, rm.getSound("bad"));
  EXPECT_EQ(0, rm.loadSound(dir.file("beep.wav"), ""));  // an empty label is accepted
  for (int i = 1; i < tw::MAX_SOUNDS; i++) {
    ASSERT_EQ(0, rm.loadSound(dir.file("beep.wav"), "beep" + std::to_string(i)));
  }
  EXPECT_EQ(-1, rm.loadSound(dir.file("beep.wav"), "extra"));
  EXPECT_TRUE(log.contains("RM::loadSound(): Error! Unable to add more sounds (max is 100)."));
  EXPECT_EQ(100, rm.getSoundCount());
  ASSERT_NE(nullptr, rm.getSound(""));
  EXPECT_EQ("beep99", rm.getSound("beep99")->getLabel());
  EXPECT_EQ(nullptr, rm.getSound("extra"));
  EXPECT_TRUE(log.contains("RM::getSound(): Warning! Sound 'extra' not found."));
}

TEST_F(ResourceManagerTest, MusicNeedsALabelAndStopsAtFifty) {
  tw_test::writeWav(dir.file("tune.wav"), 4000);
  EXPECT_EQ(-1, rm.loadMusic(dir.file("tune.wav"), ""));
  EXPECT_TRUE(log.contains("RM::loadMusic(): Error! Must provide label for music."));
  EXPECT_EQ(-1, rm.loadMusic(dir.file("absent.wav"), "absent"));
  EXPECT_TRUE(log.contains("RM::loadmusic(): Error! Cannot load music from file '" +
                           dir.file("absent.wav") + "'."));
  for (int i = 0; i < tw::MAX_MUSICS; i++) {
    ASSERT_EQ(0, rm.loadMusic(dir.file("tune.wav"), "tune" + std::to_string(i)));
  }
  EXPECT_EQ(-1, rm.loadMusic(dir.file("tune.wav"), "extra"));
  EXPECT_TRUE(log.contains("RM::loadMusic(): Error! Unable to add more musics (max is 50)."));
  EXPECT_EQ(50, rm.getMusicCount());
  ASSERT_NE(nullptr, rm.getMusic("tune49"));
  EXPECT_EQ(nullptr, rm.getMusic("extra"));
  EXPECT_TRUE(log.contains("RM::getMusic(): Warning! Music 'extra' not found."));
}

TEST_F(ResourceManagerTest, ShutDownStopsEveryLoadedMusic) {
  tw_test::writeWav(dir.file("tune.wav"), 4000);
  ASSERT_EQ(0, rm.loadMusic(dir.file("tune.wav"), "a"));
  ASSERT_EQ(0, rm.loadMusic(dir.file("tune.wav"), "b"));
  rm.getMusic("a")->play(true);
  tw::LogManager::getInstance().setLogLevel(5);
  rm.shutDown();
  int stops = 0;
  for (const std::string& m : log.messages()) stops += m == "Music::stop(): Stopping music.";
  EXPECT_EQ(2, stops);
  EXPECT_TRUE(log.contains("RM::shutDown(): successfully stopped."));
}

}  // namespace
