// A route through the world: the waypoints to visit, first to last, and the
// index of the current one. Finding routes is the path search's business.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/world/Vector.h"

namespace tw {

class TW_API Path {
 public:
  Path();

  void addWaypoint(Vector waypoint);
  int getWaypointCount() const;
  // Waypoint i (0 first), or (0,0) when there is none such.
  Vector getWaypoint(int i) const;
  int getIndex() const;
  // True when every waypoint has been reached.
  bool isDone() const;
  // The current waypoint, or (0,0) when done.
  Vector getCurrent() const;
  // Moves to the next waypoint (never past the end) and returns the path after it.
  Path next();
  // Every waypoint followed by "|", e.g. "(1,2)|(3,4)|"; "" for an empty path.
  std::string toString() const;

  // Writes the waypoint count and the waypoints (not the index).
  int serialize(std::stringstream* p_ss) const;
  // Replaces the waypoints with those read; the index stays, but never beyond
  // the new count. A short or corrupt record leaves the path as it was.
  int deserialize(std::stringstream* p_ss);

 private:
  std::vector<Vector> waypoints;
  int index;  // current waypoint, 0 .. number of waypoints
};

}  // namespace tw
