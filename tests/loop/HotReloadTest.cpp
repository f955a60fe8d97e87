// Files changed while the game runs: a sprite saved in every way an editor or
// a person saves it (the game runs on and shows it, or keeps the old sprite
// and says why), a sound, and the configuration file.
#include "engine/loop/HotReload.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <tuple>

#include "engine/core/Config.h"
#include "engine/core/LoopState.h"
#include "engine/loop/DebugOverlay.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/Object.h"
#include "engine/world/Sprite.h"
#include "tests/support/ReloadingGame.h"

namespace {

// A simple-format sprite file: frames of one row each, as wide as the rows.
std::string spriteText(const std::string& rows, int frames, int height = 1) {
  const std::size_t width = rows.find('\n');
  return std::to_string(frames) + "\n" + std::to_string(width) + "\n" + std::to_string(height) +
         "\n1000\nred\n" + rows;
}

class HotReloadTest : public tw_test::ReloadingGame {
 protected:
  std::string spriteFile() const { return engine.dir.file("s.txt"); }
  int kept() const { return logCount("kept as it was"); }
};

// Each save follows the one before; the object keeps showing the sprite
// labelled "s" through all of them, and its frame 2 while the sprite has one.
TEST_F(HotReloadTest, EverySaveShowsOrKeepsTheOldSpriteAndTheGameRunsOn) {
  tw::ResourceManager& rm = tw::ResourceManager::getInstance();
  ASSERT_EQ(rm.loadSprite(engine.dir.write("s.txt", spriteText("aaa\nbbb\n", 2)), "s"), 0);
  tw::Sprite* sprite = rm.getSprite("s");
  auto* p_o = new tw::Object;
  p_o->setPosition(tw::Vector(10, 5));
  ASSERT_EQ(p_o->setSprite("s"), 0);
  tw::Animation second = p_o->getAnimation();
  second.setIndex(1);
  second.setSlowdownCount(-1);  // frozen on frame 2
  p_o->setAnimation(second, false);
  ASSERT_TRUE(runUntil([] { return shows(5, "bbb"); }));
  const std::string file = spriteFile();
  const std::string other = engine.dir.file("s.txt.new");
  const struct {
    const char* name;
    std::function<void()> save;
    const char* shown;  // on row 5 once taken
    bool taken;         // false: refused, the old sprite stays
    float width;        // of the object's box afterwards
  } saves[] = {
      {"valid change", [&] { engine.dir.write("s.txt", spriteText("ccc\nddd\n", 2)); }, "ddd",
       true, 3},
      {"broken file", [&] { engine.dir.write("s.txt", spriteText("eee\nff\n", 2)); }, "ddd",
       false, 3},
      {"empty file", [&] { engine.dir.write("s.txt", ""); }, "ddd", false, 3},
      {"half-written file", [&] { engine.dir.write("s.txt", spriteText("ggg\n", 2)); }, "ddd",
       false, 3},
      {"replaced by rename",
       [&] {
         engine.dir.write("s.txt.new", spriteText("hhh\niii\n", 2));
         std::rename(other.c_str(), file.c_str());
       },
       "iii", true, 3},
      {"deleted and recreated",
       [&] {
         std::remove(file.c_str());
         tw::GameManager::getInstance().runStep();
         engine.dir.write("s.txt", spriteText("jjj\nkkk\n", 2));
       },
       "kkk", true, 3},
      {"size change, one frame", [&] { engine.dir.write("s.txt", spriteText("LLLLL\n", 1)); },
       "LLLLL", true, 5},
  };
  for (const auto& save : saves) {
    SCOPED_TRACE(save.name);
    const int refused = kept();
    save.save();
    if (save.taken) {
      ASSERT_TRUE(runUntil([&] { return shows(5, save.shown); })) << row(5);
    } else {
      ASSERT_TRUE(runUntil([&] { return kept() > refused; }));
      tw::GameManager::getInstance().runStep();
      EXPECT_TRUE(shows(5, save.shown)) << row(5);
    }
    EXPECT_EQ(rm.getSprite("s"), sprite);  // replaced in place
    EXPECT_EQ(p_o->getBox().getHorizontal(), save.width);
  }
  EXPECT_EQ(p_o->getAnimation().getIndex(), 0);  // the one frame left
  EXPECT_TRUE(engine.logHas("s.txt:7: "));  // the broken row's line
  EXPECT_FALSE(tw::GameManager::getInstance().getGameOver());
}

// A sound's file saved again is decoded again (and played from the next
// play); a file that does not decode keeps the old sound and says which file.
TEST_F(HotReloadTest, ASoundIsLoadedAgainAndABrokenOneKept) {
  tw::ResourceManager& rm = tw::ResourceManager::getInstance();
  const std::string tune = tw_test::readFile(tw_test::dataPath("sounds/tune.wav"));
  ASSERT_EQ(rm.loadSound(engine.dir.write("beep.wav", tune), "beep"), 0);
  tw::Sound* sound = rm.getSound("beep");
  tw::GameManager::getInstance().runStep();  // the sound's file is watched from here on
  EXPECT_EQ(rm.reloadFile(engine.dir.write("beep.wav", tune)), 1);
  engine.dir.write("beep.wav", "not a sound");
  ASSERT_TRUE(runUntil([&] { return logCount("Warning! Sound 'beep' kept as it was") > 0; }));
  EXPECT_EQ(rm.getSound("beep"), sound);
  EXPECT_EQ(rm.reloadFile(engine.dir.file("beep.wav")), -1);
}

// The frame time, background and debug overlay change at once; a new window
// size waits for the next start and keeps its running value until then.
TEST_F(HotReloadTest, TheConfigurationAppliesWhatItCanAndNamesTheRest) {
  tw::Config& config = tw::Config::getInstance();
  tw::GameManager::getInstance().runStep();
  engine.dir.write("tw-config.txt", std::string(SETTINGS) +
                                        "frame_time:7,window_background_color:blue,"
                                        "debug_overlay:true,window_horizontal_chars:100");
  ASSERT_TRUE(runUntil([] { return tw::LoopState::getInstance().getFrameTime() == 7; }));
  const tw::Rgb blue = tw::colorToRgb(tw::BLUE);
  const tw::Rgb shown = tw::DisplayManager::getInstance().snapshot().getBackground();
  EXPECT_EQ(std::make_tuple(shown.r, shown.g, shown.b), std::make_tuple(blue.r, blue.g, blue.b));
  EXPECT_TRUE(tw::DebugOverlay::getInstance().isShown());
  EXPECT_EQ(config.getWindowHorizontalChars(), 80);
  EXPECT_EQ(logCount("window_horizontal_chars changed; it takes effect at the next start."), 1);
  EXPECT_EQ(logCount("changed; it takes effect"), 1);
}

// Off unless asked for, by setting or environment, and never while input is
// recorded, so that a replay sees the same game.
TEST(HotReload, WatchesOnlyWhenAskedAndNeverWhileRecording) {
  const struct {
    const char* settings;
    const char* variable;  // TARNWICK_HOT_RELOAD
    bool recording;
    bool on;
  } cases[] = {
      {"", nullptr, false, false},
      {"hot_reload:true,", nullptr, false, true},
      {"", "1", false, true},
      {"hot_reload:true,", "0", false, false},
      {"hot_reload:true,", nullptr, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.settings) + (c.variable ? c.variable : ""));
    const tw_test::ScopedEnv variable("TARNWICK_HOT_RELOAD", c.variable);
    const std::string settings = std::string(c.settings) + "display:none,networking:false";
    tw_test::ConfiguredEngine engine(settings);
    const tw_test::ScopedEnv record("TARNWICK_RECORD",
                                    c.recording ? engine.dir.file("run.twr").c_str() : nullptr);
    tw::Config::getInstance().reset();
    tw::GameManager& game = tw::GameManager::getInstance();
    ASSERT_EQ(game.startUp(), 0);
    EXPECT_EQ(tw::HotReload::getInstance().isOn(), c.on);
    game.shutDown();
  }
}

}  // namespace
