// Box contact (edges and corners count), containment, and the collision
// normal that the avoid-collisions slide relies on.
#include "engine/world/Geometry.h"

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "engine/world/Object.h"
#include "tests/support/TestSupport.h"

using tw::Box;
using tw::Vector;

namespace {
Box unitBox(float x, float y) { return Box(Vector(x, y), 1, 1); }

// An object outside any world: only its box, position and velocity matter.
class Body : public tw::Object {
 public:
  Body(Vector where, Vector velocity, Box relative = unitBox(0, 0)) {
    setBox(relative);
    setPosition(where);
    setVelocity(velocity);
  }
};
}  // namespace

TEST(Geometry, VectorNormalizeKeepsZeroAndScalesOthersToUnitLength) {
  Vector zero;
  zero.normalize();
  EXPECT_EQ(zero, Vector(0, 0));
  Vector v(3, 4);
  v.normalize();
  EXPECT_FLOAT_EQ(v.getX(), 0.6f);
  EXPECT_FLOAT_EQ(v.getY(), 0.8f);
  EXPECT_FLOAT_EQ(tw::distance(Vector(4, 5), Vector(1, 1)), 5.0f);
}

TEST(Geometry, BoxesTouchingOnAnEdgeOrCornerIntersectEitherWayRound) {
  const struct {
    Box a, b;
    bool hit;
  } cases[] = {
      {unitBox(0, 0), unitBox(1, 0), true},        {unitBox(0, 0), unitBox(1, 1), true},
      {unitBox(0, 0), unitBox(1.01f, 0), false},   {unitBox(0, 0), unitBox(0, 1.01f), false},
      {unitBox(0, 0), unitBox(0.5f, 3), false},    // overlap on one axis only
      {Box(Vector(0, 0), 10, 10), unitBox(4, 4), true},  // one inside the other
      {Box(Vector(5, 5), 0, 0), unitBox(5, 5), true},    // a point on a corner
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a.toString() + " / " + c.b.toString());
    EXPECT_EQ(tw::boxIntersectsBox(c.a, c.b), c.hit);
    EXPECT_EQ(tw::boxIntersectsBox(c.b, c.a), c.hit);
  }
  EXPECT_TRUE(tw::boxContainsPosition(unitBox(5, 5), Vector(6, 6)));
  EXPECT_FALSE(tw::boxContainsPosition(unitBox(5, 5), Vector(6.01f, 5)));
  EXPECT_FALSE(tw::boxContainsPosition(unitBox(5, 5), Vector(5, 4.99f)));
  tw_test::LogCapture log;
  Body body(Vector(10, 5), Vector(0, 0), Box(Vector(-1, -0.5f), 2, 1));
  EXPECT_EQ(tw::getWorldBox(&body), Box(Vector(9, 4.5f), 2, 1));
}

TEST(Geometry, NormalPointsToTheSideTheMoverCameFrom) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(1);
  const Body wall(Vector(10, 10), Vector(0, 0));
  const struct {
    Vector where, velocity, normal;
  } cases[] = {
      {Vector(10, 11.5f), Vector(0, -1), Vector(0, 1)},   // rising from below
      {Vector(10, 8.5f), Vector(0, 1), Vector(0, -1)},
      {Vector(8.5f, 10), Vector(1, 0), Vector(-1, 0)},
      {Vector(11.5f, 10), Vector(-1, 0), Vector(1, 0)},
      {Vector(11, 11), Vector(0, 0), Vector(0, 1)},       // on a corner: sides first
      {Vector(11.5f, 8.5f), Vector(0, 0), Vector(1, -1)}, // clear of the sides: diagonal
      {Vector(30, 20), Vector(0, 0), Vector(0, 0)},       // no contact
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where.toString());
    const Body mover(c.where, c.velocity);
    EXPECT_EQ(tw::getNormal(&mover, &wall), c.normal);
  }
  EXPECT_TRUE(log.contains("getNormal(): No collision detected. Returning (0,0)."));
}
