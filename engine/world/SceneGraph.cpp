#include "engine/world/SceneGraph.h"

#include "engine/core/LoopState.h"
#include "engine/core/LogManager.h"
#include "engine/core/Utility.h"

namespace tw {

namespace {
// While the game is ending, objects missing from a list are not worth a
// message and do not make an update fail.
bool gameOver() { return LoopState::getInstance().getGameOver(); }

bool altitudeInRange(int altitude) {
  return valueInRange(static_cast<float>(altitude), 0.0f, static_cast<float>(MAX_ALTITUDE));
}

const LogManager& logger() { return LogManager::getInstance(); }
}  // namespace

SceneGraph::SceneGraph()
    : objects(ListKind::ACTIVE),
      solid_objects(ListKind::SOLID),
      visible_objects{OrderedObjectSet(ListKind::VISIBLE), OrderedObjectSet(ListKind::VISIBLE),
                      OrderedObjectSet(ListKind::VISIBLE), OrderedObjectSet(ListKind::VISIBLE),
                      OrderedObjectSet(ListKind::VISIBLE)},
      inactive_objects(ListKind::INACTIVE) {
  static_assert(MAX_ALTITUDE + 1 == 5, "one visible list per altitude");
}

int SceneGraph::startUp() {
  type_map.clear();
  logger().writeLog(1, "Scenegraph configuration: GRID");
  return grid.startUp();
}

void SceneGraph::shutDown() {
  type_map.clear();
  grid.shutDown();
}

int SceneGraph::rebuild() {
  shutDown();
  const int result = startUp();
  objects.forEach([this, result](Object* p_o) {
    insertIntoTypeMap(p_o, p_o->getType());
    if (result == 0 && p_o->isSolid()) grid.insertObject(p_o);
  });
  return result;
}

int SceneGraph::insertIntoTypeMap(Object* p_o, const std::string& type) {
  return type_map.try_emplace(type, ListKind::TYPE).first->second.insert(p_o);
}

int SceneGraph::removeFromTypeMap(Object* p_o, const std::string& type) {
  auto it = type_map.find(type);
  if (it == type_map.end()) return -1;
  return it->second.remove(p_o);
}

int SceneGraph::insertObject(Object* p_o) {
  if (!p_o->isActive()) return inactive_objects.insert(p_o);
  if (objects.insert(p_o) == -1) {
    logger().writeLog("SceneGraph::insertObject(): Error! unable to insert active Object (id %d)",
                      p_o->getId());
    return -1;
  }
  if (insertIntoTypeMap(p_o, p_o->getType()) == -1) {
    logger().writeLog("SceneGraph::insertObject(): Error! unable to insert Object (id %d) into type map",
                      p_o->getId());
    return -1;
  }
  if (p_o->isSolid()) {
    if (solid_objects.insert(p_o) == -1) {
      logger().writeLog("SceneGraph::insertObject(): Error! unable to insert solid Object (id %d)",
                        p_o->getId());
      return -1;
    }
    if (grid.insertObject(p_o) == -1) {
      logger().writeLog("SceneGraph::insertObject(): Error! unable to add to Grid (id %d)",
                        p_o->getId());
      return -1;
    }
  }
  if (!p_o->isVisible()) return 0;
  const int altitude = p_o->getAltitude();
  if (!altitudeInRange(altitude)) {
    logger().writeLog("SceneGraph::insertObject(): Warning! Altitude %d not in range [%d,%d]",
                      altitude, 0, MAX_ALTITUDE);
    return -1;
  }
  if (visible_objects[altitude].insert(p_o) == -1) {
    logger().writeLog("SceneGraph::insertObject(): Error! unable to insert visible object (id %d)",
                      p_o->getId());
    return -1;
  }
  return 0;
}

// Every removal is attempted even after one has failed.
int SceneGraph::removeActive(Object* p_o) {
  bool failed = objects.remove(p_o) == -1;
  failed = removeFromTypeMap(p_o, p_o->getType()) == -1 || failed;
  if (p_o->isVisible()) failed = removeVisible(p_o) == -1 || failed;
  if (p_o->isSolid()) {
    failed = solid_objects.remove(p_o) == -1 || failed;
    failed = grid.removeObject(p_o) == -1 || failed;
  }
  return failed ? -1 : 0;
}

int SceneGraph::removeObject(Object* p_o) {
  const bool failed =
      p_o->isActive() ? removeActive(p_o) == -1 : inactive_objects.remove(p_o) == -1;
  if (!failed) return 0;
  logger().writeLog("SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.",
                    p_o->getId(), static_cast<const void*>(p_o));
  return -1;
}

ObjectList SceneGraph::activeObjects() const { return objects.toList(); }

ObjectList SceneGraph::inactiveObjects() const { return inactive_objects.toList(); }

ObjectList SceneGraph::solidObjects() const { return solid_objects.toList(); }

ObjectList SceneGraph::visibleObjects(int altitude) const {
  if (!altitudeInRange(altitude)) {
    logger().writeLog("SceneGraph::visibleObjects(): Warning! altitude %d not in [%d,%d].", altitude,
                      0, MAX_ALTITUDE);
    return ObjectList();
  }
  return visible_objects[altitude].toList();
}

ObjectList SceneGraph::objectsOfType(const std::string& type) const {
  auto it = type_map.find(type);
  return it == type_map.end() ? ObjectList() : it->second.toList();
}

ObjectList SceneGraph::getCollisions(const Object* p_o, Vector where) const {
  return grid.getCollisions(p_o, where);
}

int SceneGraph::updateActive(Object* p_o, bool active) {
  if (active == p_o->isActive()) return 0;
  return p_o->isActive() ? deactivate(p_o) : activate(p_o);
}

int SceneGraph::deactivate(Object* p_o) {
  const std::string type_name = p_o->getType();
  int result = 0;
  if (objects.remove(p_o) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateActive(): remove object (%s) failed for objects!",
                      type_name.c_str());
    result = -1;
  }
  if (removeFromTypeMap(p_o, type_name) == -1) result = -1;
  if (p_o->isVisible() && removeVisible(p_o) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateActive(): remove visible object (%s) failed for visible_objects!",
                      type_name.c_str());
    result = -1;
  }
  if (p_o->isSolid()) {
    if (solid_objects.remove(p_o) == -1 && !gameOver()) {
      logger().writeLog("SceneGraph::updateActive(): remove object (%s) failed for solid_objects!",
                        type_name.c_str());
      result = -1;
    }
    if (grid.removeObject(p_o) == -1) return -1;
  }
  if (inactive_objects.insert(p_o) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateActive(): insert object (%s) failed for inactive_objects!",
                      type_name.c_str());
    result = -1;
  }
  return result;
}

int SceneGraph::activate(Object* p_o) {
  const std::string type_name = p_o->getType();
  int result = 0;
  if (objects.insert(p_o) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateActive(): insert Object (%s) failed for objects!",
                      type_name.c_str());
    result = -1;
  }
  if (insertIntoTypeMap(p_o, type_name) == -1) {
    logger().writeLog("SceneGraph::updateActive(): Error! insert Object (%s) failed for type map!",
                      type_name.c_str());
    return -1;
  }
  if (p_o->isVisible() && insertVisible(p_o) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateActive(): insert Object (%s) failed for visible_objects!",
                      type_name.c_str());
    result = -1;
  }
  if (p_o->isSolid()) {
    if (solid_objects.insert(p_o) == -1 && !gameOver()) {
      logger().writeLog("SceneGraph::updateActive(): insert object (%s) failed for solid_objects!",
                        type_name.c_str());
      result = -1;
    }
    if (grid.insertObject(p_o) == -1) return -1;
  }
  if (inactive_objects.remove(p_o) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateActive(): remove object (%s) failed for inactive_objects!",
                      type_name.c_str());
    result = -1;
  }
  return result;
}

// An altitude outside 0 to MAX_ALTITUDE counts as a failed list change.
int SceneGraph::insertVisible(Object* p_o) {
  const int altitude = p_o->getAltitude();
  if (!altitudeInRange(altitude)) return -1;
  return visible_objects[altitude].insert(p_o);
}

int SceneGraph::removeVisible(Object* p_o) {
  const int altitude = p_o->getAltitude();
  if (!altitudeInRange(altitude)) return -1;
  return visible_objects[altitude].remove(p_o);
}

int SceneGraph::updateVisible(Object* p_o, bool visible) {
  if (!p_o->isActive() || visible == p_o->isVisible()) return 0;
  if (p_o->isVisible()) {
    if (removeVisible(p_o) == -1 && !gameOver()) {
      logger().writeLog("SceneGraph::updateVisible(): unable to remove visible object (%s)",
                        p_o->getType().c_str());
      return -1;
    }
    return 0;
  }
  if (insertVisible(p_o) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateVisible(): unable to add visible object (%s)",
                      p_o->getType().c_str());
    return -1;
  }
  return 0;
}

int SceneGraph::updateAltitude(Object* p_o, int new_altitude) {
  if (!p_o->isActive()) return 0;
  if (!altitudeInRange(new_altitude)) {
    logger().writeLog("SceneGraph::updateAltitude(): New altitude %d not in [%d,%d]!  No update.",
                      new_altitude, 0, MAX_ALTITUDE);
    return -1;
  }
  const int old_altitude = p_o->getAltitude();
  if (!altitudeInRange(old_altitude)) {
    logger().writeLog(
        "SceneGraph::updateAltitude(): Old altitude %d not in [%d,%d]! This is unxepected. No update.",
        old_altitude, 0, MAX_ALTITUDE);
    return -1;
  }
  if (!p_o->isVisible()) return 0;
  if (visible_objects[old_altitude].remove(p_o) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateAltitude(): remove from old altitude (%d) failed!",
                      old_altitude);
    logger().writeLog("\tObject: type %s, id %d, p %p", p_o->getType().c_str(), p_o->getId(),
                      static_cast<const void*>(p_o));
    return -1;
  }
  if (visible_objects[new_altitude].insert(p_o) == -1) {
    logger().writeLog("SceneGraph::updateAltitude()): insert visible object at altitude %d failed!",
                      new_altitude);
    return -1;
  }
  return 0;
}

int SceneGraph::updateSolidness(Object* p_o, Solidness new_solidness) {
  if (!p_o->isActive()) return 0;
  const bool solid_now = p_o->isSolid();
  if (solid_now && new_solidness == SPECTRAL) {
    if (solid_objects.remove(p_o) == -1 && !gameOver()) {
      logger().writeLog("SceneGraph::updateSolidness(): unable to remove solid object (%s)",
                        p_o->getType().c_str());
    }
    if (grid.removeObject(p_o) == -1) return -1;
  }
  // HARD and SOFT share every list; the grid's entries tell them apart.
  if (solid_now && new_solidness != SPECTRAL) grid.updateHardness(p_o, new_solidness == HARD);
  if (!solid_now && (new_solidness == HARD || new_solidness == SOFT)) {
    if (solid_objects.insert(p_o) == -1 && !gameOver()) {
      logger().writeLog("SceneGraph::updateSolidness(): Error! unable to insert solid object");
      return -1;
    }
    logger().writeLog(20, "SceneGraph::updateSolidness(): Adding to grid.");
    if (grid.insertObject(p_o) == -1) {
      logger().writeLog("SceneGraph::updateSolidness(): Error! unable to insert solid object (%d) into grid",
                        p_o->getId());
      return -1;
    }
    // The grid read the solidness the object is leaving.
    grid.updateHardness(p_o, new_solidness == HARD);
  }
  return 0;
}

int SceneGraph::updateType(Object* p_o, const std::string& new_type) {
  if (removeFromTypeMap(p_o, p_o->getType()) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateType(): Error! Unable to remove Object (%d) type %s",
                      p_o->getId(), p_o->getType().c_str());
    return -1;
  }
  if (insertIntoTypeMap(p_o, new_type) == -1 && !gameOver()) {
    logger().writeLog("SceneGraph::updateType(): Error! Unable to insert Object (%d) type %s",
                      p_o->getId(), new_type.c_str());
    return -1;
  }
  return 0;
}

int SceneGraph::updatePosition(Object* p_o, Vector where) {
  if (!p_o->isSolid() || !p_o->isActive()) return 0;
  if (grid.updatePosition(p_o, where) == -1) {
    logger().writeLog("SceneGraph::updatePosition(): Error! Calling grid updatePosition (Object %d).",
                      p_o->getId());
    return -1;
  }
  return 0;
}

}  // namespace tw
