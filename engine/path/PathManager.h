// The path manager: starts searches for objects, keeps the pending ones and
// spends a time slice per frame on them, handing each result to its object.
// The searches themselves belong to their objects (PathFind does the work).
#pragma once

#include <memory>
#include <unordered_set>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/core/Manager.h"
#include "engine/world/Vector.h"

namespace tw {

class BlockedCounts;
struct Node;
class Clock;
class Object;
class PathFind;
class RepeatedLog;

// Where a search with a target ends: where the mover's box touches the
// target's (edges meeting count; the mover stops beside it), or where the
// boxes overlap (the mover steps onto the target, and the world's collision
// follows when it moves there).
enum PathArrival : int { ARRIVE_TOUCHING = 0, ARRIVE_OVERLAPPING };

class TW_API PathManager : public Manager {
 public:
  static PathManager& getInstance();

  ~PathManager() override;
  // min_cycle_time becomes a tenth of the game manager's frame time, so the
  // game manager must have read its configuration first.
  int startUp() override;
  // Leaves the pending searches alone: they belong to their objects.
  void shutDown() override;

  // Starts a search for mover from its cell towards the goal cell (positions
  // truncated to whole cells); with a target, reaching it as arrival says
  // ends the search. Any search the mover already has is released first.
  // 0 or -1.
  int findPath(Object* p_mover, Vector goal, Object* p_target = nullptr,
               PathArrival arrival = ARRIVE_TOUCHING);
  // Gives every pending search one expansion per pass, in list order, for
  // about max(budget_ms, min_cycle_time) milliseconds. A search that ends
  // sends an EventPath straight to its mover's eventHandler.
  void cycle(int budget_ms);
  // The same work counted in passes instead of time: at most that many
  // passes, so the result does not depend on the machine's speed.
  void cyclePasses(int passes);
  // Takes every occurrence of the search off the pending list; -1 for null
  // or a search that is not pending. Does not destroy it.
  int removePathFind(PathFind* p_path_find);

  bool isPending(const PathFind* p_path_find) const;
  int getPendingCount() const;
  int getMinCycleTime() const;  // milliseconds
  // How many times the searches' counts of blocking objects per cell have
  // been built. They are kept per mover box and world size (for up to four
  // at once) and built again once the world's solid objects change.
  long getCountBuilds() const;

 private:
  PathManager();
  PathManager(const PathManager&) = delete;
  void operator=(const PathManager&) = delete;

  // The cell of p when it lies inside a w x h world; logs and fails otherwise.
  bool insideWorld(const char* what, Vector p, int w, int h, Node& node) const;
  int addSearch(Object* p_mover, Node start, Node goal, Object* p_target, PathArrival arrival);
  // One pass over the pending searches; false when the time is up or the
  // manager was stopped by a handler.
  bool runPass(const Clock& clock, int limit);
  void deliverIfEnded(PathFind* p_path_find, int result);
  // A search still pending after its result was delivered; from its second
  // delivery on, said to be unreleased (once per object type) and counted.
  void checkReleased(PathFind* p_path_find, const std::string& mover_type);

  std::vector<PathFind*> pending;  // not owned, in the order they were started
  int min_cycle_time;              // milliseconds
  std::unordered_set<const PathFind*> delivered;  // ended, result handed over, still pending
  std::unique_ptr<RepeatedLog> unreleased;        // deliveries of searches never released
  std::unique_ptr<BlockedCounts> blocked_counts;  // shared by the searches it starts
};

}  // namespace tw
