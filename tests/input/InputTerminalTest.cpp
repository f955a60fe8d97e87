// The input script typed into the probe in a real terminal (tmux), where
// display:auto picks the terminal: a classic terminal sends characters only,
// and the report must still be the one every presenter gives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "tests/support/InputScript.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TmuxDriver.h"

namespace {

std::string tmuxKey(tw::Keyboard::Key key) {
  return key == tw::Keyboard::LEFT_ARROW ? "Left" : "Down";
}

TEST(InputScript, TerminalReportsWhatEveryPresenterReports) {
  tw_test::TempDir dir;
  const std::string config =
      dir.write("tw-config.txt", "logfile:" + dir.file("probe.log") + ",\n");
  tw_test::TmuxDriver tmux;
  ASSERT_TRUE(tmux.start(80, 24,
                         "env -u DISPLAY TARNWICK_CONFIG=" + config + " " TW_INPUT_PROBE " " +
                             dir.file("report.txt") + "; exec sleep 300"));
  // The game has the terminal once its screen is the alternate one.
  ASSERT_TRUE(tw_test::waitUntil([&] { return tmux.display("#{alternate_on}") == "1"; }));
  usleep(500000);  // the terminal's answers to the feature queries are in
  tw_test::playScript([&](tw::Keyboard::Key key) { tmux.sendKeys(tmuxKey(key)); },
                      [&](tw::Keyboard::Key key) {
                        // A held key is its auto-repeat: the character many times in a burst.
                        std::string keys = tmuxKey(key);
                        for (int i = 0; i < 20; i++) keys += " " + tmuxKey(key);
                        tmux.sendKeys(keys);
                        usleep(tw_test::HOLD_MS * 1000);  // long enough for the guessed release
                      },
                      dir.file("probe.log"));
  tmux.sendKeys("q");
  ASSERT_TRUE(tw_test::waitUntil([&] { return !tw_test::readFile(dir.file("report.txt")).empty(); }));
  EXPECT_EQ(tw_test::readFile(dir.file("report.txt")), tw_test::EXPECTED_REPORT);
  EXPECT_TRUE(tw_test::fileContains(dir.file("probe.log"), "display:auto chose the terminal"));
}

}  // namespace
