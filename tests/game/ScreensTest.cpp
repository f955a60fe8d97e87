#include <gtest/gtest.h>

#include <cmath>

#include "engine/loop/Pause.h"
#include "engine/world/Sprite.h"
#include "engine/resources/ResourceManager.h"
#include "game/GameOver.h"
#include "game/GameStart.h"
#include "game/Points.h"
#include "tests/game/GameFixture.h"

using tw::Keyboard::P;
using tw::Keyboard::Q;

namespace {
class ScreensTest : public tw_test::GameFixture {
 protected:
  // Every object in the world, active or not.
  static int everything() { return world().getAllObjects(true).getCount(); }
};
}  // namespace

TEST_F(ScreensTest, StartCreatesARunAndRemovesTheStartScreenAndPause) {
  new veld::GameStart;
  new tw::Pause(tw::Keyboard::F10);
  key(P, tw::KEY_RELEASED);
  key(P, tw::KEY_HELD);
  frame();
  EXPECT_EQ(countOfType("StartGame"), 1);  // only a press starts
  key(P, tw::KEY_PRESSED);
  frame();
  EXPECT_EQ(countOfType("StartGame"), 0);
  EXPECT_EQ(countOfType("Pause"), 0);
  EXPECT_EQ(countOfType("Player"), 1);
  EXPECT_EQ(countOfType("ViewObject"), 1);  // the score
  EXPECT_EQ(countOfType("Tree"), 2);
  EXPECT_EQ(countOfType("Sun"), 1);
  EXPECT_EQ(countOfType("GroundTile"), 10);
  EXPECT_EQ(countOfType("Spawning"), 1);
  EXPECT_EQ(countOfType("(Undefined)"), 1);  // the reticle
}

// What the player sees, as text: the start screen, and a run a few frames
// after a jump (runner in the air, score, ground, trees and sun in place).
TEST_F(ScreensTest, StartScreenAndAJumpLookAsRecorded) {
  new veld::GameStart;
  frames(3);
  const std::string start = shot();
  EXPECT_EQ(start, tw_test::goldenFrame("start-screen.txt", start));
  key(P, tw::KEY_PRESSED);
  frames(2);
  key(tw::Keyboard::SPACE, tw::KEY_PRESSED);
  frames(6);
  const std::string jump = shot();
  EXPECT_EQ(jump, tw_test::goldenFrame("run-jump.txt", jump));
}

TEST_F(ScreensTest, GroundTilesSitOnTheBottomRow) {
  new veld::GameStart;
  key(P, tw::KEY_PRESSED);
  const tw::ObjectList all = world().getAllObjects();
  int tiles = 0;
  for (int i = 0; i < all.getCount(); i++) {
    if (all[i]->getType() != "GroundTile") continue;
    const tw::Box box = all[i]->getBox();
    EXPECT_FLOAT_EQ(all[i]->getPosition().getY(), 24 - box.getVertical() * 0.5f - 0.5f);
    EXPECT_FLOAT_EQ(std::fmod(all[i]->getPosition().getX(), box.getHorizontal()), 0);
    tiles++;
  }
  EXPECT_EQ(tiles, 10);
}

TEST_F(ScreensTest, ScoreCountsOneEveryThirtySteps) {
  auto* points = new Points;
  step_count = 29;
  frame();  // step 29
  EXPECT_EQ(points->score, 0);
  frame();  // step 30
  EXPECT_EQ(points->score, 1);
  EXPECT_EQ(points->getValue(), 1);
  points->score += 10;  // an award shows with the next periodic point
  frames(29);
  EXPECT_EQ(points->getValue(), 1);
  frame();  // step 60
  EXPECT_EQ(points->getValue(), 12);
}

TEST_F(ScreensTest, GameOverLastsItsAnimationThenLeavesOneStartScreen) {
  const tw::Sprite* sprite = tw::ResourceManager::getInstance().getSprite("game_over");
  ASSERT_NE(sprite, nullptr);
  new Points;
  auto* game_over = new GameOver;
  const int ttl = sprite->getFrameCount() * sprite->getSlowdown();
  EXPECT_EQ(game_over->getTimeToLive(), ttl);
  step_count = 1;
  frames(ttl - 1);
  EXPECT_EQ(countOfType("GameOver"), 1);
  frame();
  EXPECT_EQ(countOfType("GameOver"), 0);
  EXPECT_EQ(countOfType("StartGame"), 1);
  EXPECT_EQ(everything(), 1);
}

TEST_F(ScreensTest, WholeRoundTripEndsWithExactlyOneStartScreen) {
  new veld::GameStart;
  key(P, tw::KEY_PRESSED);
  frames(3);
  key(Q, tw::KEY_PRESSED);  // the runner gives up
  frame();
  ASSERT_EQ(countOfType("GameOver"), 1);
  key(P, tw::KEY_HELD);  // only a press leaves early
  frame();
  ASSERT_EQ(countOfType("GameOver"), 1);
  key(P, tw::KEY_PRESSED);
  frame();
  EXPECT_EQ(countOfType("GameOver"), 0);
  EXPECT_EQ(countOfType("StartGame"), 1);
  EXPECT_EQ(everything(), 1);
}

TEST_F(ScreensTest, QuitOnTheStartScreenShutsDownFromInsideTheHandler) {
  new veld::GameStart;
  new tw::Pause(tw::Keyboard::F10);  // a later listener of the same dispatch
  key(Q, tw::KEY_PRESSED);
  EXPECT_FALSE(tw::GameManager::getInstance().isStarted());
  EXPECT_FALSE(world().isStarted());
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
}

TEST_F(ScreensTest, QuitOnTheGameOverScreenShutsDownWithoutClearing) {
  new veld::GameStart;
  key(P, tw::KEY_PRESSED);
  frame();
  key(Q, tw::KEY_PRESSED);
  frame();
  ASSERT_EQ(countOfType("GameOver"), 1);
  key(Q, tw::KEY_PRESSED);
  EXPECT_FALSE(tw::GameManager::getInstance().isStarted());
}
