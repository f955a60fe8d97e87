#include "engine/world/WorldManager.h"

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cmath>

#include "engine/core/EventRouting.h"
#include "engine/core/LiveSnapshot.h"
#include "engine/core/EventStep.h"
#include "engine/core/LogManager.h"
#include "engine/core/LoopState.h"
#include "engine/world/EventCollision.h"
#include "engine/world/EventOut.h"
#include "engine/world/Geometry.h"
#include "engine/world/Object.h"
#include "engine/world/SceneGraph.h"

namespace tw {

namespace {
// The members of a list taken before any handler or destructor runs: a
// handler may shut the world down, deleting every object, while the list is
// still being walked.
void take(LiveSnapshot& snapshot, const ObjectList& list) {
  snapshot.reserve(static_cast<std::size_t>(list.getCount()));
  for (int i = 0; i < list.getCount(); i++) snapshot.add(list[i]);
}

const LogManager& logger() { return LogManager::getInstance(); }

const std::size_t CACHE_LINE = 64;  // bytes

// The lines from the object's start to the end of the fields an update reads
// and writes, as Object reports it: a change to Object's layout changes what
// is fetched. Only the address is used; nothing is read.
void prefetchUpdatedFields(const Object* p_o) {
#if defined(__GNUC__)
  const char* p_end = p_o->updatedFieldsEnd();
  for (const char* p_line = reinterpret_cast<const char*>(p_o); p_line < p_end; p_line += CACHE_LINE) {
    __builtin_prefetch(p_line);
  }
#else
  (void)p_o;
#endif
}

// How many objects ahead of the one at hand a walk fetches grid cells for.
const int PREFETCH_AHEAD = 8;

// In a large world every grid query or removal would wait for memory. A walk
// fetches ahead in two stages: the object twice as far on (its first lines,
// by address alone), and the grid cell of the object a few places further
// on, at its next position when it is about to move (reading that object,
// fetched by then).
void prefetchAhead(const Grid& grid, const ObjectList& list, const LiveSnapshot& snapshot, int i,
                   bool moving) {
#if defined(__GNUC__)
  const int far = i + 2 * PREFETCH_AHEAD;
  if (far < list.getCount()) prefetchUpdatedFields(list[far]);
#endif
  const int ahead = i + PREFETCH_AHEAD;
  if (ahead >= list.getCount()) return;
  const Object* p_o = list[ahead];
  if (!snapshot.stillAlive(static_cast<std::size_t>(ahead)) || !p_o->isSolid() || !p_o->isActive()) {
    return;
  }
  grid.prefetch(p_o, moving ? p_o->predictPosition() : p_o->getPosition());
}

// Whether a collision between a mover and a partner stops the mover.
bool blocks(const Object* p_mover, const Object* p_partner) {
  if (p_mover->getSolidness() == HARD && p_partner->getSolidness() == HARD) return true;
  return p_mover->getNoSoft() && p_partner->getSolidness() == SOFT;
}

Object* firstHard(const ObjectList& list) {
  for (int i = 0; i < list.getCount(); i++) {
    if (list[i]->getSolidness() == HARD) return list[i];
  }
  return nullptr;
}
}  // namespace

WorldManager::WorldManager()
    : owned_scene_graph(new SceneGraph),
      scene_graph(*owned_scene_graph),
      p_view_following(nullptr) {
  setType("WorldManager");
}

WorldManager::~WorldManager() = default;

WorldManager& WorldManager::getInstance() {
  static WorldManager instance;
  return instance;
}

bool WorldManager::isValid(std::string event_type) const {
  if (EventRouting::claimedByAnother(event_type, this)) {
    logger().writeLog("WorldManager::isValid(): WorldManager does not handle %s", event_type.c_str());
    return false;
  }
  if (event_type == OUT_EVENT || event_type == COLLISION_EVENT) {
    logger().writeLog("WorldManager::isValid(): Event %s handled automatically.", event_type.c_str());
    return false;
  }
  return true;
}

int WorldManager::startUp() {
  if (isStarted()) {
    logger().writeLog("%s::startup(): Warning! %s already started.", getType().c_str(),
                      getType().c_str());
    return -1;
  }
  clearDeletions();
  boundary = Box(Vector(0, 0), 0, 0);
  view = Box(Vector(0, 0), 0, 0);
  view_slack = Vector(0, 0);
  p_view_following = nullptr;
  if (scene_graph.startUp() != 0) {
    logger().writeLog("WorldManager::startUp(): Error! Unable to startup Scenegraph");
    return -1;
  }
  Manager::startUp();
  logger().writeLog(5, "WorldManager::startUp(): successfully started.");
  return 0;
}

void WorldManager::shutDown() {
  Manager::shutDown();
  clearDeletions();
  const ObjectList all = scene_graph.activeObjects() + scene_graph.inactiveObjects();
  LiveSnapshot snapshot;
  take(snapshot, all);
  for (int i = 0; i < all.getCount(); i++) {
    prefetchAhead(scene_graph.getGrid(), all, snapshot, i, false);
    Object* p_o = all[i];
    if (!snapshot.stillAlive(static_cast<std::size_t>(i))) continue;
    if (isDying(p_o)) {
      // Shut down from inside this object's own destructor: it is already
      // being deleted, so it only leaves the world here.
      removeObject(p_o);
      continue;
    }
    snapshot.destroying(static_cast<std::size_t>(i));
    destroy(p_o);
  }
  clearDeletions();
  scene_graph.shutDown();
  p_view_following = nullptr;
  logger().writeLog(5, "WorldManager::shutDown(): Successfully stopped.");
}

int WorldManager::insertObject(Object* p_o) {
  if (!isStarted()) {
    logger().writeLog(2, "WorldManager::insertObject(): Warning! Not adding Object %d", p_o->getId());
    logger().writeLog(2, "                              because WorldManager not started.");
    return -1;
  }
  p_o->in_world = true;
  return scene_graph.insertObject(p_o);
}

void WorldManager::removeObject(Object* p_o) {
  // A destroyed object must leave no pointer behind in the world.
  if (marked.erase(p_o) != 0) deletions.remove(p_o);
  if (p_o == p_view_following) p_view_following = nullptr;
  if (!p_o->in_world) return;
  p_o->in_world = false;
  scene_graph.removeObject(p_o);
}

ObjectList WorldManager::getAllObjects(bool also_inactive) const {
  if (!also_inactive) return scene_graph.activeObjects();
  return scene_graph.activeObjects() + scene_graph.inactiveObjects();
}

ObjectList WorldManager::getCollisions(const Object* p_o, Vector where) const {
  return scene_graph.getCollisions(p_o, where);
}

int WorldManager::markForDelete(Object* p_o) {
  if (p_o != nullptr && !LiveObjects::isAlive(p_o)) {
    logger().writeLog("WorldManager::markForDelete(): Error! No Object at %p (already deleted?)",
                      static_cast<const void*>(p_o));
    return -1;
  }
  // An object whose destructor is running is being deleted already.
  if (p_o != nullptr && isDying(p_o)) return 0;
  if (marked.count(p_o) != 0) return 0;
  if (deletions.insert(p_o) == -1) {
    logger().writeLog("WorldManager::markForDelete(): Error! unable to add Object %p to deletions list",
                      static_cast<const void*>(p_o));
    return -1;
  }
  marked.insert(p_o);
  return 0;
}

bool WorldManager::slide(Object* p_o, ObjectList& collisions, Vector& where) {
  const Object* p_hard = firstHard(collisions);
  if (p_hard == nullptr) return true;
  const Vector normal = getNormal(p_o, p_hard);
  const float nx = std::fabs(normal.getX());
  const float ny = std::fabs(normal.getY());
  const Vector direction = p_o->getDirection();
  // Motion along the surface is kept, motion into it dropped.
  Vector along(direction.getX() * ny, direction.getY() * nx);
  if (nx == 1.0f && ny == 1.0f) along.setX(-along.getX());
  along.normalize();
  along.scale(p_o->getSpeed());
  const Vector slide_position = p_o->getPosition() + along;
  ObjectList slide_collisions = getCollisions(p_o, slide_position);
  if (firstHard(slide_collisions) != nullptr) {
    logger().writeLog(5, "WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move.");
    return false;
  }
  collisions = slide_collisions;
  where = slide_position;
  return true;
}

bool WorldManager::deliverCollisions(Object* p_o, const ObjectList& collisions, Vector where) {
  const LiveMark mover(p_o, p_o->getId());
  LiveSnapshot partners;
  take(partners, collisions);
  bool blocked = false;
  for (int i = 0; i < collisions.getCount(); i++) {
    Object* p_partner = collisions[i];
    if (!partners.stillAlive(static_cast<std::size_t>(i))) continue;
    const EventCollision collision(p_o, p_partner, where);
    p_o->eventHandler(&collision);
    if (!mover.stillAlive()) return false;
    if (!partners.stillAlive(static_cast<std::size_t>(i))) continue;
    p_partner->eventHandler(&collision);
    if (!mover.stillAlive()) return false;
    if (!partners.stillAlive(static_cast<std::size_t>(i))) continue;
    // Solidness as it stands after both handlers.
    const bool stops = blocks(p_o, p_partner);
    if (stops) blocked = true;
    if (tracing()) traceCollision(p_o, p_partner, stops);
  }
  return !blocked;
}

bool WorldManager::tracing() const {
  return collision_trace || logger().getLogLevel() >= COLLISION_TRACE_LEVEL;
}

namespace {
// "'Ship' #3 (HARD)": type, id and solidness as the enumerator is written.
std::string describe(const Object* p_o) {
  std::string solidness = toString(p_o->getSolidness());
  std::transform(solidness.begin(), solidness.end(), solidness.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return "'" + p_o->getType() + "' #" + std::to_string(p_o->getId()) + " (" + solidness + ")";
}
}  // namespace

void WorldManager::traceCollision(const Object* p_o, const Object* p_partner, bool blocked) const {
  const char* outcome = "collision event, passed";
  if (blocked) {
    outcome = p_o->getSolidness() == HARD && p_partner->getSolidness() == HARD
                  ? "collision event, stopped (both HARD)"
                  : "collision event, stopped (no_soft)";
  }
  logger().writeLog(collision_trace ? 0 : COLLISION_TRACE_LEVEL,
                    "WorldManager::moveObject(): step %d: %s touches %s: %s.",
                    LoopState::getInstance().getStepCount(), describe(p_o).c_str(),
                    describe(p_partner).c_str(), outcome);
}

// Pairs that touch without any event: the mover or the other is SPECTRAL.
void WorldManager::traceSpectralContacts(const Object* p_o, Vector where) const {
  const Box box = getWorldBox(p_o, where);
  const ObjectList all = scene_graph.activeObjects();
  for (int i = 0; i < all.getCount(); i++) {
    const Object* p_other = all[i];
    if (p_other == p_o || (p_o->isSolid() && p_other->isSolid())) continue;
    if (!boxIntersectsBox(box, getWorldBox(p_other))) continue;
    logger().writeLog(collision_trace ? 0 : COLLISION_TRACE_LEVEL,
                      "WorldManager::moveObject(): step %d: %s touches %s: no event (SPECTRAL).",
                      LoopState::getInstance().getStepCount(), describe(p_o).c_str(),
                      describe(p_other).c_str());
  }
}

void WorldManager::setCollisionTrace(bool on) { collision_trace = on; }

bool WorldManager::getCollisionTrace() const { return collision_trace; }

void WorldManager::setCollisionTiming(bool on) { collision_timing = on; }

long long WorldManager::takeCollisionTime() {
  const long long taken = collision_ns;
  collision_ns = 0;
  return taken;
}

void WorldManager::raiseOutEvent(Object* p_o, const Box& old_box) {
  if (!boxIntersectsBox(old_box, boundary)) return;
  if (boxIntersectsBox(getWorldBox(p_o), boundary)) return;
  const EventOut out;
  p_o->eventHandler(&out);
}

void WorldManager::followWithView(const Object* p_o) {
  if (p_o != p_view_following) return;
  const float half_h = view.getHorizontal() * 0.5f;
  const float half_v = view.getVertical() * 0.5f;
  float cx = view.getCorner().getX() + half_h;
  float cy = view.getCorner().getY() + half_v;
  const float slack_x = view.getHorizontal() * view_slack.getX() * 0.5f;
  const float slack_y = view.getVertical() * view_slack.getY() * 0.5f;
  const Vector p = p_o->getPosition();
  if (p.getX() < cx - slack_x) cx -= (cx - slack_x) - p.getX();
  if (p.getX() > cx + slack_x) cx += p.getX() - (cx + slack_x);
  if (p.getY() < cy - slack_y) cy -= (cy - slack_y) - p.getY();
  if (p.getY() > cy + slack_y) cy += p.getY() - (cy + slack_y);
  setViewPosition(Vector(cx, cy));
}

// The collisions of a solid mover: false when it is stopped (where may
// change to a slide along a HARD surface).
bool WorldManager::resolveCollisions(Object* p_o, Vector& where) {
  ObjectList collisions = getCollisions(p_o, where);
  if (!collisions.isEmpty() && p_o->getSolidness() == HARD && p_o->getAvoidCollisions() &&
      !slide(p_o, collisions, where)) {
    return false;
  }
  return collisions.isEmpty() || deliverCollisions(p_o, collisions, where);
}

int WorldManager::moveObject(Object* p_o, Vector where) {
  const LiveMark mover(p_o, p_o->getId());
  if (tracing()) traceSpectralContacts(p_o, where);
  if (p_o->isSolid()) {
    const auto start = collision_timing ? std::chrono::steady_clock::now()
                                        : std::chrono::steady_clock::time_point();
    const bool moves = resolveCollisions(p_o, where);
    if (collision_timing) {
      collision_ns += std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::steady_clock::now() - start).count();
    }
    if (!moves) return -1;
  }
  const Box old_box = getWorldBox(p_o);
  p_o->setPosition(where);
  raiseOutEvent(p_o, old_box);
  if (mover.stillAlive()) followWithView(p_o);
  return 0;
}

void WorldManager::moveAll() {
  // Objects created during this update wait for the next one.
  const ObjectList objects = scene_graph.activeObjects();
  LiveSnapshot snapshot;
  take(snapshot, objects);
  for (int i = 0; i < objects.getCount(); i++) {
    if (!isStarted()) return;  // shut down from inside a handler
    prefetchAhead(scene_graph.getGrid(), objects, snapshot, i, true);
    Object* p_o = objects[i];
    if (!snapshot.stillAlive(static_cast<std::size_t>(i)) || !p_o->isActive()) continue;
    const Vector where = p_o->predictPosition();
    if (where != p_o->getPosition()) moveObject(p_o, where);
    if (!snapshot.stillAlive(static_cast<std::size_t>(i))) continue;
    p_o->followPath();
    p_o->applyAcceleration();
  }
}

void WorldManager::deleteMarked() {
  // Destructors may mark more objects (or create new ones); those marked
  // during the pass are deleted in a further round, in marking order.
  while (!deletions.isEmpty()) {
    const ObjectList batch = deletions;
    clearDeletions();
    LiveSnapshot snapshot;
    take(snapshot, batch);
    for (int i = 0; i < batch.getCount(); i++) {
      prefetchAhead(scene_graph.getGrid(), batch, snapshot, i, false);
      Object* p_o = batch[i];
      if (!snapshot.stillAlive(static_cast<std::size_t>(i)) || isDying(p_o)) continue;
      snapshot.destroying(static_cast<std::size_t>(i));
      destroy(p_o);
    }
  }
}

void WorldManager::clearDeletions() {
  deletions.clear();
  marked.clear();
}

void WorldManager::destroy(Object* p_o) {
  dying.push_back(p_o);
  delete p_o;
  dying.erase(std::find(dying.begin(), dying.end(), p_o));
}

bool WorldManager::isDying(const Object* p_o) const {
  return std::find(dying.begin(), dying.end(), p_o) != dying.end();
}

void WorldManager::update() {
  if (!isStarted()) return;
  moveAll();
  deleteMarked();
}

void WorldManager::draw() {
  for (int altitude = 0; altitude <= MAX_ALTITUDE; altitude++) {
    const ObjectList visible = scene_graph.visibleObjects(altitude);
    LiveSnapshot snapshot;
    take(snapshot, visible);
    for (int i = 0; i < visible.getCount(); i++) {
      if (!isStarted()) return;
      Object* p_o = visible[i];
      if (!snapshot.stillAlive(static_cast<std::size_t>(i))) continue;
      // View objects live in view coordinates: always drawn.
      if (p_o->isViewObject() || boxIntersectsBox(getWorldBox(p_o), view)) p_o->draw();
    }
  }
}

void WorldManager::setBoundary(Box new_boundary) {
  if (new_boundary == boundary) return;
  boundary = new_boundary;
  // Rebuild the grid for the new number of cells; a stopped world builds
  // its grid when it starts.
  if (isStarted()) scene_graph.rebuild();
}

void WorldManager::setView(Box new_view) { view = new_view; }

Box WorldManager::getView() const { return view; }

void WorldManager::setViewPosition(Vector view_position) {
  float x = view_position.getX() - view.getHorizontal() * 0.5f;
  float y = view_position.getY() - view.getVertical() * 0.5f;
  if (x + view.getHorizontal() > boundary.getHorizontal()) {
    x = boundary.getHorizontal() - view.getHorizontal();
  }
  if (y + view.getVertical() > boundary.getVertical()) {
    y = boundary.getVertical() - view.getVertical();
  }
  // Last, so that a view wider than the boundary sticks to the origin.
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  view.setCorner(Vector(x, y));
}

void WorldManager::setViewSlack(Vector new_view_slack) {
  if (new_view_slack.getX() < 0 || new_view_slack.getX() > 1 || new_view_slack.getY() < 0 ||
      new_view_slack.getY() > 1) {
    logger().writeLog("WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]");
  }
  view_slack = new_view_slack;
}

Vector WorldManager::getViewSlack() const { return view_slack; }

void WorldManager::setViewFollowing(Object* p_new_view_following) {
  p_view_following = p_new_view_following;
}

Object* WorldManager::getViewFollowing() const { return p_view_following; }

}  // namespace tw
