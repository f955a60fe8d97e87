// An axis-aligned box of a top-left corner and two extents, edges included.
// An object's box is relative to its position.
#pragma once

#include <iosfwd>
#include <string>

#include "engine/platform/Export.h"
#include "engine/world/Vector.h"

namespace tw {

class TW_API Box {
 public:
  Box() : corner(), horizontal(0.0f), vertical(0.0f) {}
  Box(Vector init_corner, float init_horizontal, float init_vertical)
      : corner(init_corner), horizontal(init_horizontal), vertical(init_vertical) {}

  Vector getCorner() const { return corner; }
  void setCorner(Vector new_corner) { corner = new_corner; }
  float getHorizontal() const { return horizontal; }
  void setHorizontal(float new_horizontal) { horizontal = new_horizontal; }
  float getVertical() const { return vertical; }
  void setVertical(float new_vertical) { vertical = new_vertical; }

  bool operator==(const Box& other) const {
    return corner == other.corner && horizontal == other.horizontal && vertical == other.vertical;
  }
  bool operator!=(const Box& other) const { return !(*this == other); }
  // e.g. "(0,0) h: 80 v: 24"
  std::string toString() const;

  int serialize(std::stringstream* p_ss) const;
  int deserialize(std::stringstream* p_ss);

 private:
  Vector corner;
  float horizontal;  // width in cells
  float vertical;    // height in cells
};

}  // namespace tw
