// Path search and the path manager: routes around walls and corners,
// unreachable goals, target objects, the "goal inside the first HARD object"
// rule, a check against a plain list-scanning search on random worlds (small,
// large and crowded), and the time-sliced cycle that hands results to the
// movers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

#include "engine/core/LoopState.h"
#include "engine/path/PathFind.h"
#include "engine/path/PathManager.h"
#include "engine/world/EventPath.h"
#include "engine/world/Geometry.h"
#include "tests/support/EngineFixtures.h"

using tw::Node;
using tw::PathFind;
using tw::PathManager;
using tw::Vector;

namespace {
tw::Object* wall(Vector where) {
  auto* p = new tw::Object;
  p->setType("Wall");
  p->setPosition(where);
  return p;
}

// A probe that also lets the base class take a found path and follow it.
class Walker : public tw_test::Probe {
 public:
  explicit Walker(Vector where) : Probe("Walker", where) {}
  int eventHandler(const tw::Event* p_e) override {
    Object::eventHandler(p_e);
    return Probe::eventHandler(p_e);
  }
};

class PathTest : public tw_test::WorldFixture {
 protected:
  void SetUp() override {
    WorldFixture::SetUp();
    ASSERT_EQ(paths().startUp(), 0);
  }
  void TearDown() override {
    WorldFixture::TearDown();
    if (paths().isStarted()) paths().shutDown();
  }
  static PathManager& paths() { return PathManager::getInstance(); }
  // Walls on every cell from (x0, y0) to (x1, y1), both ends included.
  static void walls(int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; y++) {
      for (int x = x0; x <= x1; x++) wall(Vector(x, y));
    }
  }
  // Walls on the eight cells around (x, y).
  static void ring(int x, int y) {
    for (int i = 0; i < 9; i++) {
      if (i != 4) wall(Vector(x - 1 + i % 3, y - 1 + i / 3));
    }
  }
  static int run(PathFind& search) {
    int result = tw::PATH_SEARCHING;
    for (int i = 0; i < 100000 && result == tw::PATH_SEARCHING; i++) result = search.cycleOnce();
    return result;
  }
};

std::vector<Vector> waypoints(tw::Path path) {
  std::vector<Vector> out;
  for (; !path.isDone(); path.next()) out.push_back(path.getCurrent());
  return out;
}
}  // namespace

TEST_F(PathTest, ShortestRoutesAroundAWallAndBetweenEqualOnes) {
  auto* walker = new Walker(Vector(0, 0));
  walls(5, 0, 5, 5);
  PathFind around(walker, Node{2, 2}, Node{8, 2});
  ASSERT_EQ(run(around), tw::PATH_FOUND);
  const std::vector<Vector> cells = waypoints(around.getPath());
  float cost = 0;
  for (size_t i = 1; i < cells.size(); i++) cost += tw::distance(cells[i - 1], cells[i]);
  EXPECT_EQ(cells.back(), Vector(8, 2));
  // Down to (5,6) and back up: twice three diagonals and one straight step.
  EXPECT_NEAR(cost, 6 * std::sqrt(2.0f) + 2, 1e-4);
  // Of two equal routes, the neighbour found last among equals goes first.
  PathFind tie(walker, Node{5, 10}, Node{4, 8});
  ASSERT_EQ(run(tie), tw::PATH_FOUND);
  EXPECT_EQ(tie.getPath().toString(), "(5,10)|(5,9)|(4,8)|");
}

TEST_F(PathTest, UnreachableGoalsAndAWorldChangingDuringTheSearch) {
  ring(10, 10);
  auto* walker = new Walker(Vector(0, 0));
  PathFind search(walker, Node{0, 0}, Node{10, 10});
  EXPECT_EQ(run(search), tw::PATH_NOT_FOUND);
  EXPECT_EQ(search.getClosedCount(), 80 * 24 - 9);
  EXPECT_EQ(search.cycleOnce(), tw::PATH_NOT_FOUND);  // ended: no more work
  EXPECT_EQ(search.getClosedCount(), 80 * 24 - 9);
  graph().objectsOfType("Wall")[1]->setSolidness(tw::SOFT);  // a wall turned SOFT lets it by
  PathFind through(walker, Node{0, 0}, Node{10, 10});
  EXPECT_EQ(run(through), tw::PATH_FOUND);
  // A wall raised while a search runs is seen by its later steps.
  PathFind cut(walker, Node{0, 5}, Node{60, 5});
  EXPECT_EQ(cut.cycleOnce(), tw::PATH_SEARCHING);
  walls(50, 0, 50, 23);
  EXPECT_EQ(run(cut), tw::PATH_NOT_FOUND);
  // A search keeps its grid size when the boundary grows; huge worlds are refused.
  PathFind grows(walker, Node{5, 23}, Node{15, 23});
  EXPECT_EQ(grows.cycleOnce(), tw::PATH_SEARCHING);
  world().setBoundary(tw::Box(Vector(0, 0), 200, 200));  // larger than the grid
  EXPECT_EQ(run(grows), tw::PATH_FOUND);
  EXPECT_EQ(grows.getGridWidth(), 80);
  EXPECT_EQ(waypoints(grows.getPath()).back(), Vector(15, 23));
  world().setBoundary(tw::Box(Vector(0, 0), 3000, 3000));
  PathFind huge(walker, Node{5, 23}, Node{15, 23});
  EXPECT_EQ(huge.cycleOnce(), tw::PATH_NOT_FOUND);
  EXPECT_EQ(paths().findPath(walker, Vector(10, 3)), -1);
}

// With a target the search ends where the mover first touches it, or (asked
// for) first overlaps it: boxes of whole cells touch a cell before they
// overlap; a box reaching into the next column overlaps there at once.
TEST_F(PathTest, TargetObjectEndsTheSearchWhereTheMoverFirstTouchesOrOverlapsIt) {
  const tw::Box reaching(Vector(-1.5f, -0.5f), 2.99f, 0.99f);  // into column 7
  const tw::Box whole_cell(Vector(0, -0.5f), 1, 0.99f);        // columns x to x + 1, edges in
  const tw::Box usual(Vector(-0.5f, -0.5f), 0.99f, 0.99f);       // an object's own
  const struct {
    tw::Box walker_box, target_box;
    tw::PathArrival arrival;
    int end_x;
  } cases[] = {
      {usual, reaching, tw::ARRIVE_TOUCHING, 7},
      {usual, reaching, tw::ARRIVE_OVERLAPPING, 7},
      {whole_cell, whole_cell, tw::ARRIVE_TOUCHING, 7},
      {whole_cell, whole_cell, tw::ARRIVE_OVERLAPPING, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.arrival) + " ends at " + std::to_string(c.end_x));
    auto* walker = new Walker(Vector(2, 5));
    walker->setBox(c.walker_box);
    auto* target = wall(Vector(8, 5));
    target->setBox(c.target_box);
    ASSERT_EQ(paths().findPath(walker, Vector(8, 5), target, c.arrival), 0);
    PathFind& search = *walker->getPathFind();
    ASSERT_EQ(run(search), tw::PATH_FOUND);
    EXPECT_EQ(search.getGoal(), (Node{c.end_x, 5}));
    EXPECT_EQ(waypoints(search.getPath()).back(), Vector(c.end_x, 5));
    world().markForDelete(walker);
    world().markForDelete(target);
    world().update();
  }
  auto* walker = new Walker(Vector(2, 5));
  // A target destroyed meanwhile is dropped; the goal cell is still reached.
  auto* gone = wall(Vector(20, 5));
  PathFind chase(walker, Node{2, 5}, Node{20, 5}, gone);
  EXPECT_EQ(chase.cycleOnce(), tw::PATH_SEARCHING);
  world().markForDelete(gone);
  world().update();
  EXPECT_EQ(run(chase), tw::PATH_FOUND);
  EXPECT_EQ(chase.getTarget(), nullptr);
  EXPECT_EQ(chase.getGoal(), (Node{20, 5}));
}

TEST_F(PathTest, FirstHardObjectDecidesWhetherAGoalInsideItUnblocks) {
  auto* walker = new Walker(Vector(1, 1));
  auto* small = wall(Vector(11, 10));
  auto* big = wall(Vector(11, 10));
  big->setBox(tw::Box(Vector(-1.5f, -1.5f), 2.99f, 2.99f));  // covers the goal (10,10)
  PathFind probe(walker, Node{1, 1}, Node{10, 10});
  ASSERT_EQ(world().getCollisions(walker, Vector(11, 10))[0], small);
  EXPECT_TRUE(probe.isBlocked(Node{11, 10}, Node{10, 10}));   // small comes first
  small->setSolidness(tw::SOFT);
  EXPECT_FALSE(probe.isBlocked(Node{11, 10}, Node{10, 10}));  // now big is the first HARD
  EXPECT_TRUE(probe.isBlocked(Node{11, 10}, Node{20, 20}));   // goal not inside it
  EXPECT_FALSE(probe.isBlocked(Node{30, 10}, Node{10, 10}));  // nothing there
  PathFind search(walker, Node{1, 1}, Node{11, 10});          // aimed inside: walks in
  ASSERT_EQ(run(search), tw::PATH_FOUND);
  EXPECT_EQ(waypoints(search.getPath()).back(), Vector(11, 10));
}

namespace {
// The search as a plain scan over an ordered open list: the result, the
// number of expansions and the path.
std::tuple<int, int, std::string> linearSearch(const PathFind& probe, Node start, Node goal) {
  const int w = probe.getGridWidth(), h = probe.getGridHeight();
  auto at = [&](Node c) { return static_cast<size_t>(c.y * w + c.x); };
  auto len = [](int dx, int dy) { return static_cast<float>(std::sqrt(double(dx) * dx + double(dy) * dy)); };
  auto text = [](Node c) { return "(" + std::to_string(c.x) + "," + std::to_string(c.y) + ")|"; };
  std::vector<float> g(at(Node{0, h}), 0), f(g.size(), 0);
  std::vector<char> closed(g.size(), 0), is_open(g.size(), 0);
  std::vector<Node> parent(g.size(), start), open;
  for (Node cur = start, expansions = {1, 0};; expansions.x++) {
    closed[at(cur)] = 1;
    if (cur == goal) {
      std::string path = text(goal);
      for (Node c = goal; !(c == start);) path = text(c = parent[at(c)]) + path;
      return {tw::PATH_FOUND, expansions.x, path};
    }
    for (int dy = -1; dy <= 1; dy++) {
      for (int dx = -1; dx <= 1; dx++) {
        const Node n{cur.x + dx, cur.y + dy};
        if ((dx == 0 && dy == 0) || n.x < 0 || n.y < 0 || n.x >= w || n.y >= h || closed[at(n)]) continue;
        if (probe.isBlocked(n, goal)) continue;
        if (dx && dy && probe.isBlocked(Node{n.x, cur.y}, goal) && probe.isBlocked(Node{cur.x, n.y}, goal)) continue;
        const float g_new = g[at(cur)] + len(dx, dy);
        if (is_open[at(n)] && g_new > g[at(n)]) continue;
        if (!is_open[at(n)]) open.push_back(n);
        is_open[at(n)] = 1;
        parent[at(n)] = cur;
        g[at(n)] = g_new;
        f[at(n)] = g_new + len(goal.x - n.x, goal.y - n.y);
      }
    }
    if (open.empty()) return {tw::PATH_NOT_FOUND, expansions.x, ""};
    size_t best = open.size() - 1;  // the smallest f, the latest found among equals
    for (size_t i = open.size(); i-- > 0;) best = f[at(open[i])] < f[at(open[best])] ? i : best;
    cur = open[best];
    is_open[at(cur)] = 0;
    open.erase(open.begin() + static_cast<long>(best));
  }
}
}  // namespace

// Small worlds, and large ones (more distinct coordinates than the node
// map's memo of spans holds) with a spot crowded past what its counts hold
// and walls whose spans the map must test node by node.
TEST_F(PathTest, ExpandsTheSameNodesAsAPlainListScanOnRandomWorlds) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 6; round++) {
    // The large worlds are sparser: a wall blocks the nine nodes around it.
    const int w = round < 4 ? 80 : 300, h = round < 4 ? 24 : 60, percent = round < 4 ? 30 : 3;
    world().setBoundary(tw::Box(Vector(0, 0), static_cast<float>(w), static_cast<float>(h)));
    const Node start{static_cast<int>(random() % w), static_cast<int>(random() % h)};
    const Node goal{static_cast<int>(random() % w), static_cast<int>(random() % h)};
    for (int y = 0; y < h; y++) {
      for (int x = 0; x < w; x++) {
        if (static_cast<int>(random() % 100) < percent && !(Node{x, y} == start) && !(Node{x, y} == goal)) wall(Vector(x, y));
      }
    }
    if (w > 80) {
      for (int i = 0; i < 260; i++) wall(Vector(goal.x, goal.y + 1));
      wall(Vector(goal.x - 2, goal.y))->setBox(tw::Box(Vector(0, 0), -2, 1));
      wall(Vector(3.0e6f, 1));
    }
    auto* walker = new Walker(Vector(start.x, start.y));
    // Between the searches walls move, one turns SOFT, and a wide wall
    // holding the goal overlaps a small one, before or after it, so the
    // first HARD one must decide.
    for (int phase = 0; phase < 2; phase++) {
      SCOPED_TRACE("round " + std::to_string(round) + " phase " + std::to_string(phase));
      if (phase == 1) {
        const tw::ObjectList all = graph().objectsOfType("Wall");
        for (int i = 0; i < all.getCount(); i += 3) all[i]->setPosition(Vector(random() % w, random() % h));
        all[1]->setSolidness(tw::SOFT);
        for (int k = 0; k < 2; k++) {
          tw::Object* p = wall(Vector(goal.x + 1, goal.y));
          if (k == round % 2) p->setBox(tw::Box(Vector(-1.5f, -1.5f), 2.99f, 2.99f));
        }
      }
      // And the way back: a second search in the same world, another goal.
      for (const auto& ends : {std::make_pair(start, goal), std::make_pair(goal, start)}) {
        PathFind search(walker, ends.first, ends.second);
        const int result = run(search);
        EXPECT_EQ(std::make_tuple(result, search.getClosedCount(), search.getPath().toString()),
                  linearSearch(search, ends.first, ends.second));
      }
    }
    const tw::ObjectList all = world().getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++) world().markForDelete(all[i]);
    world().update();
  }
}

TEST_F(PathTest, ManagerRefusesBadRequestsAndKeepsOneSearchPerMover) {
  EXPECT_EQ(paths().startUp(), -1);
  auto* walker = new Walker(Vector(3, 3));
  ASSERT_EQ(paths().findPath(walker, Vector(10, 3)), 0);
  tw::PathFind* first = walker->getPathFind();
  EXPECT_EQ(first->getStart(), (Node{3, 3}));
  EXPECT_EQ(paths().findPath(nullptr, Vector(10, 3)), -1);
  for (Vector goal : {Vector(80, 3), Vector(5, -0.5f), Vector(-0.5f, 3), Vector(std::nanf(""), 3)}) {
    EXPECT_EQ(paths().findPath(walker, goal), -1) << goal.toString();
  }
  EXPECT_EQ(paths().findPath(new Walker(Vector(-1, 3)), Vector(5, 3)), -1);
  EXPECT_EQ(walker->getPathFind(), first);
  ASSERT_EQ(paths().findPath(walker, Vector(12, 8)), 0);  // replaces the first search
  EXPECT_NE(walker->getPathFind(), first);
  EXPECT_EQ(paths().getPendingCount(), 1);
  EXPECT_EQ(paths().removePathFind(walker->getPathFind()), 0);
  EXPECT_EQ(paths().removePathFind(walker->getPathFind()), -1);
  paths().cycle(-20);  // without a frame time the minimum is 0: no work
  EXPECT_EQ(walker->count(tw::PATH_EVENT), 0);
  paths().shutDown();
  EXPECT_EQ(paths().findPath(walker, Vector(10, 3)), -1);
  // Started with a frame time, an overdue frame still gets a tenth of it.
  tw::LoopState::getInstance().setFrameTime(50);
  ASSERT_EQ(paths().startUp(), 0);
  ASSERT_EQ(paths().findPath(walker, Vector(3, 3)), 0);  // one expansion
  paths().cycle(-20);
  EXPECT_EQ(walker->count(tw::PATH_EVENT), 1);
}

TEST_F(PathTest, CycleDeliversResultsAndTheMoverWalksItsPathToTheGoal) {
  ring(40, 12);
  auto* lucky = new Walker(Vector(0, 0));
  auto* stuck = new Walker(Vector(0, 5));
  auto* gone = new Walker(Vector(3, 6));
  ASSERT_EQ(paths().findPath(lucky, Vector(3, 4)), 0);
  ASSERT_EQ(paths().findPath(stuck, Vector(40, 12)), 0);
  ASSERT_EQ(paths().findPath(gone, Vector(60, 20)), 0);
  world().markForDelete(gone);  // takes its search along
  world().update();
  EXPECT_EQ(paths().getPendingCount(), 2);
  paths().cycle(5000);  // ends early: nothing is left pending
  EXPECT_EQ(paths().getPendingCount(), 0);
  EXPECT_EQ(lucky->count(tw::PATH_EVENT), 1);
  EXPECT_EQ(lucky->getPath().toString(), "(0,0)|(1,1)|(2,2)|(3,3)|(3,4)|");
  EXPECT_EQ(lucky->getPathFind(), nullptr);
  EXPECT_EQ(stuck->count(tw::PATH_EVENT), 1);
  EXPECT_EQ(stuck->getPath().getWaypointCount(), 0);
  EXPECT_FALSE(stuck->getFollowPath());
  lucky->setSpeed(1);
  for (int frame = 0; frame < 20 && lucky->getFollowPath(); frame++) world().update();
  EXPECT_EQ(lucky->getPosition(), Vector(3, 4));
  EXPECT_EQ(lucky->getVelocity(), Vector(0, 0));
}

TEST_F(PathTest, HandlersMayRemoveSearchesOrStopTheWorldDuringACycle) {
  auto* first = new Walker(Vector(2, 2));
  auto* second = new Walker(Vector(2, 4));
  auto* third = new Walker(Vector(2, 6));
  ASSERT_EQ(paths().findPath(first, Vector(2, 2)), 0);
  ASSERT_EQ(paths().findPath(second, Vector(50, 4)), 0);
  ASSERT_EQ(paths().findPath(third, Vector(50, 6)), 0);
  tw::PathFind* taken = second->getPathFind();
  first->on_event = [taken](const tw::Event*) { PathManager::getInstance().removePathFind(taken); };
  third->on_event = [](const tw::Event*) { tw::WorldManager::getInstance().shutDown(); };  // deletes every object
  paths().cycle(5000);
  EXPECT_EQ(paths().getPendingCount(), 0);
  EXPECT_FALSE(world().isStarted());
  // A handler that always searches again does not hold the cycle forever.
  ASSERT_EQ(world().startUp(), 0);
  world().setBoundary(tw::Box(Vector(0, 0), 80, 24));
  auto* again = new Walker(Vector(4, 4));
  again->on_event = [again](const tw::Event*) { PathManager::getInstance().findPath(again, Vector(4, 4)); };
  ASSERT_EQ(paths().findPath(again, Vector(4, 4)), 0);
  paths().cycle(100);
  EXPECT_GT(again->count(tw::PATH_EVENT), 1);
  EXPECT_EQ(paths().getPendingCount(), 1);
}

// Movers of different sizes share the manager's counts of blocking objects:
// each gets the path a search with counts of its own finds (the small one
// through a one-cell gap, the wide one round the wall's end), and searching
// again in the unchanged world builds no counts for either; a changed world
// does.
TEST_F(PathTest, MoversOfDifferentSizesShareTheCountsWithoutEvictingEachOther) {
  walls(20, 0, 20, 4);
  walls(20, 6, 20, 17);
  auto* small = new Walker(Vector(10, 5));
  auto* wide = new Walker(Vector(10, 12));
  wide->setBox(tw::Box(Vector(-1.5f, -1.5f), 2.99f, 2.99f));
  const long builds = paths().getCountBuilds();
  auto both = [&](Vector small_goal, Vector wide_goal) {
    ASSERT_EQ(paths().findPath(small, small_goal), 0);
    ASSERT_EQ(paths().findPath(wide, wide_goal), 0);
    paths().cyclePasses(100000);
    ASSERT_EQ(paths().getPendingCount(), 0);
    for (auto* walker : {small, wide}) {
      const Vector goal = walker == small ? small_goal : wide_goal;
      PathFind alone(walker, Node{10, walker == small ? 5 : 12}, Node{static_cast<int>(goal.getX()), static_cast<int>(goal.getY())});
      ASSERT_EQ(run(alone), tw::PATH_FOUND);
      EXPECT_EQ(walker->getPath().toString(), alone.getPath().toString());
    }
  };
  both(Vector(30, 5), Vector(30, 12));
  const std::vector<Vector> small_cells = waypoints(small->getPath());
  EXPECT_NE(std::find(small_cells.begin(), small_cells.end(), Vector(20, 5)), small_cells.end());
  float lowest = 0;
  for (const Vector& cell : waypoints(wide->getPath())) lowest = std::max(lowest, cell.getY());
  EXPECT_GE(lowest, 19.0f);
  EXPECT_EQ(paths().getCountBuilds() - builds, 2);
  both(Vector(31, 4), Vector(31, 13));
  EXPECT_EQ(paths().getCountBuilds() - builds, 2);
  wall(Vector(40, 20));
  both(Vector(30, 5), Vector(30, 12));
  EXPECT_EQ(paths().getCountBuilds() - builds, 4);
}
