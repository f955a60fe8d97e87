// A 2-D vector of floats in character cells (x right, y down), used for
// positions, directions and velocities.
#pragma once

#include <iosfwd>
#include <string>

namespace tw {

class Vector {
 public:
  Vector();
  Vector(float init_x, float init_y);

  float getX() const;
  float getY() const;
  void setX(float new_x);
  void setY(float new_y);
  void setXY(float new_x, float new_y);

  float getMagnitude() const;
  // Scales to length 1; a zero vector stays zero.
  void normalize();
  void scale(float s);

  Vector operator+(const Vector& other) const;
  Vector operator-(const Vector& other) const;
  Vector& operator+=(const Vector& other);
  bool operator==(const Vector& other) const;
  bool operator!=(const Vector& other) const;

  // "(x,y)" with each number in the default stream form, e.g. "(1,2.5)".
  std::string toString() const;

  int serialize(std::stringstream* p_ss) const;
  int deserialize(std::stringstream* p_ss);

 private:
  float x;
  float y;
};

}  // namespace tw
