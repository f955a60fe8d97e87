#include "engine/core/FramePacer.h"

#include <climits>

namespace tw {

namespace {
// Frame arithmetic in 64 bits, clamped back into an int: any frame time the
// caller passes gives a sleep or budget of the right sign, never an overflow.
int clampToInt(long long value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

long long remainingUs(int frame_time_ms, int used_us, int adjust_us) {
  return static_cast<long long>(frame_time_ms) * 1000 - used_us - adjust_us;
}
}  // namespace

int FramePacer::pathBudgetMs(int frame_time_ms, int split_us, int adjust_us) {
  const long long remaining = remainingUs(frame_time_ms, split_us, adjust_us);
  return clampToInt(static_cast<long long>(static_cast<double>(remaining) * 0.95 / 1000.0));
}

int FramePacer::sleepTime(int frame_time_ms, int loop_time_us, int adjust_us) {
  return clampToInt(remainingUs(frame_time_ms, loop_time_us, adjust_us));
}

int FramePacer::adjustAfterSleep(int before_us, int after_us, int sleep_time_us) {
  const long long oversleep = static_cast<long long>(after_us) - before_us - sleep_time_us;
  return oversleep < 0 ? 0 : clampToInt(oversleep);
}

bool FramePacer::reportOverrun(int adjust_us, int frame_time_ms, int step_count) {
  return adjust_us == 0 && frame_time_ms > 0 && step_count > 0;
}

}  // namespace tw
