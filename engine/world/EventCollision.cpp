#include "engine/world/EventCollision.h"

namespace tw {

EventCollision::EventCollision() : p_object1(nullptr), p_object2(nullptr) {
  setType(COLLISION_EVENT);
}

EventCollision::EventCollision(Object* p_init_object1, Object* p_init_object2,
                               Vector init_position)
    : position(init_position), p_object1(p_init_object1), p_object2(p_init_object2) {
  setType(COLLISION_EVENT);
}

Object* EventCollision::getObject1() const { return p_object1; }
void EventCollision::setObject1(Object* p_new_object1) { p_object1 = p_new_object1; }
Object* EventCollision::getObject2() const { return p_object2; }
void EventCollision::setObject2(Object* p_new_object2) { p_object2 = p_new_object2; }
Vector EventCollision::getPosition() const { return position; }
void EventCollision::setPosition(Vector new_position) { position = new_position; }

}  // namespace tw
