// The world's index of its objects: active, solid, visible by altitude, inactive, by type,
// and the grid of the solid ones. Object setters call the update operations before they
// change a field, so each operation reads the old state from the object.
#pragma once

#include <map>
#include <string>

#include "engine/core/ObjectList.h"
#include "engine/world/Grid.h"
#include "engine/world/Object.h"
#include "engine/world/OrderedObjectSet.h"
#include "engine/world/Solidness.h"
#include "engine/world/Vector.h"

namespace tw {

class SceneGraph {
 public:
  SceneGraph();

  // Empties the type map and starts the grid.
  int startUp();
  // Empties the type map and stops the grid; the other lists stay.
  void shutDown();
  // Restarts the grid (for a new boundary) and enters every active object
  // into the type map again, and every active solid object into the grid.
  int rebuild();

  int insertObject(Object* p_o);
  int removeObject(Object* p_o);
  ObjectList activeObjects() const;
  ObjectList inactiveObjects() const;
  ObjectList solidObjects() const;
  ObjectList visibleObjects(int altitude) const;
  // The active objects of one type name (empty for an unknown type).
  ObjectList objectsOfType(const std::string& type) const;
  ObjectList getCollisions(const Object* p_o, Vector where) const;
  const Grid& getGrid() const { return grid; }

  int updateActive(Object* p_o, bool active);
  int updateVisible(Object* p_o, bool visible);
  int updateAltitude(Object* p_o, int new_altitude);
  int updateSolidness(Object* p_o, Solidness new_solidness);
  int updateType(Object* p_o, const std::string& new_type);
  int updatePosition(Object* p_o, Vector where);

 private:
  int deactivate(Object* p_o);
  int activate(Object* p_o);
  int insertIntoTypeMap(Object* p_o, const std::string& type);
  int removeFromTypeMap(Object* p_o, const std::string& type);
  int insertVisible(Object* p_o);
  int removeVisible(Object* p_o);
  int removeActive(Object* p_o);

  // Each list removes an object in constant time, so clearing a world of n
  // objects costs n removals, not n * n. An object is in at most one
  // visible list and one type list at a time.
  OrderedObjectSet objects;           // every active object, in insertion order
  OrderedObjectSet solid_objects;     // active HARD or SOFT objects
  OrderedObjectSet visible_objects[MAX_ALTITUDE + 1];  // active visible objects by altitude
  OrderedObjectSet inactive_objects;  // every inactive object
  std::map<std::string, OrderedObjectSet> type_map;  // active objects by type name
  Grid grid;                    // solid active objects by cell
};

}  // namespace tw
