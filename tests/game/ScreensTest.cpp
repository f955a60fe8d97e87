// Veld's screens and keys through the game loop: what each screen looks like
// after a script of keys and steps, the ways the game ends, the game-over
// screen's way back, pause and mute.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/resources/ResourceManager.h"
#include "engine/world/Sprite.h"
#include "tests/game/GameFixture.h"

namespace {

class ScreensTest : public tw_test::GameFixture {
 protected:
  // Plays a script: a number is that many steps, a word a key tapped (a
  // letter, Esc or Space), Close the window closed.
  void play(const std::string& script) {
    std::istringstream words(script);
    for (std::string word; words >> word;) {
      if (std::isdigit(static_cast<unsigned char>(word[0]))) {
        steps(std::stoi(word));
      } else if (word == "Close") {
        input(Type::Closed);
        steps(1);
      } else {
        tap(word == "Esc" ? Key::Escape : word == "Space" ? Key::Space : Key(word[0] - 'A'));
        steps(1);
      }
    }
  }
  static bool paused() { return game().isPaused(); }
};

struct Scene {
  const char* script;
  const char* golden;  // the frame at the end, characters and colours
};

const Scene SCENES[] = {
    {"2", "start-screen.txt"},
    {"P 1 Space 6", "run-jump.txt"},  // ground, trees, sun, runner in the air, reticle, score
    {"P 40 Q 1", "game-over-new-best.txt"},
    {"P 40 Q 1 P 1", "start-screen-best.txt"},
    {"M P 60 Esc 1", "run-paused-muted.txt"},  // the mute choice is kept from here on
};

TEST_F(ScreensTest, ScriptsEndOnTheRecordedFrames) {
  for (const Scene& scene : SCENES) {
    SCOPED_TRACE(scene.script);
    restart();
    play(scene.script);
    const std::string frame = tw_test::VeldRun::frame();
    EXPECT_EQ(frame, tw_test::goldenFrame(scene.golden, frame));
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

TEST_F(ScreensTest, GameOverLastsItsAnimationOrUntilPThenOneStartScreen) {
  const tw::Sprite* sprite = tw::ResourceManager::getInstance().getSprite("game_over");
  ASSERT_NE(sprite, nullptr);
  for (bool early : {false, true}) {
    SCOPED_TRACE(early);
    play("P Q");  // the runner gives up
    ASSERT_EQ(count("GameOver"), 1);
    EXPECT_EQ(count("Player"), 0);
    if (early) {
      input(Type::KeyPressed, Key::P);  // held on: the start screen must not start a run
      steps(3);
      input(Type::KeyReleased, Key::P);
    } else {
      steps(sprite->getFrameCount() * sprite->getSlowdown() - 1);
      EXPECT_EQ(count("GameOver"), 1);
      steps(1);
    }
    EXPECT_EQ(count("GameOver"), 0);
    EXPECT_EQ(count("StartGame"), 1);
    EXPECT_EQ(world().getAllObjects(true).getCount(), 2);  // and the controls
    EXPECT_FALSE(paused());
  }
}

TEST_F(ScreensTest, EscOrPPausesARunAndNothingChangesUntilEscOrPAgain) {
  ASSERT_NE(startRun(), nullptr);
  EXPECT_FALSE(paused()) << "the P that starts a run paused it";
  for (Key resume : {Key::P, Key::Escape}) {
    play("Esc 1");
    ASSERT_TRUE(paused());
    const int step = game().getStepCount();
    const std::string frame = tw_test::VeldRun::frame();
    play("Space 200");  // past a spawn, points and animation frames
    EXPECT_EQ(tw_test::VeldRun::frame(), frame);
    EXPECT_EQ(game().getStepCount(), step);
    tap(resume);
    steps(2);
    EXPECT_FALSE(paused());
    EXPECT_NE(tw_test::VeldRun::frame(), frame);
  }
}

TEST_F(ScreensTest, MuteChoiceIsKeptForTheNextProgramRun) {
  const std::string file = dir.path() + "/veld/muted";
  play("M");
  EXPECT_EQ(tw_test::readFile(file), "1\n");
  play("P Esc M");
  EXPECT_EQ(tw_test::readFile(file), "0\n");
  play("M");
  restart();
  EXPECT_TRUE(veld::Profile::get().isMuted());
}

}  // namespace
