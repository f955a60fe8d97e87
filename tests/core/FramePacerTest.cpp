// Frame pacing arithmetic: sleep, oversleep carried over, overrun reports and
// the path finder's budget, without overflow for any frame time.
#include "engine/core/FramePacer.h"

#include <gtest/gtest.h>

#include <climits>

using tw::FramePacer;

TEST(FramePacer, SleepBudgetOversleepAndOverrun) {
  EXPECT_EQ(FramePacer::sleepTime(33, 10000, 0), 23000);
  EXPECT_EQ(FramePacer::sleepTime(33, 10000, 1500), 21500);
  EXPECT_LE(FramePacer::sleepTime(33, 40000, 0), 0);
  EXPECT_LE(FramePacer::sleepTime(0, 0, 0), 0);  // frame time 0 never sleeps
  // Microseconds past the int range neither overflow nor skip the sleep.
  EXPECT_EQ(FramePacer::sleepTime(2147484, 0, 0), INT_MAX);
  EXPECT_EQ(FramePacer::sleepTime(INT_MAX, 10000, 0), INT_MAX);
  EXPECT_GT(FramePacer::pathBudgetMs(INT_MAX, 10000, 0), 2000000000);
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 10000, 0), 21);  // 23 ms * 0.95 = 21.85
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 0, 1000), 30);
  EXPECT_EQ(FramePacer::pathBudgetMs(33, 40000, 0), -6);  // negative passes through
  EXPECT_EQ(FramePacer::adjustAfterSleep(1000, 25000, 23000), 1000);
  EXPECT_EQ(FramePacer::adjustAfterSleep(1000, 23500, 23000), 0);
  EXPECT_TRUE(FramePacer::reportOverrun(0, 33, 5));
  EXPECT_FALSE(FramePacer::reportOverrun(0, 33, 0));    // first step
  EXPECT_FALSE(FramePacer::reportOverrun(700, 33, 5));  // after oversleep
  EXPECT_FALSE(FramePacer::reportOverrun(0, 0, 5));     // no frame time
}
