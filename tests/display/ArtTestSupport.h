// Shared set-up for the frame, sprite and animation tests: a captured log, and
// the display manager started headless or left stopped (so that every
// character a frame tries to draw is refused, and can be counted in the log).
#pragma once

#include <string>

#include "engine/core/Config.h"
#include "engine/display/DisplayManager.h"
#include "tests/support/TestSupport.h"

namespace tw_test {

inline void startHeadlessDisplay() {
  tw::Config::getInstance().loadConfig("headless:true");
  tw::DisplayManager::getInstance().startUp();
}

// Stops the display manager and clears headless, so every draw is refused
// with one "not started" line (also when tests share one process).
inline void useStoppedDisplay() {
  tw::DisplayManager& display = tw::DisplayManager::getInstance();
  if (display.isStarted()) display.shutDown();
  tw::Config::getInstance().reset();
}

// Lines the stopped display manager wrote, one per refused character.
inline int refusedDraws(const LogCapture& log) {
  int count = 0;
  for (const std::string& message : log.messages()) {
    if (message == "DisplayManager not started!") count++;
  }
  return count;
}

}  // namespace tw_test
