// Free geometry functions of the world: box overlap and containment, distance,
// an object's box in world coordinates, and the side from which a mover struck
// an obstacle. Vector and Box themselves live in their own files.
#pragma once

#include "engine/platform/Export.h"
#include "engine/world/Box.h"
#include "engine/world/Object.h"
#include "engine/world/Vector.h"

namespace tw {

// True when [a, a + a_extent] and [b, b + b_extent] share a point, ends
// included. boxIntersectsBox is this test on both axes.
inline bool spansOverlap(float a, float a_extent, float b, float b_extent) {
  return (b <= a && a <= b + b_extent) || (a <= b && b <= a + a_extent);
}
// True when a and b overlap on both axes; touching edges and corners count.
inline bool boxIntersectsBox(const Box& a, const Box& b) {
  const Vector ac = a.getCorner();
  const Vector bc = b.getCorner();
  return spansOverlap(ac.getX(), a.getHorizontal(), bc.getX(), b.getHorizontal()) &&
         spansOverlap(ac.getY(), a.getVertical(), bc.getY(), b.getVertical());
}
// True when p lies inside box, edges included.
inline bool boxContainsPosition(const Box& box, const Vector& p) {
  const Vector c = box.getCorner();
  return c.getX() <= p.getX() && p.getX() <= c.getX() + box.getHorizontal() &&
         c.getY() <= p.getY() && p.getY() <= c.getY() + box.getVertical();
}
TW_API float distance(const Vector& p1, const Vector& p2);
// The box the object would have at where.
inline Box getWorldBox(const Object* p_o, const Vector& where) {
  Box box = p_o->getBox();
  box.setCorner(box.getCorner() + where);
  return box;
}
// The object's box moved by its position.
inline Box getWorldBox(const Object* p_o) { return getWorldBox(p_o, p_o->getPosition()); }
// Which side the mover met the obstacle from, pointing from the obstacle
// towards the mover: each component -1, 0 or 1; (0,0) when no side touches.
TW_API Vector getNormal(const Object* p_mover, const Object* p_obstacle);

}  // namespace tw
