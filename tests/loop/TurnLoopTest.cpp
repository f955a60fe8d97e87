// Turn-based play under the capture presenter: frames presented only for
// input, a requested redraw or something in motion; a recorded turn-based
// session with two generators of the game's own replays to the same frame.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/RandomGenerator.h"
#include "engine/input/EventKeystroke.h"
#include "engine/input/InputManager.h"
#include "tests/support/CapturedEngine.h"

namespace {

class TurnLoop : public tw_test::CapturedEngine {
 protected:
  std::string extraSettings() const override { return "loop_mode:turns"; }

  static long presented() {
    return dynamic_cast<tw::CapturePresenter*>(tw::DisplayManager::getInstance().getPresenter())
        ->getFrameCount();
  }
  // Starts the engine again on these settings alone (no capture defaults).
  void restart(const std::string& settings) {
    if (game().isStarted()) game().shutDown();
    game().setGameOver(false);
    engine.reset();  // its environment goes before the next one's is set
    engine = std::make_unique<tw_test::ConfiguredEngine>(
        "display:capture,networking:false,frame_time:0," + settings);
    tw::Config::getInstance().reset();
    ASSERT_EQ(game().startUp(), 0);
  }
};

// Frames presented over `count` loop iterations.
long presentedOver(int count, long (*presented)()) {
  const long before = presented();
  for (int i = 0; i < count; i++) tw::GameManager::getInstance().runStep();
  return presented() - before;
}

TEST_F(TurnLoop, PresentsFramesOnlyForInputARequestOrMotion) {
  ASSERT_TRUE(game().isTurnBased());
  EXPECT_EQ(presentedOver(1, presented), 1);  // the first frame
  EXPECT_EQ(presentedOver(30, presented), 0);
  EXPECT_EQ(game().getStepCount(), 1);
  press(tw::platform::Key::A);
  EXPECT_EQ(presentedOver(10, presented), 1);
  game().requestRedraw();
  EXPECT_EQ(presentedOver(10, presented), 1);
  auto* p_mover = new tw_test::Probe("Mover", tw::Vector(5, 5));  // owned by the world
  p_mover->setVelocity(tw::Vector(0.5f, 0));
  EXPECT_EQ(presentedOver(6, presented), 6);
  p_mover->setVelocity(tw::Vector(0, 0));
  EXPECT_EQ(presentedOver(6, presented), 0);  // its last move was shown
  EXPECT_EQ(game().getStepCount(), 9);
  game().setTurnBased(false);
  EXPECT_EQ(presentedOver(4, presented), 4);  // the frame loop presents each one
}

// Each keystroke puts a letter where one generator says, chosen by the other;
// the step count is drawn too, so a replay in the other loop mode would differ.
class Scatter : public tw::Object {
 public:
  Scatter()
      : where(tw::RandomGenerator::fromEngineSeed(1)), which(tw::RandomGenerator::fromEngineSeed(2)) {
    registerInterest(tw::KEYSTROKE_EVENT);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->as<tw::EventKeystroke>() == nullptr) return 0;
    letters.push_back({where.getInt(0, 79), where.getInt(1, 23), static_cast<char>(which.getInt('a', 'z'))});
    return 1;
  }
  int draw() override {
    tw::DisplayManager& display = tw::DisplayManager::getInstance();
    display.drawString(tw::Vector(0, 0), "step " + std::to_string(tw::GameManager::getInstance().getStepCount()),
                       tw::JUSTIFY_LEFT, tw::WHITE);
    for (const Letter& l : letters) display.drawCharacter(tw::Vector(l.x, l.y), l.ch, tw::GREEN);
    return 0;
  }

 private:
  struct Letter {
    int x, y;
    char ch;
  };
  tw::RandomGenerator where, which;
  std::vector<Letter> letters;
};

TEST_F(TurnLoop, RecordedSessionWithTwoGeneratorsReplaysToTheSameFrame) {
  tw_test::TempDir dir;
  const std::string file = dir.file("turns.rec");
  restart("loop_mode:turns,random_seed:7,record_file:" + file);
  new Scatter;  // owned by the world
  for (const auto key : {tw::platform::Key::A, tw::platform::Key::B, tw::platform::Key::C}) {
    press(key);
    steps(4);
  }
  game().setGameOver();
  steps(1);
  const std::string recorded = frame();
  ASSERT_NE(recorded.find("step 2"), std::string::npos) << recorded;  // the third key's step
  restart("random_seed:8,replay_file:" + file);  // the recording's seed and mode win
  EXPECT_TRUE(game().isTurnBased());
  new Scatter;
  for (int i = 0; i < 100 && !game().getGameOver(); i++) game().runStep();
  EXPECT_EQ(frame(), recorded);
}

}  // namespace
