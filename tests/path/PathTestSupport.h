// Objects and a fixture for the path tests: a started 80 x 24 world and path
// manager with the log captured, walls that block one cell each, and a walker
// that records the path results it receives and then lets the base class act.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/world/EventPath.h"
#include "engine/path/PathFind.h"
#include "engine/path/PathManager.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"

namespace tw_test {

class Wall : public tw::Object {
 public:
  explicit Wall(tw::Vector where) {
    setType("Wall");
    setPosition(where);
  }
};

class Walker : public tw::Object {
 public:
  explicit Walker(tw::Vector where) {
    setType("Walker");
    setPosition(where);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (const auto* p_path = dynamic_cast<const tw::EventPath*>(p_e)) {
      results.push_back(p_path->getResult());
      paths.push_back(p_path->getPath().toString());
    }
    if (p_e->getType() == "tw-collision") collisions++;
    const int handled = Object::eventHandler(p_e);
    // A copy, since the action may destroy this object (and its members).
    const std::function<void()> action = on_path;
    if (action && p_e->getType() == tw::PATH_EVENT) action();
    return handled;
  }
  std::vector<int> results;
  std::vector<std::string> paths;
  int collisions = 0;
  std::function<void()> on_path;
};

// Runs a search until it ends (or max expansions); returns the last result.
inline int runSearch(tw::PathFind& search, int max = 100000) {
  int result = tw::PATH_SEARCHING;
  for (int i = 0; i < max && result == tw::PATH_SEARCHING; i++) result = search.cycleOnce();
  return result;
}

class PathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(world().startUp(), 0);
    world().setBoundary(tw::Box(tw::Vector(0, 0), 80, 24));
    ASSERT_EQ(paths().startUp(), 0);
  }
  void TearDown() override {
    if (world().isStarted()) world().shutDown();
    if (paths().isStarted()) paths().shutDown();
  }
  static tw::WorldManager& world() { return tw::WorldManager::getInstance(); }
  static tw::PathManager& paths() { return tw::PathManager::getInstance(); }
  // Walls on every cell from (x0, y0) to (x1, y1), both ends included.
  static void wallLine(int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; y++) {
      for (int x = x0; x <= x1; x++) new Wall(tw::Vector(x, y));
    }
  }

  LogCapture log;
};

}  // namespace tw_test
