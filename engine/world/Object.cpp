#include "engine/world/Object.h"

#include <unordered_map>

namespace tw {

namespace {
int next_id = 1;  // process-wide id counter; the first object gets 1
unsigned long destruction_count = 0;

std::unordered_map<const Object*, int>& liveObjects() {
  static std::unordered_map<const Object*, int> live;
  return live;
}
}  // namespace

Object::Object() : id(next_id++), type("(Undefined)"), is_active(true) {
  liveObjects()[this] = id;
}

Object::~Object() {
  liveObjects().erase(this);
  destruction_count++;
}

void Object::setType(std::string new_type) { type = std::move(new_type); }

int Object::eventHandler(const Event*) { return 0; }

int Object::getId() const { return id; }

std::string Object::getType() const { return type; }

bool Object::isActive() const { return is_active; }

int Object::setActive(bool active) {
  is_active = active;
  return 0;
}

bool Object::isAlive(const Object* p_o, int object_id) {
  auto it = liveObjects().find(p_o);
  return it != liveObjects().end() && it->second == object_id;
}

unsigned long Object::getDestructionCount() { return destruction_count; }

}  // namespace tw
