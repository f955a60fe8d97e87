// An axis-aligned box of a top-left corner and two extents, edges included.
// An object's box is relative to its position.
#pragma once

#include <iosfwd>
#include <string>

#include "engine/world/Vector.h"

namespace tw {

class Box {
 public:
  Box();
  Box(Vector init_corner, float init_horizontal, float init_vertical);

  Vector getCorner() const;
  void setCorner(Vector new_corner);
  float getHorizontal() const;
  void setHorizontal(float new_horizontal);
  float getVertical() const;
  void setVertical(float new_vertical);

  bool operator==(const Box& other) const;
  bool operator!=(const Box& other) const;
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
