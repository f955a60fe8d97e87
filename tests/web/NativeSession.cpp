// The native half of the browser replay test: a scripted Veld session (runs,
// jumps, ducks, shots, a pause, mute) recorded under the capture presenter
// and stopped in the middle of a run, then replayed natively. The recording
// and the replay's last frame go to TW_WEB_WORK, where the page test replays
// the same file in Chromium and compares its last frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "tests/game/ScriptedPlay.h"
#include "tests/game/VeldRun.h"
#include "tests/support/TestSupport.h"

namespace {

const int RECORDED_STEPS = 700;  // ends in the second run

TEST(WebReplay, ANativeSessionIsRecordedAndItsReplayEndsOnAFrame) {
  const char* work = std::getenv("TW_WEB_WORK");
  ASSERT_NE(work, nullptr);
  const std::string recording = std::string(work) + "/session.rec";
  tw_test::TempDir data;
  tw_test::ScriptedPlay script(3, 200);
  {
    tw_test::VeldRun run({"record_file:" + recording}, data.file("data"));
    ASSERT_TRUE(run.started());
    int step = 0;
    for (; step < RECORDED_STEPS && run.step(); step++) {
      script.beforeStep(tw_test::VeldRun::presenter());
    }
    ASSERT_EQ(step, RECORDED_STEPS) << "the session ended early";
  }  // the run has shut down: its recording is complete
  const tw_test::ScriptedPlay::Seen& seen = script.seen;
  EXPECT_GT((seen.jumps + seen.ducks) * seen.shots * seen.game_overs, 0)
      << "too dull a session to compare: " << seen.jumps << " jumps, " << seen.ducks
      << " ducks, " << seen.shots << " shots, " << seen.game_overs << " game overs";
  std::string last;
  {
    tw_test::VeldRun run({"replay_file:" + recording}, data.file("data"));
    ASSERT_TRUE(run.started());
    int steps = 0;
    for (bool going = true; going; steps++) {
      going = run.step();
      last = tw::DisplayManager::getInstance().snapshot().toText();
    }
    EXPECT_GE(steps, RECORDED_STEPS);
  }
  std::ofstream(std::string(work) + "/session-last-frame.txt") << last;
  EXPECT_NE(last.find("Score"), std::string::npos) << last;
}

}  // namespace
