#include "engine/world/Vector.h"

#include <cmath>
#include <sstream>

#include "engine/core/Utility.h"
#include "engine/core/RecordIO.h"

namespace tw {

float Vector::getMagnitude() const { return std::sqrt(x * x + y * y); }

void Vector::normalize() {
  float length = getMagnitude();
  if (length > 0.0f) {
    x /= length;
    y /= length;
  }
}

std::string Vector::toString() const { return "(" + tw::toString(x) + "," + tw::toString(y) + ")"; }

int Vector::serialize(std::stringstream* p_ss) const {
  if (p_ss == nullptr) return noStream("Vector::serialize()");
  writeFloat(*p_ss, x);
  writeFloat(*p_ss, y);
  return checkStream("Vector::serialize()", *p_ss);
}

int Vector::deserialize(std::stringstream* p_ss) {
  if (p_ss == nullptr) return noStream("Vector::deserialize()");
  // Both components or neither: a short record leaves the vector as it was.
  float new_x = 0.0f;
  float new_y = 0.0f;
  if (readFloat(*p_ss, new_x) && readFloat(*p_ss, new_y)) setXY(new_x, new_y);
  return checkStream("Vector::deserialize()", *p_ss);
}

}  // namespace tw
