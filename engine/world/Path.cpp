#include "engine/world/Path.h"

#include <cstdint>
#include <new>
#include <sstream>
#include <utility>

#include "engine/core/LogManager.h"
#include "engine/core/Utility.h"
#include "engine/core/RecordIO.h"

namespace tw {

namespace {
const std::uint64_t WAYPOINT_BYTES = 8;  // two floats
}  // namespace

Path::Path() : index(0) {}

void Path::addWaypoint(Vector waypoint) { waypoints.push_back(waypoint); }

int Path::getWaypointCount() const { return static_cast<int>(waypoints.size()); }

Vector Path::getWaypoint(int i) const {
  if (i < 0 || i >= getWaypointCount()) return Vector();
  return waypoints[static_cast<size_t>(i)];
}

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

int Path::serialize(std::stringstream* p_ss) const {
  if (p_ss == nullptr) return noStream("Path::serialize()");
  writeCount(*p_ss, static_cast<std::uint64_t>(waypoints.size()));
  for (const Vector& waypoint : waypoints) waypoint.serialize(p_ss);
  return checkStream("Path::serialize()", *p_ss);
}

int Path::deserialize(std::stringstream* p_ss) {
  const char* const where = "Path::deserialize()";
  if (p_ss == nullptr) return noStream(where);
  std::uint64_t count = 0;
  if (!readCount(*p_ss, count)) return checkStream(where, *p_ss);
  // Every waypoint takes 8 bytes, so a count beyond what the stream holds is
  // corrupt and must not size an allocation.
  std::vector<Vector> read;
  bool allocated = count <= bytesLeft(*p_ss) / WAYPOINT_BYTES;
  if (allocated) {
    try {
      read.reserve(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
      allocated = false;
    }
  }
  if (!allocated) {
    LogManager::getInstance().writeLog(
        "Path::deserialize(): Error! Cannot allocate %llu waypoints.",
        static_cast<unsigned long long>(count));
    failStream(*p_ss);
    return checkStream(where, *p_ss);
  }
  for (std::uint64_t i = 0; i < count; i++) {
    Vector waypoint;
    if (waypoint.deserialize(p_ss) != 0) return checkStream(where, *p_ss);
    read.push_back(waypoint);
  }
  waypoints = std::move(read);
  if (index > getWaypointCount()) index = getWaypointCount();
  return checkStream(where, *p_ss);
}

}  // namespace tw
