// A bucket's list of grid entries: insertion order through growth past the entries kept
// inline, removals and the move back inline; each entry keeps its box and HARD bit.
#include "engine/world/BucketList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tw::BucketList;
using tw::GridEntry;

namespace {
// Stand-ins for objects: the list compares addresses only, never reads them.
alignas(16) char places[64][16];
tw::Object* object(int i) { return reinterpret_cast<tw::Object*>(places[i]); }

std::string contents(const BucketList& list) {
  std::string s;
  for (const GridEntry& entry : list) {
    const auto i = (reinterpret_cast<char*>(entry.object()) - places[0]) / 16;
    s += std::to_string(i) + (entry.isHard() ? "H" : "s") +
         std::to_string(static_cast<int>(entry.box.getHorizontal())) + " ";
  }
  return s;
}
}  // namespace

// Entry i is HARD when i is even and its box is i wide. Of the first
// removed_below entries, those whose number is not a multiple of 3 leave;
// one entry then turns SOFT through find.
TEST(BucketList, KeepsOrderBoxesAndHardnessThroughGrowthAndRemoval) {
  for (int appended : {1, 12, 13, 40}) {
    for (int removed_below : {0, 7, appended}) {
      SCOPED_TRACE(std::to_string(appended) + " appended, removed below " + std::to_string(removed_below));
      BucketList list;
      for (int i = 0; i < appended; i++) {
        const tw::Box box(tw::Vector(0, 0), static_cast<float>(i), 1);
        ASSERT_TRUE(list.append(GridEntry(object(i), box, i % 2 == 0)));
      }
      for (int i = 0; i < removed_below && i < appended; i++) {
        if (i % 3 != 0) list.remove(object(i));
      }
      list.find(object(0))->setHard(false);
      std::string expected;
      for (int i = 0; i < appended; i++) {
        if (i < removed_below && i % 3 != 0) continue;
        expected += std::to_string(i) + (i % 2 == 0 && i != 0 ? "H" : "s") + std::to_string(i) + " ";
      }
      EXPECT_EQ(contents(list), expected);
    }
  }
}
