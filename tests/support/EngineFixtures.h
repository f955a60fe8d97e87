// Fixtures shared by the suites: a started 80 x 24 world (with the display on
// no presenter and the log captured), an engine started from a configuration
// file in a temporary folder, and a probe object that records what it gets.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/world/EventCollision.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"

namespace tw_test {

// Records the event types it receives (and collision partners); can run an
// action from its handler, its destructor or its draw.
class Probe : public tw::Object {
 public:
  explicit Probe(std::string name = "Probe", tw::Vector where = tw::Vector(1, 1)) {
    setType(name);
    setPosition(where);
  }
  ~Probe() override {
    if (on_destroy) on_destroy();
  }
  int eventHandler(const tw::Event* p_e) override {
    received.push_back(p_e->getType());
    if (const auto* p_c = dynamic_cast<const tw::EventCollision*>(p_e)) {
      met.push_back(p_c->getObject1() == this ? p_c->getObject2() : p_c->getObject1());
    }
    if (on_event) on_event(p_e);
    return 1;
  }
  int draw() override {
    if (on_draw) on_draw();
    return 0;
  }
  int count(const std::string& type) const {
    int n = 0;
    for (const std::string& t : received) n += (t == type);
    return n;
  }

  std::vector<std::string> received;
  std::vector<tw::Object*> met;  // collision partners, in event order
  std::function<void(const tw::Event*)> on_event;
  std::function<void()> on_destroy;
  std::function<void()> on_draw;
};

// A started world of 80 x 24 cells (boundary and view) over a display with no
// presenter, the log captured; both stopped (every object deleted) at the end.
class WorldFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    tw::Config::getInstance().loadConfig("headless:true");
    ASSERT_EQ(tw::DisplayManager::getInstance().startUp(), 0);
    ASSERT_EQ(world().startUp(), 0);
    world().setBoundary(tw::Box(tw::Vector(0, 0), 80, 24));
    world().setView(tw::Box(tw::Vector(0, 0), 80, 24));
  }
  void TearDown() override {
    if (world().isStarted()) world().shutDown();
    if (tw::DisplayManager::getInstance().isStarted()) tw::DisplayManager::getInstance().shutDown();
  }
  static tw::WorldManager& world() { return tw::WorldManager::getInstance(); }
  static tw::SceneGraph& graph() { return world().getSceneGraph(); }
  static void logLevel(int level) { tw::LogManager::getInstance().setLogLevel(level); }

  LogCapture log;
};

// The engine's environment for a program started from a configuration file:
// TARNWICK_CONFIG holds settings, TARNWICK_LOG points into the same temporary
// folder, and XDG_DATA_HOME is that folder too.
class ConfiguredEngine {
 public:
  explicit ConfiguredEngine(const std::string& settings)
      : config_env("TARNWICK_CONFIG", dir.write("tw-config.txt", settings).c_str()),
        log_env("TARNWICK_LOG", dir.file("game.log").c_str()),
        data_env("XDG_DATA_HOME", dir.path().c_str()) {}
  std::vector<std::string> logLines() const { return readLines(dir.file("game.log")); }
  bool logHas(const std::string& text) const { return fileContains(dir.file("game.log"), text); }

  TempDir dir;

 private:
  ScopedEnv config_env;
  ScopedEnv log_env;
  ScopedEnv data_env;
};

}  // namespace tw_test
