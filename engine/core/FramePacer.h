// The arithmetic of the fixed-rate loop, kept apart from the clock so that it
// can be checked without timing real frames. All times in microseconds unless
// the name says milliseconds; results are clamped to the int range.
#pragma once

namespace tw {

class FramePacer {
 public:
  // Whole milliseconds for the path finder: 95 % of what is left of the frame.
  static int pathBudgetMs(int frame_time_ms, int split_us, int adjust_us);
  // Time still to sleep this frame (not positive when the frame is used up).
  static int sleepTime(int frame_time_ms, int loop_time_us, int adjust_us);
  // Oversleep to carry into the next frame (never negative).
  static int adjustAfterSleep(int before_us, int after_us, int sleep_time_us);
  // Whether an overrun frame is reported: not on the first step, not with a
  // frame time of 0, and not right after a frame that overslept.
  static bool reportOverrun(int adjust_us, int frame_time_ms, int step_count);
};

}  // namespace tw
