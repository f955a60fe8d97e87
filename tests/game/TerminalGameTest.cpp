// The built game played in a real terminal (tmux): what the terminal shows
// is, cell for cell and colour for colour, the frame the capture of the same
// run holds; the quit key and SIGTERM leave the terminal as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/support/TmuxDriver.h"

namespace {

using tw_test::TmuxDriver;

std::string rtrim(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

class TerminalGame : public ::testing::Test {
 protected:
  // Starts Veld in an 80 x 24 pane; every frame is also written as text.
  void SetUp() override {
    const std::string d = dir.path();
    dir.write("tw-config.txt", "snapshot_file:" + d + "/frame.txt,random_seed:5,networking:false");
    ASSERT_TRUE(tmux.start(80, 24, "stty -a > " + d + "/before; TARNWICK_CONFIG=" + d +
                                       "/tw-config.txt TARNWICK_LOG=" + d + "/veld.log XDG_DATA_HOME=" +
                                       d + " " + TW_VELD + " --terminal; echo $? > " + d +
                                       "/status; stty -a > " + d + "/after; exec sleep 300"));
    ASSERT_TRUE(shows("Press  P  to play"));
    pid = std::stoi(findPid());
  }

  // Veld's process id, read from the process table (the pane runs a shell).
  std::string findPid() {
    const std::string out = tmux.display("#{pane_pid}");
    const std::string shell = out.substr(0, out.find('\n'));
    const std::string children = tw_test::readFile("/proc/" + shell + "/task/" + shell + "/children");
    return children.substr(0, children.find(' '));
  }

  bool shows(const std::string& text) {
    return TmuxDriver::waitFor([&] {
      for (const std::string& row : tmux.rows()) {
        if (row.find(text) != std::string::npos) return true;
      }
      return false;
    });
  }

  // Stops the game between frames and compares the terminal with the frame
  // file; a stop can fall between writing the file and showing the frame, so
  // a mismatch is retried a few times.
  void expectScreenIsTheCapture() {
    std::string why;
    for (int attempt = 0; attempt < 10; attempt++) {
      kill(pid, SIGSTOP);
      usleep(200000);  // tmux catches up with what was written
      why = mismatch();
      kill(pid, SIGCONT);
      if (why.empty()) return;
      usleep(100000);
    }
    ADD_FAILURE() << why;
  }

  std::string mismatch() {
    const std::vector<std::string> frame = tw_test::readLines(dir.file("frame.txt"));
    const std::vector<std::string> rows = tmux.rows();
    const std::vector<std::string> colors = tmux.colorRows();
    if (frame.size() != 49 || rows.size() < 24 || colors.size() < 24) return "incomplete screens";
    for (std::size_t y = 0; y < 24; y++) {
      if (rtrim(frame[y]) != rows[y]) return "row " + std::to_string(y) + ": " + rows[y];
      if (rtrim(frame[25 + y]) != colors[y]) return "colours of row " + std::to_string(y);
    }
    return "";
  }

  // The game ended with exit code 0 and left the terminal's modes, cursor,
  // mouse reporting and screen as they were.
  void expectRestored() {
    ASSERT_TRUE(TmuxDriver::waitFor([&] { return !tw_test::readFile(dir.file("after")).empty(); }));
    EXPECT_EQ(tw_test::readFile(dir.file("status")), "0\n");
    EXPECT_EQ(tw_test::readFile(dir.file("after")), tw_test::readFile(dir.file("before")));
    EXPECT_EQ(tmux.display("#{cursor_flag} #{mouse_any_flag} #{alternate_on}"), "1 0 0");
  }

  tw_test::TempDir dir;
  TmuxDriver tmux;
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
  usleep(800000);      // a terminal without key releases takes a quick second q as a repeat
  tmux.sendKeys("q");  // quits from the game-over screen
  expectRestored();
}

TEST_F(TerminalGame, SigtermEndsTheGameAndRestoresTheTerminal) {
  kill(pid, SIGTERM);
  expectRestored();
  EXPECT_TRUE(tw_test::fileContains(dir.file("veld.log"), "Game engine stopped"));
}

}  // namespace
