// The small helpers of the core: colours, the "key:value," matcher (beyond
// what the configuration cases cover), stream checks, number text and frame
// pacing arithmetic.
#include "engine/core/Utility.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "engine/core/Color.h"
#include "engine/core/FramePacer.h"
#include "tests/support/TestSupport.h"

TEST(Utility, ColoursConvertToTheirChannelsAndNamesAndOthersFallBack) {
  const struct {
    tw::Color color;
    tw::Rgb rgb;
    const char* name;
  } colors[] = {{tw::BLACK, {0, 0, 0}, "Black"},       {tw::RED, {255, 0, 0}, "Red"},
                {tw::GREEN, {0, 255, 0}, "Green"},     {tw::YELLOW, {255, 255, 0}, "Yellow"},
                {tw::BLUE, {0, 0, 255}, "Blue"},       {tw::MAGENTA, {255, 0, 255}, "Magenta"},
                {tw::CYAN, {0, 255, 255}, "Cyan"},     {tw::WHITE, {255, 255, 255}, "White"},
                {tw::CUSTOM, {1, 2, 3}, "Unknown color"}, {tw::Color(42), {1, 2, 3}, "Unknown color"},
                {tw::UNDEFINED_COLOR, {1, 2, 3}, "Unknown color"}};
  for (const auto& e : colors) {
    std::uint8_t r = 1, g = 2, b = 3;  // kept for what has no channels
    tw::colorToRGB(e.color, r, g, b);
    EXPECT_TRUE((tw::Rgb{r, g, b}) == e.rgb) << e.name;
    const bool known = e.rgb.r != 1;  // the others are white for colorToRgb
    EXPECT_TRUE(tw::colorToRgb(e.color) == (known ? e.rgb : tw::Rgb{255, 255, 255})) << e.name;
    EXPECT_EQ(tw::colorToString(e.color), e.name);
  }
}

TEST(Utility, MatchTakesTheValueUpToTheNextColonAndKeepsTheLastParse) {
  const char* const cases[][3] = {{"a:1:2", "a", "1"}, {"a", "a", ""},  {"::a:1,,b:2", "a", "1"},
                                  {"", "b", "2"},      {"x:9", "", ""}, {"", "x", "9"}};
  for (const auto& c : cases) EXPECT_EQ(tw::match(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST(Utility, CheckStreamReportsTheFirstFlagThatApplies) {
  tw_test::LogCapture log;
  std::stringstream good("abc"), at_end(""), failed("x"), bad;
  int value;
  at_end >> value;  // eof and fail
  failed >> value;  // fail only
  bad.setstate(std::ios::badbit);
  EXPECT_EQ(tw::checkStream("Good()", good), 0);
  EXPECT_EQ(tw::checkStream("A()", at_end) + tw::checkStream("B()", failed) +
                tw::checkStream("C()", bad), -3);
  const std::vector<std::string> expected = {"A(): Error! Stream eof.", "B(): Error! Stream fail.",
                                             "C(): Error! Stream bad."};
  EXPECT_EQ(log.messages(), expected);
}

TEST(Utility, NumbersAsTextBitsAndRanges) {
  EXPECT_EQ(tw::toString(-42) + " " + tw::toString(1.0f / 3) + " " + tw::toString(1e7f), "-42 0.333333 1e+07");
  EXPECT_EQ(tw::toBinaryString(0x80000005u), "1" + std::string(28, '0') + "101");
  EXPECT_TRUE(tw::valueInRange(4, 0, 4) && tw::valueInRange(0, 0, 4));
  EXPECT_FALSE(tw::valueInRange(4.01f, 0, 4) || tw::valueInRange(-0.01f, 0, 4));
}

// The sleep is what is left of the frame less the last oversleep, without
// overflow for any frame time; the path finder gets 95 % of it.
TEST(Utility, FramePacingArithmetic) {
  using tw::FramePacer;
  EXPECT_EQ(FramePacer::sleepTime(33, 10000, 1500), 21500);
  EXPECT_LE(FramePacer::sleepTime(33, 40000, 0), 0);
  EXPECT_LE(FramePacer::sleepTime(0, 0, 0), 0);  // frame time 0 never sleeps
  EXPECT_EQ(FramePacer::sleepTime(2147484, 0, 0), INT_MAX);
  EXPECT_EQ(FramePacer::sleepTime(INT_MAX, 10000, 0), INT_MAX);
  EXPECT_GT(FramePacer::pathBudgetMs(INT_MAX, 10000, 0), 2000000000);
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 10000, 0), 21);  // 23 ms * 0.95 = 21.85
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 0, 1000), 30);
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 40000, 0), -6);  // negative passes through
  EXPECT_EQ(FramePacer::adjustAfterSleep(1000, 25000, 23000), 1000);
  EXPECT_EQ(FramePacer::adjustAfterSleep(1000, 23500, 23000), 0);
  EXPECT_TRUE(FramePacer::reportOverrun(0, 33, 5));
  // Not on the first step, after an oversleep, or without a frame time.
  EXPECT_FALSE(FramePacer::reportOverrun(0, 33, 0) || FramePacer::reportOverrun(700, 33, 5) ||
               FramePacer::reportOverrun(0, 0, 5));
}
