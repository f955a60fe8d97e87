// Problems met while the game plays: each gives one notice (on standard error
// and on the problem list the debug overlay shows) and one log line, however
// often it comes; the list counts the repeats.
#include <gtest/gtest.h>

#include <functional>

#include "engine/core/LogManager.h"
#include "engine/core/ProblemList.h"
#include "engine/input/EventKeystroke.h"
#include "engine/path/PathManager.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/EventPath.h"
#include "engine/loop/DebugOverlay.h"
#include "tests/support/CapturedEngine.h"
#include "tests/support/SpriteCorpus.h"

using tw::Vector;

namespace {
tw::ResourceManager& resources() { return tw::ResourceManager::getInstance(); }

// A mover that keeps the path event to itself, so its search is never let go.
class Stubborn : public tw::Object {
 public:
  Stubborn() {
    setType("Stubborn");
    setPosition(Vector(2, 2));
  }
  int eventHandler(const tw::Event* p_e) override { return p_e->getType() == tw::PATH_EVENT; }
};

struct ProblemCase {
  const char* what;
  std::function<void()> happen;  // done twice
  std::string notice;            // the notice's text
  std::string log_line;          // written once
  int logged = 1;                // times log_line is written
};
}  // namespace

class ProblemNoticeTest : public tw_test::CapturedEngine {};

TEST_F(ProblemNoticeTest, EachProblemIsSaidOnceAndCountedOnTheList) {
  for (const char* label : {"rock", "ship", "hunter"}) {
    ASSERT_EQ(resources().loadSprite(tw_test::spriteFile("good-simple.txt"), label), 0);
  }
  const std::string bad = tw_test::spriteFile("bad-empty.txt");
  Stubborn* p_stubborn = nullptr;
  const ProblemCase cases[] = {
      {"unknown sprite", [] { resources().getSprite("rokc"); },
       "no sprite 'rokc'; loaded: rock, ship, hunter", "RM::getSprite(): Warning! Sprite 'rokc' not found."},
      {"unknown sound", [] { resources().getSound("zap"); }, "no sound 'zap'; none is loaded",
       "RM::getSound(): Warning! Sound 'zap' not found."},
      {"broken sprite file", [&] { resources().loadSprite(bad, "bad"); },
       "sprite 'bad' not loaded: '" + bad + "' has problems (tw-sprite check lists them)",
       "'" + bad + "': RM::loadSprite(): Error! Unknown sprite file format.", 2},  // each load reads it
      {"unheard key", [] { press(tw::platform::Key::A); steps(1); },
       "keys are pressed but no object registered for keyboard events",
       "InputManager::getInput(): Warning! keys are pressed but no object registered for keyboard events."},
      {"unheard click", [] { click(Vector(3, 3)); steps(1); },
       "the mouse is clicked but no object registered for mouse events",
       "InputManager::getInput(): Warning! the mouse is clicked but no object registered for mouse events."},
      {"unreleased path search",
       [&] {
         if (p_stubborn == nullptr) {
           p_stubborn = new Stubborn;
           ASSERT_EQ(tw::PathManager::getInstance().findPath(p_stubborn, Vector(6, 2)), 0);
         }
         tw::PathManager::getInstance().cyclePasses(20);
       },
       "a path search of a 'Stubborn' ended but was never released: pass the tw-path event on to "
       "Object::eventHandler",
       "PathManager::cycle(): Warning! A 'Stubborn' ended its path search without releasing it, so "
       "the tw-path event comes again on every pass; pass the event on to Object::eventHandler."},
  };
  const tw::ProblemList& problems = tw::LogManager::getInstance().getProblems();
  for (const ProblemCase& c : cases) {
    SCOPED_TRACE(c.what);
    testing::internal::CaptureStderr();
    c.happen();
    c.happen();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_GE(problems.countOf(c.notice), 2);
    EXPECT_EQ(said.find("Tarnwick: " + c.notice), said.rfind("Tarnwick: " + c.notice)) << said;
    EXPECT_NE(said.find("Tarnwick: " + c.notice), std::string::npos) << said;
    int written = 0;
    for (const std::string& line : engine->logLines()) written += tw_test::logMessage(line) == c.log_line;
    EXPECT_EQ(written, c.logged);
  }
  // The newest becomes the notice at the screen's edge (drawn in a window
  // or page) for a few seconds.
  steps(1);
  EXPECT_EQ(tw::DebugOverlay::getInstance().noticeLine(), "! " + cases[5].notice);
  // The overlay lists the latest, with their counts.
  const std::vector<std::string> listed = tw::DebugOverlay::getInstance().problemLines();
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].rfind("! keys are pressed but no object registered", 0), 0u) << listed[0];
  EXPECT_NE(listed[2].find("(x"), std::string::npos) << listed[2];
  // A game that moves on keystrokes alone hears its keys.
  auto* p_listener = new tw_test::Probe;  // owned by the world
  p_listener->registerInterest(tw::KEYSTROKE_EVENT);
  const int unheard = problems.countOf(cases[3].notice);
  press(tw::platform::Key::B);
  steps(1);
  EXPECT_EQ(p_listener->count(tw::KEYSTROKE_EVENT), 1);
  EXPECT_EQ(problems.countOf(cases[3].notice), unheard);
}

// The search that is let go in the end is off the list and its events stop.
TEST_F(ProblemNoticeTest, SearchesPassedOnAreNoProblem) {
  auto* p_walker = new tw_test::Probe("Walker", Vector(2, 2));
  p_walker->on_event = [p_walker](const tw::Event* p_e) { p_walker->Object::eventHandler(p_e); };
  ASSERT_EQ(tw::PathManager::getInstance().findPath(p_walker, Vector(6, 2)), 0);
  tw::PathManager::getInstance().cyclePasses(50);
  EXPECT_EQ(p_walker->count(tw::PATH_EVENT), 1);
  EXPECT_EQ(tw::PathManager::getInstance().getPendingCount(), 0);
  EXPECT_TRUE(tw::LogManager::getInstance().getProblems().getProblems().empty());
}
