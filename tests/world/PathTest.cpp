// The path value type lives in engine/path; objects follow it (ObjectTest).
#include "engine/world/Path.h"

#include <gtest/gtest.h>

using tw::Vector;

TEST(Path, WalksItsWaypointsAndStopsAtTheEnd) {
  tw::Path path;
  EXPECT_TRUE(path.isDone());
  EXPECT_EQ(path.getCurrent(), Vector(0, 0));
  EXPECT_EQ(path.toString(), "");
  path.addWaypoint(Vector(1, 2));
  path.addWaypoint(Vector(3, 4));
  EXPECT_EQ(path.toString(), "(1,2)|(3,4)|");
  EXPECT_EQ(path.getCurrent(), Vector(1, 2));
  tw::Path after = path.next();
  EXPECT_EQ(after.getCurrent(), Vector(3, 4));
  EXPECT_EQ(path.getIndex(), 1);
  path.next();
  path.next();
  EXPECT_EQ(path.getIndex(), 2);  // never past the number of waypoints
  EXPECT_TRUE(path.isDone());
  EXPECT_EQ(path.getCurrent(), Vector(0, 0));
}
