#include "tests/support/InputScript.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/TestSupport.h"

namespace tw_test {

void playScript(const std::function<void(tw::Keyboard::Key)>& tap,
                const std::function<void(tw::Keyboard::Key)>& hold, const std::string& probe_log) {
  const auto strokes = [&] { return countLinesWith(probe_log, STROKE_LINE); };
  for (const ScriptLine& line : INPUT_SCRIPT) {
    for (int i = 0; i < line.taps; i++) {
      const int seen = strokes();
      tap(line.key);
      EXPECT_TRUE(waitUntil([&] { return strokes() > seen; }, 60000)) << "tap " << i;
      usleep(TAP_GAP_MS * 1000);
    }
    if (line.kind == ScriptLine::HOLD) hold(line.key);
    usleep(TAP_GAP_MS * 1000);
  }
}

}  // namespace tw_test
