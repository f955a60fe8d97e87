// The display without a window: a frame turned into cells (as the terminal
// and capture presenters show it), where the font is found, and the display
// manager headless, capturing frames or stopped.
#include "engine/display/DisplayManager.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/Config.h"
#include "engine/display/CellGrid.h"
#include "engine/display/FontLookup.h"
#include "engine/platform/Files.h"
#include "engine/world/WorldManager.h"
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
    const std::size_t at = grid.toText().find('M');  // rows of 80 cells and a line feed
    EXPECT_EQ(at == std::string::npos ? -1 : static_cast<int>(at % 81), c.col) << c.x << "," << c.y;
    EXPECT_EQ(at == std::string::npos ? -1 : static_cast<int>(at / 81), c.row) << c.x << "," << c.y;
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
    tw::platform::makeFolders(root + font.substr(0, font.rfind('/')), why);  // where it lies, or it
    if (!font.empty() && font.back() != '/') dir.write(font, "a font");
    const std::size_t before = log.messages().size();
    EXPECT_EQ(tw::findFont(root + "work/my.ttf", root + "bin", root + "share"),
              *c.found ? root + c.found : "")
        << c.font;
    EXPECT_EQ(log.messages().size() - before, c.misses) << c.font;
  }
}

class DisplayTest : public ::testing::Test {
 protected:
  void start(const std::string& config) {
    tw::Config::getInstance().loadConfig(config);
    ASSERT_EQ(dm.startUp(), 0);
  }
  void TearDown() override {
    if (dm.isStarted()) dm.shutDown();
  }
  std::string row(int y) const { return dm.snapshot().getRow(y).substr(0, 30); }
  tw_test::LogCapture log;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
};

// Stopped, every call is refused with a log line; headless (no presenter),
// quietly. A second start-up fails. Cells are 12.8 x 32 pixels, or 0 x 0
// (not infinite) when the window has no cells.
TEST_F(DisplayTest, RefusesToDrawWhenStoppedOrHeadlessAndConvertsCellsToPixels) {
  for (const char* state : {"stopped", "headless"}) {
    const std::size_t before = log.messages().size();
    EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', tw::RED), -1) << state;
    EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', 1, 2, 3), -1) << state;
    EXPECT_EQ(dm.drawString(tw::Vector(1, 1), "abc", tw::JUSTIFY_LEFT, tw::RED), -1) << state;
    EXPECT_EQ(dm.swapBuffers(), -1) << state;
    EXPECT_EQ(log.messages().size() - before, dm.isStarted() ? 0u : 4u) << state;
    if (!dm.isStarted()) start("headless:true");
  }
  EXPECT_EQ(dm.getPresenter(), nullptr);
  EXPECT_EQ(dm.startUp(), -1);
  EXPECT_EQ(tw::spacesToPixels(tw::Vector(10, 5)), tw::Vector(128, 160));
  EXPECT_EQ(tw::pixelsToSpaces(tw::Vector(128, 160)), tw::Vector(10, 5));
  dm.shutDown();
  start("headless:true,window_horizontal_chars:0,window_vertical_chars:0");
  EXPECT_EQ(tw::spacesToPixels(tw::Vector(3, 4)), tw::Vector(0, 0));
  EXPECT_EQ(tw::pixelsToSpaces(tw::Vector(100, 50)), tw::Vector(0, 0));
}

// Positions are in the world: the view's corner is taken off before the
// character lands in its cell; strings are justified around their position.
// Each swap shows only what was drawn since the last one.
TEST_F(DisplayTest, DrawsAtViewPositionsAndJustifiesStringsUntilTheNextSwap) {
  start("display:capture");
  tw::WorldManager::getInstance().setBoundary(tw::Box(tw::Vector(0, 0), 200, 100));
  tw::WorldManager::getInstance().setView(tw::Box(tw::Vector(5, 3), 80, 24));
  EXPECT_EQ(dm.drawCharacter(tw::Vector(7, 3), 'M', tw::RED), 0);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(9, 3), 'K', tw::CUSTOM), 0);  // drawn white
  EXPECT_EQ(dm.drawString(tw::Vector(15, 4), "ABCDE", tw::JUSTIFY_CENTER, tw::GREEN), 0);
  EXPECT_EQ(dm.drawString(tw::Vector(15, 5), "ABCD", tw::JUSTIFY_RIGHT, tw::BLUE), 0);
  EXPECT_EQ(dm.drawString(tw::Vector(15, 6), "ABCD", tw::JUSTIFY_LEFT, tw::YELLOW), 0);
  EXPECT_EQ(row(0), std::string(30, ' '));  // nothing shows before the swap
  ASSERT_EQ(dm.swapBuffers(), 0);
  EXPECT_EQ(row(0) + row(1), "  M K                                 ABCDE                 ");
  EXPECT_EQ(row(2) + row(3), "      ABCD                              ABCD                ");
  EXPECT_EQ(dm.snapshot().getColorRow(0).substr(0, 5), "  r w");
  EXPECT_EQ(dm.snapshot().getColorRow(3).substr(10, 4), "yyyy");
  dm.drawCharacter(tw::Vector(5, 3), 'Z', tw::RED);
  ASSERT_EQ(dm.swapBuffers(), 0);
  EXPECT_EQ(row(0) + row(1), "Z" + std::string(59, ' '));
  ASSERT_EQ(dm.swapBuffers(), 0);
  EXPECT_EQ(row(0) + row(1), std::string(60, ' '));
}

}  // namespace
