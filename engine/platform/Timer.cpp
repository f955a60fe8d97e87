#include "engine/platform/Timer.h"

#include <cerrno>
#include <ctime>

namespace tw {
namespace platform {

namespace {
void sleepFor(long long nanoseconds) {
  if (nanoseconds <= 0) return;
  struct timespec request {};
  request.tv_sec = static_cast<time_t>(nanoseconds / 1000000000LL);
  request.tv_nsec = static_cast<long>(nanoseconds % 1000000000LL);
  // Resume after signals so the full time is slept.
  while (nanosleep(&request, &request) == -1 && errno == EINTR) {
  }
}
}  // namespace

unsigned timeBeginPeriod(unsigned period) { return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }

unsigned timeEndPeriod(unsigned period) { return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }

void sleepMilliseconds(int milliseconds) { sleepFor(static_cast<long long>(milliseconds) * 1000000LL); }

void waitMicroseconds(int microseconds) { sleepFor(static_cast<long long>(microseconds) * 1000LL); }

void yieldToHost() {}

}  // namespace platform
}  // namespace tw
