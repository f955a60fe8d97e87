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

class RunnerTest : public tw_test::GameFixture {};

// Held, or pressed again in the air, SPACE jumps once; S held in the air ducks
// only once landed, and a ducking runner does not jump.
TEST_F(RunnerTest, JumpsOnceFromTheGroundAndDucksOnlyThere) {
  veld::Runner* runner = startRun();
  ASSERT_NE(runner, nullptr);
  const float standing = runner->getBox().getVertical();
  input(Type::KeyPressed, Key::Space);
  float peak = 19.5f;
  int landed = 0;
  for (int step = 1; step <= 30; step++) {
    if (step == 5) tap(Key::Space);  // released and pressed in the air
    if (step == 5) input(Type::KeyPressed, Key::Space);
    steps(1);
    peak = std::min(peak, runner->getPosition().getY());
    if (landed == 0 && runner->isOnGround()) landed = step;
  }
  EXPECT_NEAR(peak, 11.58f, 0.01f);
  EXPECT_EQ(landed, 24);
  EXPECT_FLOAT_EQ(runner->getPosition().getY(), 19.5f);
  tap(Key::Space);
  input(Type::KeyPressed, Key::S);
  steps(2);
  EXPECT_FALSE(runner->isDucking()) << "ducked in the air";
  steps(24);
  EXPECT_TRUE(runner->isDucking());
  EXPECT_EQ(runner->getAnimation().getName(), "runner_duck");
  EXPECT_LT(runner->getBox().getVertical(), standing);
  tap(Key::Space);
  steps(1);
  EXPECT_TRUE(runner->isOnGround());
  input(Type::KeyReleased, Key::S);
  steps(1);
  EXPECT_FALSE(runner->isDucking());
  EXPECT_FLOAT_EQ(runner->getBox().getVertical(), standing);
}

// The runner is made with its countdown full; each shot fills it again. A
// left click 39 steps on is refused, one 40 steps on fires, a right one never.
TEST_F(RunnerTest, FiresALeftClickOnceEveryFortyStepsTowardThePointer) {
  veld::Runner* runner = startRun();
  ASSERT_NE(runner, nullptr);
  input(Type::MouseMoved, Key::Unknown, tw::Vector(7, 3));
  const tw::Vector aim(13, 15.5f);  // 3 right of the runner, 4 up
  for (int shots = 1; shots <= 2; shots++) {
    SCOPED_TRACE(shots);
    steps(38);
    input(Type::MouseButtonPressed, Key::Unknown, aim);
    steps(1);
    EXPECT_EQ(count("Bullet"), shots - 1) << "fired 39 steps on";
    input(Type::MouseButtonPressed, Key::Unknown, aim, tw::platform::MouseButton::Right);
    steps(1);
    EXPECT_EQ(count("Bullet"), shots - 1) << "fired on the right button";
    input(Type::MouseButtonPressed, Key::Unknown, aim);
    steps(1);
    EXPECT_EQ(count("Bullet"), shots);
  }
  const tw::Object* bullet = first("Bullet");
  EXPECT_NEAR(bullet->getVelocity().getX(), 0.6f, 1e-5);
  EXPECT_NEAR(bullet->getVelocity().getY(), -0.8f, 1e-5);
  EXPECT_EQ(runner->getReticle()->getPosition(), tw::Vector(7, 3)) << "clicks move the reticle";
}

struct HazardCase {
  const char* type;
  tw::Vector at;
  bool shot;  // a bullet flies into it from two cells left
  int steps;
  int award;      // points added
  bool stays;     // the hazard is still there
  bool run_ends;  // it met the runner
};

const HazardCase HAZARDS[] = {
    {"Boulder", tw::Vector(40, 20), true, 2, 0, true, false},  // bullets vanish on it
    {"Panther", tw::Vector(40, 20), true, 2, 10, false, false},
    {"Vulture", tw::Vector(40, 5), true, 2, 10, false, false},
    {"Boulder", tw::Vector(2, 20), false, 12, 5, false, false},  // left on the left
    {"Vulture", tw::Vector(2, 5), false, 12, 10, false, false},
    {"Panther", tw::Vector(16, 19.5f), false, 6, 10, false, true},
    {"Boulder", tw::Vector(16, 19.5f), false, 6, 0, false, true},
};

class HazardTest : public tw_test::GameFixture, public ::testing::WithParamInterface<HazardCase> {};

TEST_P(HazardTest, ScoresAndEndsRunsAsItShould) {
  const HazardCase& c = GetParam();
  ASSERT_NE(startRun(), nullptr);
  Points* score = points();
  const std::string type = c.type;
  Hazard* hazard = type == "Boulder"   ? static_cast<Hazard*>(new Boulder(score))
                   : type == "Panther" ? static_cast<Hazard*>(new Panther(score))
                                       : new Vulture(score);
  world().moveObject(hazard, c.at);
  if (c.shot) (new veld::Bullet(c.at - tw::Vector(2, 0)))->setVelocity(tw::Vector(1, 0));
  const int before = score->score;
  steps(c.steps);
  EXPECT_EQ(count(c.type), c.stays ? 1 : 0);
  EXPECT_EQ(count("Bullet"), 0);
  EXPECT_EQ(count("GameOver"), c.run_ends ? 1 : 0);
  if (!c.run_ends) {
    EXPECT_EQ(score->score - before, c.award);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HazardTest, ::testing::ValuesIn(HAZARDS));

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
