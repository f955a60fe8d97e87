// The cell map's flags: set one by one, filled, and taken from a game's own array.
#include "engine/path/CellMap.h"

#include <gtest/gtest.h>

#include <string>

TEST(CellMap, KeepsWalkableAndTransparentApartPerCell) {
  tw::CellMap map(4, 3);
  EXPECT_TRUE(map.isWalkable(3, 2) && map.isTransparent(0, 0));
  EXPECT_EQ(map.setCell(1, 1, true, false), 0);   // a window: walk past, not through
  EXPECT_EQ(map.setCell(2, 1, false, true), 0);   // glass: see through, not walk
  EXPECT_EQ(map.setWalkable(3, 0, false), 0);
  EXPECT_EQ(map.setTransparent(0, 2, false), 0);
  const struct {
    int x, y;
    bool walkable, transparent;
  } cells[] = {{1, 1, true, false}, {2, 1, false, true}, {3, 0, false, true},
               {0, 2, true, false}, {0, 0, true, true},  {4, 0, false, false}, {0, -1, false, false}};
  for (const auto& c : cells) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(map.isWalkable(c.x, c.y), c.walkable);
    EXPECT_EQ(map.isTransparent(c.x, c.y), c.transparent);
  }
  for (int result : {map.setCell(4, 0, true, true), map.setWalkable(0, 3, true), map.setTransparent(-1, 0, true)}) {
    EXPECT_EQ(result, -1);
  }
  map.fill(false, true);
  EXPECT_TRUE(!map.isWalkable(1, 1) && map.isTransparent(1, 1));
  EXPECT_EQ(tw::CellMap(-2, 5).getWidth(), 0);
}

TEST(CellMap, TakesItsFlagsFromAGamesOwnArray) {
  const char tiles[] = "#.+"
                       "~.#";  // wall, floor, door, water
  tw::CellMap map(3, 2, false);
  map.assign(tiles, [](char t) { return t == '.' || t == '+'; }, [](char t) { return t != '#' && t != '+'; });
  const char* expected[] = {"-", "wt", "w", "t", "wt", "-"};
  for (int i = 0; i < 6; i++) {
    const int x = i % 3;
    const int y = i / 3;
    SCOPED_TRACE(std::string(1, tiles[i]));
    EXPECT_EQ(map.isWalkable(x, y), std::string(expected[i]).find('w') != std::string::npos);
    EXPECT_EQ(map.isTransparent(x, y), std::string(expected[i]).find('t') != std::string::npos);
  }
}
