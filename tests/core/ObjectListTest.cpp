// The object list (slots that grow, and shift from whichever end is nearer on
// removal), its copies and sums, and its iterator.
#include "engine/core/ObjectList.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "engine/core/ObjectListIterator.h"
#include "tests/support/EngineFixtures.h"

using tw::ObjectList;
using Items = std::vector<const tw::Object*>;

// The list's items by index, checked against a walk with an iterator.
static Items items(const ObjectList& list) {
  Items out, walked;
  for (int i = 0; i < list.getCount(); i++) out.push_back(list[i]);
  tw::ObjectListIterator it(&list);
  for (; !it.isDone(); it.next()) walked.push_back(it.currentObject());
  it.next();  // stays at the end
  EXPECT_EQ(it.currentObject(), nullptr);
  it.first();
  EXPECT_EQ(it.currentObject(), out.empty() ? nullptr : out[0]);
  EXPECT_EQ(walked, out);
  return out;
}

TEST(ObjectList, KeepsOrderThroughGrowthAndRemovalsAtEitherEnd) {
  tw_test::Probe o[12];
  ObjectList list;
  EXPECT_EQ(list.insert(nullptr), -1);
  EXPECT_EQ(list.remove(&o[0]), -1);  // empty
  for (int i = 0; i < 8; i++) ASSERT_EQ(list.insert(&o[i]), 0);
  EXPECT_EQ(list.remove(&o[11]), -1);
  for (int i : {1, 0, 2, 3, 4}) ASSERT_EQ(list.remove(&o[i]), 0) << i;
  EXPECT_EQ(items(list), (Items{&o[5], &o[6], &o[7]}));
  ASSERT_TRUE(list.reserve(2));  // already room: nothing moves
  ASSERT_TRUE(list.reserve(40));
  EXPECT_EQ(items(list), (Items{&o[5], &o[6], &o[7]}));
  ASSERT_EQ(list.remove(&o[7]), 0);
  for (int i = 8; i < 12; i++) ASSERT_EQ(list.insert(&o[i]), 0);  // room freed at the front
  EXPECT_EQ(items(list), (Items{&o[5], &o[6], &o[8], &o[9], &o[10], &o[11]}));
  for (int i : {10, 5, 11, 6, 8, 9}) ASSERT_EQ(list.remove(&o[i]), 0) << i;
  EXPECT_TRUE(list.isEmpty());
  list.insert(&o[3]);
  list.clear();  // and usable again
  list.insert(&o[4]);
  EXPECT_EQ(items(list), Items{&o[4]});
  EXPECT_THROW((void)list[-1], std::out_of_range);
  EXPECT_THROW((void)list[1], std::out_of_range);
}

TEST(ObjectList, CopiesAndSumsAreIndependentOfTheirSources) {
  tw_test::Probe a, b, c;
  ObjectList list;
  for (tw::Object* p : {&c, &a, &c}) list.insert(p);
  list.remove(&c);  // the first c; the copy must start at the first live slot
  ObjectList copy(list);
  copy.insert(&b);
  ObjectList assigned;
  assigned = copy;
  assigned.remove(&a);
  assigned = assigned;
  EXPECT_EQ(items(list), (Items{&a, &c}));
  EXPECT_EQ(items(copy), (Items{&a, &c, &b}));
  EXPECT_EQ(items(assigned), (Items{&c, &b}));
  EXPECT_EQ(items(list + copy), (Items{&a, &c, &a, &c, &b}));
  EXPECT_EQ(items(list), (Items{&a, &c}));
  ObjectList moved(std::move(copy));
  assigned = std::move(moved);
  EXPECT_EQ(items(assigned), (Items{&a, &c, &b}));
  EXPECT_TRUE(copy.isEmpty());
  EXPECT_TRUE(moved.isEmpty());
  moved.insert(&a);  // and usable again
  EXPECT_EQ(items(moved), Items{&a});
}
