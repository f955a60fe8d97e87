// Free geometry functions of the world: box overlap and containment, distance,
// an object's box in world coordinates, and the side from which a mover struck
// an obstacle. Vector and Box themselves live in their own files.
#pragma once

#include "engine/world/Box.h"
#include "engine/world/Vector.h"

namespace tw {

class Object;

// True when a and b overlap on both axes; touching edges and corners count.
bool boxIntersectsBox(const Box& a, const Box& b);
// True when p lies inside box, edges included.
bool boxContainsPosition(const Box& box, const Vector& p);
float distance(const Vector& p1, const Vector& p2);
// The object's box moved by its position.
Box getWorldBox(const Object* p_o);
// The box the object would have at where.
Box getWorldBox(const Object* p_o, const Vector& where);
// Which side the mover met the obstacle from, pointing from the obstacle
// towards the mover: each component -1, 0 or 1; (0,0) when no side touches.
Vector getNormal(const Object* p_mover, const Object* p_obstacle);

}  // namespace tw
