// Recorded Veld sessions replay exactly: a scripted player's session (jumps,
// ducks, shots at enemies, a pause, mute, deaths, back to the start screen and
// a second run) recorded once and replayed twice gives the same frame at every
// step; a long replay keeps its memory flat.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "tests/game/ScriptedPlay.h"
#include "tests/game/VeldRun.h"
#include "tests/support/EngineFixtures.h"

namespace {

using tw_test::ScriptedPlay;
using tw_test::VeldRun;

class ReplayTest : public ::testing::Test, public tw_test::ConfiguredEngine {
 protected:
  ReplayTest() : ConfiguredEngine("") {}

  // Plays until the game ends or max_steps, with the script when one is given
  // (to record), on its own otherwise (a replay); the frame after every step.
  std::vector<std::string> play(const std::string& item, ScriptedPlay* p_script, int max_steps,
                                bool keep_frames = true) {
    std::vector<std::string> frames;
    VeldRun run({item}, data);
    EXPECT_TRUE(run.started());
    for (bool going = run.started(); going && max_steps-- > 0;) {
      if (p_script != nullptr) p_script->beforeStep(VeldRun::presenter());
      going = run.step();
      frames.push_back(keep_frames ? VeldRun::frame() : "");
    }
    return frames;
  }

  const std::string data = dir.file("data");
  const std::string recording = "session.rec";
};

TEST_F(ReplayTest, ARecordedSessionReplaysTwiceFrameForFrame) {
  ScriptedPlay script(2, 400);
  const std::vector<std::string> recorded = play("record_file:" + dir.file(recording), &script, 20000);
  const ScriptedPlay::Seen& seen = script.seen;
  EXPECT_GT(seen.jumps * seen.ducks * seen.shots * seen.pauses * seen.mutes, 0);
  EXPECT_EQ(seen.game_overs, 2);
  EXPECT_EQ(seen.starts, 4);  // two runs, each game-over screen left with P
  EXPECT_LT(seen.give_ups, 2) << "no run ended by a death";
  ASSERT_FALSE(tw_test::readFile(data + "/best-score").empty());
  std::remove((data + "/best-score").c_str());  // a replay must not write it again
  for (int replay = 0; replay < 2; replay++) {
    SCOPED_TRACE(replay);
    const std::vector<std::string> again = play("replay_file:" + dir.file(recording), nullptr, 20000);
    ASSERT_EQ(again.size(), recorded.size());
    for (std::size_t i = 0; i < again.size(); i++) {
      ASSERT_EQ(again[i], recorded[i]) << "first difference at step " << i;
    }
  }
  EXPECT_EQ(tw_test::readFile(data + "/best-score"), "");
}

TEST_F(ReplayTest, ALongReplayKeepsItsMemoryFlat) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer holds freed memory back; resident size says nothing";
#endif
  ScriptedPlay script(1000, 600);
  play("record_file:" + dir.file(recording), &script, 12000, false);
  ASSERT_GE(script.seen.game_overs, 3);
  VeldRun run({"replay_file:" + dir.file(recording)}, data);
  ASSERT_TRUE(run.started());
  // Resident memory of this process, in KiB.
  auto resident = [] {
    long size = 0, pages = 0;
    std::ifstream("/proc/self/statm") >> size >> pages;
    return pages * (sysconf(_SC_PAGESIZE) / 1024);
  };
  int replayed = 0;
  while (replayed < 2000 && run.step()) replayed++;
  const long before = resident();
  while (run.step()) replayed++;
  EXPECT_GE(replayed, 12000 - 1);
  EXPECT_LT(resident() - before, 1024);
}

}  // namespace
