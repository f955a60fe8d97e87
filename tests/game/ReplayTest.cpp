// Recorded Veld sessions replay exactly: a scripted player's session (jumps,
// ducks, shots at enemies, pauses, mute, deaths, back to the start screen and
// more runs) recorded once and replayed twice gives the same frame at every
// step, writes no best score, and keeps the replay's memory flat.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "tests/game/ScriptedPlay.h"
#include "tests/game/VeldRun.h"
#include "tests/support/EngineFixtures.h"

namespace {

// Resident memory of this process, in KiB.
long residentKiB() {
  long size = 0, pages = 0;
  std::ifstream("/proc/self/statm") >> size >> pages;
  return pages * (sysconf(_SC_PAGESIZE) / 1024);
}

std::size_t frameHash() { return std::hash<std::string>()(tw_test::VeldRun::frame()); }

class ReplayTest : public ::testing::Test, public tw_test::ConfiguredEngine {
 protected:
  ReplayTest() : ConfiguredEngine("") {}
};

TEST_F(ReplayTest, ARecordedSessionReplaysTwiceFrameForFrameInFlatMemory) {
  const std::string data = dir.file("data"), recording = dir.file("session.rec");
  tw_test::ScriptedPlay script(10, 600);
  std::vector<std::size_t> frames;  // a hash of each step's frame
  {
    tw_test::VeldRun run({"record_file:" + recording}, data);
    ASSERT_TRUE(run.started());
    for (bool going = true; going && frames.size() < 50000; frames.push_back(frameHash())) {
      script.beforeStep(tw_test::VeldRun::presenter());
      going = run.step();
    }
  }
  const tw_test::ScriptedPlay::Seen& seen = script.seen;
  EXPECT_GT(seen.jumps * seen.ducks * seen.shots * seen.pauses * seen.mutes, 0);
  EXPECT_EQ(seen.game_overs, 10);
  EXPECT_LT(seen.give_ups, 10) << "no run ended by a death";
  ASSERT_FALSE(tw_test::readFile(data + "/best-score").empty());
  std::remove((data + "/best-score").c_str());  // a replay must not write it again
  for (int replay = 0; replay < 2; replay++) {
    SCOPED_TRACE(replay);
    tw_test::VeldRun run({"replay_file:" + recording}, data);
    ASSERT_TRUE(run.started());
    long resident = 0;
    std::size_t step = 0;
    for (bool going = true; going; step++) {
      going = run.step();
      ASSERT_LT(step, frames.size());
      ASSERT_EQ(frameHash(), frames[step]) << "first difference at step " << step;
      if (step == 1000) resident = residentKiB();
    }
    EXPECT_EQ(step, frames.size());
#if !defined(__SANITIZE_ADDRESS__)  // which holds freed memory back
    EXPECT_LT(residentKiB() - resident, 1024) << "over " << step << " steps";
#endif
  }
  EXPECT_EQ(tw_test::readFile(data + "/best-score"), "");
}

}  // namespace
