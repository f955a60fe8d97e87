// The immediate A* search and Dijkstra maps on cell maps: known small maps, and random maps
// whose answers must match a plain relaxation's cheapest costs with routes that really walk.
#include "engine/path/CellPathFinder.h"
#include "engine/path/DijkstraMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/CellMaps.h"

using tw::CellPathFinder;
using tw::DijkstraMap;

namespace {

// Checks that path walks from (fx, fy) to (tx, ty) in legal steps and costs
// what it claims; returns the cost of its steps.
float walkedCost(const tw::CellMap& map, const tw::Path& path, float diagonal_cost) {
  float cost = 0;
  for (int i = 1; i < path.getWaypointCount(); i++) {
    const tw::Vector a = path.getWaypoint(i - 1);
    const tw::Vector b = path.getWaypoint(i);
    const int dx = static_cast<int>(b.getX() - a.getX());
    const int dy = static_cast<int>(b.getY() - a.getY());
    const int x = static_cast<int>(a.getX());
    const int y = static_cast<int>(a.getY());
    EXPECT_TRUE(std::abs(dx) <= 1 && std::abs(dy) <= 1 && (dx != 0 || dy != 0)) << "step " << i;
    EXPECT_TRUE(map.isWalkable(x + dx, y + dy)) << "step " << i;
    const bool diagonal = dx != 0 && dy != 0;
    EXPECT_TRUE(!diagonal || map.isWalkable(x + dx, y) || map.isWalkable(x, y + dy)) << "step " << i;
    cost += diagonal ? diagonal_cost : 1.0f;
  }
  return cost;
}

const std::vector<std::string> WALL_WITH_GAP = {
    ".....",
    "####.",
    ".....",
};

}  // namespace

TEST(CellPathFinder, FindsTheCheapestRouteOnSmallMaps) {
  const struct {
    const char* name;
    std::vector<std::string> rows;
    int fx, fy, tx, ty;
    float diagonal_cost;
    float cost;  // -1: no route
    int waypoints;
  } cases[] = {
      {"open diagonal", {".....", ".....", ".....", ".....", "....."}, 0, 0, 4, 4, 1.41f, 4 * 1.41f, 5},
      {"open, four ways", {".....", ".....", ".....", ".....", "....."}, 0, 0, 4, 4, 0, 8, 9},
      {"diagonals dearer than two steps", {"...", "...", "..."}, 0, 0, 2, 2, 2.5f, 4, 5},
      {"round the wall", WALL_WITH_GAP, 0, 0, 0, 2, 1.41f, 3 + 2 * 1.41f + 3, 9},
      {"round the wall, four ways", WALL_WITH_GAP, 0, 0, 0, 2, 0, 10, 11},
      {"start on itself", {"..", ".."}, 1, 1, 1, 1, 1.41f, 0, 1},
      {"start in a wall", {"#.", ".."}, 0, 0, 1, 1, 1.41f, 1.41f, 2},
      {"goal in a wall", {"..", ".#"}, 0, 0, 1, 1, 1.41f, -1, 0},
      {"no squeezing between corners", {".#", "#."}, 0, 0, 1, 1, 1.41f, -1, 0},
      {"walled off", {"..#..", "..#.."}, 0, 0, 4, 1, 1.41f, -1, 0},
      {"goal outside", {"..", ".."}, 0, 0, 2, 0, 1.41f, -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const tw::CellMap map = tw_test::drawnMap(c.rows);
    CellPathFinder finder(map, c.diagonal_cost);
    const tw::Path path = finder.findPathNow(c.fx, c.fy, c.tx, c.ty);
    EXPECT_NEAR(finder.getCost(), c.cost, 1e-4);
    ASSERT_EQ(path.getWaypointCount(), c.waypoints);
    if (c.waypoints == 0) continue;
    EXPECT_EQ(path.getWaypoint(0), tw::Vector(static_cast<float>(c.fx), static_cast<float>(c.fy)));
    EXPECT_EQ(path.getWaypoint(c.waypoints - 1), tw::Vector(static_cast<float>(c.tx), static_cast<float>(c.ty)));
    EXPECT_NEAR(walkedCost(map, path, c.diagonal_cost), c.cost, 1e-4);
  }
}

// Many searches by one finder (so its kept buffers are reused) on random
// maps, against the plain relaxation, with several diagonal costs.
TEST(CellPathFinder, MatchesAPlainRelaxationOnRandomMaps) {
  for (const float diagonal : {1.41f, 1.0f, 0.0f, 0.8f, 3.0f}) {
    const tw::CellMap map = tw_test::randomMap(24, 18, static_cast<unsigned>(diagonal * 10) + 3, 0.3);
    CellPathFinder finder(map, diagonal);
    const auto reference = tw_test::referenceCosts(map, {{0, 0}}, diagonal);
    for (int y = 0; y < 18; y++) {
      for (int x = 0; x < 24; x++) {
        SCOPED_TRACE("diagonal " + std::to_string(diagonal) + " to " + std::to_string(x) + "," + std::to_string(y));
        const tw::Path path = finder.findPathNow(0, 0, x, y);
        const float expected = reference[static_cast<size_t>(y * 24 + x)];
        if (expected == tw_test::UNREACHED || !map.isWalkable(x, y)) {
          EXPECT_EQ(path.getWaypointCount(), 0);
          continue;
        }
        EXPECT_NEAR(finder.getCost(), expected, 1e-3);
        EXPECT_NEAR(walkedCost(map, path, diagonal), expected, 1e-3);
      }
    }
  }
}

TEST(DijkstraMap, MeasuresFromTheNearestSourceAndWalksDownhillToIt) {
  const tw::CellMap map = tw_test::randomMap(20, 15, 11, 0.25);
  const std::vector<std::pair<int, int>> sources = {{2, 2}, {17, 12}, {30, 1}};
  for (const float diagonal : {1.41f, 0.0f}) {
    SCOPED_TRACE("diagonal " + std::to_string(diagonal));
    DijkstraMap dijkstra(map, diagonal);
    ASSERT_EQ(dijkstra.compute(sources), 2);  // the third lies outside
    const auto reference = tw_test::referenceCosts(map, {{2, 2}, {17, 12}}, diagonal);
    for (int y = 0; y < 15; y++) {
      for (int x = 0; x < 20; x++) {
        const float expected = reference[static_cast<size_t>(y * 20 + x)];
        ASSERT_EQ(dijkstra.isReachable(x, y), expected != tw_test::UNREACHED) << x << "," << y;
        if (expected == tw_test::UNREACHED) continue;
        EXPECT_NEAR(dijkstra.getDistance(x, y), expected, 1e-3) << x << "," << y;
        const tw::Path path = dijkstra.pathDownhill(x, y);
        ASSERT_GT(path.getWaypointCount(), 0);
        const tw::Vector end = path.getWaypoint(path.getWaypointCount() - 1);
        EXPECT_EQ(dijkstra.getDistance(static_cast<int>(end.getX()), static_cast<int>(end.getY())), 0.0f);
        EXPECT_NEAR(walkedCost(map, path, diagonal), expected, 1e-3) << x << "," << y;
      }
    }
  }
  DijkstraMap none(map);
  EXPECT_EQ(none.compute(-1, 0), -1);
  EXPECT_FALSE(none.isReachable(2, 2));
  EXPECT_EQ(none.makeFleeMap(), -1);
}

// A corridor with a room at its far end: fleeing from a source in the
// corridor leads away from it, into the room, never back past the source.
TEST(DijkstraMap, FleeMapLeadsAwayFromTheSource) {
  const tw::CellMap map = tw_test::drawnMap({
      "#############",
      "#.......#...#",
      "#...........#",
      "#.......#...#",
      "#############",
  });
  DijkstraMap flee(map);
  ASSERT_EQ(flee.compute(3, 2), 1);
  DijkstraMap toward(map);
  toward.compute(3, 2);
  ASSERT_EQ(flee.makeFleeMap(), 0);
  for (const auto& start : {std::pair<int, int>{4, 2}, {6, 1}, {9, 2}}) {
    int x = start.first;
    int y = start.second;
    for (int step = 0; step < 8 && flee.stepDownhill(x, y); step++) {
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
      EXPECT_GT(x, 3);
    }
    EXPECT_GE(toward.getDistance(x, y), 8.0f) << "ended at " << x << "," << y;
  }
  int x = 0;
  int y = 0;
  EXPECT_FALSE(flee.stepDownhill(x, y));  // a wall is not on the map
}

// A flee map is the cheapest walk from every reachable cell's distance
// times the factor: its sources start at many different costs.
TEST(DijkstraMap, FleeMapMatchesAPlainRelaxationFromTheScaledDistances) {
  const tw::CellMap map = tw_test::randomMap(30, 20, 4, 0.25);
  DijkstraMap flee(map);
  ASSERT_EQ(flee.compute({{4, 3}, {25, 15}}), 2);
  std::vector<float> start(30 * 20, tw_test::UNREACHED);
  for (int i = 0; i < 30 * 20; i++) {
    if (flee.isReachable(i % 30, i / 30)) start[static_cast<size_t>(i)] = flee.getDistance(i % 30, i / 30) * -1.2f;
  }
  const auto reference = tw_test::referenceCostsFrom(map, start, 1.41f);
  ASSERT_EQ(flee.makeFleeMap(-1.2f), 0);
  for (int i = 0; i < 30 * 20; i++) {
    if (start[static_cast<size_t>(i)] == tw_test::UNREACHED) continue;
    EXPECT_NEAR(flee.getDistance(i % 30, i / 30), reference[static_cast<size_t>(i)], 1e-3) << i % 30 << "," << i / 30;
  }
}
