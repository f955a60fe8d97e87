// The whole engine started under the capture presenter from a configuration
// in a temporary folder (log there too), stepped by the test: input queued
// as a player's, frames read back as text. Stopped, every object deleted, at
// the end.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/display/CapturePresenter.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "engine/world/WorldManager.h"
#include "tests/support/EngineFixtures.h"

namespace tw_test {

class CapturedEngine : public ::testing::Test {
 protected:
  // Settings added to the capture presenter's (frame time 0: no pacing).
  virtual std::string extraSettings() const { return ""; }

  void SetUp() override {
    engine = std::make_unique<ConfiguredEngine>(
        "display:capture,networking:false,frame_time:0,random_seed:1," + extraSettings());
    tw::Config::getInstance().reset();
    tw::Config::getInstance().clearOverrides();
    ASSERT_EQ(game().startUp(), 0);
  }
  void TearDown() override {
    if (game().isStarted()) game().shutDown();
  }
  static tw::GameManager& game() { return tw::GameManager::getInstance(); }
  static void steps(int n) {
    for (int i = 0; i < n; i++) game().runStep();
  }
  static void press(tw::platform::Key key, bool release = true) {
    using Type = tw::platform::InputEvent::Type;
    auto& presenter = *dynamic_cast<tw::CapturePresenter*>(tw::DisplayManager::getInstance().getPresenter());
    presenter.pushEvent({Type::KeyPressed, key, tw::platform::MouseButton::Left, 0, 0});
    if (release) presenter.pushEvent({Type::KeyReleased, key, tw::platform::MouseButton::Left, 0, 0});
  }
  static void click(tw::Vector at) {
    using Type = tw::platform::InputEvent::Type;
    auto& presenter = *dynamic_cast<tw::CapturePresenter*>(tw::DisplayManager::getInstance().getPresenter());
    presenter.pushEvent({Type::MouseButtonPressed, tw::platform::Key::Unknown,
                         tw::platform::MouseButton::Left, at.getX(), at.getY()});
  }
  // The last finished frame, characters only.
  static std::string frame() { return tw::DisplayManager::getInstance().snapshot().toText(); }

  std::unique_ptr<ConfiguredEngine> engine;
};

}  // namespace tw_test
