#include "engine/world/Animation.h"

#include <vector>

#include <gtest/gtest.h>

#include "engine/world/Sprite.h"
#include "tests/display/ArtTestSupport.h"

namespace {

using tw::Animation;
using tw::Frame;
using tw::Sprite;
using tw::Vector;

// A sprite of `frames` one-character frames "0", "1", ...
void fill(Sprite& sprite, int frames, int slowdown) {
  sprite.setWidth(1);
  sprite.setHeight(1);
  sprite.setSlowdown(slowdown);
  for (int i = 0; i < frames; i++) sprite.addFrame(Frame(1, 1, std::string(1, char('0' + i))));
}

// The frame index shown by each of `draws` successive draws.
std::vector<int> shownFrames(Animation& animation, int draws) {
  std::vector<int> shown;
  for (int i = 0; i < draws; i++) {
    shown.push_back(animation.getIndex());
    animation.draw(Vector(3, 3));
  }
  return shown;
}

class AnimationTest : public ::testing::Test {
 protected:
  void SetUp() override { tw_test::startHeadlessDisplay(); }
  tw_test::LogCapture log;
};

TEST_F(AnimationTest, EachFrameStaysForSlowdownDraws) {
  Sprite sprite(3);
  fill(sprite, 3, 2);
  Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ((std::vector<int>{0, 0, 1, 1, 2, 2, 0, 0}), shownFrames(animation, 8));
}

TEST_F(AnimationTest, SlowdownZeroOrOneChangesFrameOnEveryDraw) {
  for (int slowdown : {0, 1}) {
    Sprite sprite(3);
    fill(sprite, 3, slowdown);
    Animation animation;
    animation.setSprite(&sprite);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0}), shownFrames(animation, 4)) << slowdown;
  }
}

TEST_F(AnimationTest, FrozenAnimationKeepsItsFrame) {
  Sprite sprite(3);
  fill(sprite, 3, 1);
  Animation animation;
  animation.setSprite(&sprite);
  animation.setIndex(2);
  animation.setSlowdownCount(-1);
  EXPECT_EQ((std::vector<int>{2, 2, 2}), shownFrames(animation, 3));
  EXPECT_EQ(-1, animation.getSlowdownCount());
}

TEST_F(AnimationTest, DrawReportsTheDisplayResultAndStillAdvances) {
  Sprite sprite(2);
  fill(sprite, 2, 1);
  Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ(-1, animation.draw(Vector(1, 1)));  // headless refuses the character
  EXPECT_EQ(1, animation.getIndex());
  Animation empty;
  EXPECT_EQ(0, empty.draw(Vector(1, 1)));
}

TEST_F(AnimationTest, TransparencyComesFromTheSprite) {
  Sprite sprite(1);
  sprite.setWidth(3);
  sprite.setHeight(1);
  sprite.addFrame(Frame(3, 1, "###"));
  Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ(-1, animation.draw(Vector(1, 1)));
  sprite.setTransparency('#');
  EXPECT_EQ(0, animation.draw(Vector(1, 1)));
}

TEST(Animation, SetSpriteTakesTheLabelAndRestartsButKeepsTheSlowdownCount) {
  Sprite sprite(1);
  sprite.setLabel("runner");
  Animation animation;
  EXPECT_EQ("", animation.getName());
  animation.setIndex(4);
  animation.setSlowdownCount(3);
  animation.setSprite(&sprite);
  EXPECT_EQ(&sprite, animation.getSprite());
  EXPECT_EQ("runner", animation.getName());
  EXPECT_EQ(0, animation.getIndex());
  EXPECT_EQ(3, animation.getSlowdownCount());
  animation.setIndex(2);
  animation.setSprite(nullptr);  // a null sprite keeps the name
  EXPECT_EQ(nullptr, animation.getSprite());
  EXPECT_EQ("runner", animation.getName());
  EXPECT_EQ(0, animation.getIndex());
}

TEST(Animation, BoxFitsTheSpriteOrIsJustUnderOneCell) {
  Sprite sprite(1);
  sprite.setWidth(5);
  sprite.setHeight(3);
  Animation animation;
  EXPECT_EQ(tw::Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f), animation.getBox());
  animation.setSprite(&sprite);
  EXPECT_EQ(tw::Box(Vector(-2.5f, -1.5f), 5, 3), animation.getBox());
}

TEST(Animation, TextShowsNameAndFrameIndex) {
  Sprite sprite(1);
  sprite.setLabel("sun");
  Animation animation;
  animation.setSprite(&sprite);
  animation.setIndex(12);
  EXPECT_EQ("sprite sun, frame_idx 12", animation.toString());
}

}  // namespace
