#include "engine/world/Box.h"

#include <sstream>

#include "engine/core/Utility.h"
#include "engine/core/RecordIO.h"

namespace tw {

Box::Box() : corner(), horizontal(0.0f), vertical(0.0f) {}

Box::Box(Vector init_corner, float init_horizontal, float init_vertical)
    : corner(init_corner), horizontal(init_horizontal), vertical(init_vertical) {}

Vector Box::getCorner() const { return corner; }
void Box::setCorner(Vector new_corner) { corner = new_corner; }
float Box::getHorizontal() const { return horizontal; }
void Box::setHorizontal(float new_horizontal) { horizontal = new_horizontal; }
float Box::getVertical() const { return vertical; }
void Box::setVertical(float new_vertical) { vertical = new_vertical; }

bool Box::operator==(const Box& other) const {
  return corner == other.corner && horizontal == other.horizontal && vertical == other.vertical;
}

bool Box::operator!=(const Box& other) const { return !(*this == other); }

std::string Box::toString() const {
  return corner.toString() + " h: " + tw::toString(horizontal) + " v: " + tw::toString(vertical);
}

int Box::serialize(std::stringstream* p_ss) const {
  if (p_ss == nullptr) return noStream("Box::serialize()");
  corner.serialize(p_ss);
  writeFloat(*p_ss, horizontal);
  writeFloat(*p_ss, vertical);
  return checkStream("Box::serialize()", *p_ss);
}

int Box::deserialize(std::stringstream* p_ss) {
  if (p_ss == nullptr) return noStream("Box::deserialize()");
  // All three parts or none: a short record leaves the box as it was.
  Vector new_corner;
  float new_horizontal = 0.0f;
  float new_vertical = 0.0f;
  if (new_corner.deserialize(p_ss) == 0 && readFloat(*p_ss, new_horizontal) &&
      readFloat(*p_ss, new_vertical)) {
    *this = Box(new_corner, new_horizontal, new_vertical);
  }
  return checkStream("Box::deserialize()", *p_ss);
}

}  // namespace tw
