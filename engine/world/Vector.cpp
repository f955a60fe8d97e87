#include "engine/world/Vector.h"

#include <cmath>

#include "engine/core/Utility.h"

namespace tw {

Vector::Vector() : x(0.0f), y(0.0f) {}

Vector::Vector(float init_x, float init_y) : x(init_x), y(init_y) {}

float Vector::getX() const { return x; }
float Vector::getY() const { return y; }
void Vector::setX(float new_x) { x = new_x; }
void Vector::setY(float new_y) { y = new_y; }

void Vector::setXY(float new_x, float new_y) {
  x = new_x;
  y = new_y;
}

float Vector::getMagnitude() const { return std::sqrt(x * x + y * y); }

void Vector::normalize() {
  float length = getMagnitude();
  if (length > 0.0f) {
    x /= length;
    y /= length;
  }
}

void Vector::scale(float s) {
  x *= s;
  y *= s;
}

Vector Vector::operator+(const Vector& other) const { return Vector(x + other.x, y + other.y); }

Vector Vector::operator-(const Vector& other) const { return Vector(x - other.x, y - other.y); }

Vector& Vector::operator+=(const Vector& other) {
  x += other.x;
  y += other.y;
  return *this;
}

bool Vector::operator==(const Vector& other) const { return x == other.x && y == other.y; }

bool Vector::operator!=(const Vector& other) const { return !(*this == other); }

std::string Vector::toString() const { return "(" + tw::toString(x) + "," + tw::toString(y) + ")"; }

}  // namespace tw
