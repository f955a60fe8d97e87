// Objects and a fixture for the world tests: a started world of 80 x 24 cells
// with the log captured, and objects that record what they receive and can
// run an action from their handler, their destructor or their draw.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/LogManager.h"
#include "engine/core/ObjectList.h"
#include "engine/world/EventCollision.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"

namespace tw_test {

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

inline bool listHas(const tw::ObjectList& list, const tw::Object* p_o) {
  for (int i = 0; i < list.getCount(); i++) {
    if (list[i] == p_o) return true;
  }
  return false;
}

// A started world with the log captured; stopped (deleting every object) at the end.
class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tw::WorldManager& world = tw::WorldManager::getInstance();
    ASSERT_EQ(world.startUp(), 0);
    world.setBoundary(tw::Box(tw::Vector(0, 0), 80, 24));
    world.setView(tw::Box(tw::Vector(0, 0), 80, 24));
  }
  void TearDown() override {
    if (world().isStarted()) world().shutDown();
  }
  tw::WorldManager& world() { return tw::WorldManager::getInstance(); }
  tw::SceneGraph& graph() { return world().getSceneGraph(); }
  void logLevel(int level) { tw::LogManager::getInstance().setLogLevel(level); }

  LogCapture log;
};

}  // namespace tw_test
