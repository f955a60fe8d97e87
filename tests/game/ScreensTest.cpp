// Veld's screens and keys through the game loop: what each screen looks like
// after a script of keys and steps, the ways the game ends, the game-over
// screen's way back, pause and mute.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/resources/ResourceManager.h"
#include "engine/world/Sprite.h"
#include "tests/game/GameFixture.h"

namespace {

using tw_test::VeldRun;

class ScreensTest : public tw_test::GameFixture {
 protected:
  // Plays a script: a number is that many steps, a word a key tapped and a
  // step (a letter, Esc or Space; Close closes the window).
  void play(const std::string& script) {
    std::istringstream words(script);
    for (std::string word; words >> word; steps(std::isdigit(word[0]) ? std::stoi(word) : 1)) {
      if (word == "Close") VeldRun::push(Type::Closed, Key::Unknown);
      if (word == "Esc" || word == "Space") tap(word == "Esc" ? Key::Escape : Key::Space);
      if (word.size() == 1 && std::isupper(word[0])) tap(Key(word[0] - 'A'));
    }
  }
  static tw::GameManager& game() { return tw::GameManager::getInstance(); }
};

// The frame at the end of each script, characters and colours; each script
// starts the program anew, with the data folder of the scripts before.
const std::pair<const char*, const char*> SCENES[] = {
    {"2", "start-screen.txt"},
    {"P 1 Space 6", "run-jump.txt"},  // ground, trees, sun, runner in the air, reticle, score
    {"P 40 Q 1", "game-over-new-best.txt"},
    {"P 40 Q 1 P 1", "start-screen-best.txt"},
    {"M P 60 Esc 1", "run-paused-muted.txt"},
    {"2", "start-screen-muted.txt"},  // the mute choice and the best score last
    {"M 1", "start-screen-best.txt"},
};

TEST_F(ScreensTest, ScriptsEndOnTheRecordedFrames) {
  for (const auto& [script, golden] : SCENES) {
    SCOPED_TRACE(script);
    restart();
    play(script);
    const std::string frame = VeldRun::frame();
    EXPECT_EQ(frame, tw_test::goldenFrame(golden, frame));
  }
}

// Q quits on the start and game-over screens and while paused, from inside
// the key's handler with other listeners still to come; closing the window
// ends the game too.
TEST_F(ScreensTest, QuitKeysAndClosingTheWindowEndTheGame) {
  for (const char* script : {"Q", "P Q Q", "P Esc Q", "P Esc Close"}) {
    SCOPED_TRACE(script);
    restart();
    play(script);
    EXPECT_TRUE(game().getGameOver() || !game().isStarted());
  }
}

// The game-over screen closes after its animation, or at once on P; either
// way one start screen and the controls are left, and nothing is paused.
TEST_F(ScreensTest, GameOverLeavesOneStartScreenAfterItsAnimationOrOnP) {
  const tw::Sprite* sprite = tw::ResourceManager::getInstance().getSprite("game_over");
  ASSERT_NE(sprite, nullptr);
  for (bool on_p : {false, true}) {
    play("P Q");
    ASSERT_EQ(count("GameOver"), 1);
    if (on_p) VeldRun::push(Type::KeyPressed, Key::P);  // held on: the start screen must not take it as a press
    steps(on_p ? 3 : sprite->getFrameCount() * sprite->getSlowdown() - 1);
    EXPECT_EQ(count("GameOver"), on_p ? 0 : 1);
    steps(1);
    if (on_p) VeldRun::push(Type::KeyReleased, Key::P);
    EXPECT_EQ(count("GameOver"), 0);
    EXPECT_EQ(count("StartGame"), 1);
    EXPECT_EQ(tw::WorldManager::getInstance().getAllObjects(true).getCount(), 2);  // and the controls
    EXPECT_FALSE(game().isPaused());
  }
}

// Nothing moves, spawns, scores or animates while paused.
TEST_F(ScreensTest, EscOrPPausesARunAndNothingChangesUntilEscOrPAgain) {
  ASSERT_NE(startRun(), nullptr);
  for (Key resume : {Key::P, Key::Escape}) {
    play("Esc 1");
    const int step = game().getStepCount();
    const std::string frame = VeldRun::frame();
    play("Space 200");
    EXPECT_EQ(VeldRun::frame(), frame);
    EXPECT_EQ(game().getStepCount(), step);
    tap(resume);
    steps(2);
    EXPECT_NE(VeldRun::frame(), frame);
  }
}

}  // namespace
