#include "engine/core/Clock.h"

#include <chrono>
#include <cstdint>

namespace tw {

namespace {
// Monotonic microseconds truncated to 32 bits; differences stay right across
// wrap-around because they are taken in unsigned arithmetic.
int nowMicroseconds() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  auto us = std::chrono::duration_cast<std::chrono::microseconds>(since).count();
  return static_cast<int>(static_cast<std::uint32_t>(us));
}

int difference(int later, int earlier) {
  return static_cast<int>(static_cast<std::uint32_t>(later) - static_cast<std::uint32_t>(earlier));
}
}  // namespace

Clock::Clock() : previous_time(nowMicroseconds()) {}

int Clock::delta() {
  int now = nowMicroseconds();
  int elapsed = difference(now, previous_time);
  previous_time = now;
  return elapsed;
}

int Clock::split() const { return difference(nowMicroseconds(), previous_time); }

}  // namespace tw
