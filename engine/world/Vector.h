// A 2-D vector of floats in character cells (x right, y down), used for
// positions, directions and velocities.
#pragma once

#include "engine/platform/Export.h"

#include <iosfwd>
#include <string>

namespace tw {

class TW_API Vector {
 public:
  // The small operations are defined here: positions are read and added in
  // every collision test and path step.
  Vector() : x(0.0f), y(0.0f) {}
  Vector(float init_x, float init_y) : x(init_x), y(init_y) {}

  float getX() const { return x; }
  float getY() const { return y; }
  void setX(float new_x) { x = new_x; }
  void setY(float new_y) { y = new_y; }
  void setXY(float new_x, float new_y) {
    x = new_x;
    y = new_y;
  }

  float getMagnitude() const;
  // Scales to length 1; a zero vector stays zero.
  void normalize();
  void scale(float s) {
    x *= s;
    y *= s;
  }

  Vector operator+(const Vector& other) const { return Vector(x + other.x, y + other.y); }
  Vector operator-(const Vector& other) const { return Vector(x - other.x, y - other.y); }
  Vector& operator+=(const Vector& other) {
    x += other.x;
    y += other.y;
    return *this;
  }
  bool operator==(const Vector& other) const { return x == other.x && y == other.y; }
  bool operator!=(const Vector& other) const { return !(*this == other); }

  // "(x,y)" with each number in the default stream form, e.g. "(1,2.5)".
  std::string toString() const;

  int serialize(std::stringstream* p_ss) const;
  int deserialize(std::stringstream* p_ss);

 private:
  float x;
  float y;
};

}  // namespace tw
