// The event the world hands to both objects when a moving object's box would
// touch another solid object's box: the mover, the object met and the position
// the mover was going to.
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/Event.h"
#include "engine/world/Vector.h"

namespace tw {

class Object;

const std::string COLLISION_EVENT = "tw-collision";

class TW_API EventCollision : public Event {
 public:
  EventCollision();
  EventCollision(Object* p_init_object1, Object* p_init_object2, Vector init_position);

  Object* getObject1() const;  // the moving object
  void setObject1(Object* p_new_object1);
  Object* getObject2() const;  // the object it met
  void setObject2(Object* p_new_object2);
  Vector getPosition() const;  // where the mover was going
  void setPosition(Vector new_position);

 private:
  Vector position;
  Object* p_object1;  // not owned
  Object* p_object2;  // not owned
};

}  // namespace tw
