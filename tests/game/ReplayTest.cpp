// Recorded Veld sessions replay exactly: a scripted player's session (jumps,
// ducks, shots at enemies, a pause, mute, deaths, back to the start screen and
// a second run) recorded once and replayed twice gives the same frame at every
// step and the same scores; a long replay keeps its memory flat.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "game/GameOver.h"
#include "tests/game/ScriptedPlay.h"
#include "tests/game/VeldRun.h"
#include "tests/support/TestSupport.h"

namespace {

using tw_test::ScriptedPlay;
using tw_test::VeldRun;

struct Session {
  std::vector<std::string> frames;  // the finished frame after every step
  std::vector<int> scores;          // each run's score, as its game-over screen shows it
  int steps = 0;
};

void noteGameOver(Session& session, int& last_id) {
  const tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects();
  for (int i = 0; i < all.getCount(); i++) {
    const auto* p_over = dynamic_cast<const GameOver*>(all[i]);
    if (p_over == nullptr || p_over->getId() == last_id) continue;
    last_id = p_over->getId();
    session.scores.push_back(p_over->getFinalScore());
  }
}

// Plays until the game ends or max_steps: with the script when one is given
// (to record), on its own otherwise (a replay).
Session play(const std::string& item, const std::string& data, ScriptedPlay* p_script,
             int max_steps, bool keep_frames = true) {
  Session session;
  VeldRun run({item}, data);
  EXPECT_TRUE(run.started());
  int last_id = -1;
  bool going = run.started();
  while (going && session.steps < max_steps) {
    if (p_script != nullptr) p_script->beforeStep(VeldRun::presenter());
    going = run.step();
    session.steps++;
    if (keep_frames) session.frames.push_back(VeldRun::frame());
    if (going) noteGameOver(session, last_id);
  }
  return session;
}

// Resident memory of this process, in KiB.
long residentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

class ReplayTest : public ::testing::Test {
 protected:
  ReplayTest()
      : config_env("TARNWICK_CONFIG", dir.file("no-config.txt").c_str()),
        log_env("TARNWICK_LOG", dir.file("veld.log").c_str()),
        data(dir.file("data")),
        recording(dir.file("session.rec")) {}

  tw_test::TempDir dir;
  tw_test::ScopedEnv config_env;
  tw_test::ScopedEnv log_env;
  std::string data;
  std::string recording;
};

TEST_F(ReplayTest, ARecordedSessionReplaysTwiceFrameForFrame) {
  ScriptedPlay script(2, 400);
  const Session recorded = play("record_file:" + recording, data, &script, 20000);
  const ScriptedPlay::Seen& seen = script.seen;
  EXPECT_GT(seen.jumps, 0);
  EXPECT_GT(seen.ducks, 0);
  EXPECT_GT(seen.shots, 0);
  EXPECT_GT(seen.pauses, 0);
  EXPECT_GT(seen.mutes, 0);
  EXPECT_EQ(seen.starts, 4);  // two runs, each game-over screen left with P
  EXPECT_LT(seen.give_ups, 2) << "no run ended by a death";
  ASSERT_EQ(recorded.scores.size(), 2u);
  std::printf("recorded %d steps: %d jumps, %d ducks, %d shots, scores %d and %d\n",
              recorded.steps, seen.jumps, seen.ducks, seen.shots, recorded.scores[0],
              recorded.scores[1]);
  const std::string best = tw_test::readFile(data + "/best-score");
  for (int replay = 0; replay < 2; replay++) {
    SCOPED_TRACE(replay);
    const Session again = play("replay_file:" + recording, data, nullptr, 20000);
    EXPECT_EQ(again.scores, recorded.scores);
    ASSERT_EQ(again.steps, recorded.steps);
    for (int i = 0; i < again.steps; i++) {
      ASSERT_EQ(again.frames[i], recorded.frames[i]) << "first difference at step " << i;
    }
  }
  EXPECT_EQ(tw_test::readFile(data + "/best-score"), best);  // a replay keeps nothing
}

TEST_F(ReplayTest, ALongReplayKeepsItsMemoryFlat) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer holds freed memory back; resident size says nothing";
#endif
  const int steps = 12000;
  ScriptedPlay script(1000, 600);
  play("record_file:" + recording, data, &script, steps, false);
  ASSERT_GE(script.seen.game_overs, 3);
  VeldRun run({"replay_file:" + recording}, data);
  ASSERT_TRUE(run.started());
  int replayed = 0;
  while (replayed < 2000 && run.step()) replayed++;
  const long before = residentKiB();
  while (run.step()) replayed++;
  const long after = residentKiB();
  std::printf("replayed %d steps; resident memory %ld KiB after 2000, %ld KiB at the end\n",
              replayed, before, after);
  EXPECT_GE(replayed, steps - 1);
  EXPECT_LT(after - before, 1024);
}

}  // namespace
