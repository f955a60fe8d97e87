// One object record read from a stream but not yet applied: its mask and the
// value of every field it carries. Reading the whole record before applying
// any of it lets a short or corrupt record leave the object untouched.
#pragma once

#include <string>
#include <vector>

#include "engine/world/Animation.h"
#include "engine/world/Shape.h"
#include "engine/world/Path.h"
#include "engine/world/Box.h"
#include "engine/world/Vector.h"

namespace tw {

struct ObjectRecord {
  unsigned int mask = 0;  // which of the fields below were read
  int id = 0;
  bool active = true;
  bool visible = true;
  std::vector<std::string> events;
  Box box;
  Vector position;
  std::string type;
  Animation animation;  // name, frame index and slowdown count; no sprite
  int altitude = 0;     // as read: may lie outside the drawing layers
  int solidness = 0;    // as read: may name no solidness
  bool no_soft = false;
  Vector direction;
  float speed = 0.0f;
  Vector acceleration;
  Shape shape;
  bool follow_path = false;
  Path path;
  bool avoid_collisions = false;
};

}  // namespace tw
