// A stopwatch in microseconds over a monotonic clock (millisecond resolution or
// better); only differences of its readings are used.
#pragma once

#include "engine/platform/Export.h"

namespace tw {

class TW_API Clock {
 public:
  Clock();
  // Microseconds since the previous reading; restarts the stopwatch.
  int delta();
  // Microseconds since the previous reading; leaves the stopwatch running.
  int split() const;

 private:
  int previous_time;  // microseconds, wraps; only differences matter
};

}  // namespace tw
