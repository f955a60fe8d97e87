// The terminal presenter in a real terminal (tmux): the frame it shows, the
// input it reads, and the terminal given back on every way out.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/support/TmuxDriver.h"

namespace {

using tw_test::readLines;
using tw_test::TmuxDriver;

// The probe (TerminalProbe.cpp) running in a fresh tmux session, with its folder.
struct Probe {
  tw_test::TempDir dir;
  TmuxDriver tmux;
  // Runs the probe behind prefix (a redirection, an environment), keeping the
  // terminal's modes before and after it in "before" and "after".
  bool start(int columns, int rows, const std::string& prefix = "") {
    const std::string d = dir.path() + "/";
    return tmux.start(columns, rows,
                      "stty -a > " + d + "before; " + prefix + TW_TERMINAL_PROBE " " + d +
                          "; echo $? > " + d + "status; stty -a > " + d + "after; echo > " + d +
                          "done; exec sleep 300");
  }
  std::string file(const std::string& name) const { return tw_test::readFile(dir.file(name)); }
  bool ended() { return tw_test::waitUntil([&] { return !file("done").empty(); }); }
};

// Started too small, the probe waits with one line; once the terminal is
// large enough, the screen is the frame's cell grid (nothing left of the
// message or of the first frame; box drawing, blocks and shades as they are
// in a UTF-8 locale), and keys and the mouse become events.
TEST(TerminalPresenter, ShowsTheFrameAsItsCellGridAndTurnsInputIntoEvents) {
  Probe probe;
  ASSERT_TRUE(probe.start(20, 10, "LC_ALL=C.UTF-8 "));
  EXPECT_TRUE(tw_test::waitUntil([&] {
    std::string text;
    for (const std::string& row : probe.tmux.rows()) text += row.empty() ? "" : row + " ";
    return text == "needs 80 x 24, this terminal is 20 x 10 ";
  }));
  probe.tmux.resize(80, 24);
  ASSERT_TRUE(tw_test::waitUntil([&] {
    const std::vector<std::string> rows = probe.tmux.rows();
    return !rows.empty() && rows[0] == "TERMINAL PROBE";
  }));
  const std::vector<std::string> expected = readLines(probe.dir.file("expected.txt"));
  ASSERT_EQ(expected.size(), 3u * 24u + 2u);  // rows, "--", colour rows, "==", backgrounds
  auto trimmed = [](const std::string& r) { return r.substr(0, r.find_last_not_of(' ') + 1); };
  // The whole frame on the screen, not only its first row (a busy probe may
  // be caught half-way through writing it); the checks below say what differs.
  tw_test::waitUntil([&] {
    const std::vector<std::string> shown = probe.tmux.rows();
    for (std::size_t y = 0; y < 24; y++) {
      if (y >= shown.size() || shown[y] != trimmed(expected[y])) return false;
    }
    return true;
  });
  const std::vector<std::string> rows = probe.tmux.rows(), colors = probe.tmux.colorRows(),
                                 backs = probe.tmux.backgroundRows();
  ASSERT_TRUE(rows.size() >= 24 && colors.size() >= 24 && backs.size() >= 24);
  // The frame's background is black: a cell without its own shows 'k'.
  auto onBlack = [](std::string r) {
    std::replace(r.begin(), r.end(), '.', 'k');
    return r.substr(0, r.find_last_not_of('k') + 1);
  };
  for (std::size_t y = 0; y < 24; y++) {
    EXPECT_EQ(rows[y], trimmed(expected[y])) << y;
    EXPECT_EQ(colors[y], trimmed(expected[25 + y])) << y;
    EXPECT_EQ(onBlack(backs[y]), onBlack(expected[50 + y])) << y;
  }
  EXPECT_EQ(expected[50 + 12].substr(0, 6), "rbg*..");
  for (const char* keys : {"a", "Up", "F1", "F5", "Escape",
                           "-H 1b 5b 3c 30 3b 31 31 3b 36 4d",   // ESC [<0;11;6M
                           "-H 1b 5b 3c 30 3b 31 31 3b 36 6d",   // ESC [<0;11;6m
                           "-H 1b 5b 3c 33 35 3b 33 3b 34 4d"})  // ESC [<35;3;4M
    probe.tmux.sendKeys(keys);
  // A classic terminal sends no release: the key is let go when its repeats stop.
  for (const char* event : {"KeyPressed A", "KeyReleased A", "KeyPressed Up", "KeyPressed F1",
                            "KeyPressed F5", "KeyPressed Escape", "MouseButtonPressed Left 10 5",
                            "MouseButtonReleased Left 10 5", "MouseMoved 2 3"}) {
    EXPECT_TRUE(tw_test::waitUntil([&] {
      const std::vector<std::string> events = readLines(probe.dir.file("events.txt"));
      return std::find(events.begin(), events.end(), event) != events.end();
    })) << event;
  }
}

// Where the terminal's locale is not UTF-8, what lies beyond ASCII shows as
// its ASCII look-alike, in the same cells.
TEST(TerminalPresenter, WithoutAUtf8LocaleShowsAsciiLookAlikesInTheSameCells) {
  Probe probe;
  ASSERT_TRUE(probe.start(80, 24, "LC_ALL=C "));
  ASSERT_TRUE(tw_test::waitUntil([&] {
    const std::vector<std::string> rows = probe.tmux.rows();
    return rows.size() > 6 && rows[0] == "TERMINAL PROBE" && rows[6] == "+-+|##??x";
  })) << (probe.tmux.rows().size() > 6 ? probe.tmux.rows()[6] : "");
  EXPECT_EQ(probe.tmux.colorRows()[6], "ggggggggg");
}

// However the probe ends (the quit key, a signal, also while it waits in a
// terminal too small, even a crash) or fails to open, the terminal's modes,
// cursor, mouse reporting and main screen come back.
TEST(TerminalPresenter, GivesTheTerminalBackOnEveryWayOut) {
  const struct {
    const char* prefix;  // before the probe's command
    int signal, rows;    // signal 0: the quit key, -1: none (it cannot open)
    const char *status, *message;  // its exit status as the shell reports it; a line of its log
  } cases[] = {{"", 0, 24, "0\n", ""}, {"", SIGTERM, 24, "0\n", ""}, {"", SIGINT, 24, "0\n", ""},
               {"", SIGTERM, 10, "0\n", ""}, {"", SIGSEGV, 24, "139\n", ""},  // killed: 128 + 11
               {"env -u TERM ", -1, 24, "1\n", "open(): Error! TERM is not set."},
               {"TERM=no-such-terminal ", -1, 24, "1\n", "open(): Error! Unknown terminal type"},
               {"exec > /dev/null; ", -1, 24, "1\n", "Error! Input or output is not a terminal."}};
  const std::string flags = "#{cursor_flag} #{mouse_any_flag} #{alternate_on}";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.prefix + std::to_string(c.signal) + " " + std::to_string(c.rows));
    Probe probe;
    ASSERT_TRUE(probe.start(80, c.rows, c.prefix));
    if (c.signal >= 0) {
      ASSERT_TRUE(tw_test::waitUntil([&] { return probe.tmux.display(flags) == "0 1 1"; }));
    }
    if (c.signal == 0) probe.tmux.sendKeys("q");
    if (c.signal > 0) kill(std::stoi(probe.file("pid")), c.signal);
    ASSERT_TRUE(probe.ended());
    EXPECT_EQ(probe.file("status"), c.status);
    EXPECT_EQ(probe.tmux.display(flags), "1 0 0");
    EXPECT_EQ(probe.file("after"), probe.file("before"));
    EXPECT_TRUE(!*c.message || tw_test::fileContains(probe.dir.file("probe.log"), c.message));
  }
}

}  // namespace
