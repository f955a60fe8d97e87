// Veld played through the game loop: the runner's jump, duck and shots, what
// hazards do to bullets, the runner and the score, and when they come; what
// the player sees after scripts of keys and steps, and the ways the game ends;
// a scripted player's long session recorded and replayed; the best-score file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "engine/core/LogManager.h"
#include "engine/platform/Files.h"
#include "game/Boulder.h"
#include "game/Bullet.h"
#include "game/Panther.h"
#include "game/Points.h"
#include "game/Runner.h"
#include "game/SaveFile.h"
#include "game/Spawning.h"
#include "game/Sun.h"
#include "game/Tree.h"
#include "game/Vulture.h"
#include "tests/game/ScriptedPlay.h"
#include "tests/game/VeldRun.h"
#include "tests/support/EngineFixtures.h"

namespace {

using tw_test::VeldRun;

// Veld as its program starts it, in a configured engine's folder (its best
// score and mute choice land in dir/veld); input is queued in the capture
// presenter as a player makes it, and loop steps play it.
class GameFixture : public ::testing::Test, public tw_test::ConfiguredEngine {
 protected:
  using Key = tw::platform::Key;
  using Type = tw::platform::InputEvent::Type;

  GameFixture() : ConfiguredEngine("") {}
  void SetUp() override { restart(); }
  // Starts the program anew, with these configuration items and data folder.
  void restart(const std::vector<std::string>& items = {},
               const std::string& data_folder = veld::SaveFile::defaultFolder()) {
    run.reset();
    run = std::make_unique<VeldRun>(items, data_folder);
    ASSERT_TRUE(run->started());
    tw::LogManager::getInstance().setFlush(true);
  }

  static void tap(Key key) {
    VeldRun::push(Type::KeyPressed, key);
    VeldRun::push(Type::KeyReleased, key);
  }
  void steps(int n) {
    for (int i = 0; i < n; i++) run->step();
  }
  // Objects of the type, active or not.
  static int count(const std::string& type) {
    const tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects(true);
    int n = 0;
    for (int i = 0; i < all.getCount(); i++) n += all[i]->getType() == type;
    return n;
  }
  static Points* points() { return dynamic_cast<Points*>(VeldRun::first("ViewObject")); }
  // P on the start screen and a step: the new run's runner.
  veld::Runner* startRun() {
    tap(Key::P);
    steps(1);
    return dynamic_cast<veld::Runner*>(VeldRun::first("Player"));
  }

  std::unique_ptr<VeldRun> run;
};

class RunnerTest : public GameFixture {};

// Held, or pressed again in the air, SPACE jumps once; S held from the next
// jump on ducks only once landed, and a ducking runner does not jump.
TEST_F(RunnerTest, JumpsOnceFromTheGroundAndDucksOnlyThere) {
  veld::Runner* runner = startRun();
  ASSERT_NE(runner, nullptr);
  const float standing = runner->getBox().getVertical();
  VeldRun::push(Type::KeyPressed, Key::Space);  // and held from here on
  steps(4);
  tap(Key::Space);  // released and pressed again in the air
  VeldRun::push(Type::KeyPressed, Key::Space);
  steps(8);
  EXPECT_NEAR(runner->getPosition().getY(), 11.58f, 0.01f);  // the top
  steps(11);
  EXPECT_FALSE(runner->isOnGround());
  steps(1);
  EXPECT_TRUE(runner->isOnGround()) << "not landed on the 24th step";
  steps(6);
  EXPECT_FLOAT_EQ(runner->getPosition().getY(), 19.5f) << "jumped again on a held SPACE";
  tap(Key::Space);
  VeldRun::push(Type::KeyPressed, Key::S);
  steps(2);
  EXPECT_FALSE(runner->isDucking()) << "ducked in the air";
  steps(24);
  EXPECT_LT(runner->getBox().getVertical(), standing);
  tap(Key::Space);
  steps(1);
  EXPECT_TRUE(runner->isOnGround());
  VeldRun::push(Type::KeyReleased, Key::S);
  steps(1);
  EXPECT_FLOAT_EQ(runner->getBox().getVertical(), standing);
}

// The runner is made with its countdown full; each shot fills it again. A
// left click 39 steps on is refused, one 40 steps on fires, a right one never.
// The shots leave the world at the top, and are gone then.
TEST_F(RunnerTest, FiresALeftClickOnceEveryFortyStepsTowardThePointer) {
  veld::Runner* runner = startRun();
  ASSERT_NE(runner, nullptr);
  const tw::Vector aim(22, 14.5f);  // 12 right of the runner, 5 up: in the world for 50 steps
  for (int shots = 1; shots <= 2; shots++) {
    steps(38);
    VeldRun::push(Type::MouseButtonPressed, Key::Unknown, aim);
    steps(1);
    EXPECT_EQ(count("Bullet"), shots - 1) << "fired 39 steps on";
    VeldRun::push(Type::MouseButtonPressed, Key::Unknown, aim);
    steps(1);
    EXPECT_EQ(count("Bullet"), shots) << "did not fire 40 steps on";
  }
  EXPECT_NEAR(VeldRun::first("Bullet")->getVelocity().getX(), 12.0f / 13, 1e-5);
  EXPECT_NEAR(VeldRun::first("Bullet")->getVelocity().getY(), -5.0f / 13, 1e-5);
  steps(40);
  const int bullets = count("Bullet");
  VeldRun::push(Type::MouseButtonPressed, Key::Unknown, aim, tw::platform::MouseButton::Right);
  steps(1);
  EXPECT_EQ(count("Bullet"), bullets) << "fired on the right button";
  steps(60);
  EXPECT_EQ(count("Bullet"), 0) << "bullets that left at the top are still in the world";
}

// Bullets vanish on boulders and destroy enemies for 10 points; leaving on the
// left gives 5 for a boulder, 10 for an enemy; touching the runner ends the run.
TEST_F(RunnerTest, HazardsScoreAndEndRunsAsTheyShould) {
  struct {
    std::string type;
    tw::Vector start, at;  // where it comes in (right of the ground, or flying), where it is put
    bool shot;             // a bullet flies into it from two cells left
    int steps, award;
    bool stays, meets_runner;
  } cases[] = {
      {"Boulder", tw::Vector(100, 21.5f), tw::Vector(40, 20), true, 2, 0, true, false},
      {"Panther", tw::Vector(102, 21.5f), tw::Vector(40, 20), true, 2, 10, false, false},
      {"Vulture", tw::Vector(85, 16.8f), tw::Vector(40, 5), true, 2, 10, false, false},
      {"Boulder", tw::Vector(100, 21.5f), tw::Vector(2, 20), false, 12, 5, false, false},
      {"Vulture", tw::Vector(85, 16.8f), tw::Vector(2, 5), false, 12, 10, false, false},
      {"Panther", tw::Vector(102, 21.5f), tw::Vector(16, 19.5f), false, 6, 0, false, true},
      {"Boulder", tw::Vector(100, 21.5f), tw::Vector(16, 19.5f), false, 6, 0, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type + " at " + c.at.toString());
    restart();
    ASSERT_NE(startRun(), nullptr);
    Points* score = points();
    Hazard* hazard = c.type == "Boulder"   ? static_cast<Hazard*>(new Boulder(score))
                     : c.type == "Panther" ? static_cast<Hazard*>(new Panther(score))
                                           : new Vulture(score);
    EXPECT_EQ(hazard->getPosition(), c.start) << "where it comes in";
    EXPECT_LT(hazard->getVelocity().getX(), 0.0f) << "comes towards the runner";
    tw::WorldManager::getInstance().moveObject(hazard, c.at);
    if (c.shot) (new veld::Bullet(c.at - tw::Vector(2, 0)))->setVelocity(tw::Vector(1, 0));
    const int before = score->score;
    steps(c.steps);
    EXPECT_EQ(count(c.type), c.stays ? 1 : 0);
    EXPECT_EQ(count("Bullet"), 0);
    EXPECT_EQ(count("GameOver"), c.meets_runner ? 1 : 0);
    if (!c.meets_runner) {
      EXPECT_EQ(score->score - before, c.award);
    }
  }
}

// Scenery: a tree that leaves on the left comes back on the right; the sun
// is backdrop, drawn first and touching nothing.
TEST_F(RunnerTest, TreesComeBackAndTheSunStaysBehind) {
  auto* tree = new veld::Tree;
  tw::WorldManager::getInstance().moveObject(tree, tw::Vector(-40, tree->getPosition().getY()));
  steps(1);
  EXPECT_GE(tree->getPosition().getX(), tw::WorldManager::getInstance().getBoundary().getHorizontal() - 1);
  const auto* sun = new veld::Sun;
  EXPECT_EQ(std::make_pair(sun->getAltitude(), sun->getSolidness()), std::make_pair(0, tw::SPECTRAL));
}

TEST_F(RunnerTest, HazardsComeEveryHundredFiftyStepsAndMoreOftenWithTheScore) {
  ASSERT_NE(startRun(), nullptr);
  steps(149);
  EXPECT_EQ(count("Boulder") + count("Panther") + count("Vulture"), 0);
  steps(1);
  EXPECT_EQ(count("Boulder") + count("Panther") + count("Vulture"), 1);
  const std::pair<int, int> intervals[] = {{0, 150}, {24, 150}, {25, 130}, {99, 90}, {149, 50},
                                           {150, 35}, {10000, 35}};
  for (const auto& [score, interval] : intervals) EXPECT_EQ(Spawning::intervalFor(score), interval);
}

class ScreensTest : public GameFixture {
 protected:
  // Starts the program anew (keeping its data folder) and plays a script: a
  // number is that many steps, a word a key tapped and a step (a letter, Esc
  // or Space; S+ and S- press and release a key, Mouse points at 70,5, Close
  // closes the window).
  void play(const std::string& script) {
    restart();
    std::istringstream words(script);
    for (std::string word; words >> word; steps(std::isdigit(word[0]) ? std::stoi(word) : 1)) {
      if (word == "Close") VeldRun::push(Type::Closed, Key::Unknown);
      if (word == "Mouse") VeldRun::push(Type::MouseMoved, Key::Unknown, tw::Vector(70, 5));
      if (word.size() == 2) VeldRun::push(word[1] == '+' ? Type::KeyPressed : Type::KeyReleased, Key(word[0] - 'A'));
      if (word == "Esc" || word == "Space") tap(word == "Esc" ? Key::Escape : Key::Space);
      if (word.size() == 1 && std::isupper(word[0])) tap(Key(word[0] - 'A'));
    }
  }
};

// The frame a script ends on (the one finished before its last step),
// characters and colours, or "" where the script ends the game. The best
// score and mute choice carry over from script to script.
const std::pair<const char*, const char*> SCENES[] = {
    {"2", "start-screen.txt"},
    {"P 1 Space 6", "run-jump.txt"},  // ground, trees, sun, runner in the air, reticle, score
    {"P Q 130", "start-screen-again.txt"},  // the game-over screen's time is up
    {"P 40 Q 1", "game-over-new-best.txt"},
    {"P 40 Q 1 P 1", "start-screen-best.txt"},
    // Nothing moves, spawns, scores or animates while paused; P or Esc plays on.
    {"P 60 Esc 1", "run-paused.txt"},
    {"P 60 Esc Space Mouse 200", "run-paused.txt"},
    {"P 60 Esc 20 P 2", "run-resumed.txt"},
    {"P 60 Esc 20 Esc 2", "run-resumed.txt"},
    {"P 50 S+ 9 Esc S- Esc 2", "run-resumed.txt"},  // S released while paused: up again
    {"M P 1 Esc 1", "run-paused-muted.txt"},  // MUTED shows on every screen
    {"2", "start-screen-muted.txt"},
    {"M 1", "start-screen-best.txt"},
    // Q quits on the start and game-over screens and while paused, from inside
    // the key's handler with other listeners still to come; so does closing.
    {"Q", ""},
    {"P Q Q", ""},
    {"P Esc Q", ""},
    {"P Esc Close", ""},
};

TEST_F(ScreensTest, ScriptsEndOnTheRecordedFramesOrEndTheGame) {
  for (const auto& [script, golden] : SCENES) {
    SCOPED_TRACE(script);
    play(script);
    const std::string frame = VeldRun::frame();
    if (*golden != '\0') {
      EXPECT_EQ(frame, tw_test::goldenFrame(golden, frame));
    }
    const tw::GameManager& game = tw::GameManager::getInstance();
    EXPECT_EQ(game.getGameOver() || !game.isStarted(), *golden == '\0');
  }
}

class ReplayTest : public GameFixture {};

// The session (jumps, ducks, shots at enemies, pauses, mute, deaths, back to
// the start screen and more runs) recorded once and replayed twice gives the
// same frame at every step, writes no best score, and keeps memory flat.
TEST_F(ReplayTest, ARecordedSessionReplaysTwiceFrameForFrameInFlatMemory) {
  const std::string data = dir.file("data"), recording = dir.file("session.rec");
  tw_test::ScriptedPlay script(10, 600);
  std::vector<std::size_t> frames;  // a hash of each step's frame
  auto frameHash = [] { return std::hash<std::string>()(VeldRun::frame()); };
  auto residentKiB = [] {
    long size = 0, pages = 0;
    std::ifstream("/proc/self/statm") >> size >> pages;
    return pages * (sysconf(_SC_PAGESIZE) / 1024);
  };
  restart({"record_file:" + recording}, data);
  for (bool going = true; going && frames.size() < 50000; frames.push_back(frameHash())) {
    script.beforeStep(VeldRun::presenter());
    going = run->step();
  }
  run.reset();  // which finishes the recording
  const tw_test::ScriptedPlay::Seen& seen = script.seen;
  EXPECT_GT(seen.jumps * seen.ducks * seen.shots * seen.pauses * seen.mutes, 0);
  EXPECT_EQ(seen.game_overs, 10);
  EXPECT_LT(seen.give_ups, 10) << "no run ended by a death";
  ASSERT_FALSE(tw_test::readFile(data + "/best-score").empty());
  std::remove((data + "/best-score").c_str());  // a replay must not write it again
  for (int replay = 0; replay < 2; replay++) {
    SCOPED_TRACE(replay);
    restart({"replay_file:" + recording}, data);
    [[maybe_unused]] long resident = 0;  // unread under AddressSanitizer
    std::size_t step = 0;
    for (bool going = true; going; step++) {
      going = run->step();
      ASSERT_EQ(frameHash(), frames.at(step)) << "first difference at step " << step;
      if (step == 1000) resident = residentKiB();
    }
    EXPECT_EQ(step, frames.size());
#if !defined(__SANITIZE_ADDRESS__)  // which holds freed memory back
    EXPECT_LT(residentKiB() - resident, 1024) << "over " << step << " steps";
#endif
  }
  EXPECT_EQ(tw_test::readFile(data + "/best-score"), "");
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename());
  }
  return names;
}

class ProfileTest : public GameFixture {};

// Every bad state of the file or its folder is logged and play goes on; a
// lower score never replaces a higher one; no temporary file is left behind.
TEST_F(ProfileTest, BestScoreFileProblemsNeverStopTheGame) {
  // The file before ("-": none, "/": a folder), what another copy of the game
  // writes meanwhile, the best score loaded, the score offered, whether it is
  // a new best, the file afterwards ("": none readable), the line logged.
  struct Case {
    std::string name, content, meanwhile;
    int loaded, offered;
    bool new_best;
    std::string after, logged;
  };
  std::vector<Case> cases = {
      {"missing", "-", "", 0, 5, true, "5\n", ""},
      {"unreadable", "/", "", 0, 5, true, "", "Cannot read"},
      {"folder cannot be written", "-", "", 0, 5, true, "", "Cannot keep"},
      {"nine digits", "999999999", "", 999999999, 5, false, "999999999", ""},
      {"higher kept", "50\n", "", 50, 30, false, "50\n", ""},
      {"equal kept", "50\n", "", 50, 50, false, "50\n", ""},
      {"beaten", "10\n", "", 10, 40, true, "40\n", ""},
      {"beaten meanwhile", "10\n", "80\n", 10, 40, true, "80\n", "not kept"},
  };
  // Broken files, one a file: none holds a best score, and the next is kept.
  const std::string corpus = tw_test::dataPath("best-score/");
  for (const std::string& name : filesIn(corpus)) {
    cases.push_back({name, tw_test::readFile(corpus + name), "", 0, 5, true, "5\n", "Ignored."});
  }
  ASSERT_GE(cases.size(), 18u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = c.name == "folder cannot be written"
                                   ? "/proc/tw-none/veld"
                                   : dir.file(std::to_string(&c - &cases[0]));
    const std::string file = folder + "/best-score";
    std::string why;
    tw::platform::makeFolders(c.content == "/" ? file : folder, why);
    if (c.content != "-" && c.content != "/") tw::platform::replaceFile(file, c.content, why);
    const std::size_t log_lines = logLines().size();
    veld::Profile::get().load(folder);
    EXPECT_EQ(veld::Profile::get().getBest(), c.loaded);
    if (!c.meanwhile.empty()) tw::platform::replaceFile(file, c.meanwhile, why);
    EXPECT_EQ(veld::Profile::get().offerScore(c.offered), c.new_best);
    EXPECT_EQ(tw_test::readFile(file), c.after);
    const std::vector<std::string> log = logLines();  // nothing logged when nothing is wrong
    EXPECT_EQ(std::any_of(log.begin() + static_cast<long>(log_lines), log.end(),
                          [&](const std::string& line) { return line.find(c.logged) != std::string::npos; }),
              !c.logged.empty());
    EXPECT_LE(filesIn(folder).size(), 1u) << "a temporary file left";
  }
}

// Writers of the best score killed at any moment, again and again, leave the
// file whole and one temporary file beside it at most; the next start
// removes it, and temporary files of the earlier naming (after a process id)
// whose process is gone.
TEST_F(ProfileTest, KilledWritersLeaveOneTemporaryFileAtMostWhichTheNextStartRemoves) {
  const std::string folder = dir.file("kills");
  const veld::SaveFile file(folder, "best-score");
  ASSERT_EQ(file.write(1), 0);
  for (int round = 0; round < 40; round++) {
    SCOPED_TRACE(round);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      for (int score = 2;; score++) file.write(score);
    }
    usleep(static_cast<useconds_t>(1000 + round * 7919 % 20000));
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    int value = 0;
    EXPECT_EQ(file.read(value), veld::SaveFile::FOUND);
    EXPECT_LE(filesIn(folder).size(), 2u);
  }
  const std::string running = "best-score.tmp" + std::to_string(getpid());
  for (const std::string name : {"best-score.tmp", "best-score.tmp999999999", running.c_str()}) {
    dir.write("kills/" + name, "1");
  }
  veld::Profile::get().load(folder);
  std::vector<std::string> left = filesIn(folder);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"best-score", running}));
}

// A link planted where the best score's temporary file goes, soft or hard,
// to another file: the save fails and writes through neither.
TEST_F(ProfileTest, ALinkPlantedAtTheTemporaryFileIsNotWrittenThrough) {
  for (const bool soft : {true, false}) {
    SCOPED_TRACE(soft ? "symbolic link" : "hard link");
    const std::string folder = dir.file(soft ? "soft" : "hard"), file = folder + "/best-score";
    const std::string victim = dir.write(soft ? "soft-victim" : "hard-victim", "keep");
    std::string why;
    ASSERT_EQ(tw::platform::makeFolders(folder, why), 0) << why;
    ASSERT_EQ(tw::platform::replaceFile(file, "7", why), 0) << why;
    ASSERT_EQ((soft ? symlink : link)(victim.c_str(), (file + ".tmp").c_str()), 0);
    EXPECT_EQ(tw::platform::replaceFile(file, "9", why), -1);
    EXPECT_NE(why.find("best-score.tmp"), std::string::npos) << why;
    EXPECT_EQ(tw_test::readFile(victim), "keep");
    EXPECT_EQ(tw_test::readFile(file), "7");
  }
}

}  // namespace
