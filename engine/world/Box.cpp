#include "engine/world/Box.h"

#include "engine/core/Utility.h"

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

}  // namespace tw
