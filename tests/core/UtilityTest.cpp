// The small helpers of the core: colours, the "key:value," matcher (beyond
// what the configuration cases cover), stream checks, ranges and frame
// pacing arithmetic.
#include "engine/core/Utility.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <sstream>
#include <thread>

#include "engine/core/Clock.h"
#include "engine/core/Color.h"
#include "engine/core/FramePacer.h"

TEST(Utility, ColoursHaveTheirChannelsAndNamesAndOthersFallBack) {
  std::string all;
  for (int c = tw::UNDEFINED_COLOR; c <= 42; c += (c == tw::CUSTOM ? 34 : 1)) {
    std::uint8_t r = 1, g = 2, b = 3;  // kept for what has no channels
    tw::colorToRGB(tw::Color(c), r, g, b);
    const tw::Rgb rgb = tw::colorToRgb(tw::Color(c));
    all += tw::colorToString(tw::Color(c)) + " " + std::to_string(r) + "," + std::to_string(g) +
           "," + std::to_string(b) + (rgb == tw::Rgb{r, g, b} ? "" : " white") + "\n";
    EXPECT_TRUE(rgb == (tw::Rgb{r, g, b}) || rgb == (tw::Rgb{255, 255, 255})) << c;
  }
  EXPECT_EQ(all, "Unknown color 1,2,3 white\nBlack 0,0,0\nRed 255,0,0\nGreen 0,255,0\nYellow 255,255,0\n"
                 "Blue 0,0,255\nMagenta 255,0,255\nCyan 0,255,255\nWhite 255,255,255\n"
                 "Unknown color 1,2,3 white\nUnknown color 1,2,3 white\n");
}

TEST(Utility, MatchStreamChecksAndRanges) {
  const char* const cases[][3] = {{"a:1:2", "a", "1"}, {"a", "a", ""},  {"::a:1,,b:2", "a", "1"},
                                  {"", "b", "2"},      {"x:9", "", ""}, {"", "x", "9"}};
  for (const auto& c : cases) EXPECT_EQ(tw::match(c[0], c[1]), c[2]) << c[0] << " " << c[1];
  std::stringstream good("abc"), at_end(""), failed("x"), bad;
  int value;
  at_end >> value;
  failed >> value;
  bad.setstate(std::ios::badbit);
  EXPECT_EQ(tw::checkStream("Good()", good), 0);
  EXPECT_EQ(tw::checkStream("A()", at_end) + tw::checkStream("B()", failed) +
                tw::checkStream("C()", bad), -3);
  // Ranges include both ends.
  for (const auto& c : {std::make_pair(4.0f, true), std::make_pair(0.0f, true), std::make_pair(4.01f, false),
                        std::make_pair(-0.01f, false)}) {
    EXPECT_EQ(tw::valueInRange(c.first, 0, 4), c.second) << c.first;
  }
}

// The sleep is what is left of the frame less the last oversleep, without
// overflow for any frame time; the path finder gets 95 % of it.
TEST(Utility, FramePacingArithmetic) {
  using tw::FramePacer;
  EXPECT_EQ(FramePacer::sleepTime(33, 10000, 1500), 21500);
  EXPECT_EQ(FramePacer::sleepTime(INT_MAX, 10000, 0), INT_MAX);
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 10000, 0), 21);  // 23 ms * 0.95 = 21.85
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 40000, 1000), -7);  // negative passes through
  EXPECT_EQ(FramePacer::adjustAfterSleep(1000, 25000, 23000), 1000);
  EXPECT_EQ(FramePacer::adjustAfterSleep(1000, 23500, 23000), 0);
  // Reported, but not on the first step, after an oversleep, or without a frame time.
  EXPECT_TRUE(FramePacer::reportOverrun(0, 33, 5));
  EXPECT_FALSE(FramePacer::reportOverrun(0, 33, 0)) << "first step";
  EXPECT_FALSE(FramePacer::reportOverrun(700, 33, 5)) << "after an oversleep";
  EXPECT_FALSE(FramePacer::reportOverrun(0, 0, 5)) << "no frame time";
}

// The stopwatch counts forward: at least the time slept, on split and on delta.
TEST(Utility, ClockCountsTheTimeSinceItsLastReading) {
  tw::Clock clock;
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_GE(clock.split(), 2000);
  EXPECT_GE(clock.delta(), 2000);
}
