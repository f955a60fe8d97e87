// The world: objects enter, move, collide and are deleted here (end of frame or shut-down);
// it keeps the boundary, the view and the followed object, and takes interest in every
// event type no other manager owns. The index itself is the scene graph's.
#pragma once

#include <memory>
#include <unordered_set>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/core/Manager.h"
#include "engine/core/ObjectList.h"
#include "engine/world/Box.h"
#include "engine/world/Vector.h"

namespace tw {

class Object;
class SceneGraph;

class TW_API WorldManager : public Manager {
 public:
  static WorldManager& getInstance();

  // Refuses "tw-keyboard", "tw-mouse", "tw-step", "tw-out" and "tw-collision".
  bool isValid(std::string event_type) const override;
  ~WorldManager() override;
  int startUp() override;
  // Stops the world, then deletes every object.
  void shutDown() override;

  int insertObject(Object* p_o);
  void removeObject(Object* p_o);
  ObjectList getAllObjects(bool also_inactive = false) const;
  ObjectList getCollisions(const Object* p_o, Vector where) const;
  // The object is deleted at the end of the current or next update; marking
  // twice deletes once.
  int markForDelete(Object* p_o);
  // 0 when the object moved to where, -1 when it did not.
  int moveObject(Object* p_o, Vector where);
  void update();
  void draw();

  void setBoundary(Box new_boundary);
  Box getBoundary() const { return boundary; }  // read by every path search step
  // Replaces the view as given.
  void setView(Box new_view);
  Box getView() const;
  // Centres the view on a position, kept within the boundary.
  void setViewPosition(Vector view_position);
  // Each component in 0 to 1: the centred fraction of the view inside which
  // the followed object moves without moving the view.
  void setViewSlack(Vector new_view_slack);
  Vector getViewSlack() const;
  // The object the view follows, or null for none.
  void setViewFollowing(Object* p_new_view_following);
  Object* getViewFollowing() const;
  // The world's index; the engine's own (its header is not installed).
  SceneGraph& getSceneGraph() { return scene_graph; }

  // Collision trace: for every move, one log line per pair of touching boxes
  // and what came of it (a collision event and whether the mover was stopped
  // or passed, or no event because one is SPECTRAL). Written without a level
  // when on, else at COLLISION_TRACE_LEVEL. Tracing checks every object
  // against every mover, so it is for small scenes.
  static const int COLLISION_TRACE_LEVEL = 12;
  void setCollisionTrace(bool on);
  bool getCollisionTrace() const;
  // While on, the time spent finding and handing out collisions is summed;
  // takeCollisionTime gives the sum since the last call (nanoseconds).
  void setCollisionTiming(bool on);
  long long takeCollisionTime();

 private:
  WorldManager();
  WorldManager(const WorldManager&) = delete;
  void operator=(const WorldManager&) = delete;

  // Collision resolution of moveObject; false when the move is refused.
  bool slide(Object* p_o, ObjectList& collisions, Vector& where);
  bool deliverCollisions(Object* p_o, const ObjectList& collisions, Vector where);
  bool resolveCollisions(Object* p_o, Vector& where);
  bool tracing() const;
  void traceSpectralContacts(const Object* p_o, Vector where) const;
  void traceCollision(const Object* p_o, const Object* p_partner, bool blocked) const;
  void raiseOutEvent(Object* p_o, const Box& old_box);
  void followWithView(const Object* p_o);
  void moveAll();
  void deleteMarked();
  void clearDeletions();
  // Deletes one object, remembering it as dying so that its destructor
  // cannot have it marked or deleted again.
  void destroy(Object* p_o);
  bool isDying(const Object* p_o) const;

  // The index lives behind a pointer so that this header need not show it.
  std::unique_ptr<SceneGraph> owned_scene_graph;
  SceneGraph& scene_graph;  // *owned_scene_graph
  ObjectList deletions;     // objects marked for deletion, in marking order
  std::unordered_set<const Object*> marked;  // the same objects, for a quick "marked yet?"
  Object* p_view_following;  // not owned
  Box boundary;              // the world's extent; corner at the origin
  Box view;                  // the part of the world shown
  Vector view_slack;
  std::vector<const Object*> dying;  // objects whose destructors are running
  bool collision_trace = false;
  bool collision_timing = false;
  long long collision_ns = 0;  // summed while collision_timing is on
};

}  // namespace tw
