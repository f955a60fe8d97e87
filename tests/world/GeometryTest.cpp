#include "engine/world/Geometry.h"

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "engine/world/Box.h"
#include "engine/world/Object.h"
#include "engine/world/Solidness.h"
#include "engine/world/Vector.h"
#include "tests/support/TestSupport.h"

using tw::Box;
using tw::Vector;

namespace {
Box unitBox(float x, float y) { return Box(Vector(x, y), 1, 1); }

// An object outside any world: only its box, position and velocity matter.
class Body : public tw::Object {
 public:
  Body(Vector where, Box relative, Vector velocity) {
    setBox(relative);
    setPosition(where);
    setVelocity(velocity);
  }
};
}  // namespace

TEST(Vector, NormalizeKeepsZeroAndScalesOthersToUnitLength) {
  Vector zero;
  zero.normalize();
  EXPECT_EQ(zero, Vector(0, 0));
  Vector v(3, 4);
  v.normalize();
  EXPECT_FLOAT_EQ(v.getX(), 0.6f);
  EXPECT_FLOAT_EQ(v.getY(), 0.8f);
  EXPECT_FLOAT_EQ(Vector(3, 4).getMagnitude(), 5.0f);
}

TEST(Box, TextForms) {
  EXPECT_EQ(Box().toString(), "(0,0) h: 0 v: 0");
  EXPECT_EQ(Box(Vector(1, 2.5f), 80, 24).toString(), "(1,2.5) h: 80 v: 24");
}

TEST(Solidness, TextForms) {
  EXPECT_EQ(tw::toString(tw::HARD), "hard");
  EXPECT_EQ(tw::toString(tw::SOFT), "soft");
  EXPECT_EQ(tw::toString(tw::SPECTRAL), "spectral");
  EXPECT_EQ(tw::toString(static_cast<tw::Solidness>(7)), "undefined");
}

TEST(Geometry, BoxesSharingAnEdgeOrCornerIntersect) {
  EXPECT_TRUE(tw::boxIntersectsBox(unitBox(0, 0), unitBox(1, 0)));
  EXPECT_TRUE(tw::boxIntersectsBox(unitBox(1, 0), unitBox(0, 0)));
  EXPECT_TRUE(tw::boxIntersectsBox(unitBox(0, 0), unitBox(1, 1)));
  EXPECT_FALSE(tw::boxIntersectsBox(unitBox(0, 0), unitBox(1.01f, 0)));
  EXPECT_FALSE(tw::boxIntersectsBox(unitBox(0, 0), unitBox(0, 1.01f)));
  // Overlap on one axis only is not enough.
  EXPECT_FALSE(tw::boxIntersectsBox(unitBox(0, 0), unitBox(0.5f, 3)));
  // One box wholly inside the other.
  EXPECT_TRUE(tw::boxIntersectsBox(Box(Vector(0, 0), 10, 10), unitBox(4, 4)));
}

TEST(Geometry, ZeroExtentBoxAndPointContainment) {
  const Box point(Vector(5, 5), 0, 0);
  EXPECT_TRUE(tw::boxIntersectsBox(point, unitBox(5, 5)));
  EXPECT_TRUE(tw::boxIntersectsBox(unitBox(5, 5), point));
  EXPECT_TRUE(tw::boxContainsPosition(unitBox(5, 5), Vector(5, 5)));
  EXPECT_TRUE(tw::boxContainsPosition(unitBox(5, 5), Vector(6, 6)));
  EXPECT_FALSE(tw::boxContainsPosition(unitBox(5, 5), Vector(6.01f, 5)));
  EXPECT_FALSE(tw::boxContainsPosition(unitBox(5, 5), Vector(5, 4.99f)));
}

TEST(Geometry, DistanceAndWorldBox) {
  EXPECT_FLOAT_EQ(tw::distance(Vector(1, 1), Vector(4, 5)), 5.0f);
  EXPECT_FLOAT_EQ(tw::distance(Vector(4, 5), Vector(1, 1)), 5.0f);
  tw_test::LogCapture log;
  Body body(Vector(10, 5), Box(Vector(-1, -0.5f), 2, 1), Vector(0, 0));
  EXPECT_EQ(tw::getWorldBox(&body), Box(Vector(9, 4.5f), 2, 1));
  EXPECT_EQ(tw::getWorldBox(&body, Vector(0, 0)), Box(Vector(-1, -0.5f), 2, 1));
}

TEST(Geometry, NormalTellsTheSideTheMoverCameFrom) {
  tw_test::LogCapture log;
  const Box unit(Vector(0, 0), 1, 1);
  Body wall(Vector(10, 10), unit, Vector(0, 0));
  // Rising into the wall from below: the normal points down, towards the mover.
  Body from_below(Vector(10, 11.5f), unit, Vector(0, -1));
  EXPECT_EQ(tw::getNormal(&from_below, &wall), Vector(0, 1));
  Body from_above(Vector(10, 8.5f), unit, Vector(0, 1));
  EXPECT_EQ(tw::getNormal(&from_above, &wall), Vector(0, -1));
  Body from_left(Vector(8.5f, 10), unit, Vector(1, 0));
  EXPECT_EQ(tw::getNormal(&from_left, &wall), Vector(-1, 0));
  Body from_right(Vector(11.5f, 10), unit, Vector(-1, 0));
  EXPECT_EQ(tw::getNormal(&from_right, &wall), Vector(1, 0));
}

TEST(Geometry, NormalOnACornerPrefersSidesThenDiagonals) {
  tw_test::LogCapture log;
  const Box unit(Vector(0, 0), 1, 1);
  Body wall(Vector(10, 10), unit, Vector(0, 0));
  // Standing still exactly on the wall's lower-right corner: touches the box
  // below before the one to the right.
  Body corner(Vector(11, 11), unit, Vector(0, 0));
  EXPECT_EQ(tw::getNormal(&corner, &wall), Vector(0, 1));
  // Well clear of the sides, up and to the right: only the diagonal matches.
  Body diagonal(Vector(11.5f, 8.5f), unit, Vector(0, 0));
  EXPECT_EQ(tw::getNormal(&diagonal, &wall), Vector(1, -1));
}

TEST(Geometry, NormalWithoutContactIsZeroAndLogged) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(1);
  const Box unit(Vector(0, 0), 1, 1);
  Body wall(Vector(10, 10), unit, Vector(0, 0));
  Body far(Vector(30, 20), unit, Vector(0, 0));
  EXPECT_EQ(tw::getNormal(&far, &wall), Vector(0, 0));
  EXPECT_TRUE(log.contains("getNormal(): No collision detected. Returning (0,0)."));
}
