#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/support/TmuxDriver.h"

namespace {

using tw_test::readFile;
using tw_test::readLines;
using tw_test::TmuxDriver;

std::string rtrim(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The probe running in a fresh tmux session, with its folder.
struct Probe {
  tw_test::TempDir dir;
  TmuxDriver tmux;

  // Runs the probe behind prefix (a redirection, an environment), keeping the
  // terminal's modes before and after it in "before" and "after".
  bool start(int columns, int rows, const std::string& prefix = "") {
    const std::string d = dir.path();
    return tmux.start(columns, rows,
                      "stty -a > " + d + "/before; " + prefix + TW_TERMINAL_PROBE " " + d +
                          "; echo $? > " + d + "/status; stty -a > " + d +
                          "/after; echo done > " + d + "/done; exec sleep 300");
  }
  bool showsFrame() {
    return TmuxDriver::waitFor([&] { auto r = tmux.rows(); return !r.empty() && r[0] == "TERMINAL PROBE"; });
  }
  bool hasEvent(const std::string& line) {
    return TmuxDriver::waitFor([&] {
      for (const std::string& l : readLines(dir.file("events.txt"))) if (l == line) return true;
      return false;
    });
  }
  bool ended() { return TmuxDriver::waitFor([&] { return !readFile(dir.file("done")).empty(); }); }
};

TEST(TerminalPresenter, ShowsTheFrameAsItsCellGrid) {
  Probe probe;
  ASSERT_TRUE(probe.start(80, 24));
  ASSERT_TRUE(probe.showsFrame());
  const std::vector<std::string> expected = readLines(probe.dir.file("expected.txt"));
  ASSERT_EQ(expected.size(), 2u * 24u + 1u);  // rows, "--", colour rows
  const std::vector<std::string> rows = probe.tmux.rows();
  const std::vector<std::string> colors = probe.tmux.colorRows();
  ASSERT_GE(rows.size(), 24u);
  ASSERT_GE(colors.size(), 24u);
  for (std::size_t y = 0; y < 24; y++) {
    SCOPED_TRACE("row " + std::to_string(y));
    EXPECT_EQ(rows[y], rtrim(expected[y]));
    EXPECT_EQ(colors[y], rtrim(expected[25 + y]));
  }
}

TEST(TerminalPresenter, TurnsKeysAndTheMouseIntoEvents) {
  const struct {
    const char* keys;   // tmux send-keys arguments
    const char* event;  // the line the probe writes
  } cases[] = {
      {"a", "KeyPressed A"},
      {"Up", "KeyPressed Up"},
      {"F1", "KeyPressed F1"},
      {"F5", "KeyPressed F5"},
      {"Escape", "KeyPressed Escape"},
      {"-H 1b 5b 3c 30 3b 31 31 3b 36 4d", "MouseButtonPressed Left 10 5"},   // ESC [<0;11;6M
      {"-H 1b 5b 3c 30 3b 31 31 3b 36 6d", "MouseButtonReleased Left 10 5"},  // ESC [<0;11;6m
      {"-H 1b 5b 3c 33 35 3b 33 3b 34 4d", "MouseMoved 2 3"},                 // ESC [<35;3;4M
  };
  Probe probe;
  ASSERT_TRUE(probe.start(80, 24));
  ASSERT_TRUE(probe.showsFrame());
  for (const auto& c : cases) probe.tmux.sendKeys(c.keys);
  for (const auto& c : cases) EXPECT_TRUE(probe.hasEvent(c.event)) << c.keys;
  // A classic terminal sends no release: the key is let go when its repeats stop.
  EXPECT_TRUE(probe.hasEvent("KeyReleased A"));
}

TEST(TerminalPresenter, WaitsWithOneLineWhileTheTerminalIsTooSmall) {
  Probe probe;
  ASSERT_TRUE(probe.start(20, 10));
  EXPECT_TRUE(TmuxDriver::waitFor([&] {
    std::string text;
    for (const std::string& row : probe.tmux.rows()) text += row.empty() ? "" : row + " ";
    return text == "needs 80 x 24, this terminal is 20 x 10 ";
  }));
  probe.tmux.resize(80, 24);
  EXPECT_TRUE(probe.showsFrame());
}

TEST(TerminalPresenter, GivesTheTerminalBackOnEveryWayOut) {
  const struct {
    const char* name;
    int signal;  // 0: the quit key
    int rows;    // 10: too small, waiting in present()
    const char* status;  // the probe's exit status as the shell reports it
  } cases[] = {{"quit key", 0, 24, "0\n"},
               {"SIGTERM", SIGTERM, 24, "0\n"},
               {"SIGINT", SIGINT, 24, "0\n"},
               {"SIGTERM while too small", SIGTERM, 10, "0\n"},
               {"SIGSEGV", SIGSEGV, 24, "139\n"}};  // 128 + the signal: it still dies of it
  const std::string flags = "#{cursor_flag} #{mouse_any_flag} #{alternate_on}";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Probe probe;
    ASSERT_TRUE(probe.start(80, c.rows));
    ASSERT_TRUE(TmuxDriver::waitFor([&] { return probe.tmux.display(flags) == "0 1 1"; }));
    if (c.signal == 0) {
      probe.tmux.sendKeys("q");
    } else {
      kill(std::stoi(readFile(probe.dir.file("pid"))), c.signal);
    }
    ASSERT_TRUE(probe.ended());
    EXPECT_EQ(readFile(probe.dir.file("status")), c.status);
    EXPECT_EQ(probe.tmux.display(flags), "1 0 0");
    EXPECT_EQ(readFile(probe.dir.file("after")), readFile(probe.dir.file("before")));
  }
}

TEST(TerminalPresenter, RefusesWithoutAUsableTerminal) {
  const struct {
    const char* prefix;
    const char* message;
  } cases[] = {
      {"env -u TERM ", "TerminalPresenter::open(): Error! TERM is not set."},
      {"TERM=no-such-terminal ", "TerminalPresenter::open(): Error! Unknown terminal type"},
      {"exec > /dev/null; ", "TerminalPresenter::open(): Error! Input or output is not a terminal."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.prefix);
    Probe probe;
    ASSERT_TRUE(probe.start(80, 24, c.prefix));
    ASSERT_TRUE(probe.ended());
    EXPECT_EQ(readFile(probe.dir.file("result")), "open -1\n");
    EXPECT_EQ(readFile(probe.dir.file("status")), "1\n");
    EXPECT_TRUE(tw_test::fileContains(probe.dir.file("probe.log"), c.message));
    EXPECT_EQ(readFile(probe.dir.file("after")), readFile(probe.dir.file("before")));
  }
}

}  // namespace
