// The loop's waits in a browser page: the program runs as a coroutine
// (Asyncify) that gives the page its turn at every wait and resumes on the
// page's frame callbacks, so the page never blocks and a hidden tab, which
// gets no frame callbacks, stops stepping.
#include "engine/platform/Timer.h"

#include <emscripten.h>

namespace {

EM_ASYNC_JS(void, tw_wait_frame, (double milliseconds),
            { await Module.tw.waitFrame(milliseconds); });
EM_JS(int, tw_take_waited, (), {
  const waited = Module.tw.waitedThisFrame;
  Module.tw.waitedThisFrame = false;
  return waited ? 1 : 0;
});

}  // namespace

namespace tw {
namespace platform {

unsigned timeBeginPeriod(unsigned period) { return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }

unsigned timeEndPeriod(unsigned period) { return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }

void sleepMilliseconds(int milliseconds) {
  tw_wait_frame(milliseconds > 0 ? static_cast<double>(milliseconds) : 0.0);
}

// The pause loop polls between waits: each poll gives the page a frame.
void waitMicroseconds(int microseconds) { tw_wait_frame(static_cast<double>(microseconds) / 1000.0); }

void yieldToHost() {
  if (tw_take_waited() != 0) return;
  tw_wait_frame(0.0);
  tw_take_waited();  // this wait belongs to this iteration, not the next
}

}  // namespace platform
}  // namespace tw
