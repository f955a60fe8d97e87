// Veld's keys on every screen, through whole loop steps: Esc or P pause a run
// (nothing moves, spawns, scores or animates; a PAUSED box shows) until Esc or
// P again, and only during a run; Q or closing the window while paused end the
// game; M mutes on every screen and the choice lasts.
#include <gtest/gtest.h>

#include "game/Controls.h"
#include "game/GameStart.h"
#include "tests/game/GameFixture.h"

namespace {

using PK = tw::platform::Key;

class ControlsTest : public tw_test::GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    new veld::Controls;
    new veld::GameStart;
  }
  static bool paused() { return tw::GameManager::getInstance().isPaused(); }
  static std::string lastFrame() { return tw::DisplayManager::getInstance().snapshot().toText(); }
  // Every object's type and position: what moving or spawning changes.
  static std::string positions() {
    const tw::ObjectList all = world().getAllObjects(true);
    std::string text;
    for (int i = 0; i < all.getCount(); i++) {
      text += all[i]->getType() + all[i]->getPosition().toString() + " ";
    }
    return text;
  }
  static void pauseARun(bool start = true) {
    if (start) {
      tap(PK::P);
      loopSteps(40);
      ASSERT_EQ(countOfType("Player"), 1);
      ASSERT_FALSE(paused()) << "the P that starts a run must not pause it";
    }
    tap(PK::Escape);
    loopSteps(2);
    ASSERT_TRUE(paused());
  }
};

TEST_F(ControlsTest, EscPausesARunUntilPOrEscAndNothingChangesMeanwhile) {
  for (PK resume : {PK::P, PK::Escape}) {
    SCOPED_TRACE(static_cast<int>(resume));
    pauseARun(resume == PK::P);
    const int steps = tw::GameManager::getInstance().getStepCount();
    const std::string where = positions();
    const std::string frame = lastFrame();
    EXPECT_NE(frame.find("PAUSED"), std::string::npos) << frame;
    tap(PK::Space);  // ignored while paused
    int changed_frames = 0;
    for (int i = 0; i < 200; i++) {  // past a spawn, several points and animation frames
      loopSteps(1);
      changed_frames += lastFrame() != frame;
    }
    EXPECT_EQ(changed_frames, 0);
    EXPECT_EQ(tw::GameManager::getInstance().getStepCount(), steps);
    EXPECT_EQ(positions(), where);
    tap(resume);
    loopSteps(3);
    EXPECT_FALSE(paused());
    EXPECT_GT(tw::GameManager::getInstance().getStepCount(), steps);
    EXPECT_NE(positions(), where);
    EXPECT_EQ(lastFrame().find("PAUSED"), std::string::npos);
  }
}

TEST_F(ControlsTest, POnTheGameOverScreenReturnsToTheStartWithoutPausing) {
  tap(PK::P);
  loopSteps(5);
  tap(PK::Q);  // the runner gives up
  loopSteps(2);
  ASSERT_EQ(countOfType("GameOver"), 1);
  tap(PK::P);
  loopSteps(2);
  EXPECT_FALSE(paused());
  EXPECT_EQ(countOfType("StartGame"), 1);
  EXPECT_EQ(countOfType(veld::CONTROLS_TYPE), 1);  // survives clearing the world
}

TEST_F(ControlsTest, QuitWhilePausedShutsTheGameDown) {
  pauseARun();
  tap(PK::Q);
  loopSteps(1);
  EXPECT_FALSE(tw::GameManager::getInstance().isStarted());
}

TEST_F(ControlsTest, ClosingTheWindowWhilePausedEndsTheGame) {
  pauseARun();
  tw::platform::InputEvent close;
  close.type = tw::platform::InputEvent::Type::Closed;
  presenter().pushEvent(close);
  loopSteps(1);
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
}

TEST_F(ControlsTest, MMutesOnEveryScreenAndTheChoiceLasts) {
  const std::string file = dir.path() + "/veld/muted";
  tap(PK::M);  // start screen
  loopSteps(2);
  EXPECT_TRUE(veld::Profile::get().isMuted());
  EXPECT_EQ(tw_test::readFile(file), "1\n");
  EXPECT_NE(lastFrame().substr(0, 80).find("MUTED"), std::string::npos);
  pauseARun();
  tap(PK::M);  // while paused
  loopSteps(2);
  EXPECT_FALSE(veld::Profile::get().isMuted());
  EXPECT_EQ(tw_test::readFile(file), "0\n");
  EXPECT_EQ(lastFrame().find("MUTED"), std::string::npos);
  tap(PK::M);
  loopSteps(2);
  veld::Profile::get().load(veld::SaveFile::defaultFolder());  // as the next program run does
  EXPECT_TRUE(veld::Profile::get().isMuted());
}

}  // namespace
