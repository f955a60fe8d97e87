// The scene graph: its ordered lists keep insertion order, and every setter
// leaves an object in exactly the lists (and grid buckets) its state asks for.
#include "engine/world/SceneGraph.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/world/OrderedObjectSet.h"
#include "tests/support/WorldIndex.h"

using tw::Box;
using tw::Vector;
using tw_test::Probe;

namespace {
using SceneGraphTest = tw_test::WorldIndex;
}  // namespace

// The scene graph's lists keep insertion order through removals at the
// front, in the middle and at the back, and through compaction.
TEST_F(SceneGraphTest, OrderedSetKeepsInsertionOrderThroughRemovalsAndCompaction) {
  tw::OrderedObjectSet set(tw::ListKind::INACTIVE);  // a kind no list of the world holds them in
  std::vector<Probe*> kept;
  for (int i = 0; i < 100; i++) {
    kept.push_back(new Probe);
    ASSERT_EQ(set.insert(kept.back()), 0);
  }
  // The last, two in every three and the first ten go, back to front.
  for (size_t i = kept.size(); i-- > 0;) {
    if (i >= 10 && i % 3 == 0 && i != 99) continue;
    EXPECT_EQ(set.remove(kept[i]), 0);
    EXPECT_EQ(set.remove(kept[i]), -1);
    kept.erase(kept.begin() + static_cast<long>(i));
  }
  EXPECT_EQ(set.insert(kept[0]), -1);  // still there
  const tw::ObjectList list = set.toList();
  ASSERT_EQ(list.getCount(), static_cast<int>(kept.size()));
  for (size_t i = 0; i < kept.size(); i++) EXPECT_EQ(list[static_cast<int>(i)], kept[i]) << i;
}
// Also refused values, and a type changed while inactive (logged, but taken).
TEST_F(SceneGraphTest, EverySetterLeavesTheObjectInExactlyItsLists) {
  auto* other = new Probe("Rock", Vector(50, 10));
  auto* p = new Probe("Rock", Vector(30, 10));
  const std::string all = "active solid grid alt2 typed";
  const struct {
    const char* what;
    std::function<void()> change;
    std::string lists;
  } steps[] = {
      {"new", [] {}, all},
      {"refused", [p] { p->setAltitude(5), p->setAltitude(-1), p->setSolidness(tw::Solidness(3)); }, all},
      {"spectral", [p] { p->setSolidness(tw::SPECTRAL); }, "active alt2 typed"},
      {"soft", [p] { p->setSolidness(tw::SOFT); }, all},
      {"hard", [p] { p->setSolidness(tw::HARD); }, all},  // no second entry
      {"inactive", [p] { p->setActive(false); }, "inactive"},
      {"typed while inactive", [p] { p->setType("Chick"); }, "inactive"},
      {"active", [p] { p->setActive(true); }, all},
      {"altitude 4", [p] { p->setAltitude(4); }, "active solid grid alt4 typed"},
      {"invisible", [p] { p->setVisible(false); }, "active solid grid typed"},
      {"altitude 3", [p] { p->setAltitude(3); }, "active solid grid typed"},
      {"visible", [p] { p->setVisible(true); }, "active solid grid alt3 typed"},
      {"moved", [p] { p->setPosition(Vector(45, 5)); }, "active solid grid alt3 typed"},
      {"wide box", [p] { p->setBox(Box(Vector(-25, 0), 50, 1)); }, "active solid grid alt3 typed"},
  };
  for (const auto& step : steps) {
    step.change();
    EXPECT_EQ(lists(p), step.lists) << step.what;
    EXPECT_EQ(lists(other), all) << step.what;
  }
  EXPECT_EQ(graph().solidObjects().getCount(), 2);
  EXPECT_EQ(graph().objectsOfType("Rock").getCount(), 1);
  EXPECT_EQ(graph().visibleObjects(7).getCount(), 0);
  EXPECT_EQ(graph().getGrid().getCells(p, p->getPosition()).size(), 3u);  // spans three columns
  ASSERT_EQ(graph().activeObjects().getCount(), 2);
  EXPECT_EQ(graph().activeObjects()[1], p);  // re-activated objects come last
}
