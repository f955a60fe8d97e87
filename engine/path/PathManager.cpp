#include "engine/path/PathManager.h"

#include <algorithm>
#include <new>

#include "engine/core/Clock.h"
#include "engine/core/LoopState.h"
#include "engine/core/LogManager.h"
#include "engine/core/RepeatedLog.h"
#include "engine/path/BlockedCounts.h"
#include "engine/world/EventPath.h"
#include "engine/path/Node.h"
#include "engine/path/PathFind.h"
#include "engine/world/PathSearches.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
const LogManager& logger() { return LogManager::getInstance(); }

// Whole milliseconds on the clock, truncated.
int elapsedMs(const Clock& clock) { return clock.split() / 1000; }

// The cell holding position p when it lies inside a w x h world.
bool toCell(Vector p, int w, int h, Node& cell) {
  // Written so that NaN counts as outside.
  if (!(p.getX() >= 0.0f && p.getX() < static_cast<float>(w) && p.getY() >= 0.0f &&
        p.getY() < static_cast<float>(h))) {
    return false;
  }
  cell = Node{static_cast<int>(p.getX()), static_cast<int>(p.getY())};
  return true;
}
}  // namespace

namespace {
// How the world hands back a search an object lets go of: it leaves the
// pending list and is deleted.
class ReleaseToPathManager : public PathSearches {
 public:
  void release(PathFind* p_search) override {
    PathManager::getInstance().removePathFind(p_search);
    delete p_search;
  }
};
}  // namespace

PathManager::PathManager()
    : min_cycle_time(0),
      unreleased(new RepeatedLog("path events delivered again for searches never released")),
      blocked_counts(new BlockedCounts) {
  setType("PathManager");
  static ReleaseToPathManager releases;
  PathSearches::install(&releases);
}

PathManager::~PathManager() = default;

PathManager& PathManager::getInstance() {
  static PathManager instance;
  return instance;
}

int PathManager::startUp() {
  if (isStarted()) {
    logger().writeLog("%s::startup(): Warning! %s already started.", getType().c_str(),
                      getType().c_str());
    return -1;
  }
  min_cycle_time = LoopState::getInstance().getFrameTime() / 10;
  Manager::startUp();
  logger().writeLog(5, "PathManager::startUp(): successfully started.");
  return 0;
}

void PathManager::shutDown() {
  Manager::shutDown();
  logger().writeLog(5, "PathManager::shutDown(): successfully stopped.");
}

bool PathManager::insideWorld(const char* what, Vector p, int w, int h, Node& cell) const {
  if (toCell(p, w, h, cell)) return true;
  logger().writeLog("PathManager::findPath(): Error! %s %s outside the world (%d x %d).", what,
                    p.toString().c_str(), w, h);
  return false;
}

int PathManager::findPath(Object* p_mover, Vector goal, Object* p_target, PathArrival arrival) {
  if (!isStarted()) {
    logger().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (p_mover == nullptr) {
    logger().writeLog("PathManager::findPath(): Error! No object to find a path for.");
    return -1;
  }
  const Box boundary = WorldManager::getInstance().getBoundary();
  const int w = static_cast<int>(boundary.getHorizontal());
  const int h = static_cast<int>(boundary.getVertical());
  if (static_cast<long>(w) * h > MAX_PATH_NODES) {
    logger().writeLog("PathManager::findPath(): Error! World of %d x %d cells too large to search (at most %ld cells).",
                      w, h, MAX_PATH_NODES);
    return -1;
  }
  Node start_cell{0, 0};
  Node goal_cell{0, 0};
  if (!insideWorld("Start", p_mover->getPosition(), w, h, start_cell) ||
      !insideWorld("Goal", goal, w, h, goal_cell)) {
    return -1;
  }
  return addSearch(p_mover, start_cell, goal_cell, p_target, arrival);
}

int PathManager::addSearch(Object* p_mover, Node start_cell, Node goal_cell, Object* p_target,
                           PathArrival arrival) {
  auto* p_path_find = new (std::nothrow) PathFind(p_mover, start_cell, goal_cell, p_target, blocked_counts.get());
  if (p_path_find != nullptr) p_path_find->setArrival(arrival);
  if (p_path_find == nullptr || !p_path_find->isAllocated()) {
    logger().writeLog("PathManager::findPath(): Error! Unable to allocate the search nodes.");
    delete p_path_find;
    return -1;
  }
  try {
    pending.push_back(p_path_find);
  } catch (const std::bad_alloc&) {
    logger().writeLog("PathManager::findPath(): Error! Unable to add the search to the pending list.");
    delete p_path_find;
    return -1;
  }
  // The new search replaces any the object already has.
  p_mover->setPathFind(p_path_find);
  return 0;
}

void PathManager::cycle(int budget_ms) {
  if (pending.empty()) return;
  if (!isStarted()) {
    logger().writeLog("%s not started!", getType().c_str());
    return;
  }
  // Every frame gets at least min_cycle_time, even one already over time.
  const int limit = std::max(min_cycle_time, budget_ms);
  const Clock clock;
  while (!pending.empty() && elapsedMs(clock) < limit) {
    if (!runPass(clock, limit)) break;
  }
  if (elapsedMs(clock) > limit) {
    logger().writeLog(5, "PathManager::cycle(): cycle time %d exceeded.", limit);
  }
}

void PathManager::cyclePasses(int passes) {
  if (pending.empty()) return;
  if (!isStarted()) {
    logger().writeLog("%s not started!", getType().c_str());
    return;
  }
  for (int pass = 0; pass < passes && !pending.empty(); pass++) {
    for (size_t i = 0; i < pending.size(); i++) {
      PathFind* p_path_find = pending[i];
      deliverIfEnded(p_path_find, p_path_find->cycleOnce());
      if (!isStarted()) return;
    }
  }
}

bool PathManager::runPass(const Clock& clock, int limit) {
  // Handlers may remove or add searches: the count is read again every time.
  for (size_t i = 0; i < pending.size(); i++) {
    PathFind* p_path_find = pending[i];
    deliverIfEnded(p_path_find, p_path_find->cycleOnce());
    // The search may be gone now; only the list is touched from here on.
    if (!isStarted() || elapsedMs(clock) > limit) return false;
  }
  return true;
}

void PathManager::deliverIfEnded(PathFind* p_path_find, int result) {
  if (result != PATH_NOT_FOUND && result != PATH_FOUND) return;
  Object* p_mover = p_path_find->getMover();
  if (p_mover == nullptr) return;
  const std::string mover_type = p_mover->getType();
  const EventPath event(result, p_path_find->getPath());
  p_mover->eventHandler(&event);
  // A handler that lets the search go has it deleted (and off the list).
  if (isPending(p_path_find)) checkReleased(p_path_find, mover_type);
}

void PathManager::checkReleased(PathFind* p_path_find, const std::string& mover_type) {
  if (delivered.insert(p_path_find).second) return;  // the first delivery
  unreleased->count("PathManager::cycle()");
  if (logger().writeNotice("a path search of a '%s' ended but was never released: pass the "
                           "tw-path event on to Object::eventHandler", mover_type.c_str())) {
    logger().writeLog("PathManager::cycle(): Warning! A '%s' ended its path search without "
                      "releasing it, so the tw-path event comes again on every pass; pass the "
                      "event on to Object::eventHandler.", mover_type.c_str());
  }
}

int PathManager::removePathFind(PathFind* p_path_find) {
  if (p_path_find == nullptr || !isPending(p_path_find)) {
    logger().writeLog("PathManager::removePathFind(): Warning! Search %p is not pending.",
                      static_cast<const void*>(p_path_find));
    return -1;
  }
  pending.erase(std::remove(pending.begin(), pending.end(), p_path_find), pending.end());
  delivered.erase(p_path_find);
  return 0;
}

bool PathManager::isPending(const PathFind* p_path_find) const {
  return std::find(pending.begin(), pending.end(), p_path_find) != pending.end();
}

int PathManager::getPendingCount() const { return static_cast<int>(pending.size()); }

int PathManager::getMinCycleTime() const { return min_cycle_time; }

long PathManager::getCountBuilds() const { return blocked_counts->getBuildCount(); }

}  // namespace tw
