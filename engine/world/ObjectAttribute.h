// The bits of an object's modified-attribute mask: which attributes changed
// since the object was last serialised. View objects add bits 18 and 19.
#pragma once

namespace tw {

enum ObjectAttribute : unsigned int {
  ID = 0x1,
  ACTIVE = 0x2,
  VISIBLE = 0x4,
  EVENTS = 0x8,
  BOX = 0x10,
  POSITION = 0x20,
  TYPE = 0x40,
  ANIMATION = 0x80,
  ALTITUDE = 0x100,
  SOLIDNESS = 0x200,
  NO_SOFT = 0x400,
  SPEED = 0x800,
  DIRECTION = 0x1000,
  ACCELERATION = 0x2000,
  SHAPE = 0x4000,
  PATH = 0x8000,
  FOLLOW_PATH = 0x10000,
  AVOID_COLLISIONS = 0x20000,
};

// Every attribute bit an Object owns (bits 0 to 17).
const unsigned int ALL_OBJECT_ATTRIBUTES = 0x3FFFF;

}  // namespace tw
