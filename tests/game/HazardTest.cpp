#include <gtest/gtest.h>

#include "game/Boulder.h"
#include "game/Bullet.h"
#include "game/Panther.h"
#include "game/Points.h"
#include "game/Spawning.h"
#include "game/Vulture.h"
#include "tests/game/GameFixture.h"

namespace {
class HazardTest : public tw_test::GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    step_count = 1;  // keep clear of the periodic point at step 0
    points = new Points;
  }
  // Puts a bullet two cells left of the object, flying right into it.
  static void shootAt(tw::Object* target) {
    auto* bullet = new veld::Bullet(target->getPosition() - tw::Vector(2, 0));
    bullet->setVelocity(tw::Vector(1, 0));
  }
  Points* points = nullptr;
};
}  // namespace

TEST_F(HazardTest, BulletVanishesOnABoulderThatRollsOn) {
  auto* boulder = new Boulder(points);
  world().moveObject(boulder, tw::Vector(40, 20));
  shootAt(boulder);
  frames(2);
  EXPECT_EQ(countOfType("Bullet"), 0);
  EXPECT_EQ(countOfType("Boulder"), 1);
  EXPECT_LT(boulder->getPosition().getX(), 40);
  EXPECT_EQ(points->score, 0);
}

TEST_F(HazardTest, OneBulletDestroysAPantherForTenPoints) {
  auto* panther = new Panther(points);
  world().moveObject(panther, tw::Vector(40, 20));
  shootAt(panther);
  frames(2);
  EXPECT_EQ(countOfType("Panther"), 0);
  EXPECT_EQ(countOfType("Bullet"), 0);
  EXPECT_EQ(points->score, 10);
}

TEST_F(HazardTest, LeavingOnTheLeftAwardsFiveForABoulderTenForAVulture) {
  auto* boulder = new Boulder(points);
  world().moveObject(boulder, tw::Vector(2, 20));
  auto* vulture = new Vulture(points);
  world().moveObject(vulture, tw::Vector(2, 5));
  frames(12);
  EXPECT_EQ(countOfType("Boulder"), 0);
  EXPECT_EQ(countOfType("Vulture"), 0);
  EXPECT_EQ(points->score, 15);
}

TEST_F(HazardTest, TouchingTheRunnerEndsTheRun) {
  auto* runner = new tw::Object;
  runner->setType("Player");
  world().moveObject(runner, tw::Vector(30, 20));
  auto* panther = new Panther(points);
  world().moveObject(panther, tw::Vector(32, 20));
  frames(3);
  EXPECT_EQ(countOfType("Player"), 0);
  EXPECT_EQ(countOfType("Panther"), 0);
}

TEST_F(HazardTest, AwardAfterTheScoreIsGoneIsSkipped) {
  auto* panther = new Panther(points);
  world().markForDelete(points);  // the score goes first in the same frame
  world().markForDelete(panther);
  frame();
  EXPECT_EQ(countOfType("Panther"), 0);
  EXPECT_EQ(countOfType("ViewObject"), 0);
}

TEST_F(HazardTest, VultureStartsRightOfTheWorldAtSeventyPercentHeight) {
  auto* vulture = new Vulture(points);
  EXPECT_FLOAT_EQ(vulture->getPosition().getX(), 85);
  EXPECT_FLOAT_EQ(vulture->getPosition().getY(), 16.8f);
  auto* second = new Vulture(points);  // the spot is taken: one column left at a time
  EXPECT_LT(second->getPosition().getX(), 85);
}

TEST_F(HazardTest, WithoutGroundTilesAGroundHazardSitsAtFiveAboveRowZero) {
  auto* boulder = new Boulder(points);
  EXPECT_FLOAT_EQ(boulder->getPosition().getX(), 5);
  EXPECT_FLOAT_EQ(boulder->getPosition().getY(), -boulder->getBox().getVertical() * 0.5f);
}

TEST(SpawningInterval, ShrinksWithTheScoreDownToThirtyFive) {
  EXPECT_EQ(Spawning::intervalFor(0), 150);
  EXPECT_EQ(Spawning::intervalFor(24), 150);
  EXPECT_EQ(Spawning::intervalFor(25), 130);
  EXPECT_EQ(Spawning::intervalFor(99), 90);
  EXPECT_EQ(Spawning::intervalFor(149), 50);
  EXPECT_EQ(Spawning::intervalFor(150), 35);
  EXPECT_EQ(Spawning::intervalFor(10000), 35);
}

TEST_F(HazardTest, FirstSpawnComesAfterOneHundredFiftySteps) {
  new Spawning(points);
  auto hazards = [] {
    return countOfType("Boulder") + countOfType("Panther") + countOfType("Vulture");
  };
  frames(149);
  EXPECT_EQ(hazards(), 0);
  frame();
  EXPECT_EQ(hazards(), 1);
}

TEST_F(HazardTest, SpawnerWithoutScoreDoesNothing) {
  auto* spawner = new Spawning(nullptr);
  frames(200);
  EXPECT_EQ(spawner->getCountdown(), 150);
}
