#include "engine/core/FramePacer.h"

#include <gtest/gtest.h>

#include <climits>

using tw::FramePacer;

TEST(FramePacer, SleepsWhatIsLeftOfTheFrameLessOversleep) {
  EXPECT_EQ(FramePacer::sleepTime(33, 10000, 0), 23000);
  EXPECT_EQ(FramePacer::sleepTime(33, 10000, 1500), 21500);
  EXPECT_LE(FramePacer::sleepTime(33, 40000, 0), 0);
  EXPECT_LE(FramePacer::sleepTime(0, 0, 0), 0);  // frame time 0 never sleeps
  // Frame times whose microseconds pass the int range neither overflow nor
  // turn into a frame without sleep.
  EXPECT_EQ(FramePacer::sleepTime(2147484, 0, 0), INT_MAX);
  EXPECT_EQ(FramePacer::sleepTime(INT_MAX, 10000, 0), INT_MAX);
  EXPECT_GT(FramePacer::pathBudgetMs(INT_MAX, 10000, 0), 0);
}

TEST(FramePacer, CarriesOnlyPositiveOversleep) {
  EXPECT_EQ(FramePacer::adjustAfterSleep(1000, 25000, 23000), 1000);
  EXPECT_EQ(FramePacer::adjustAfterSleep(1000, 23500, 23000), 0);
}

TEST(FramePacer, OverrunReportedExceptFirstStepAfterOversleepOrWithZeroFrame) {
  EXPECT_TRUE(FramePacer::reportOverrun(0, 33, 5));
  EXPECT_FALSE(FramePacer::reportOverrun(0, 33, 0));
  EXPECT_FALSE(FramePacer::reportOverrun(700, 33, 5));
  EXPECT_FALSE(FramePacer::reportOverrun(0, 0, 5));
}

TEST(FramePacer, PathBudgetIsNinetyFivePercentOfTheRestInWholeMilliseconds) {
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 10000, 0), 21);  // 23 ms * 0.95 = 21.85
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 0, 0), 31);
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 40000, 0), -6);  // negative passes through
}
