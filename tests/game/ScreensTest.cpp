// Veld's screens and keys through the game loop: what the player sees after
// scripts of keys and steps, and the ways the game ends.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

#include "tests/game/GameFixture.h"

namespace {

using tw_test::VeldRun;

class ScreensTest : public tw_test::GameFixture {
 protected:
  // Starts the program anew (keeping its data folder) and plays a script: a
  // number is that many steps, a word a key tapped and a step (a letter, Esc
  // or Space; Close closes the window).
  void play(const std::string& script) {
    restart();
    std::istringstream words(script);
    for (std::string word; words >> word; steps(std::isdigit(word[0]) ? std::stoi(word) : 1)) {
      if (word == "Close") VeldRun::push(Type::Closed, Key::Unknown);
      if (word == "Esc" || word == "Space") tap(word == "Esc" ? Key::Escape : Key::Space);
      if (word.size() == 1 && std::isupper(word[0])) tap(Key(word[0] - 'A'));
    }
  }
};

// The frame a script ends on (the one finished before its last step),
// characters and colours. The best score and mute choice carry over.
const std::pair<const char*, const char*> SCENES[] = {
    {"2", "start-screen.txt"},
    {"P 1 Space 6", "run-jump.txt"},  // ground, trees, sun, runner in the air, reticle, score
    {"P Q 130", "start-screen-again.txt"},  // the game-over screen's time is up
    {"P 40 Q 1", "game-over-new-best.txt"},
    {"P 40 Q 1 P 1", "start-screen-best.txt"},
    // Nothing moves, spawns, scores or animates while paused; P or Esc plays on.
    {"P 60 Esc 1", "run-paused.txt"},
    {"P 60 Esc Space 200", "run-paused.txt"},
    {"P 60 Esc 20 P 2", "run-resumed.txt"},
    {"P 60 Esc 20 Esc 2", "run-resumed.txt"},
    {"M P 1 Esc 1", "run-paused-muted.txt"},  // M works on every screen
    {"2", "start-screen-muted.txt"},
    {"M 1", "start-screen-best.txt"},
};

TEST_F(ScreensTest, ScriptsEndOnTheRecordedFrames) {
  for (const auto& [script, golden] : SCENES) {
    SCOPED_TRACE(script);
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
    play(script);
    EXPECT_TRUE(tw::GameManager::getInstance().getGameOver() || !tw::GameManager::getInstance().isStarted());
  }
}

}  // namespace
