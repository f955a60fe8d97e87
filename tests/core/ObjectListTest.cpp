#include "engine/core/ObjectList.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "engine/core/ObjectListIterator.h"
#include "tests/support/CoreTestObjects.h"

using tw::ObjectList;
using tw_test::RecordingObject;

TEST(ObjectList, GrowsPastItsFirstSlotAndKeepsOrder) {
  RecordingObject a, b, c, d, e;
  ObjectList list;
  for (tw::Object* p : {&a, &b, &c, &d, &e}) ASSERT_EQ(list.insert(p), 0);
  ASSERT_EQ(list.getCount(), 5);
  EXPECT_EQ(list[0], &a);
  EXPECT_EQ(list[4], &e);
}

TEST(ObjectList, RefusesNullAndMissingPointers) {
  RecordingObject a, b;
  ObjectList list;
  EXPECT_EQ(list.insert(nullptr), -1);
  EXPECT_EQ(list.remove(&a), -1);  // empty
  list.insert(&a);
  EXPECT_EQ(list.remove(&b), -1);
  EXPECT_EQ(list.getCount(), 1);
}

TEST(ObjectList, RemoveTakesFirstOccurrenceAndKeepsOrder) {
  RecordingObject a, b, c;
  ObjectList list;
  for (tw::Object* p : {&a, &b, &c, &b}) list.insert(p);
  ASSERT_EQ(list.remove(&b), 0);
  ASSERT_EQ(list.getCount(), 3);
  EXPECT_EQ(list[0], &a);
  EXPECT_EQ(list[1], &c);
  EXPECT_EQ(list[2], &b);
  list.remove(&a);
  list.remove(&c);
  list.remove(&b);
  EXPECT_TRUE(list.isEmpty());
}

TEST(ObjectList, IndexOutsideTheListThrowsInvalidIndex) {
  RecordingObject a;
  ObjectList list;
  list.insert(&a);
  try {
    (void)list[1];
    FAIL() << "no exception";
  } catch (const std::out_of_range& e) {
    EXPECT_EQ(std::string(e.what()), "Invalid index!");
  }
  EXPECT_THROW((void)list[-1], std::out_of_range);
}

TEST(ObjectList, CopiesAreIndependent) {
  RecordingObject a, b;
  ObjectList list;
  list.insert(&a);
  ObjectList copy(list);
  copy.insert(&b);
  ObjectList assigned;
  assigned = copy;
  assigned.remove(&a);
  assigned = assigned;  // self-assignment keeps the list
  EXPECT_EQ(list.getCount(), 1);
  EXPECT_EQ(copy.getCount(), 2);
  ASSERT_EQ(assigned.getCount(), 1);
  EXPECT_EQ(assigned[0], &b);
}

TEST(ObjectList, PlusAppendsTheOtherList) {
  RecordingObject a, b, c;
  ObjectList left, right;
  left.insert(&a);
  right.insert(&b);
  right.insert(&c);
  ObjectList sum = left + right;
  ASSERT_EQ(sum.getCount(), 3);
  EXPECT_EQ(sum[0], &a);
  EXPECT_EQ(sum[2], &c);
  EXPECT_EQ(left.getCount(), 1);
}

TEST(ObjectList, ClearKeepsTheListUsable) {
  RecordingObject a;
  ObjectList list;
  list.insert(&a);
  list.clear();
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.insert(&a), 0);
  EXPECT_EQ(list.getCount(), 1);
}

TEST(ObjectListIterator, WalksEveryItemAndStopsAtTheEnd) {
  RecordingObject a, b;
  ObjectList list;
  list.insert(&a);
  list.insert(&b);
  tw::ObjectListIterator it(&list);
  EXPECT_EQ(it.currentObject(), &a);
  it.next();
  EXPECT_EQ(it.currentObject(), &b);
  it.next();
  EXPECT_TRUE(it.isDone());
  it.next();  // stays at the end
  EXPECT_TRUE(it.isDone());
  EXPECT_EQ(it.currentObject(), nullptr);
  it.first();
  EXPECT_EQ(it.currentObject(), &a);
}

TEST(ObjectList, KeepsOrderThroughRemovalsAtEitherEndAndLaterGrowth) {
  RecordingObject o[12];
  ObjectList list;
  for (int i = 0; i < 8; i++) list.insert(&o[i]);
  for (int i = 0; i < 5; i++) ASSERT_EQ(list.remove(&o[i]), 0);
  ASSERT_EQ(list.remove(&o[7]), 0);
  for (int i = 8; i < 12; i++) ASSERT_EQ(list.insert(&o[i]), 0);  // room freed at the front
  const tw::Object* expected[] = {&o[5], &o[6], &o[8], &o[9], &o[10], &o[11]};
  const ObjectList copy(list);
  ASSERT_EQ(copy.getCount(), 6);
  for (int i = 0; i < 6; i++) EXPECT_EQ(copy[i], expected[i]) << i;
  EXPECT_EQ(tw::ObjectListIterator(&list).currentObject(), &o[5]);
}
