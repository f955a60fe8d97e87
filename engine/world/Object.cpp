#include "engine/world/Object.h"

#include <climits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "engine/core/BlockPool.h"
#include "engine/core/EventStep.h"
#include "engine/core/EventRouting.h"
#include "engine/core/LiveObjects.h"
#include "engine/core/LogManager.h"
#include "engine/core/Utility.h"
#include "engine/world/EventPath.h"
#include "engine/world/Geometry.h"
#include "engine/world/PathSearches.h"
#include "engine/world/SceneGraph.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
// Filled in by the resource manager when it is made.
Sprite* (*sprite_lookup)(const std::string& label) = nullptr;
}  // namespace

namespace {
int next_id = 1;  // process-wide id counter; the first object gets 1

// The next id. At the counter's end every further object gets INT_MAX (with
// one log line) rather than the counter overflowing.
int takeNextId() {
  if (next_id < INT_MAX) return next_id++;
  static bool reported = false;
  if (!reported) {
    LogManager::getInstance().writeLog("Object::Object(): Error! Object ids used up.");
    reported = true;
  }
  return INT_MAX;
}

// The manager that owns interests in this event type.
// (the manager that claimed it, or the world manager, which takes the rest).
Manager& managerFor(const std::string& event_type) {
  Manager* p_claimed = EventRouting::managerFor(event_type);
  return p_claimed != nullptr ? *p_claimed : WorldManager::getInstance();
}

SceneGraph& sceneGraph() { return WorldManager::getInstance().getSceneGraph(); }
}  // namespace

Object::Object()
    : id(takeNextId()),
      type("(Undefined)"),
      is_active(true),
      is_visible(true),
      box(Vector(-0.5f, -0.5f), 0.99f, 0.99f),
      position(1.0f, 1.0f),
      speed(0.0f),
      altitude(2),
      solidness(HARD),
      modified(ALL_OBJECT_ATTRIBUTES),
      no_soft(false),
      follow_path(false),
      avoid_collisions(false),
      in_world(false),
      list_place(),
      event_count(0),
      path_find(nullptr) {
  shape.setType(UNDEFINED_SHAPE);
  LiveObjects::add(this, id);
  WorldManager::getInstance().insertObject(this);
}

void* Object::operator new(std::size_t bytes) {
  void* p_block = BlockPool::allocate(bytes);
  if (p_block == nullptr) throw std::bad_alloc();
  return p_block;
}

void* Object::operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
  return BlockPool::allocate(bytes);
}

void Object::operator delete(void* p_block) noexcept { BlockPool::release(p_block); }

void Object::operator delete(void* p_block, const std::nothrow_t&) noexcept {
  BlockPool::release(p_block);
}

Object::~Object() {
  unregisterAllInterests();
  releasePathFind();
  WorldManager::getInstance().removeObject(this);
  LiveObjects::remove(this);
}

void Object::unregisterAllInterests() {
  while (event_count > 0) {
    const int before = event_count;
    unregisterInterest(event_name.back());
    // A manager that no longer knows the interest must not stall the loop.
    if (event_count == before) {
      event_name.pop_back();
      event_count--;
    }
  }
}

void Object::releasePathFind() {
  if (path_find == nullptr) return;
  // Cleared first, so nothing reached from here can see a half-released search.
  PathFind* p_old = path_find;
  path_find = nullptr;
  // Only the path layer makes searches, and it registered itself first.
  PathSearches* p_searches = PathSearches::installed();
  if (p_searches != nullptr) p_searches->release(p_old);
}

void Object::markModified(unsigned int attribute) { modified |= attribute; }

int Object::takeId(int new_id) {
  // The counter must end above the id, which it cannot for the largest int.
  if (new_id == INT_MAX) {
    LogManager::getInstance().writeLog(
        "Object::deserialize(): Error! Id %d leaves no room for later ids. Ignored.", new_id);
    return -1;
  }
  id = new_id;
  LiveObjects::add(this, id);
  if (new_id >= next_id) next_id = new_id + 1;
  markModified(ID);
  return 0;
}

void Object::setType(std::string new_type) {
  if (in_world) sceneGraph().updateType(this, new_type);
  type = std::move(new_type);
  markModified(TYPE);
}

void Object::setPosition(Vector new_position) {
  if (new_position == position) return;
  if (in_world) sceneGraph().updatePosition(this, new_position);
  position = new_position;
  markModified(POSITION);
}

int Object::eventHandler(const Event* p_e) {
  if (p_e->getType() != PATH_EVENT) return 0;
  const auto* p_path_event = dynamic_cast<const EventPath*>(p_e);
  if (p_path_event == nullptr) {
    LogManager::getInstance().writeLog("Object::eventHandler(): Error! Dynamic cast to EventPath failed.");
    return 0;
  }
  if (p_path_event->getResult() == PATH_FOUND) {
    setPath(p_path_event->getPath());
    setFollowPath(true);
  }
  releasePathFind();
  return 1;
}

int Object::setSolidness(Solidness new_solidness) {
  if (new_solidness == solidness) return 0;
  // Negative values are refused too: they are no solidness at all.
  if (new_solidness < HARD || new_solidness > SPECTRAL) {
    LogManager::getInstance().writeLog(
        "Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.",
        static_cast<int>(new_solidness));
    return -1;
  }
  if (in_world && sceneGraph().updateSolidness(this, new_solidness) == -1) return -1;
  solidness = new_solidness;
  markModified(SOLIDNESS);
  return 0;
}

void Object::setAvoidCollisions(bool new_avoid_collisions) {
  avoid_collisions = new_avoid_collisions;
  markModified(AVOID_COLLISIONS);
}

int Object::setAltitude(int new_altitude) {
  if (new_altitude == altitude) return 0;
  if (!valueInRange(static_cast<float>(new_altitude), 0.0f, static_cast<float>(MAX_ALTITUDE))) {
    LogManager::getInstance().writeLog("Object::setAltitude(): Altitude %d not in range [%d,%d].  Ignored.",
                                       new_altitude, 0, MAX_ALTITUDE);
    return -1;
  }
  if (in_world && sceneGraph().updateAltitude(this, new_altitude) == -1) return -1;
  altitude = new_altitude;
  markModified(ALTITUDE);
  return 0;
}

void Object::setDirection(Vector new_direction) {
  new_direction.normalize();
  direction = new_direction;
}

void Object::setVelocity(Vector new_velocity) {
  speed = new_velocity.getMagnitude();
  new_velocity.normalize();
  direction = new_velocity;
  markModified(SPEED | DIRECTION);
}

void Object::setAcceleration(Vector new_acceleration) {
  acceleration = new_acceleration;
  markModified(ACCELERATION);
}

bool Object::isVisible() const { return is_visible; }

int Object::setActive(bool active) {
  if (active == is_active) return 0;
  if (in_world && sceneGraph().updateActive(this, active) == -1) return -1;
  is_active = active;
  markModified(ACTIVE);
  return 0;
}

void Object::setBox(Box new_box) {
  if (new_box == box) return;
  if (in_world) sceneGraph().removeObject(this);
  box = new_box;
  if (in_world) sceneGraph().insertObject(this);
  markModified(BOX);
}

void Object::setSpriteLookup(Sprite* (*lookup)(const std::string& label)) { sprite_lookup = lookup; }


int Object::setSprite(std::string label) {
  Sprite* p_sprite = sprite_lookup != nullptr ? sprite_lookup(label) : nullptr;
  if (p_sprite == nullptr) {
    // Once per label: a spawner asks for the same missing sprite for every
    // object it makes (the lookup counts the repeats).
    static std::unordered_set<std::string> reported;  // at most MAX_REPORTED_LABELS
    const std::size_t MAX_REPORTED_LABELS = 1000;
    if (reported.size() < MAX_REPORTED_LABELS && reported.insert(label).second) {
      LogManager::getInstance().writeLog("Object::setSprite(): Warning! Sprite '%s' not found",
                                         label.c_str());
    }
    return -1;
  }
  animation.setSprite(p_sprite);
  // A changed sprite must travel in a record of changed attributes too.
  markModified(ANIMATION);
  setBox(animation.getBox());
  return 0;
}

void Object::setAnimation(Animation new_animation, bool also_set_box) {
  animation = new_animation;
  markModified(ANIMATION);
  if (also_set_box) setBox(animation.getBox());
}

int Object::draw() {
  const int result = animation.draw(position);
  if (shape.getType() != UNDEFINED_SHAPE) shape.draw(position);
  return result;
}

void Object::setModified(unsigned int new_modified) { modified = new_modified; }

unsigned int Object::getModified() const { return modified; }

void Object::setShape(Shape new_shape) {
  shape = new_shape;
  markModified(SHAPE);
}

void Object::setFollowPath(bool new_follow_path) {
  follow_path = new_follow_path;
  if (!path.isDone()) setDirection(path.getCurrent() - position);
  markModified(FOLLOW_PATH);
}

std::string Object::getType() const { return type; }

int Object::setVisible(bool visible) {
  if (visible == is_visible) return 0;
  if (in_world && sceneGraph().updateVisible(this, visible) == -1) return -1;
  is_visible = visible;
  markModified(VISIBLE);
  return 0;
}

Vector Object::getDirection() const { return direction; }
float Object::getSpeed() const { return speed; }

void Object::setSpeed(float new_speed) {
  speed = new_speed;
  markModified(SPEED);
}

Vector Object::getVelocity() const {
  Vector velocity = direction;
  velocity.scale(speed);
  return velocity;
}

Vector Object::getAcceleration() const { return acceleration; }
Vector Object::predictPosition() const { return position + getVelocity(); }
int Object::getAltitude() const { return altitude; }
bool Object::getNoSoft() const { return no_soft; }

void Object::setNoSoft(bool new_no_soft) {
  no_soft = new_no_soft;
  markModified(NO_SOFT);
}

bool Object::getAvoidCollisions() const { return avoid_collisions; }
Animation Object::getAnimation() const { return animation; }
Shape Object::getShape() const { return shape; }
bool Object::isModified() const { return modified != 0; }
Path Object::getPath() const { return path; }

void Object::setPath(Path new_path) {
  path = std::move(new_path);
  markModified(PATH);
}

bool Object::getFollowPath() const { return follow_path; }
PathFind* Object::getPathFind() const { return path_find; }

void Object::setPathFind(PathFind* p_search) {
  if (p_search == path_find) return;
  releasePathFind();
  path_find = p_search;
}
int Object::getEventCount() const { return event_count; }

std::string Object::getEventName(int index) const {
  if (index < 0 || index >= event_count) return "";
  return event_name[static_cast<size_t>(index)];
}

int Object::registerInterest(std::string event_type) {
  if (event_count == MAX_OBJ_EVENTS) {
    LogManager::getInstance().writeLog(
        "Object::registerInterest(): maximum (%d) reached, cannot register for event '%s'",
        MAX_OBJ_EVENTS, event_type.c_str());
    return -1;
  }
  if (managerFor(event_type).registerInterest(this, event_type) == -1) return -1;
  event_name.push_back(event_type);
  event_count++;
  markModified(EVENTS);
  return 0;
}

int Object::unregisterInterest(std::string event_type) {
  int found = -1;
  for (int i = 0; i < event_count && found < 0; i++) {
    if (event_name[static_cast<size_t>(i)] == event_type) found = i;
  }
  if (found < 0) {
    LogManager::getInstance().writeLog(
        "Object::unregisterInterest(): event '%s' not previously registered", event_type.c_str());
    return -1;
  }
  if (managerFor(event_type).unregisterInterest(this, event_type) == -1) return -1;
  event_name.erase(event_name.begin() + found);
  event_count--;
  markModified(EVENTS);
  return 0;
}

void Object::followPath() {
  if (!follow_path) return;
  while (!path.isDone()) {
    const Vector waypoint = path.getCurrent();
    const float d = distance(position, waypoint);
    // Three quarters of the speed: speed * 3 in float, the rest in double.
    const float speed_3 = speed * 3.0f;
    if (static_cast<double>(d) > static_cast<double>(speed_3) * 0.25) {
      setDirection(waypoint - position);
      return;
    }
    setPosition(waypoint);
    path.next();
    markModified(PATH);
  }
  setDirection(Vector(0, 0));
  setFollowPath(false);
}

void Object::applyAcceleration() {
  if (acceleration == Vector(0, 0)) return;
  setVelocity(getVelocity() + acceleration);
}


}  // namespace tw
