#include "game/Runner.h"

#include <gtest/gtest.h>

#include "game/Reticle.h"
#include "tests/game/GameFixture.h"

using tw::Keyboard::Q;
using tw::Keyboard::S;
using tw::Keyboard::SPACE;

namespace {
class RunnerTest : public tw_test::GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    runner = new veld::Runner(tw::Vector(10, 19.5f));
  }
  veld::Runner* runner = nullptr;
};
}  // namespace

TEST_F(RunnerTest, JumpPeaksNearEightRowsUpAndLandsOnTheTwentyThirdStep) {
  key(SPACE, tw::KEY_PRESSED);
  EXPECT_FALSE(runner->isOnGround());
  float peak = 19.5f;
  int landed_on = 0;
  for (int step = 1; step <= 30 && landed_on == 0; step++) {
    frame();
    peak = std::min(peak, runner->getPosition().getY());
    if (runner->isOnGround()) landed_on = step;
  }
  EXPECT_NEAR(peak, 11.58f, 0.01f);
  EXPECT_EQ(landed_on, 23);
  EXPECT_FLOAT_EQ(runner->getPosition().getY(), 19.5f);
}

TEST_F(RunnerTest, SpaceJumpsOnlyWhenPressedOnTheGround) {
  key(SPACE, tw::KEY_HELD);
  EXPECT_TRUE(runner->isOnGround());
  key(SPACE, tw::KEY_PRESSED);
  frames(3);
  const float y = runner->getPosition().getY();
  key(SPACE, tw::KEY_PRESSED);  // airborne: no second jump
  frame();
  EXPECT_GT(runner->getPosition().getY(), y - 1.5f + 0.13f * 2);
}

TEST_F(RunnerTest, DuckingSwapsTheSpriteAndShrinksTheBox) {
  const float standing_height = runner->getBox().getVertical();
  key(S, tw::KEY_HELD);
  EXPECT_TRUE(runner->isDucking());
  EXPECT_FLOAT_EQ(runner->getPosition().getY(), 20.0f);
  EXPECT_LT(runner->getBox().getVertical(), standing_height);
  EXPECT_EQ(runner->getAnimation().getName(), "runner_duck");
  frame();  // the step puts it back on its ground row
  EXPECT_FLOAT_EQ(runner->getPosition().getY(), 19.5f);
  key(SPACE, tw::KEY_PRESSED);  // no jump while ducking
  EXPECT_TRUE(runner->isOnGround());
  key(S, tw::KEY_RELEASED);
  EXPECT_FALSE(runner->isDucking());
  EXPECT_FLOAT_EQ(runner->getBox().getVertical(), standing_height);
}

TEST_F(RunnerTest, DuckingWaitsUntilLanding) {
  key(SPACE, tw::KEY_PRESSED);
  frame();
  key(S, tw::KEY_HELD);
  EXPECT_FALSE(runner->isDucking());
}

TEST_F(RunnerTest, FiresAtMostOnceEveryFortySteps) {
  mouse(tw::MOUSE_CLICKED, tw::Mouse::MOUSE_LEFT, tw::Vector(30, 19.5f));
  EXPECT_EQ(countOfType("Bullet"), 0);  // not before 40 steps
  frames(40);
  mouse(tw::MOUSE_CLICKED, tw::Mouse::MOUSE_RIGHT, tw::Vector(30, 19.5f));
  EXPECT_EQ(countOfType("Bullet"), 0);
  mouse(tw::MOUSE_CLICKED, tw::Mouse::MOUSE_LEFT, tw::Vector(30, 19.5f));
  ASSERT_EQ(countOfType("Bullet"), 1);
  tw::Object* bullet = firstOfType("Bullet");
  EXPECT_EQ(bullet->getPosition(), tw::Vector(13, 19.5f));
  EXPECT_EQ(bullet->getVelocity(), tw::Vector(1, 0));
  mouse(tw::MOUSE_CLICKED, tw::Mouse::MOUSE_LEFT, tw::Vector(30, 19.5f));
  EXPECT_EQ(countOfType("Bullet"), 1);
  EXPECT_EQ(runner->getFireCountdown(), 40);
}

TEST_F(RunnerTest, BulletAimsAlongTheNormalisedDirection) {
  frames(40);
  mouse(tw::MOUSE_CLICKED, tw::Mouse::MOUSE_LEFT, tw::Vector(13, 15.5f));  // 3 right, 4 up
  tw::Object* bullet = firstOfType("Bullet");
  ASSERT_NE(bullet, nullptr);
  EXPECT_NEAR(bullet->getVelocity().getX(), 0.6f, 1e-5);
  EXPECT_NEAR(bullet->getVelocity().getY(), -0.8f, 1e-5);
  frame();
  EXPECT_NEAR(bullet->getPosition().getX(), 13.6f, 1e-4);
}

TEST_F(RunnerTest, ReticleFollowsOnlyMouseMoves) {
  veld::Reticle* reticle = runner->getReticle();
  EXPECT_EQ(reticle->getPosition(), tw::Vector(40, 12));
  mouse(tw::MOUSE_MOVED, tw::Mouse::MOUSE_BUTTON_UNDEFINED, tw::Vector(7, 3));
  EXPECT_EQ(reticle->getPosition(), tw::Vector(7, 3));
  mouse(tw::MOUSE_CLICKED, tw::Mouse::MOUSE_LEFT, tw::Vector(20, 20));
  EXPECT_EQ(reticle->getPosition(), tw::Vector(7, 3));
}

TEST_F(RunnerTest, QuitEndsTheRunWithOneGameOverScreen) {
  key(Q, tw::KEY_PRESSED);
  frame();
  EXPECT_EQ(countOfType("Player"), 0);
  EXPECT_EQ(countOfType("GameOver"), 1);
}
