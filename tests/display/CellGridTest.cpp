// A frame turned into cells (as the terminal and capture presenters show it):
// where characters between cells land, which of two in one cell wins, how odd
// characters show, which cells a shape fills; and where the fonts are found.
#include "engine/display/CellGrid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/display/FontLookup.h"
#include "engine/platform/Files.h"
#include "tests/support/TestSupport.h"

namespace {

const tw::Rgb RED{255, 0, 0}, GREEN{0, 255, 0};

TEST(CellGrid, EachCharacterLandsInTheNearestCell) {
  const struct {
    float x, y;
    int col, row;  // -1: dropped
  } cases[] = {{10.0f, 5.0f, 10, 5},   {10.49f, 5.2f, 10, 5},  {10.5f, 5.5f, 11, 6},
               {-0.5f, 0.0f, 0, 0},    {-0.51f, 0.0f, -1, -1}, {79.49f, 23.0f, 79, 23},
               {79.5f, 22.0f, -1, -1}, {NAN, 3.0f, -1, -1},    {1e30f, 3.0f, -1, -1}};
  for (const auto& c : cases) {
    tw::CellGrid grid(80, 24, tw::Rgb{});
    grid.put(c.x, c.y, 'M', RED);
    int col = -1, row = -1;
    for (int y = 0; y < 24; y++) {
      if (grid.getRow(y).find('M') != std::string::npos) col = static_cast<int>(grid.getRow(y).find('M')), row = y;
    }
    EXPECT_EQ(col, c.col) << c.x << "," << c.y;
    EXPECT_EQ(row, c.row) << c.x << "," << c.y;
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
}

TEST(CellGrid, AShapeFillsTheCellsWhoseCentresItCovers) {
  // A circle of radius 24 pixels centred on cell (10, 5)'s top-left corner
  // (as the engine draws a default circle there): 12.8 x 32 pixel cells.
  tw::DrawList list;
  list.addShape(10, 5, tw::ShapeOutline{10, 24, -12, -12}, GREEN, 255, 0);
  tw::CellGrid grid(20, 10, tw::Rgb{});
  grid.paint(list, 12.8f, 32.0f);
  EXPECT_EQ(grid.getRow(4) + grid.getRow(6), std::string(40, ' '));
  EXPECT_EQ(grid.getRow(5), "         ####       ");
  EXPECT_EQ(grid.getColorRow(5), "         gggg       ");
}

// The font is taken from the first place that has it: the configured path,
// then its file name beside the program, then in the installed folder; each
// place tried before is logged.
TEST(FontLookup, TakesTheFirstPlaceThatHasTheFontAndLogsEachMiss) {
  tw_test::LogCapture log;
  const struct {
    const char* font;  // where a file lies ("" nowhere, a trailing '/' a folder)
    const char* found;
    std::size_t misses;
  } cases[] = {{"work/my.ttf", "work/my.ttf", 0}, {"bin/my.ttf", "bin/my.ttf", 1},
               {"share/my.ttf", "share/my.ttf", 2}, {"share/my.ttf/", "", 3}, {"", "", 3}};
  for (const auto& c : cases) {
    tw_test::TempDir dir;
    const std::string root = dir.path() + "/", font = c.font;
    std::string why;
    for (const char* folder : {"work", "bin", "share"}) tw::platform::makeFolders(root + folder, why);
    if (!font.empty() && font.back() == '/') tw::platform::makeFolders(root + font, why);
    if (!font.empty() && font.back() != '/') dir.write(font, "a font");
    const std::size_t before = log.messages().size();
    EXPECT_EQ(tw::findFont(root + "work/my.ttf", root + "bin", root + "share"), *c.found ? root + c.found : "") << c.font;
    EXPECT_EQ(log.messages().size() - before, c.misses) << c.font;
  }
}

}  // namespace
