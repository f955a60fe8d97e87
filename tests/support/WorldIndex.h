// The started world and a grid of its own over it, for the tests of the grid
// and the scene graph: spectral boxes (which the world's own grid leaves out)
// and a description of the world's lists an object is in.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/world/Grid.h"
#include "engine/world/SceneGraph.h"
#include "tests/support/EngineFixtures.h"

namespace tw_test {

inline bool has(const tw::ObjectList& list, const tw::Object* p_o) {
  for (int i = 0; i < list.getCount(); i++) {
    if (list[i] == p_o) return true;
  }
  return false;
}

inline tw::Box unitBox(float x, float y) { return tw::Box(tw::Vector(x, y), 1, 1); }

// The started world, and a grid of its own over it (buckets of 20 x 8).
class WorldIndex : public tw_test::WorldFixture {
 protected:
  void SetUp() override {
    WorldFixture::SetUp();
    ASSERT_EQ(grid.startUp(), 0);
  }
  // A spectral object (left out of the world's own grid) with its box corner
  // at corner, the given extent and velocity.
  static Probe* box(tw::Vector corner, float h, float v, tw::Vector velocity = tw::Vector(0, 0)) {
    auto* p = new Probe("Box", corner);
    p->setSolidness(tw::SPECTRAL);
    p->setBox(tw::Box(tw::Vector(0, 0), h, v));
    p->setVelocity(velocity);
    return p;
  }
  // The world's lists p is in, e.g. "active solid grid alt2 typed"; "grid"
  // only when listed in exactly the cells its box covers, else "grid?".
  static std::string lists(const tw::Object* p) {
    std::string s;
    if (has(graph().activeObjects(), p)) s += "active ";
    if (has(graph().inactiveObjects(), p)) s += "inactive ";
    if (has(graph().solidObjects(), p)) s += "solid ";
    const tw::Grid& world_grid = graph().getGrid();
    const tw::BucketSet covered = world_grid.getCells(p, p->getPosition());
    size_t listed = 0, right = 0;
    for (int y = -1; y < world_grid.getNumRows(); y++) {
      for (int x = (y < 0 ? -1 : 0); x < (y < 0 ? 0 : world_grid.getNumCols()); x++) {
        const bool in = has(world_grid.getCellObjects({x, y}), p);
        listed += in;
        right += in && covered.count({x, y}) != 0;
      }
    }
    if (listed > 0) s += listed == right && right == covered.size() ? "grid " : "grid? ";
    for (int a = 0; a <= tw::MAX_ALTITUDE; a++) {
      if (has(graph().visibleObjects(a), p)) s += "alt" + std::to_string(a) + " ";
    }
    if (has(graph().objectsOfType(p->getType()), p)) s += "typed ";
    if (!s.empty()) s.pop_back();
    return s;
  }
  tw::Grid grid;  // started by SetUp
};

}  // namespace tw_test
