// The debug overlay: toggled by its key (kept from the game), drawn over the
// game on a fixed scene (boxes with their types, a followed path, counts of
// objects and listeners, problems) as a golden frame, never an object of the
// world; its time figures live where frames are not compared.
#include "engine/loop/DebugOverlay.h"

#include <gtest/gtest.h>

#include <regex>

#include "engine/display/DrawList.h"
#include "engine/input/EventKeyboard.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/Path.h"
#include "tests/support/CapturedEngine.h"
#include "tests/support/SpriteCorpus.h"

using tw::DebugOverlay;
using tw::Vector;

namespace {
DebugOverlay& overlay() { return DebugOverlay::getInstance(); }

// A wall, a crate drawn with a sprite of 3 x 2 characters, a chaser
// following a path and a listener for keys; a sprite label nobody loaded,
// asked for twice.
void buildScene(tw_test::Probe*& p_listener) {
  for (const char* label : {"rock", "ship", "hunter"}) {
    tw::ResourceManager::getInstance().loadSprite(tw_test::spriteFile("good-simple.txt"), label);
  }
  auto* wall = new tw_test::Probe("Wall", Vector(30, 10));
  wall->setSolidness(tw::HARD);
  auto* crate = new tw::Object;
  crate->setType("Crate");
  crate->setSprite("rock");
  crate->setPosition(Vector(50, 6));
  auto* chaser = new tw_test::Probe("Chaser", Vector(10, 12));
  chaser->setSolidness(tw::SPECTRAL);
  tw::Path path;
  for (const Vector& at : {Vector(14, 14), Vector(20, 16), Vector(26, 16)}) path.addWaypoint(at);
  chaser->setPath(path);
  chaser->setFollowPath(true);
  p_listener = new tw_test::Probe("Ear", Vector(70, 20));
  p_listener->registerInterest(tw::KEYBOARD_EVENT);
  for (int i = 0; i < 2; i++) tw::ResourceManager::getInstance().getSprite("rokc");
}
}  // namespace

class DebugOverlayTest : public tw_test::CapturedEngine {};

TEST_F(DebugOverlayTest, KeyTogglesAGoldenFrameOverTheGameWithoutTouchingTheWorld) {
  tw_test::Probe* p_ear = nullptr;
  buildScene(p_ear);
  steps(1);
  const std::string hidden = frame();
  const int objects = tw::WorldManager::getInstance().getAllObjects(true).getCount();
  press(tw::platform::Key::F12);
  steps(2);  // drawn on the step the key is read, shown on the next
  EXPECT_TRUE(overlay().isShown());
  const std::string shown = frame();
  EXPECT_EQ(shown, tw_test::goldenFrame("debug-overlay.txt", shown));
  EXPECT_EQ(tw::WorldManager::getInstance().getAllObjects(true).getCount(), objects);
  EXPECT_EQ(p_ear->count(tw::KEYBOARD_EVENT), 0);  // the key is the overlay's alone
  press(tw::platform::Key::F12);
  steps(2);
  EXPECT_FALSE(overlay().isShown());
  EXPECT_EQ(p_ear->count(tw::KEYBOARD_EVENT), 0);
  EXPECT_EQ(frame().find("debug (F12)"), std::string::npos);
  EXPECT_EQ(frame().find('+'), std::string::npos);
  EXPECT_EQ(hidden.find('+'), std::string::npos);
}

class OverlayOnFromTheStart : public tw_test::CapturedEngine {
  std::string extraSettings() const override { return "debug_key:none"; }
  tw_test::ScopedEnv debug{"TARNWICK_DEBUG", "1"};
};

// On from the start through the environment; with no key, F12 is the game's.
TEST_F(OverlayOnFromTheStart, ShowsWithoutAKeyAndLeavesF12ToTheGame) {
  tw_test::Probe* p_ear = nullptr;
  buildScene(p_ear);
  press(tw::platform::Key::F12);
  steps(2);
  EXPECT_TRUE(overlay().isShown());
  EXPECT_EQ(p_ear->count(tw::KEYBOARD_EVENT), 2);  // pressed and released
  EXPECT_NE(frame().find("debug  -- steps/s"), std::string::npos) << frame();
}

// Where frames are not compared the figures are measured: every step of the
// last second counted, its mean and worst time, each phase's share.
TEST_F(DebugOverlayTest, TimesAreMeasuredUnlessFrozen) {
  overlay().setFrozenTimes(false);
  const std::vector<std::string> frozen = overlay().statusLines();  // capture: frozen still
  EXPECT_NE(frozen[0].find("-- steps/s"), std::string::npos);
  const int phases[DebugOverlay::PHASE_COUNT] = {1000, 500, 250, 0, 2000};
  overlay().recordStep(phases, 4000);
  overlay().recordStep(phases, 2000);
  tw::DisplayManager::getInstance().shutDown();  // no presenter: nobody compares frames
  const std::vector<std::string> live = overlay().statusLines();
  EXPECT_TRUE(std::regex_search(live[0], std::regex("debug \\(F12\\)  [0-9]+ steps/s  step [0-9.]+ ms, worst 4\\.00 ms"))) << live[0];
  EXPECT_EQ(live[1], "update 1.00 collisions 0.50 drawing 0.25 paths 0.00 presenting 2.00 ms");
}

// A crowded world has its first 1,000 boxes framed (four corners each), and
// the count line says so.
TEST_F(DebugOverlayTest, FramesAtMostAThousandBoxes) {
  for (int i = 0; i < 1001; i++) new tw_test::Probe("Dot", Vector(static_cast<float>(i % 80), static_cast<float>(i / 80)));
  overlay().setShown(true);
  steps(1);
  int corners = 0;
  for (const tw::DrawItem& item : tw::DisplayManager::getInstance().getFrame().getItems()) {
    corners += item.ch == U'+';
  }
  EXPECT_EQ(corners, 4000);
  EXPECT_NE(overlay().statusLines()[2].find("objects 1001, solid 1001, path searches 0, boxes of the first 1000 framed"),
            std::string::npos) << overlay().statusLines()[2];
}
