#include "engine/world/Geometry.h"

#include <cmath>

#include "engine/core/LogManager.h"
#include "engine/world/Object.h"

namespace tw {

namespace {
// The last position, found by bisecting the mover's velocity over seven
// passes, at which the mover's box does not touch the obstacle's box.
Vector lastSafePosition(const Object* p_mover, const Box& obstacle) {
  const Vector position = p_mover->getPosition();
  Vector safe = position;
  Vector step = p_mover->getVelocity();
  float fraction = 0.5f;
  for (int pass = 1; pass <= 7; pass++) {
    // The step keeps its scaled value into the next pass on purpose.
    step.scale(fraction);
    const Vector trial = position + step;
    const float adjustment = static_cast<float>(std::pow(0.5, pass));
    if (boxIntersectsBox(getWorldBox(p_mover, trial), obstacle)) {
      fraction -= adjustment;
    } else {
      fraction += adjustment;
      safe = trial;
    }
  }
  return safe;
}
}  // namespace

float distance(const Vector& p1, const Vector& p2) {
  const float dx = std::fabs(p1.getX() - p2.getX());
  const float dy = std::fabs(p1.getY() - p2.getY());
  return std::sqrt(dx * dx + dy * dy);
}

Vector getNormal(const Object* p_mover, const Object* p_obstacle) {
  const Box o = getWorldBox(p_obstacle);
  const Box m = getWorldBox(p_mover, lastSafePosition(p_mover, o));
  const float x = o.getCorner().getX();
  const float y = o.getCorner().getY();
  const float h = o.getHorizontal();
  const float v = o.getVertical();
  // Neighbour boxes in the order that breaks ties: sides before diagonals,
  // above before below, left before right.
  struct Neighbour {
    float x, y, nx, ny;
  };
  const Neighbour neighbours[] = {
      {x, y - v, 0, -1},      {x, y + v, 0, 1},       {x - h, y, -1, 0},
      {x + h, y, 1, 0},       {x - h, y - v, -1, -1}, {x + h, y - v, 1, -1},
      {x - h, y + v, -1, 1},  {x + h, y + v, 1, 1},
  };
  for (const Neighbour& n : neighbours) {
    if (boxIntersectsBox(m, Box(Vector(n.x, n.y), h, v))) return Vector(n.nx, n.ny);
  }
  LogManager::getInstance().writeLog(1, "getNormal(): No collision detected. Returning (0,0).");
  return Vector(0, 0);
}

}  // namespace tw
