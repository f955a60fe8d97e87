// The scene graph's list: insertion order through removals at the front, in the middle
// and at the back, and through the compaction that a sparse list goes through.
#include "engine/world/OrderedObjectSet.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/world/WorldTestSupport.h"

using tw_test::Probe;

namespace {
class OrderedObjectSetTest : public tw_test::WorldTest {};
}  // namespace

TEST_F(OrderedObjectSetTest, KeepsInsertionOrderThroughRemovalsAndCompaction) {
  tw::OrderedObjectSet set(tw::ListKind::INACTIVE);  // a kind no list of the world holds them in
  std::vector<Probe*> kept;
  for (int i = 0; i < 100; i++) {
    auto* p = new Probe;
    ASSERT_EQ(set.insert(p), 0);
    kept.push_back(p);
  }
  // The last, two in every three and the first ten go, back to front,
  // leaving the list sparse enough to be compacted on the way.
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
  for (Probe* p : kept) EXPECT_EQ(set.remove(p), 0);
  EXPECT_TRUE(set.isEmpty());
}
