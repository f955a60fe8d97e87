#include "engine/core/FramePacer.h"

namespace tw {

int FramePacer::pathBudgetMs(int frame_time_ms, int split_us, int adjust_us) {
  int remaining = frame_time_ms * 1000 - split_us - adjust_us;
  return static_cast<int>(static_cast<float>(remaining) * 0.95f / 1000.0f);
}

int FramePacer::sleepTime(int frame_time_ms, int loop_time_us, int adjust_us) {
  return frame_time_ms * 1000 - loop_time_us - adjust_us;
}

int FramePacer::adjustAfterSleep(int before_us, int after_us, int sleep_time_us) {
  int oversleep = (after_us - before_us) - sleep_time_us;
  return oversleep < 0 ? 0 : oversleep;
}

bool FramePacer::reportOverrun(int adjust_us, int frame_time_ms, int step_count) {
  return adjust_us == 0 && frame_time_ms > 0 && step_count > 0;
}

}  // namespace tw
