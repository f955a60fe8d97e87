#include "engine/path/Path.h"

namespace tw {

Path::Path() : index(0) {}

void Path::addWaypoint(Vector waypoint) { waypoints.push_back(waypoint); }

int Path::getWaypointCount() const { return static_cast<int>(waypoints.size()); }

int Path::getIndex() const { return index; }

bool Path::isDone() const { return index >= getWaypointCount(); }

Vector Path::getCurrent() const {
  if (isDone()) return Vector(0, 0);
  return waypoints[static_cast<size_t>(index)];
}

Path Path::next() {
  if (index < getWaypointCount()) index++;
  return *this;
}

std::string Path::toString() const {
  std::string text;
  for (const Vector& waypoint : waypoints) text += waypoint.toString() + "|";
  return text;
}

}  // namespace tw
