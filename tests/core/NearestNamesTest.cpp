// The closest known names to a mistyped one, by edit distance.
#include "engine/core/NearestNames.h"

#include <gtest/gtest.h>

TEST(NearestNames, DistanceCountsEditsAndTheClosestComeFirst) {
  const struct {
    const char* a;
    const char* b;
    std::size_t distance;
  } pairs[] = {{"", "", 0}, {"rock", "rock", 0}, {"rokc", "rock", 2}, {"", "ship", 4},
               {"shipp", "ship", 1}, {"kitten", "sitting", 3}, {"hunter", "rokc", 6}};
  for (const auto& p : pairs) {
    SCOPED_TRACE(std::string(p.a) + " / " + p.b);
    EXPECT_EQ(tw::editDistance(p.a, p.b), p.distance);
    EXPECT_EQ(tw::editDistance(p.b, p.a), p.distance);
  }
  const std::vector<std::string> loaded = {"hunter", "ship", "rock", "rocks"};
  EXPECT_EQ(tw::joinNames(tw::nearestNames("rokc", loaded, 3)), "rock, rocks, ship");
  EXPECT_EQ(tw::joinNames(tw::nearestNames("x", loaded, 9)), "ship, rock, rocks, hunter");
  EXPECT_EQ(tw::joinNames(tw::nearestNames("x", {}, 3)), "");
}
