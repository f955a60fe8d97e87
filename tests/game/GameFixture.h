// Veld as its program starts it (tw_test::VeldRun) in a configured engine's
// folder, so that its best score and mute choice land in dir/veld; input is
// queued in the capture presenter as a player makes it, and loop steps play it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core/LogManager.h"
#include "game/Points.h"
#include "game/Runner.h"
#include "game/SaveFile.h"
#include "tests/game/VeldRun.h"
#include "tests/support/EngineFixtures.h"

namespace tw_test {

class GameFixture : public ::testing::Test, public ConfiguredEngine {
 protected:
  using Key = tw::platform::Key;
  using Type = tw::platform::InputEvent::Type;

  GameFixture() : ConfiguredEngine("") {}
  void SetUp() override { restart(); }
  void restart() {
    run.reset();
    run = std::make_unique<VeldRun>(std::vector<std::string>(), veld::SaveFile::defaultFolder());
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

}  // namespace tw_test
