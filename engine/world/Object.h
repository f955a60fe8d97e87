// The base class of everything in the world: identity, place, motion, layer, solidness,
// drawing, interests and path following; indexed setters go through the scene graph first.
// Also the registry of live objects that dispatch and the world use to skip destroyed ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <new>
#include <string>
#include <vector>

#include "engine/core/Event.h"
#include "engine/platform/Export.h"
#include "engine/core/Listener.h"
#include "engine/world/Animation.h"
#include "engine/world/Shape.h"
#include "engine/world/Path.h"
#include "engine/world/Box.h"
#include "engine/world/ObjectAttribute.h"
#include "engine/world/Solidness.h"
#include "engine/world/Vector.h"

namespace tw {

class PathFind;
struct ObjectRecord;

const int MAX_ALTITUDE = 4;     // drawing layers are 0 (first) to MAX_ALTITUDE
const int MAX_OBJ_EVENTS = 100;  // event interests one object may hold

class TW_API Object : public Listener {
 public:
  Object();
  virtual ~Object();
  // \cond INTERNAL
  // The engine's own, not for games (left out of the API reference; may
  // change in any release):
  // Objects, of every derived class, live in the block pool: a world's
  // objects made one after another lie side by side in large pages.
  static void* operator new(std::size_t bytes);
  static void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept;
  static void* operator new(std::size_t, void* p_place) noexcept { return p_place; }
  static void operator delete(void* p_block) noexcept;
  static void operator delete(void* p_block, const std::nothrow_t&) noexcept;
  static void operator delete(void*, void*) noexcept {}
  // A derived class aligned beyond 16 bytes takes its memory from the heap.
  static void* operator new(std::size_t bytes, std::align_val_t alignment) {
    return ::operator new(bytes, alignment);
  }
  static void operator delete(void* p_block, std::align_val_t alignment) noexcept {
    ::operator delete(p_block, alignment);
  }
  // \endcond
  virtual void setType(std::string new_type);
  // A placement, not a move: raises no collision or out-of-world events.
  virtual void setPosition(Vector new_position);
  // Returns 1 when the event was handled, 0 when ignored. The base class
  // handles "tw-path": it takes a found path and starts following it.
  int eventHandler(const Event* p_e) override;
  virtual int setSolidness(Solidness new_solidness);
  virtual void setAvoidCollisions(bool new_avoid_collisions);
  virtual int setAltitude(int new_altitude);
  // Stores the direction normalised (a zero vector stays zero).
  virtual void setDirection(Vector new_direction);
  // Speed becomes the magnitude, direction the normalised vector.
  virtual void setVelocity(Vector new_velocity);
  virtual void setAcceleration(Vector new_acceleration);
  virtual bool isVisible() const;
  virtual int setActive(bool active);
  virtual void setBox(Box new_box);
  // Takes the resource manager's sprite with this label and fits the box to it.
  virtual int setSprite(std::string label);
  virtual void setAnimation(Animation new_animation, bool also_set_box);
  // Draws the animation, then a defined shape, at the position; returns the
  // animation's result.
  virtual int draw();
  // Writes the selected attributes as one record: attr 0 selects every
  // modified one. The written attributes are no longer marked modified.
  virtual int serialize(std::stringstream* p_ss, unsigned int attr = 0);
  // Reads one record and applies it through the setters; the record's mask is
  // stored in *p_mask when given. A record that cannot be read completely
  // changes nothing and gives -1; a value a setter refuses is logged and
  // skipped, the rest applied, and the record still gives 0.
  virtual int deserialize(std::stringstream* p_ss, unsigned int* p_mask = nullptr);
  virtual void setModified(unsigned int new_modified);
  virtual unsigned int getModified() const;
  virtual void setShape(Shape new_shape);
  virtual void setFollowPath(bool new_follow_path);
  // View objects live in view coordinates and are drawn wherever the view is.
  virtual bool isViewObject() const { return false; }

  // The getters read on every move, collision test and path search are
  // defined here.
  int getId() const override { return id; }
  std::string getType() const override;
  bool isActive() const override { return is_active; }
  int setVisible(bool visible);
  Box getBox() const { return box; }
  Vector getPosition() const { return position; }
  Vector getDirection() const;
  float getSpeed() const;
  void setSpeed(float new_speed);
  Vector getVelocity() const;
  Vector getAcceleration() const;
  // Where the object will be after one step: position plus velocity.
  Vector predictPosition() const;
  int getAltitude() const;
  Solidness getSolidness() const { return solidness; }
  bool isSolid() const { return solidness == HARD || solidness == SOFT; }
  bool getNoSoft() const;
  void setNoSoft(bool new_no_soft);
  bool getAvoidCollisions() const;
  Animation getAnimation() const;
  Shape getShape() const;
  bool isModified() const;
  Path getPath() const;
  // Takes over the path's waypoints and current index.
  void setPath(Path new_path);
  bool getFollowPath() const;
  // \cond INTERNAL
  // The engine's own, not for games (left out of the API reference; may
  // change in any release):
  // The pending path search of this object, or null.
  PathFind* getPathFind() const;
  // Gives the object a new pending search, which it then owns (the path
  // manager calls it); the one it had is released first (PathSearches).
  void setPathFind(PathFind* p_search);
  // How setSprite finds a sprite by its label (the resource manager sets it
  // when it is made).
  static void setSpriteLookup(Sprite* (*lookup)(const std::string& label));
  // \endcond
  int getEventCount() const;
  std::string getEventName(int index) const;

  // Routes the interest to the manager that owns the event type.
  int registerInterest(std::string event_type);
  int unregisterInterest(std::string event_type);

  // \cond INTERNAL
  // The engine's own, not for games (left out of the API reference; may
  // change in any release):
  // The end of the fields every world update reads or writes, which come
  // first in the object: a walk over many objects fetches them ahead.
  const char* updatedFieldsEnd() const { return reinterpret_cast<const char*>(&list_place + 1); }
  // \endcond

  // One step of path following and of acceleration; the world manager runs
  // both for every active object after it has moved.
  void followPath();
  void applyAcceleration();

 protected:
  // The halves of serialize and deserialize, for subclasses that append
  // fields of their own; record_bits are the mask bits the whole record may
  // use (this class's are ALL_OBJECT_ATTRIBUTES).
  int writeRecord(std::stringstream* p_ss, unsigned int attr, unsigned int record_bits);
  // Reads the object's fields into record without changing the object; -1
  // (stream failed) on a short or corrupt record or one with unknown bits.
  int readRecord(std::stringstream* p_ss, ObjectRecord& record, unsigned int record_bits) const;
  // Applies a record read by readRecord; values the setters refuse are logged
  // and skipped.
  void applyRecord(const ObjectRecord& record);

 private:
  friend class WorldManager;  // enters and leaves the world (in_world)
  friend class OrderedObjectSet;  // keeps list_place

  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  void markModified(unsigned int attribute);
  // Takes a deserialised id and keeps the id counter above it.
  int takeId(int new_id);
  void releasePathFind();
  void unregisterAllInterests();

  // The fields read or written by every world update come first, so that
  // they share the object's first two cache lines.
  int id;
  std::string type;
  bool is_active;
  bool is_visible;
  Box box;  // relative to the position
  Vector position;
  Vector direction;  // unit vector or zero
  float speed;       // cells per step
  Vector acceleration;  // added to the velocity after every step
  int altitude;         // 0 .. MAX_ALTITUDE
  Solidness solidness;
  unsigned int modified;  // ObjectAttribute bits
  bool no_soft;  // SOFT objects block this object too
  bool follow_path;
  bool avoid_collisions;  // a HARD mover that slides along HARD obstacles
  bool in_world;          // entered into the world's scene graph at construction
  // The object's slot in the scene graph list of each kind it is in (the
  // kinds are OrderedObjectSet's ListKind).
  static constexpr int LIST_KINDS = 5;
  std::uint32_t list_place[LIST_KINDS];
  Animation animation;
  int event_count;
  std::vector<std::string> event_name;  // at most MAX_OBJ_EVENTS, in registration order
  Shape shape;
  PathFind* path_find;  // owned pending search, or null
  Path path;
};

}  // namespace tw
