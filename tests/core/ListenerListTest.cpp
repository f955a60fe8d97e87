#include "engine/core/ListenerList.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/Listener.h"

namespace {
struct Named : tw::Listener {
  int eventHandler(const tw::Event*) override { return 0; }
  bool isActive() const override { return true; }
  int getId() const override { return 0; }
  std::string getType() const override { return "Named"; }
};
}  // namespace

// Removals leave gaps that are closed now and then; through all of it the
// members keep their registration order and each is listed once.
TEST(ListenerList, KeepsRegistrationOrderThroughRemovalsAndCompaction) {
  std::vector<Named> all(10);
  tw::ListenerList list;
  for (Named& n : all) EXPECT_TRUE(list.add(&n));
  EXPECT_FALSE(list.add(&all[3]));
  for (int i : {0, 2, 4, 5, 6, 8, 9}) EXPECT_TRUE(list.remove(&all[i]));
  EXPECT_FALSE(list.remove(&all[0]));
  EXPECT_TRUE(list.add(&all[0]));
  EXPECT_EQ(list.members(), (std::vector<tw::Listener*>{&all[1], &all[3], &all[7], &all[0]}));
  EXPECT_TRUE(list.contains(&all[7]));
  EXPECT_FALSE(list.contains(&all[9]));
  for (int i : {1, 3, 7, 0}) list.remove(&all[i]);
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(list.members().empty());
}
