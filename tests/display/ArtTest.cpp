// Frames, sprites and animations drawn through a display manager that is
// stopped: it refuses every character with one log line, so the lines count
// the attempts.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "engine/display/DisplayManager.h"
#include "engine/world/Animation.h"
#include "engine/world/Sprite.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::Frame;
using tw::Sprite;
using tw::Vector;

class ArtTest : public ::testing::Test {
 protected:
  void SetUp() override { tw::DisplayManager::getInstance(); }  // the canvas frames draw on
  int refusedDraws() const {
    const std::vector<std::string> messages = log.messages();
    return static_cast<int>(std::count(messages.begin(), messages.end(), "DisplayManager not started!"));
  }
  tw_test::LogCapture log;
};

TEST_F(ArtTest, FrameStopsAtTheFirstRefusedCharacterAndSkipsTransparentOnes) {
  const struct {
    Frame frame;
    char transparent;
    int result, attempts;
  } cases[] = {{Frame(3, 3, "abcdefghi"), 0, -1, 1}, {Frame(3, 1, "##a"), '#', -1, 1},
               {Frame(2, 2, "####"), '#', 0, 0},      {Frame(3, 1, "   "), ' ', 0, 0},
               {Frame(), 0, 0, 0},
               // Sizes that claim more than the string holds: nothing past it is read.
               {Frame(3, 3, "####"), '#', 0, 0}, {Frame(2, 0, "ab"), 0, 0, 0}};
  for (const auto& c : cases) {
    const int before = refusedDraws();
    const int result = c.frame.draw(Vector(5, 5), tw::WHITE, c.transparent);
    EXPECT_EQ(std::make_pair(c.result, c.attempts), std::make_pair(result, refusedDraws() - before))
        << c.frame.getString();
  }
}

TEST_F(ArtTest, SpriteHoldsUpToItsCapacityAndDrawsOnlyFramesItHas) {
  Sprite sprite(2);
  EXPECT_EQ(0, sprite.addFrame(Frame(3, 1, "#a#")));
  EXPECT_EQ(0, sprite.addFrame(Frame(3, 1, "###")));
  EXPECT_EQ(-1, sprite.addFrame(Frame(1, 1, "c")));
  EXPECT_EQ("", sprite.getFrame(-1).getString());
  EXPECT_EQ(-1, sprite.draw(0, Vector(4, 4), '#'));
  EXPECT_EQ(0, sprite.draw(1, Vector(4, 4), '#'));
  EXPECT_EQ(0, sprite.draw(2, Vector(4, 4), 0));  // out of range: nothing, no error
  EXPECT_EQ(1, refusedDraws());
  Sprite huge(INT_MAX);  // a capacity read from a file: not reserved up front
  EXPECT_EQ(0, huge.addFrame(Frame(1, 1, "a")));
}

TEST_F(ArtTest, AnimationStaysOnEachFrameForTheSlowdownUnlessFrozen) {
  const struct {
    int slowdown, count;  // count -1: frozen
    std::vector<int> shown;
  } cases[] = {{2, 0, {0, 0, 1, 1, 2, 2, 0}}, {1, 0, {0, 1, 2, 0}}, {0, 0, {0, 1, 2, 0}},
               {1, -1, {0, 0, 0}}};
  for (const auto& c : cases) {
    Sprite sprite(3);
    sprite.setSlowdown(c.slowdown);
    for (const char* text : {"0", "1", "2"}) sprite.addFrame(Frame(1, 1, text));
    tw::Animation animation;
    animation.setSprite(&sprite);
    animation.setSlowdownCount(c.count);
    std::vector<int> shown;
    while (shown.size() < c.shown.size()) {
      shown.push_back(animation.getIndex());
      animation.draw(Vector(3, 3));
    }
    EXPECT_EQ(c.shown, shown) << c.slowdown;
  }
}

// An animation restarts on a new sprite and takes its label (its name in
// records), size (its box: the collision shape) and transparency.
TEST_F(ArtTest, AnimationTakesTheSpritesLabelSizeAndTransparency) {
  Sprite sprite(1);
  sprite.setLabel("runner"), sprite.setWidth(3), sprite.setHeight(1), sprite.setTransparency('#');
  sprite.addFrame(Frame(3, 1, "###"));
  tw::Animation animation;
  EXPECT_EQ(tw::Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f), animation.getBox());  // no sprite
  animation.setIndex(4);
  animation.setSprite(&sprite);
  EXPECT_EQ("runner", animation.getName());
  EXPECT_EQ(0, animation.getIndex());
  EXPECT_EQ(tw::Box(Vector(-1.5f, -0.5f), 3, 1), animation.getBox());
  EXPECT_EQ(0, animation.draw(Vector(1, 1)));  // all transparent: nothing drawn
  EXPECT_EQ(0, refusedDraws());
}

}  // namespace
