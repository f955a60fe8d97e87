#include <gtest/gtest.h>

#include <cmath>

#include "engine/world/EventOut.h"
#include "game/GroundTile.h"
#include "game/Sun.h"
#include "game/Tree.h"
#include "tests/game/GameFixture.h"

namespace {
class SceneryTest : public tw_test::GameFixture {};
}  // namespace

TEST_F(SceneryTest, GroundTilesWrapJustRightOfTheRightmostTile) {
  std::vector<veld::GroundTile*> tiles;
  for (int i = 0; i < 10; i++) tiles.push_back(new veld::GroundTile);
  const float w = tiles[0]->getBox().getHorizontal();
  ASSERT_GT(w, 0);
  for (int i = 0; i < 10; i++) tiles[static_cast<size_t>(i)]->setPosition(tw::Vector(i * w, 23));
  const int steps_to_edge = static_cast<int>(2 * w);  // 0.5 a step to x = -w
  frames(steps_to_edge);
  EXPECT_FLOAT_EQ(tiles[0]->getPosition().getX(), -w);  // exactly -w: not yet moved
  frame();
  // The first tile's handler runs before the last tile has moved this step.
  EXPECT_FLOAT_EQ(tiles[0]->getPosition().getX() - tiles[9]->getPosition().getX(), w + 0.5f);
  EXPECT_FLOAT_EQ(tiles[0]->getPosition().getY(), 23);
}

TEST_F(SceneryTest, TreeReentersFromTheRightOnItsRowWithANewSpeed) {
  auto* tree = new veld::Tree;
  EXPECT_FLOAT_EQ(tree->getPosition().getY(), 13);
  const tw::EventOut out;
  EXPECT_EQ(tree->eventHandler(&out), 1);
  const float x = tree->getPosition().getX();
  EXPECT_GE(x, 80);
  EXPECT_LE(x, 99);
  EXPECT_FLOAT_EQ(tree->getPosition().getY(), 13);
  const float speed = -tree->getVelocity().getX();
  bool one_of_ten = false;
  for (int d = 2; d <= 11; d++) one_of_ten |= std::abs(speed - 1.0f / d) < 1e-6f;
  EXPECT_TRUE(one_of_ten) << speed;
}

TEST_F(SceneryTest, TreeDriftsOutOnTheLeftAndComesBack) {
  auto* tree = new veld::Tree;
  tree->setPosition(tw::Vector(0, 13));
  tree->setVelocity(tw::Vector(-1, 0));
  const float half_width = tree->getBox().getHorizontal() * 0.5f;
  frames(static_cast<int>(half_width) + 2);  // its right edge has left the world
  EXPECT_GT(tree->getPosition().getX(), 75);
  EXPECT_FLOAT_EQ(tree->getPosition().getY(), 13);
}

TEST_F(SceneryTest, SunStaysPutAndNeverCollides) {
  auto* sun = new veld::Sun;
  sun->setPosition(tw::Vector(4, 2));
  frames(10);
  EXPECT_EQ(sun->getPosition(), tw::Vector(4, 2));
  EXPECT_FALSE(sun->isSolid());
  EXPECT_EQ(sun->getAltitude(), 0);
}
