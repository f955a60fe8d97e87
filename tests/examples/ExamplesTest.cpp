// Each example under examples/ played briefly as its own process in the
// capture presenter, with scripted keys, checking what its last frame shows;
// the exit status of Veld and the examples.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

#include "tests/network/LoopbackPeer.h"
#include "tests/support/ProgramRun.h"

namespace {

using tw_test::ProgramRun;

// The number after label in text ("Caught 3"), -1 when absent.
int valueAfter(const std::string& text, const std::string& label) {
  std::smatch found;
  if (!std::regex_search(text, found, std::regex(label + " (\\d+)"))) return -1;
  return std::stoi(found[1]);
}

TEST(Examples, CatchCountsTheLetterTheBasketIsMovedUnderAndEndsAfterFiveMissed) {
  ProgramRun look("example_catch");  // where does the first letter fall?
  look.setFrames(30);
  ASSERT_TRUE(look.run("--capture")) << look.output();
  const std::string early = look.lastFrame();
  const size_t at = early.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 3 * 81);
  ASSERT_NE(std::string::npos, at) << early;
  const int moves = (static_cast<int>(at % 81) - 40) / 2;  // two cells per key press
  ProgramRun game("example_catch");  // the same letters (same seed), the basket under the first
  game.press(1, moves > 0 ? tw::Keyboard::RIGHT_ARROW : tw::Keyboard::LEFT_ARROW, std::abs(moves));
  game.setFrames(110);
  ASSERT_TRUE(game.run("--capture")) << game.output();
  EXPECT_EQ(1, valueAfter(game.lastFrame(), "Caught")) << early << game.lastFrame();
  game.setFrames(600);  // long enough for many letters, but five missed end the game
  ASSERT_TRUE(game.run("--capture")) << game.output();
  EXPECT_EQ(4, valueAfter(game.lastFrame(), "Missed")) << game.lastFrame();  // the last drawn
}

// The maze chaser finds the treasure at both ends; the showcase's bird takes
// its next frame four steps on, among its shapes, its box-drawn panel and its
// bar of blocks.
TEST(Examples, MazeChaserReachesTheTreasureAndShowcaseAnimatesItsSprite) {
  ProgramRun maze("example_maze"), showcase("example_showcase");
  maze.setFrames(700);
  ASSERT_TRUE(maze.run("--capture")) << maze.output();
  EXPECT_GE(valueAfter(maze.lastFrame(), "Found"), 2) << maze.lastFrame();
  showcase.setFrames(3);
  ASSERT_TRUE(showcase.run("--capture")) << showcase.output();
  EXPECT_NE(std::string::npos, showcase.lastFrame().find("\\(o)/")) << showcase.lastFrame();
  showcase.setFrames(7);  // one run's last frame shows the rest
  ASSERT_TRUE(showcase.run("--capture")) << showcase.output();
  for (const char* shown : {"-=(o)=-", "#", "triangle", "\u2551   Tarnwick showcase  \u2551", "\u2665 \u2588\u2591\u2591"}) {
    EXPECT_NE(std::string::npos, showcase.lastFrame().find(shown)) << showcase.lastFrame();
  }
}

TEST(Examples, GardenSavedOnLeavingIsLoadedBackAsItWas) {
  ProgramRun planting("example_garden");
  const std::string file = planting.folder().file("garden.sav");
  planting.press(1, tw::Keyboard::RIGHT_ARROW, 3);
  planting.press(2, tw::Keyboard::A);
  planting.press(3, tw::Keyboard::DOWN_ARROW, 2);
  planting.press(4, tw::Keyboard::B);
  planting.press(5, tw::Keyboard::LEFT_ARROW);
  ASSERT_TRUE(planting.run("--capture --new " + file)) << planting.output();
  const std::string planted = planting.lastFrame();
  EXPECT_EQ(planted.substr(12 * 81 + 43, 1), "A") << planted;  // rows of 80 cells and a line feed
  EXPECT_EQ(planted.substr(14 * 81 + 42, 2), "@B") << planted;
  ProgramRun visit("example_garden");
  visit.setFrames(1);
  ASSERT_TRUE(visit.run("--capture " + file)) << visit.output();
  EXPECT_EQ(planted, visit.lastFrame());
}

// The roguelike: arrow keys move the player one cell a turn; Q saves, and
// the next run takes the game up as it was left; a damaged save is reported
// and a new game begins; a save with the player one blow from death beside
// an orc ends on the death screen after one waited turn.
TEST(Examples, RoguelikeMovesSavesLoadsAndDies) {
  const auto player = [](const std::string& frame) {
    const size_t at = frame.find('@');
    return at == std::string::npos ? std::make_pair(-1, -1) : std::make_pair(int(at / 81), int(at % 81));
  };
  ProgramRun look("example_roguelike"), play("example_roguelike");
  const std::string file = play.folder().file("dungeon.sav");
  look.setFrames(1);
  ASSERT_TRUE(look.run("--capture --new " + file)) << look.output();
  const auto start = player(look.lastFrame());
  play.press(1, tw::Keyboard::LEFT_ARROW);
  play.press(3, tw::Keyboard::UP_ARROW);
  play.setFrames(5);
  ASSERT_TRUE(play.run("--capture --new " + file)) << play.output();
  const std::string played = play.lastFrame();
  EXPECT_EQ(player(played), std::make_pair(start.first - 1, start.second - 1)) << look.lastFrame() << played;
  EXPECT_NE(played.find("Turn 2"), std::string::npos) << played;
  ProgramRun resume("example_roguelike");
  resume.setFrames(1);
  ASSERT_TRUE(resume.run("--capture " + file)) << resume.output();
  EXPECT_EQ(resume.lastFrame().substr(81), played.substr(81));  // all but the message line
  play.folder().write("dungeon.sav", "tarnwick-roguelike 1\n####\n");
  ASSERT_TRUE(resume.run("--capture " + file)) << resume.output();
  EXPECT_NE(resume.output().find("is damaged; a new game begins"), std::string::npos) << resume.output();
  EXPECT_NE(resume.lastFrame().find("could not be read"), std::string::npos) << resume.lastFrame();
  std::string save = "tarnwick-roguelike 1\n";
  for (int y = 0; y < 22; y++) save += (y == 0 || y == 21 ? std::string(80, '#') : "#" + std::string(78, '.') + "#") + "\n";
  for (int y = 0; y < 22; y++) save += std::string(80, '0') + "\n";
  save += "player 10 10 1 7\npcg32 5 7\npcg32 9 b\nmonsters 1\no 11 10 8\n";
  play.folder().write("dungeon.sav", save);
  resume.press(0, tw::Keyboard::PERIOD);
  ASSERT_TRUE(resume.run("--capture " + file)) << resume.output();
  EXPECT_NE(resume.lastFrame().find("killed by the orc on turn 8"), std::string::npos) << resume.lastFrame();
}

// The port a pong host says it listens on, once it has said so (up to 10 s);
// 0 when it never did.
int hostingPort(ProgramRun& host) {
  int port = 0;
  for (int tries = 0; tries < 200 && port == 0; tries++) {
    const std::string line = tw_test::readFile(host.folder().file("output.txt"));
    std::sscanf(line.c_str(), "hosting on port %d", &port);
    if (port == 0) std::system("sleep 0.05");
  }
  return port;
}

TEST(Examples, PongHostAndGuestPlayToThreeOverTcp) {
  ProgramRun host("example_pong"), guest("example_pong");
  host.configure("frame_time:5");
  guest.configure("frame_time:5");
  host.configure("random_seed:1");
  FILE* hosting = popen(("exec env " + host.command("--capture --host 0 --listen 127.0.0.1")).c_str(), "r");
  ASSERT_NE(nullptr, hosting);
  const int port = hostingPort(host);
  ASSERT_GT(port, 0) << host.output();
  EXPECT_TRUE(guest.run("--capture --join 127.0.0.1 " + std::to_string(port))) << guest.output();
  EXPECT_EQ(0, pclose(hosting)) << host.output();
  // Both print the final score: the guest's comes from the records it read.
  const std::string final_score = host.output();
  EXPECT_TRUE(valueAfter(final_score, "Host") == 3 || valueAfter(final_score, "Guest") == 3)
      << final_score;
  EXPECT_NE(std::string::npos, final_score.find("hosting on port"));
  EXPECT_EQ(final_score.substr(final_score.find('\n') + 1), guest.output());
  // Both screens end on the same court: ball, paddles and score.
  EXPECT_EQ(host.lastFrame(), guest.lastFrame());
}

// A whole message as it travels: its length (4 bytes, little-endian), then its bytes.
std::string wholeMessage(const std::string& text) {
  return std::string(1, static_cast<char>(text.size())) + std::string(3, '\0') + text;
}

// The host plays with the first connection, telling it that it plays the
// right paddle, and closes every later one at once; when its guest leaves,
// the match ends.
TEST(Examples, PongHostClosesEveryConnectionButItsGuest) {
  ProgramRun host("example_pong");
  host.configure("frame_time:5");
  FILE* hosting = popen(("exec env " + host.command("--capture --host 0")).c_str(), "r");
  ASSERT_NE(nullptr, hosting);
  const int port = hostingPort(host);
  ASSERT_GT(port, 0) << host.output();
  tw_test::LoopbackPeer guest(port);
  ASSERT_TRUE(guest.connected());
  EXPECT_EQ(wholeMessage("right"), guest.read(9, 20000));
  for (int i = 0; i < 3; i++) {
    SCOPED_TRACE(i);
    tw_test::LoopbackPeer intruder(port);
    EXPECT_TRUE(intruder.seesClose(20000));
  }
  EXPECT_FALSE(guest.seesClose(100));  // still the guest
  guest.close();
  EXPECT_EQ(0, pclose(hosting)) << host.output();
}

// A refereeing host seats its first guest on the left and its second on the
// right, closes a third at once, and ends when a guest leaves mid-match.
TEST(Examples, PongRefereeSeatsTwoGuestsAndClosesTheThird) {
  ProgramRun host("example_pong");
  // Slow steps: the left guest must leave before the match, served once the
  // right one is seated, is won (about 200 steps).
  host.configure("frame_time:50");
  FILE* hosting = popen(("exec env " + host.command("--capture --host 0 --referee")).c_str(), "r");
  ASSERT_NE(nullptr, hosting);
  const int port = hostingPort(host);
  ASSERT_GT(port, 0) << host.output();
  tw_test::LoopbackPeer left(port);
  EXPECT_EQ(wholeMessage("left"), left.read(8, 20000));
  tw_test::LoopbackPeer right(port);
  EXPECT_EQ(wholeMessage("right"), right.read(9, 20000));
  tw_test::LoopbackPeer third(port);
  EXPECT_TRUE(third.seesClose(20000));
  left.close();
  EXPECT_EQ(0, pclose(hosting)) << host.output();
  // Ended before either side won.
  EXPECT_TRUE(std::regex_search(host.output(), std::regex("\nLeft [0-2] Right [0-2]\n"))) << host.output();
}

// 0 after a game that ran and quit (or showed its help), 1 when it could not
// start (a refused replay or record file included), 2 for an option it does
// not take: each program hands on what the command line decided (whose
// options the CommandLine test goes through).
TEST(Programs, EndWithAStatusThatSaysWhetherTheyRan) {
  const struct {
    const char* program;
    const char* args;
    const char* setting;  // DIR/ stands for the run's folder
    int status;
  } cases[] = {
      {"veld", "--capture", "", 0},
      {"veld", "--bogus", "", 2},
      {"veld", "--capture --replay DIR/none.rec", "", 1},
      {"veld", "--capture --record DIR/none/run.rec", "", 1},
      {"veld", "--capture", "logfile:DIR/none/game.log", 1},
      {"example_showcase", "--capture", "", 0},
      {"example_catch", "--capture --bogus", "", 2},
      {"example_garden", "--capture --frobnicate", "", 2},
      {"example_maze", "--capture", "replay_file:DIR/none.rec", 1},
      {"example_roguelike", "--capture --new DIR/game.sav", "", 0},
      {"example_pong", "--capture --host 0", "logfile:DIR/none/game.log", 1},
      // Help, and arguments the game itself does not take.
      {"example_catch", "--help", "", 0},
      {"example_showcase", "--capture stray", "", 2},
      {"example_pong", "--capture --join localhost", "", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " " + c.args + " " + c.setting);
    ProgramRun run(c.program);
    auto here = [&](std::string text) {
      for (std::size_t at; (at = text.find("DIR/")) != std::string::npos;) {
        text.replace(at, 4, run.folder().path() + "/");
      }
      return text;
    };
    if (c.setting[0] != '\0') run.configure(here(c.setting));
    if (c.status == 0) run.press(2, tw::Keyboard::Q);
    run.run(here(c.args));
    EXPECT_EQ(run.status(), c.status) << run.output();
  }
}

}  // namespace
