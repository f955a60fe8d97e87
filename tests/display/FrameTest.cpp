#include "engine/world/Frame.h"

#include <gtest/gtest.h>

#include "engine/display/DisplayManager.h"
#include "tests/display/ArtTestSupport.h"

namespace {

using tw::Frame;
using tw::Vector;

TEST(Frame, DefaultFrameIsEmptyAndDrawsNothing) {
  tw_test::LogCapture log;
  tw_test::useStoppedDisplay();
  Frame frame;
  EXPECT_EQ(0, frame.getWidth());
  EXPECT_EQ(0, frame.getHeight());
  EXPECT_EQ("", frame.getString());
  EXPECT_EQ(0, frame.draw(Vector(1, 1), tw::RED));
  EXPECT_EQ(0, tw_test::refusedDraws(log));
}

TEST(Frame, CentresOddAndEvenSizesOnThePosition) {
  // 3 by 3 at (10, 5) covers x 9..11 and y 4..6.
  Frame square(3, 3, "abcdefghi");
  EXPECT_EQ(Vector(9, 4), square.cellPosition(Vector(10, 5), 0, 0));
  EXPECT_EQ(Vector(11, 6), square.cellPosition(Vector(10, 5), 2, 2));
  // A 4-wide frame at x = 10 puts its characters at 8.5, 9.5, 10.5 and 11.5.
  Frame wide(4, 1, "abcd");
  EXPECT_EQ(Vector(8.5f, 3), wide.cellPosition(Vector(10, 3), 0, 0));
  EXPECT_EQ(Vector(11.5f, 3), wide.cellPosition(Vector(10, 3), 3, 0));
  Frame tall(1, 2, "ab");
  EXPECT_EQ(Vector(0, -0.5f), tall.cellPosition(Vector(0, 0), 0, 0));
}

TEST(Frame, HeadlessDrawFailsAtTheFirstVisibleCharacter) {
  tw_test::LogCapture log;
  tw_test::startHeadlessDisplay();
  EXPECT_EQ(-1, Frame(3, 1, "#a#").draw(Vector(5, 5), tw::WHITE, 0));
  // With '#' transparent the letter is still drawn (and refused) ...
  EXPECT_EQ(-1, Frame(3, 1, "#a#").draw(Vector(5, 5), tw::WHITE, '#'));
  // ... but a frame made only of the transparent character draws nothing.
  EXPECT_EQ(0, Frame(3, 1, "###").draw(Vector(5, 5), tw::WHITE, '#'));
  EXPECT_EQ(-1, Frame(3, 1, "   ").draw(Vector(5, 5), tw::WHITE, 0));
  EXPECT_EQ(0, Frame(3, 1, "   ").draw(Vector(5, 5), tw::WHITE, ' '));
}

TEST(Frame, StopsAtTheFirstRefusedCharacterAndSkipsTransparentOnes) {
  tw_test::LogCapture log;
  tw_test::useStoppedDisplay();  // each attempt to draw logs once
  EXPECT_EQ(-1, Frame(3, 3, "abcdefghi").draw(Vector(5, 5), tw::WHITE, 0));
  EXPECT_EQ(1, tw_test::refusedDraws(log));
  EXPECT_EQ(-1, Frame(3, 1, "##a").draw(Vector(5, 5), tw::WHITE, '#'));
  EXPECT_EQ(2, tw_test::refusedDraws(log));
  EXPECT_EQ(0, Frame(2, 2, "####").draw(Vector(5, 5), tw::WHITE, '#'));
  EXPECT_EQ(2, tw_test::refusedDraws(log));
}

TEST(Frame, InconsistentSizesNeverReadPastTheString) {
  tw_test::LogCapture log;
  tw_test::useStoppedDisplay();
  // Claims 3 by 3 but holds only 4 characters, all transparent: nothing is
  // drawn and nothing past the string is read.
  EXPECT_EQ(0, Frame(3, 3, "####").draw(Vector(0, 0), tw::WHITE, '#'));
  EXPECT_EQ(0, Frame(2, 0, "ab").draw(Vector(0, 0), tw::WHITE, 0));
  EXPECT_EQ(0, tw_test::refusedDraws(log));
}

}  // namespace
