// A run played through the game loop: the runner's jump, duck and shots, what
// hazards do to bullets, the runner and the score, and when they come.
#include <gtest/gtest.h>

#include "game/Boulder.h"
#include "game/Bullet.h"
#include "game/Panther.h"
#include "game/Reticle.h"
#include "game/Spawning.h"
#include "game/Vulture.h"
#include "tests/game/GameFixture.h"

namespace {

using tw_test::VeldRun;

class RunnerTest : public tw_test::GameFixture {};

// Held, or pressed again in the air, SPACE jumps once; S held from the next
// jump on ducks only once landed, and a ducking runner does not jump.
TEST_F(RunnerTest, JumpsOnceFromTheGroundAndDucksOnlyThere) {
  veld::Runner* runner = startRun();
  ASSERT_NE(runner, nullptr);
  const float standing = runner->getBox().getVertical();
  float peak = 19.5f;
  int landed = 0;
  for (int step = 1; step <= 30; step++) {
    if (step == 1 || step == 5) VeldRun::push(Type::KeyReleased, Key::Space);
    if (step == 1 || step == 5) VeldRun::push(Type::KeyPressed, Key::Space);
    steps(1);
    peak = std::min(peak, runner->getPosition().getY());
    if (landed == 0 && runner->isOnGround()) landed = step;
  }
  EXPECT_NEAR(peak, 11.58f, 0.01f);
  EXPECT_EQ(landed, 24);
  EXPECT_FLOAT_EQ(runner->getPosition().getY(), 19.5f);
  tap(Key::Space);
  VeldRun::push(Type::KeyPressed, Key::S);
  steps(2);
  EXPECT_FALSE(runner->isDucking()) << "ducked in the air";
  steps(24);
  EXPECT_TRUE(runner->isDucking());
  EXPECT_EQ(runner->getAnimation().getName(), "runner_duck");
  EXPECT_LT(runner->getBox().getVertical(), standing);
  tap(Key::Space);
  steps(1);
  EXPECT_TRUE(runner->isOnGround());
  VeldRun::push(Type::KeyReleased, Key::S);
  steps(1);
  EXPECT_EQ(runner->getAnimation().getName(), "runner");
  EXPECT_FLOAT_EQ(runner->getBox().getVertical(), standing);
}

// The runner is made with its countdown full; each shot fills it again. A
// left click 39 steps on is refused, one 40 steps on fires, a right one never.
TEST_F(RunnerTest, FiresALeftClickOnceEveryFortyStepsTowardThePointer) {
  veld::Runner* runner = startRun();
  ASSERT_NE(runner, nullptr);
  VeldRun::push(Type::MouseMoved, Key::Unknown, tw::Vector(7, 3));
  const tw::Vector aim(13, 15.5f);  // 3 right of the runner, 4 up
  for (int shots = 1; shots <= 2; shots++) {
    steps(38);
    VeldRun::push(Type::MouseButtonPressed, Key::Unknown, aim);
    steps(1);
    EXPECT_EQ(count("Bullet"), shots - 1) << "fired 39 steps on";
    VeldRun::push(Type::MouseButtonPressed, Key::Unknown, aim, tw::platform::MouseButton::Right);
    steps(1);
    EXPECT_EQ(count("Bullet"), shots - 1) << "fired on the right button";
    VeldRun::push(Type::MouseButtonPressed, Key::Unknown, aim);
    steps(1);
    EXPECT_EQ(count("Bullet"), shots);
  }
  EXPECT_NEAR(VeldRun::first("Bullet")->getVelocity().getX(), 0.6f, 1e-5);
  EXPECT_NEAR(VeldRun::first("Bullet")->getVelocity().getY(), -0.8f, 1e-5);
  EXPECT_EQ(runner->getReticle()->getPosition(), tw::Vector(7, 3)) << "clicks move the reticle";
}

struct HazardCase {
  std::string type;
  tw::Vector at;
  bool shot;  // a bullet flies into it from two cells left
  int steps, award;
  bool stays, meets_runner;
};

class HazardTest : public tw_test::GameFixture, public ::testing::WithParamInterface<HazardCase> {};

TEST_P(HazardTest, ScoresAndEndsRunsAsItShould) {
  const HazardCase& c = GetParam();
  ASSERT_NE(startRun(), nullptr);
  Points* score = points();
  Hazard* hazard = c.type == "Boulder"   ? static_cast<Hazard*>(new Boulder(score))
                   : c.type == "Panther" ? static_cast<Hazard*>(new Panther(score))
                                         : new Vulture(score);
  tw::WorldManager::getInstance().moveObject(hazard, c.at);
  if (c.shot) (new veld::Bullet(c.at - tw::Vector(2, 0)))->setVelocity(tw::Vector(1, 0));
  const int before = score->score;
  steps(c.steps);
  EXPECT_EQ(count(c.type), c.stays ? 1 : 0);
  EXPECT_EQ(count("Bullet"), 0);
  EXPECT_EQ(count("GameOver"), c.meets_runner ? 1 : 0);
  if (!c.meets_runner) {
    EXPECT_EQ(score->score - before, c.award);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HazardTest,
    ::testing::Values(HazardCase{"Boulder", tw::Vector(40, 20), true, 2, 0, true, false},  // bullets vanish on it
                      HazardCase{"Panther", tw::Vector(40, 20), true, 2, 10, false, false},
                      HazardCase{"Vulture", tw::Vector(40, 5), true, 2, 10, false, false},
                      HazardCase{"Boulder", tw::Vector(2, 20), false, 12, 5, false, false},  // left on the left
                      HazardCase{"Vulture", tw::Vector(2, 5), false, 12, 10, false, false},
                      HazardCase{"Panther", tw::Vector(16, 19.5f), false, 6, 0, false, true},
                      HazardCase{"Boulder", tw::Vector(16, 19.5f), false, 6, 0, false, true}));

TEST_F(RunnerTest, ScoreGrowsEveryThirtyStepsAndHazardsComeEveryHundredFifty) {
  ASSERT_NE(startRun(), nullptr);
  steps(29);
  EXPECT_EQ(points()->score, 0);
  steps(1);
  EXPECT_EQ(points()->score, 1);
  steps(119);
  EXPECT_EQ(count("Boulder") + count("Panther") + count("Vulture"), 0);
  steps(1);
  EXPECT_EQ(count("Boulder") + count("Panther") + count("Vulture"), 1);
  const std::pair<int, int> intervals[] = {{0, 150}, {24, 150}, {25, 130}, {99, 90}, {149, 50},
                                           {150, 35}, {10000, 35}};
  for (const auto& [score, interval] : intervals) EXPECT_EQ(Spawning::intervalFor(score), interval);
}

}  // namespace
