// A started engine drawing into the capture presenter (nothing shown), with
// the game's resources loaded and its data folder in a temporary folder, and
// helpers to drive it frame by frame without the real-time loop: step events,
// then the world update, as the game loop orders them; a shot draws the world
// and reads the frame back as text. Whole loop steps (frame time 0) take
// input queued in the capture presenter.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/display/CapturePresenter.h"
#include "engine/display/DisplayManager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/EventMouse.h"
#include "engine/input/InputManager.h"
#include "engine/world/WorldManager.h"
#include "game/Profile.h"
#include "game/Resources.h"
#include "game/SaveFile.h"
#include "tests/support/TestSupport.h"

namespace tw_test {

class GameFixture : public ::testing::Test {
 protected:
  GameFixture()
      : config_env("TARNWICK_CONFIG",
                   dir.write("tw-config.txt",
                             "display:capture,networking:false,random_seed:11,frame_time:0")
                       .c_str()),
        log_env("TARNWICK_LOG", dir.file("game.log").c_str()),
        data_env("XDG_DATA_HOME", dir.path().c_str()) {}

  void SetUp() override {
    ASSERT_EQ(tw::GameManager::getInstance().startUp(), 0);
    tw::LogManager::getInstance().setFlush(true);
    veld::loadResources();
    veld::Profile::get().load(veld::SaveFile::defaultFolder());
  }

  void TearDown() override {
    tw::GameManager& game = tw::GameManager::getInstance();
    if (!game.isStarted()) return;
    const tw::ObjectList all = world().getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++) world().markForDelete(all[i]);
    game.shutDown();
  }

  static tw::WorldManager& world() { return tw::WorldManager::getInstance(); }

  // One frame: the step event to its listeners, then the world update.
  void frame() {
    const tw::EventStep step(step_count++);
    tw::GameManager::getInstance().onEvent(&step);
    world().update();
  }
  void frames(int n) {
    for (int i = 0; i < n; i++) frame();
  }
  // Draws the world, finishes the frame and returns it as rows of text.
  static std::string shot() {
    world().draw();
    tw::DisplayManager::getInstance().swapBuffers();
    return tw::DisplayManager::getInstance().snapshot().toText();
  }

  // Whole steps of the game loop, input from the capture presenter.
  static void loopSteps(int n) {
    for (int i = 0; i < n; i++) tw::GameManager::getInstance().runStep();
  }
  // A key pressed and released, arriving at the next loop step.
  static void tap(tw::platform::Key k) {
    tw::platform::InputEvent e;
    e.key = k;
    e.type = tw::platform::InputEvent::Type::KeyPressed;
    presenter().pushEvent(e);
    e.type = tw::platform::InputEvent::Type::KeyReleased;
    presenter().pushEvent(e);
  }
  static tw::CapturePresenter& presenter() {
    return *dynamic_cast<tw::CapturePresenter*>(tw::DisplayManager::getInstance().getPresenter());
  }

  static void key(tw::Keyboard::Key k, tw::KeyboardAction action) {
    tw::EventKeyboard e;
    e.setKey(k);
    e.setKeyboardAction(action);
    tw::InputManager::getInstance().onEvent(&e);
  }
  static void mouse(tw::MouseAction action, tw::Mouse::Button button, tw::Vector where) {
    tw::EventMouse e;
    e.setMouseAction(action);
    e.setMouseButton(button);
    e.setMousePosition(where);
    tw::InputManager::getInstance().onEvent(&e);
  }

  // Active objects of one type.
  static int countOfType(const std::string& type, bool also_inactive = false) {
    const tw::ObjectList all = world().getAllObjects(also_inactive);
    int n = 0;
    for (int i = 0; i < all.getCount(); i++) n += all[i]->getType() == type;
    return n;
  }
  static tw::Object* firstOfType(const std::string& type) {
    const tw::ObjectList all = world().getAllObjects();
    for (int i = 0; i < all.getCount(); i++) {
      if (all[i]->getType() == type) return all[i];
    }
    return nullptr;
  }
  bool logHas(const std::string& text) const { return fileContains(dir.file("game.log"), text); }

  TempDir dir;
  ScopedEnv config_env;
  ScopedEnv log_env;
  ScopedEnv data_env;
  int step_count = 0;
};

}  // namespace tw_test
