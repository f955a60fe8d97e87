// The operating system's timing services as the game loop needs them: a timer
// resolution request, whole-millisecond sleeps and a short microsecond wait.
// On POSIX the clock is already fine-grained, so the resolution request
// succeeds. In a browser page the waits give the page its turn and end on
// its frame callbacks.
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
// Called once per loop iteration: where a host runs the program in turns (a
// browser page, whose own work waits while the program runs), gives the host
// its turn unless a wait this iteration already did. Natively nothing.
void yieldToHost();

}  // namespace platform
}  // namespace tw
