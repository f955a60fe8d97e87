// Field of view on drawn maps: what each algorithm must and must not see round a pillar,
// down a corridor and within a radius, and the promises between them (the symmetric one's
// symmetry; restrictive within symmetric within permissive) on random maps.
#include "engine/path/FieldOfView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CellMaps.h"

using tw::FieldOfView;

namespace {

const tw::FovAlgorithm ALGORITHMS[] = {tw::FOV_SYMMETRIC, tw::FOV_PERMISSIVE, tw::FOV_RESTRICTIVE, tw::FOV_RAYS};
const char* const NAMES[] = {"symmetric", "permissive", "restrictive", "rays"};
const int ANY = -1;  // the algorithm may see the cell or not

struct Expectation {
  int x;
  int y;
  int seen[4];  // per algorithm, in the order of ALGORITHMS: 1, 0 or ANY
};

struct Case {
  const char* name;
  std::vector<std::string> rows;
  int viewer_x;
  int viewer_y;
  int radius;
  bool light_walls;
  std::vector<Expectation> cells;
};

const std::vector<std::string> PILLAR = {
    ".......",
    ".......",
    "..#....",
    ".......",
    ".......",
};

std::vector<std::string> corridor() {
  return {"##############", "#............#", "##############"};
}

std::vector<Case> cases() {
  std::vector<Case> all;
  all.push_back({"pillar", PILLAR, 0, 2, 0, true,
                 {{0, 2, {1, 1, 1, 1}},
                  {2, 2, {1, 1, 1, 1}},  // the pillar itself
                  {1, 1, {1, 1, 1, 1}},
                  {3, 1, {1, 1, 1, 1}},
                  {3, 2, {0, 0, 0, 0}},  // straight behind it
                  {4, 2, {0, 0, 0, 0}},
                  {6, 2, {0, 0, 0, 0}},
                  {4, 1, {1, 1, 0, ANY}},  // centre on the shadow's edge
                  {5, 1, {0, 1, 0, ANY}},  // only a corner in the light
                  {6, 0, {1, 1, 1, 1}}}});
  all.push_back({"pillar, walls unlit", PILLAR, 0, 2, 0, false,
                 {{2, 2, {0, 0, 0, 0}}, {3, 1, {1, 1, 1, 1}}, {3, 2, {0, 0, 0, 0}}}});
  all.push_back({"corridor", corridor(), 1, 1, 0, true,
                 {{12, 1, {1, 1, 1, 1}},
                  {13, 1, {1, 1, 1, 1}},
                  {7, 1, {1, 1, 1, 1}},
                  {12, 0, {1, 1, 1, ANY}},  // walls far along the side
                  {12, 2, {1, 1, 1, ANY}},
                  {1, 0, {1, 1, 1, 1}}}});
  all.push_back({"corridor, radius 5", corridor(), 1, 1, 5, true,
                 {{6, 1, {1, 1, 1, 1}}, {7, 1, {0, 0, 0, 0}}, {6, 0, {0, 0, 0, 0}}, {5, 0, {1, 1, 1, ANY}}}});
  return all;
}

}  // namespace

TEST(FieldOfView, SeesWhatEachAlgorithmPromisesOnDrawnMaps) {
  for (const Case& c : cases()) {
    const tw::CellMap map = tw_test::drawnMap(c.rows);
    for (int a = 0; a < 4; a++) {
      SCOPED_TRACE(std::string(c.name) + ", " + NAMES[a]);
      FieldOfView fov;
      ASSERT_EQ(fov.compute(map, c.viewer_x, c.viewer_y, c.radius, c.light_walls, ALGORITHMS[a]), 0);
      for (const Expectation& e : c.cells) {
        if (e.seen[a] == ANY) continue;
        EXPECT_EQ(fov.isVisible(e.x, e.y), e.seen[a] == 1) << "cell " << e.x << "," << e.y;
      }
    }
  }
}

// In an open field every cell within the radius is seen, none beyond it;
// a second computation forgets the first one's cells.
TEST(FieldOfView, SeesTheWholeDiscOfTheRadiusAndNothingBeyond) {
  const tw::CellMap map(30, 30);
  for (int a = 0; a < 4; a++) {
    SCOPED_TRACE(NAMES[a]);
    FieldOfView fov;
    ASSERT_EQ(fov.compute(map, 3, 3, 2, true, ALGORITHMS[a]), 0);
    ASSERT_EQ(fov.compute(map, 15, 14, 9, true, ALGORITHMS[a]), 0);
    for (int y = 0; y < 30; y++) {
      for (int x = 0; x < 30; x++) {
        const int d2 = (x - 15) * (x - 15) + (y - 14) * (y - 14);
        if (ALGORITHMS[a] == tw::FOV_RAYS && d2 <= 81) continue;  // rays may miss cells in between
        EXPECT_EQ(fov.isVisible(x, y), d2 <= 81) << x << "," << y;
      }
    }
  }
}

TEST(FieldOfView, SeesNothingFromOutsideTheMap) {
  const tw::CellMap map(5, 5);
  FieldOfView fov;
  ASSERT_EQ(fov.compute(map, 2, 2, 0), 0);
  EXPECT_EQ(fov.compute(map, 5, 2, 0), -1);
  EXPECT_FALSE(fov.isVisible(2, 2));
  EXPECT_FALSE(fov.isVisible(-1, 0));
}

// On random maps: each floor cell the symmetric algorithm sees from a floor
// cell sees that cell back; the restrictive algorithm sees nothing the
// symmetric one does not, nor the symmetric one anything the permissive does not.
TEST(FieldOfView, KeepsSymmetryAndOrderOnRandomMaps) {
  const int w = 17, h = 13;
  const auto cell = [](std::size_t i) { return std::to_string(i % w) + "," + std::to_string(i / w); };
  for (unsigned seed = 1; seed <= 6; seed++) {
    const tw::CellMap map = tw_test::randomMap(w, h, seed, 0.25);
    const int radius = seed % 2 == 0 ? 0 : 6;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::vector<std::vector<bool>> symmetric(w * h);  // what each floor cell sees, by cell index
    for (int a = 0; a < w * h; a++) {
      if (!map.isTransparent(a % w, a / w)) continue;
      FieldOfView by[3];
      for (int k = 0; k < 3; k++) by[k].compute(map, a % w, a / w, radius, true, ALGORITHMS[k]);
      for (int b = 0; b < w * h; b++) {
        const bool restrictive = by[2].isVisible(b % w, b / w), symmetric_sees = by[0].isVisible(b % w, b / w);
        symmetric[static_cast<size_t>(a)].push_back(symmetric_sees);
        EXPECT_TRUE(!restrictive || symmetric_sees) << cell(a) << " -> " << cell(b);
        EXPECT_TRUE(!symmetric_sees || by[1].isVisible(b % w, b / w)) << cell(a) << " -> " << cell(b);
      }
    }
    for (size_t a = 0; a < symmetric.size(); a++) {
      for (size_t b = 0; b < symmetric.size(); b++) {
        if (symmetric[a].empty() || symmetric[b].empty()) continue;
        EXPECT_EQ(symmetric[a][b], symmetric[b][a]) << cell(a) << " <-> " << cell(b);
      }
    }
  }
}
