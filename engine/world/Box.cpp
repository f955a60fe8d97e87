#include "engine/world/Box.h"

#include <sstream>

#include "engine/core/Utility.h"
#include "engine/core/RecordIO.h"

namespace tw {

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
