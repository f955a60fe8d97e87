// The search on its own: results in open fields, around walls and corners,
// unreachable goals, the target object, the "goal inside the first HARD
// object" rule, and a check against a plain list-scanning search.
#include "engine/path/PathFind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "engine/world/Geometry.h"
#include "tests/path/PathTestSupport.h"

using tw::Cell;
using tw::PathFind;
using tw::Vector;
using tw_test::runSearch;
using tw_test::Walker;
using tw_test::Wall;

namespace {
std::vector<Vector> waypoints(tw::Path path) {
  std::vector<Vector> out;
  for (; !path.isDone(); path.next()) out.push_back(path.getCurrent());
  return out;
}

float cost(const std::vector<Vector>& cells) {
  float total = 0;
  for (size_t i = 1; i < cells.size(); i++) total += tw::distance(cells[i - 1], cells[i]);
  return total;
}

class PathFindTest : public tw_test::PathTest {};
}  // namespace

TEST_F(PathFindTest, OpenFieldGoesStraightAndStartEqualToGoalIsOneCell) {
  auto& walker = *new Walker(Vector(0, 0));
  PathFind diagonal(&walker, Cell{0, 0}, Cell{3, 3});
  EXPECT_EQ(diagonal.cycleOnce(), tw::PATH_SEARCHING);
  EXPECT_EQ(runSearch(diagonal), tw::PATH_FOUND);
  EXPECT_EQ(diagonal.getPath().toString(), "(0,0)|(1,1)|(2,2)|(3,3)|");
  EXPECT_EQ(diagonal.getPath().getIndex(), 0);

  PathFind here(&walker, Cell{0, 0}, Cell{0, 0});
  EXPECT_EQ(here.cycleOnce(), tw::PATH_FOUND);
  EXPECT_EQ(here.getPath().toString(), "(0,0)|");
}

TEST_F(PathFindTest, GoesAroundAWallByTheShortestRoute) {
  wallLine(5, 0, 5, 5);  // column 5, rows 0 to 5
  auto& walker = *new Walker(Vector(2, 2));
  PathFind search(&walker, Cell{2, 2}, Cell{8, 2});
  ASSERT_EQ(runSearch(search), tw::PATH_FOUND);
  const std::vector<Vector> cells = waypoints(search.getPath());
  ASSERT_GE(cells.size(), 2u);
  EXPECT_EQ(cells.front(), Vector(2, 2));
  EXPECT_EQ(cells.back(), Vector(8, 2));
  for (size_t i = 0; i < cells.size(); i++) {
    EXPECT_FALSE(cells[i].getX() == 5 && cells[i].getY() <= 5) << "through the wall at " << i;
    if (i > 0) {
      EXPECT_LE(tw::distance(cells[i - 1], cells[i]), 1.5f) << "jump at " << i;
    }
  }
  // Down to (5,6) and back up: twice three diagonals and one straight step.
  EXPECT_NEAR(cost(cells), 6 * std::sqrt(2.0f) + 2, 1e-4);
}

TEST_F(PathFindTest, DoesNotCutBetweenTwoBlockedCornersButPassesOne) {
  auto& walker = *new Walker(Vector(5, 5));
  new Wall(Vector(6, 5));
  PathFind past_one(&walker, Cell{5, 5}, Cell{6, 6});
  ASSERT_EQ(runSearch(past_one), tw::PATH_FOUND);
  EXPECT_EQ(past_one.getPath().toString(), "(5,5)|(6,6)|");

  new Wall(Vector(5, 6));
  PathFind between_two(&walker, Cell{5, 5}, Cell{6, 6});
  ASSERT_EQ(runSearch(between_two), tw::PATH_FOUND);
  const std::vector<Vector> cells = waypoints(between_two.getPath());
  EXPECT_GT(cells.size(), 2u);  // round about, not straight through the corner
  EXPECT_EQ(cells.back(), Vector(6, 6));
}

TEST_F(PathFindTest, UnreachableGoalExpandsEveryReachableCellOnceAndGivesNoPath) {
  wallLine(9, 9, 11, 9);
  wallLine(9, 11, 11, 11);
  new Wall(Vector(9, 10));
  new Wall(Vector(11, 10));
  auto& walker = *new Walker(Vector(0, 0));
  PathFind search(&walker, Cell{0, 0}, Cell{10, 10});
  EXPECT_EQ(runSearch(search), tw::PATH_NOT_FOUND);
  EXPECT_EQ(search.getPath().getWaypointCount(), 0);
  EXPECT_EQ(search.getClosedCount(), 80 * 24 - 9);
  // An ended search stays ended and does no more work.
  EXPECT_EQ(search.cycleOnce(), tw::PATH_NOT_FOUND);
  EXPECT_EQ(search.getClosedCount(), 80 * 24 - 9);
}

TEST_F(PathFindTest, LaterStepsSeeAWallRaisedWhileTheSearchRuns) {
  auto& walker = *new Walker(Vector(0, 5));
  PathFind search(&walker, Cell{0, 5}, Cell{10, 5});
  EXPECT_EQ(search.cycleOnce(), tw::PATH_SEARCHING);
  wallLine(5, 0, 5, 23);
  EXPECT_EQ(runSearch(search), tw::PATH_NOT_FOUND);
}

TEST_F(PathFindTest, TargetObjectEndsTheSearchWhereTheMoverFirstTouchesIt) {
  auto& walker = *new Walker(Vector(2, 5));
  auto& target = *new Wall(Vector(8, 5));
  target.setBox(tw::Box(Vector(-1.5f, -0.5f), 2.99f, 0.99f));  // reaches into column 7
  PathFind search(&walker, Cell{2, 5}, Cell{8, 5}, &target);
  ASSERT_EQ(runSearch(search), tw::PATH_FOUND);
  EXPECT_EQ(search.getGoal(), (Cell{7, 5}));
  EXPECT_EQ(search.getPath().toString(), "(2,5)|(3,5)|(4,5)|(5,5)|(6,5)|(7,5)|");
  EXPECT_EQ(search.cycleOnce(), tw::PATH_FOUND);  // ended: the goal stays put
  EXPECT_EQ(search.getGoal(), (Cell{7, 5}));
}

TEST_F(PathFindTest, DestroyedTargetIsDroppedAndTheGoalCellStillReached) {
  auto& walker = *new Walker(Vector(2, 5));
  auto* p_target = new Wall(Vector(20, 5));
  PathFind search(&walker, Cell{2, 5}, Cell{20, 5}, p_target);
  EXPECT_EQ(search.cycleOnce(), tw::PATH_SEARCHING);
  world().markForDelete(p_target);
  world().update();
  EXPECT_EQ(runSearch(search), tw::PATH_FOUND);
  EXPECT_EQ(search.getTarget(), nullptr);
  EXPECT_EQ(search.getGoal(), (Cell{20, 5}));
  EXPECT_TRUE(log.contains("PathFind::cycleOnce(): Warning! Target object destroyed"));
}

TEST_F(PathFindTest, FirstHardObjectDecidesWhetherAGoalInsideItUnblocks) {
  auto& walker = *new Walker(Vector(1, 1));
  auto& small = *new Wall(Vector(11, 10));
  auto& big = *new Wall(Vector(11, 10));
  big.setBox(tw::Box(Vector(-1.5f, -1.5f), 2.99f, 2.99f));  // covers the goal (10,10)
  PathFind probe(&walker, Cell{1, 1}, Cell{10, 10});
  const tw::ObjectList touched = world().getCollisions(&walker, Vector(11, 10));
  ASSERT_EQ(touched.getCount(), 2);
  ASSERT_EQ(touched[0], &small);
  EXPECT_TRUE(probe.isBlocked(Cell{11, 10}, Cell{10, 10}));   // small comes first
  small.setSolidness(tw::SOFT);
  EXPECT_FALSE(probe.isBlocked(Cell{11, 10}, Cell{10, 10}));  // now big is the first HARD
  EXPECT_TRUE(probe.isBlocked(Cell{11, 10}, Cell{20, 20}));   // goal not inside it
  EXPECT_FALSE(probe.isBlocked(Cell{30, 10}, Cell{10, 10}));  // nothing there

  // A search aimed inside the block walks into it.
  PathFind search(&walker, Cell{1, 1}, Cell{11, 10});
  ASSERT_EQ(runSearch(search), tw::PATH_FOUND);
  EXPECT_EQ(waypoints(search.getPath()).back(), Vector(11, 10));
}

TEST_F(PathFindTest, KeepsItsGridSizeWhenTheBoundaryChangesAndRefusesHugeWorlds) {
  auto& walker = *new Walker(Vector(5, 23));
  PathFind search(&walker, Cell{5, 23}, Cell{15, 23});
  EXPECT_EQ(search.cycleOnce(), tw::PATH_SEARCHING);
  world().setBoundary(tw::Box(Vector(0, 0), 200, 200));  // larger than the grid
  EXPECT_EQ(runSearch(search), tw::PATH_FOUND);
  EXPECT_EQ(search.getGridWidth(), 80);
  EXPECT_EQ(search.getGridHeight(), 24);
  EXPECT_EQ(waypoints(search.getPath()).back(), Vector(15, 23));

  world().setBoundary(tw::Box(Vector(0, 0), 3000, 3000));
  PathFind huge(&walker, Cell{5, 23}, Cell{15, 23});
  EXPECT_FALSE(huge.isAllocated());
  EXPECT_EQ(huge.cycleOnce(), tw::PATH_NOT_FOUND);
  EXPECT_TRUE(log.contains("PathFind::cycleOnce(): node graph not allocated.  Cannot find path."));
}

namespace {
// The search as a plain scan over ordered open and closed lists.
struct Outcome {
  int result;
  int expansions;
  std::string path;
};

Outcome linearSearch(const PathFind& probe, Cell start, Cell goal) {
  const int w = 80, h = 24;
  auto at = [&](Cell c) { return static_cast<size_t>(c.y * w + c.x); };
  auto has = [](const std::vector<Cell>& l, Cell c) { return std::find(l.begin(), l.end(), c) != l.end(); };
  auto len = [](int dx, int dy) { return static_cast<float>(std::sqrt(double(dx) * dx + double(dy) * dy)); };
  std::vector<float> g(w * h, 0), f(w * h, 0);
  std::vector<Cell> parent(w * h, start), open, closed;
  while (true) {
    Cell cur = start;
    if (!open.empty()) {
      size_t best = open.size() - 1;
      for (size_t i = open.size(); i-- > 0;) best = f[at(open[i])] < f[at(open[best])] ? i : best;
      cur = open[best];
      open.erase(open.begin() + static_cast<long>(best));
    }
    closed.push_back(cur);
    if (cur == goal) {
      std::string text = "(" + std::to_string(goal.x) + "," + std::to_string(goal.y) + ")|";
      for (Cell c = goal; !(c == start);) {
        c = parent[at(c)];
        text = "(" + std::to_string(c.x) + "," + std::to_string(c.y) + ")|" + text;
      }
      return {tw::PATH_FOUND, static_cast<int>(closed.size()), text};
    }
    for (int dy = -1; dy <= 1; dy++) {
      for (int dx = -1; dx <= 1; dx++) {
        const Cell n{cur.x + dx, cur.y + dy};
        if ((dx == 0 && dy == 0) || n.x < 0 || n.y < 0 || n.x >= w || n.y >= h || has(closed, n)) continue;
        if (probe.isBlocked(n, goal)) continue;
        if (dx && dy && probe.isBlocked(Cell{cur.x + dx, cur.y}, goal) && probe.isBlocked(Cell{cur.x, cur.y + dy}, goal)) continue;
        const float g_new = g[at(cur)] + len(dx, dy);
        if (has(open, n) && g_new > g[at(n)]) continue;
        if (!has(open, n)) open.push_back(n);
        parent[at(n)] = cur;
        g[at(n)] = g_new;
        f[at(n)] = g_new + len(goal.x - n.x, goal.y - n.y);
      }
    }
    if (open.empty()) return {tw::PATH_NOT_FOUND, static_cast<int>(closed.size()), ""};
  }
}
}  // namespace

TEST_F(PathFindTest, ExpandsTheSameCellsAsAPlainListScanOnRandomMazes) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 6; round++) {
    std::vector<std::vector<bool>> wall(24, std::vector<bool>(80, false));
    for (auto& row : wall) {
      for (size_t x = 0; x < row.size(); x++) row[x] = random() % 100 < 30;
    }
    const Cell start{static_cast<int>(random() % 80), static_cast<int>(random() % 24)};
    const Cell goal{static_cast<int>(random() % 80), static_cast<int>(random() % 24)};
    wall[start.y][start.x] = wall[goal.y][goal.x] = false;
    for (int y = 0; y < 24; y++) {
      for (int x = 0; x < 80; x++) {
        if (wall[y][x]) new Wall(Vector(x, y));
      }
    }
    auto* p_walker = new Walker(Vector(start.x, start.y));
    // Between the searches walls move, one turns SOFT, and a wide wall
    // holding the goal overlaps a small one, before or after it, so the
    // first HARD one must decide.
    for (int phase = 0; phase < 2; phase++) {
      if (phase == 1) {
        const tw::ObjectList walls = world().getSceneGraph().objectsOfType("Wall");
        for (int i = 0; i < walls.getCount(); i += 3) walls[i]->setPosition(Vector(random() % 80, random() % 24));
        walls[1]->setSolidness(tw::SOFT);
        for (int k = 0; k < 2; k++) {
          auto* p_wall = new Wall(Vector(goal.x + 1, goal.y));
          if (k == round % 2) p_wall->setBox(tw::Box(Vector(-1.5f, -1.5f), 2.99f, 2.99f));
        }
      }
      // The way back too: a second search in the same world, another goal.
      for (const auto& ends : {std::make_pair(start, goal), std::make_pair(goal, start)}) {
        PathFind search(p_walker, ends.first, ends.second);
        const int result = runSearch(search);
        const Outcome expected = linearSearch(search, ends.first, ends.second);
        SCOPED_TRACE("round " + std::to_string(round) + " phase " + std::to_string(phase));
        EXPECT_EQ(result, expected.result);
        EXPECT_EQ(search.getClosedCount(), expected.expansions);
        EXPECT_EQ(search.getPath().toString(), expected.path);
      }
    }
    const tw::ObjectList all = world().getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++) world().markForDelete(all[i]);
    world().update();
  }
}
