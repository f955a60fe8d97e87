// The built game played in a real terminal (tmux): what the terminal shows
// is, cell for cell and colour for colour, the frame the capture of the same
// run holds; the quit key and SIGTERM leave the terminal as it was; a
// recording of a run killed with SIGKILL replays to within a second of its end.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>

#include "engine/input/InputRecording.h"
#include "tests/support/EngineFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TmuxDriver.h"

namespace {

class TerminalGame : public ::testing::Test, public tw_test::ConfiguredEngine {
 protected:
  TerminalGame() : ConfiguredEngine("") {}
  // Starts Veld in an 80 x 24 pane (in this environment), noting its process,
  // the terminal's modes before and after, and its exit code; every frame is
  // also written as text.
  void SetUp() override { launch(""); }
  void launch(const std::string& args) {
    dir.write("tw-config.txt", "snapshot_file:" + dir.file("frame.txt") + ",random_seed:5,networking:false");
    const std::string d = dir.path() + "/";
    ASSERT_TRUE(tmux.start(80, 24, "stty -a > " + d + "before; sh -c 'echo $$ > " + d + "pid; exec " +
                                       TW_VELD + " --terminal " + args + "'; echo $? > " + d +
                                       "status; stty -a > " + d + "after; exec sleep 300"));
    ASSERT_TRUE(shows("Press  P  to play"));
    pid = std::stoi(tw_test::readFile(dir.file("pid")));
  }
  // Waits until the text is on the screen (or, with shown false, is not).
  bool shows(const std::string& text, bool shown = true) {
    return tw_test::waitUntil([&] {
      const std::vector<std::string> rows = tmux.rows();
      return shown == std::any_of(rows.begin(), rows.end(), [&](const std::string& row) {
               return row.find(text) != std::string::npos;
             });
    });
  }

  // Stops the game between frames and compares the terminal with the frame
  // file (rows of text, "--", rows of colours), waiting a while for tmux to
  // catch up with what was written; a stop can fall between writing the file
  // and showing the frame, so a mismatch is retried.
  void expectScreenIsTheCapture() {
    std::vector<std::string> frame, shown;
    const auto same = [&] {
      frame = tw_test::readLines(dir.file("frame.txt"));
      shown = tmux.rows();
      shown.resize(24);
      shown.push_back("--");
      for (const std::string& colors : tmux.colorRows()) shown.push_back(colors);
      shown.resize(49);
      for (std::string& row : frame) row.erase(row.find_last_not_of(' ') + 1);
      return frame == shown;
    };
    for (int attempt = 0; attempt < 10; attempt++) {
      kill(pid, SIGSTOP);
      const bool matched = tw_test::waitUntil(same, 2000);
      kill(pid, SIGCONT);
      if (matched) return;
      usleep(100000);
    }
    EXPECT_EQ(frame, shown);
  }

  // The game ended with exit code 0 and left the terminal's modes, cursor,
  // mouse reporting and screen as they were.
  void expectRestored() {
    ASSERT_TRUE(tw_test::waitUntil([&] { return !tw_test::readFile(dir.file("after")).empty(); }));
    EXPECT_EQ(tw_test::readFile(dir.file("status")), "0\n");
    EXPECT_EQ(tw_test::readFile(dir.file("after")), tw_test::readFile(dir.file("before")));
    EXPECT_EQ(tmux.display("#{cursor_flag} #{mouse_any_flag} #{alternate_on}"), "1 0 0");
  }

  tw_test::TmuxDriver tmux;
  int pid = 0;
};

TEST_F(TerminalGame, ShowsTheCapturedFramesAndQuitsCleanly) {
  expectScreenIsTheCapture();  // the start screen
  tmux.sendKeys("p");
  ASSERT_TRUE(shows("Score:"));
  tmux.sendKeys("Space");
  usleep(300000);
  expectScreenIsTheCapture();  // a run, after a jump
  tmux.sendKeys("q");          // gives the run up
  ASSERT_TRUE(shows("Press  P  for the start screen"));
  usleep(800000);      // well apart: a terminal without key releases takes it for a new tap
  tmux.sendKeys("q");  // quits from the game-over screen
  expectRestored();
}

TEST_F(TerminalGame, SigtermEndsTheGameAndRestoresTheTerminal) {
  kill(pid, SIGTERM);
  expectRestored();
  EXPECT_TRUE(logHas("Game engine stopped"));
}

class RecordedTerminalGame : public TerminalGame {
 protected:
  void SetUp() override { launch("--record " + dir.file("run.rec")); }
};

// M (mute) pressed three times, each press seen on the screen, and the game
// killed once the recording has been written twice more (about a second
// later): the recording holds all three, says it was cut short, and the
// program replays it to the last press.
TEST_F(RecordedTerminalGame, ARunKilledWithSigkillReplaysToWithinASecondOfItsEnd) {
  for (int press = 0; press < 3; press++) {
    usleep(800000);  // well apart: a terminal without key releases takes it for a new tap
    tmux.sendKeys("m");
    ASSERT_TRUE(shows("MUTED", press % 2 == 0)) << "press " << press;
  }
  for (int write = 0; write < 2; write++) {
    const size_t written = tw_test::readFile(dir.file("run.rec")).size();
    ASSERT_TRUE(tw_test::waitUntil([&] { return tw_test::readFile(dir.file("run.rec")).size() > written; }))
        << "write " << write;
  }
  kill(pid, SIGKILL);
  ASSERT_TRUE(tw_test::waitUntil([&] { return !tw_test::readFile(dir.file("status")).empty(); }));
  tw::InputRecording recording;
  std::string why;
  ASSERT_EQ(tw::InputRecording::load(dir.file("run.rec"), recording, why), 0) << why;
  EXPECT_TRUE(recording.isCutShort());
  int presses = 0;
  for (int f = 0; f < recording.getFrameCount(); f++) {
    int count = 0;
    const tw::RecordedInput* p_events = recording.getFrame(f, count);
    for (int i = 0; i < count; i++) {
      presses += p_events[i].kind == tw::RecordedInput::KEY && p_events[i].code == tw::Keyboard::M &&
                 p_events[i].action == tw::KEY_PRESSED;
    }
  }
  EXPECT_EQ(presses, 3);
  tw_test::ProgramRun replay("veld");
  EXPECT_TRUE(replay.run("--replay " + dir.file("run.rec"))) << replay.output();
  EXPECT_NE(replay.output().find("recording ends at step " + std::to_string(recording.getFrameCount()) +
                                 ", cut short"),
            std::string::npos)
      << replay.output();
  EXPECT_NE(replay.lastFrame().find("MUTED"), std::string::npos) << replay.lastFrame();
}

}  // namespace
