// The roguelike example played in a real terminal (tmux): the dungeon shows,
// an arrow key moves the player, and Q saves and quits with status 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/support/TmuxDriver.h"

namespace {

// The player's cell on the screen, {row, column}; {-1, -1} when not shown.
std::pair<int, int> playerAt(const std::vector<std::string>& rows) {
  for (std::size_t row = 0; row < rows.size(); row++) {
    const std::size_t column = rows[row].find('@');
    if (column != std::string::npos) return {static_cast<int>(row), static_cast<int>(column)};
  }
  return {-1, -1};
}

bool showsText(const tw_test::TmuxDriver& tmux, const std::string& text) {
  for (const std::string& row : tmux.rows()) {
    if (row.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(RoguelikeTerminal, ArrowKeyMovesThePlayerAndQuitSaves) {
  tw_test::TempDir dir;
  dir.write("tw-config.txt", "networking:false,random_seed:3,logfile:" + dir.file("game.log"));
  const std::string d = dir.path() + "/";
  tw_test::TmuxDriver tmux;
  ASSERT_TRUE(tmux.start(80, 24, "cd " + d + " && TARNWICK_CONFIG=" + d + "tw-config.txt " +
                                     TW_ROGUELIKE + " --terminal --new " + d + "game.sav; echo $? > " + d +
                                     "status; exec sleep 300"));
  ASSERT_TRUE(tw_test::waitUntil([&] { return showsText(tmux, "Turn 0") && playerAt(tmux.rows()).first >= 0; }))
      << tw_test::readFile(dir.file("game.log"));
  const auto start = playerAt(tmux.rows());
  tmux.sendKeys("Left");
  ASSERT_TRUE(tw_test::waitUntil([&] { return showsText(tmux, "Turn 1"); }));
  EXPECT_EQ(playerAt(tmux.rows()), std::make_pair(start.first, start.second - 1));
  tmux.sendKeys("q");
  ASSERT_TRUE(tw_test::waitUntil([&] { return !tw_test::readFile(dir.file("status")).empty(); }));
  EXPECT_EQ(tw_test::readFile(dir.file("status")), "0\n");
  EXPECT_NE(tw_test::readFile(dir.file("game.sav")).find("player "), std::string::npos);
}

}  // namespace
