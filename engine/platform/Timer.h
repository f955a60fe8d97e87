// The operating system's timing services as the game loop needs them: a timer
// resolution request, whole-millisecond sleeps and a short microsecond wait.
// On POSIX the clock is already fine-grained, so the resolution request succeeds.
#pragma once

namespace tw {
namespace platform {

const unsigned TIMERR_NOERROR = 0;
const unsigned TIMERR_NOCANDO = 97;

// Ask for (and later release) a timer resolution of period milliseconds.
unsigned timeBeginPeriod(unsigned period);
unsigned timeEndPeriod(unsigned period);

// Sleeps the given whole milliseconds (nothing for 0 or less).
void sleepMilliseconds(int milliseconds);
// Waits roughly the given microseconds (the pause loop's 30 µs wait).
void waitMicroseconds(int microseconds);

}  // namespace platform
}  // namespace tw
