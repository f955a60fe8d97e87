// A frame turned into cells: where characters between cells land, which of
// two in one cell wins, how odd characters show, and which cells a shape
// fills.
#include "engine/display/CellGrid.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const tw::Rgb RED{255, 0, 0};
const tw::Rgb GREEN{0, 255, 0};

TEST(CellGrid, EachCharacterLandsInTheNearestCell) {
  struct Case {
    float x, y;
    int col, row;  // -1: dropped
  } cases[] = {{10.0f, 5.0f, 10, 5},  {10.49f, 5.2f, 10, 5}, {10.5f, 5.5f, 11, 6},
               {-0.5f, 0.0f, 0, 0},   {-0.51f, 0.0f, -1, -1}, {79.49f, 23.0f, 79, 23},
               {79.5f, 23.0f, -1, -1}, {NAN, 3.0f, -1, -1},   {1e30f, 3.0f, -1, -1}};
  for (const Case& c : cases) {
    tw::CellGrid grid(80, 24, tw::Rgb{});
    grid.put(c.x, c.y, 'M', RED);
    int found_col = -1, found_row = -1;
    for (int y = 0; y < 24; y++) {
      const std::size_t at = grid.getRow(y).find('M');
      if (at != std::string::npos) found_col = static_cast<int>(at), found_row = y;
    }
    EXPECT_EQ(found_col, c.col) << c.x << "," << c.y;
    EXPECT_EQ(found_row, c.row) << c.x << "," << c.y;
  }
}

TEST(CellGrid, TheLaterCharacterWinsAndOddOnesShowPlainly) {
  tw::DrawList list;
  list.addCharacter(1, 0, 'A', RED, 0);
  list.addCharacter(1.2f, 0, 'B', GREEN, 30);  // same cell, turned: rotation is ignored
  list.addCharacter(2, 0, '\t', RED, 0);
  list.addCharacter(3, 0, static_cast<char>(0xe9), RED, 0);
  list.addCharacter(4, 0, 'x', tw::Rgb{200, 100, 50}, 0);
  tw::CellGrid grid(6, 1, tw::Rgb{});
  grid.paint(list, 12.8f, 32.0f);
  EXPECT_EQ(grid.getRow(0), " B ?x ");
  EXPECT_EQ(grid.getColorRow(0), " g r* ");
  EXPECT_TRUE(grid.at(1, 0).color == GREEN);
}

TEST(CellGrid, AShapeFillsTheCellsWhoseCentresItCovers) {
  // A circle of radius 24 pixels centred on cell (10, 5)'s top-left corner
  // (as the engine draws a default circle there): 12.8 x 32 pixel cells.
  tw::DrawList list;
  list.addShape(10, 5, tw::ShapeOutline{10, 24, -12, -12}, GREEN, 255, 0);
  tw::CellGrid grid(20, 10, tw::Rgb{});
  grid.paint(list, 12.8f, 32.0f);
  EXPECT_EQ(grid.getRow(4), std::string(20, ' '));
  EXPECT_EQ(grid.getRow(5), "         ####       ");
  EXPECT_EQ(grid.getRow(6), std::string(20, ' '));
  EXPECT_EQ(grid.getColorRow(5), "         gggg       ");
}

}  // namespace
