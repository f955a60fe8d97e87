#include "engine/world/Sprite.h"

#include <climits>

#include <gtest/gtest.h>

#include "tests/display/ArtTestSupport.h"

namespace {

using tw::Frame;
using tw::Sprite;
using tw::Vector;

TEST(Sprite, AddFrameBeyondCapacityIsRefused) {
  Sprite sprite(2);
  EXPECT_EQ(0, sprite.addFrame(Frame(1, 1, "a")));
  EXPECT_EQ(0, sprite.addFrame(Frame(1, 1, "b")));
  EXPECT_EQ(-1, sprite.addFrame(Frame(1, 1, "c")));
  EXPECT_EQ(2, sprite.getFrameCount());
  EXPECT_EQ("a", sprite.getFrame(0).getString());
  EXPECT_EQ("b", sprite.getFrame(1).getString());
}

TEST(Sprite, OutOfRangeFramesAreEmpty) {
  Sprite sprite(3);
  sprite.addFrame(Frame(1, 1, "a"));
  EXPECT_EQ("", sprite.getFrame(-1).getString());
  EXPECT_EQ("", sprite.getFrame(1).getString());  // within capacity but not added
  EXPECT_EQ(0, sprite.getFrame(7).getWidth());
}

TEST(Sprite, NegativeCapacityIsLoggedAndHoldsNothing) {
  tw_test::LogCapture log;
  Sprite sprite(-3);
  EXPECT_TRUE(log.contains("Sprite::Sprite(): Error! Unable to allocate -3 frames."));
  EXPECT_EQ(0, sprite.getMaxFrameCount());
  EXPECT_EQ(-1, sprite.addFrame(Frame(1, 1, "a")));
  EXPECT_EQ(0, sprite.getFrameCount());
}

TEST(Sprite, HugeCapacityCostsNothingUntilFramesArrive) {
  // A capacity read from an untrusted file must not be allocated up front.
  Sprite sprite(INT_MAX);
  EXPECT_EQ(INT_MAX, sprite.getMaxFrameCount());
  EXPECT_EQ(0, sprite.addFrame(Frame(1, 1, "a")));
  EXPECT_EQ(1, sprite.getFrameCount());
}

TEST(Sprite, DrawUsesTheGivenTransparencyAndIgnoresBadIndexes) {
  tw_test::LogCapture log;
  tw_test::startHeadlessDisplay();
  Sprite sprite(1);
  sprite.addFrame(Frame(3, 1, "#a#"));
  sprite.addFrame(Frame(3, 1, "###"));  // refused: capacity 1
  EXPECT_EQ(-1, sprite.draw(0, Vector(4, 4), 0));
  EXPECT_EQ(0, sprite.draw(1, Vector(4, 4), 0));   // out of range: nothing, no error
  EXPECT_EQ(0, sprite.draw(-1, Vector(4, 4), 0));
}

}  // namespace
