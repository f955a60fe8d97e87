// The display manager drawing into a real window on the test X server: the
// window is captured after swapBuffers and the pixels of the cells drawn are
// checked for the colours drawn there (and nowhere else).
#include "engine/display/DisplayManager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/core/Config.h"
#include "engine/display/WindowPresenter.h"
#include "tests/support/XWindowDriver.h"
#include "tests/support/TestSupport.h"

namespace {

const std::uint32_t RED_PIXEL = 0xff0000;
const std::uint32_t GREEN_PIXEL = 0x00ff00;
const std::uint32_t BLUE_PIXEL = 0x0000ff;
const std::uint32_t YELLOW_PIXEL = 0xffff00;
const std::uint32_t CYAN_PIXEL = 0x00ffff;
const std::uint32_t WHITE_PIXEL = 0xffffff;
const std::uint32_t ORANGE_PIXEL = 0xff8000;
// Solid interior pixels of one bold capital at the default size.
const int GLYPH_PIXELS = 15;

// The pixel rectangle of cell (x, y) with the default 12.8 x 32 pixel cells.
struct Cell {
  int x0, y0, x1, y1;
  Cell(int x, int y)
      : x0(static_cast<int>(std::floor(x * 12.8))),
        y0(y * 32),
        x1(static_cast<int>(std::floor((x + 1) * 12.8))),
        y1((y + 1) * 32) {}
};

int inCell(const tw_test::Screenshot& shot, int x, int y, std::uint32_t color) {
  Cell c(x, y);
  return shot.count(c.x0, c.y0, c.x1, c.y1, color);
}

// The right part of a cell, which a glyph of the cell to its left never reaches.
int inCellRightPart(const tw_test::Screenshot& shot, int x, int y, std::uint32_t color) {
  Cell c(x, y);
  return shot.count(c.x0 + 4, c.y0, c.x1, c.y1, color);
}

int inWindow(const tw_test::Screenshot& shot, std::uint32_t color) {
  return shot.count(0, 0, shot.width, shot.height, color);
}

// The pixel box a character at whole cell (x, y) is fitted into: its cell's
// background, a tenth of a cell left and a fifth of a cell below the cell.
struct GlyphBox {
  int x0, y0, x1, y1;
  GlyphBox(int x, int y)
      : x0(static_cast<int>(std::ceil(x * 12.8 - 1.28))),
        y0(static_cast<int>(std::ceil(y * 32 + 6.4))),
        x1(static_cast<int>(std::floor((x + 1) * 12.8 - 1.28))),
        y1(static_cast<int>(std::floor((y + 1) * 32 + 6.4))) {}
};

// Pixels that differ between two screenshots inside the box.
int differingPixels(const tw_test::Screenshot& a, const tw_test::Screenshot& b, GlyphBox box) {
  int differing = 0;
  for (int y = box.y0; y < box.y1; y++) {
    for (int x = box.x0; x < box.x1; x++) differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return differing;
}

class DisplayWindow : public ::testing::Test {
 protected:
  void SetUp() override { tw_test::useTestDisplay(); }
  void TearDown() override {
    if (dm.isStarted()) dm.shutDown();
  }

  // Starts the display manager with a window titled after the test.
  void start(const std::string& config = "") {
    const std::string title =
        std::string("tw-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    tw::Config::getInstance().loadConfig("window_title:" + title +
                                         (config.empty() ? "" : "," + config));
    ASSERT_EQ(dm.startUp(), 0);
    driver = std::make_unique<tw_test::XWindowDriver>(title);
    ASSERT_TRUE(driver->found());
    settle();
    ASSERT_EQ(dm.swapBuffers(), 0);  // the first frame starts on a cleared buffer
  }

  // Lets the window be mapped and exposed (drains its events).
  void settle() {
    for (int i = 0; i < 15; i++) {
      tw::platform::InputEvent event;
      while (dm.getPresenter()->pollEvent(event)) {
      }
      usleep(20000);
    }
  }

  tw_test::Screenshot shoot() {
    usleep(150000);  // the server has the frame by then
    tw_test::Screenshot shot = driver->screenshot();
    EXPECT_TRUE(shot.valid());
    return shot;
  }

  tw_test::Screenshot swapAndShoot() {
    EXPECT_EQ(dm.swapBuffers(), 0);
    return shoot();
  }

  // Height in pixels of the pixels of this colour inside cell (x, y).
  int glyphHeight(const tw_test::Screenshot& shot, int x, int y, std::uint32_t color) {
    Cell c(x, y);
    int top = -1;
    int bottom = -1;
    for (int py = c.y0; py < c.y1; py++) {
      if (shot.count(c.x0, py, c.x1 + 4, py + 1, color) == 0) continue;
      if (top < 0) top = py;
      bottom = py;
    }
    return top < 0 ? 0 : bottom - top + 1;
  }

  tw_test::LogCapture log;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  std::unique_ptr<tw_test::XWindowDriver> driver;
};

TEST_F(DisplayWindow, DrawsEachCharacterInItsCellAndColour) {
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED), 0);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(20, 10), 'M', tw::GREEN), 0);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(30, 15), 'M', 0, 0, 255), 0);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(50, 12), 'M', 255, 128, 0), 0);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(40, 5), 'M', tw::CUSTOM), 0);  // drawn white
  const tw_test::Screenshot shot = swapAndShoot();
  ASSERT_EQ(shot.width, 1024);
  ASSERT_EQ(shot.height, 768);
  EXPECT_GE(inCell(shot, 10, 5, RED_PIXEL), GLYPH_PIXELS);
  EXPECT_GE(inCell(shot, 20, 10, GREEN_PIXEL), GLYPH_PIXELS);
  EXPECT_GE(inCell(shot, 30, 15, BLUE_PIXEL), GLYPH_PIXELS);
  EXPECT_GE(inCell(shot, 50, 12, ORANGE_PIXEL), GLYPH_PIXELS);
  EXPECT_GE(inCell(shot, 40, 5, WHITE_PIXEL), GLYPH_PIXELS);
  // Nothing of a colour lies outside its cell (and the few pixels a bold
  // glyph reaches into the cell to its right).
  const Cell red(10, 5);
  EXPECT_EQ(inWindow(shot, RED_PIXEL), shot.count(red.x0, red.y0, red.x1 + 4, red.y1, RED_PIXEL));
  const Cell green(20, 10);
  EXPECT_EQ(inWindow(shot, GREEN_PIXEL),
            shot.count(green.x0, green.y0, green.x1 + 4, green.y1, GREEN_PIXEL));
}

TEST_F(DisplayWindow, JustifiesStringsAroundTheirPosition) {
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(dm.drawString(tw::Vector(10, 3), "ABCD", tw::JUSTIFY_CENTER, tw::GREEN), 0);
  EXPECT_EQ(dm.drawString(tw::Vector(10, 7), "ABCD", tw::JUSTIFY_RIGHT, tw::YELLOW), 0);
  EXPECT_EQ(dm.drawString(tw::Vector(10, 11), "ABCD", tw::JUSTIFY_LEFT, tw::CYAN), 0);
  EXPECT_EQ(dm.drawString(tw::Vector(10, 15), "", tw::JUSTIFY_CENTER, tw::RED), 0);
  const tw_test::Screenshot shot = swapAndShoot();
  struct Row {
    int y, first;
    std::uint32_t color;
  };
  for (const Row& row : {Row{3, 8, GREEN_PIXEL}, Row{7, 6, YELLOW_PIXEL}, Row{11, 10, CYAN_PIXEL}}) {
    for (int x = row.first; x < row.first + 4; x++) {
      EXPECT_GE(inCell(shot, x, row.y, row.color), GLYPH_PIXELS) << "row " << row.y << " x " << x;
    }
    EXPECT_EQ(inCell(shot, row.first - 1, row.y, row.color), 0) << "row " << row.y;
    EXPECT_EQ(inCellRightPart(shot, row.first + 4, row.y, row.color), 0) << "row " << row.y;
  }
  EXPECT_EQ(inWindow(shot, RED_PIXEL), 0);
}

TEST_F(DisplayWindow, SwapShowsTheFrameThenClearsToTheBackground) {
  ASSERT_NO_FATAL_FAILURE(start("window_background_color:blue"));
  dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED);
  tw_test::Screenshot shot = swapAndShoot();
  EXPECT_GE(inCell(shot, 10, 5, RED_PIXEL), GLYPH_PIXELS);
  EXPECT_EQ(shot.pixel(700, 600), BLUE_PIXEL);
  EXPECT_GT(inCell(shot, 10, 5, BLUE_PIXEL), 0);  // the cell's own background

  // Drawn but not yet swapped: the window still shows the previous frame.
  dm.drawCharacter(tw::Vector(20, 5), 'M', tw::GREEN);
  shot = shoot();
  EXPECT_EQ(inWindow(shot, GREEN_PIXEL), 0);
  EXPECT_GE(inCell(shot, 10, 5, RED_PIXEL), GLYPH_PIXELS);

  // The next swap shows it, on a buffer cleared after the red frame was shown.
  shot = swapAndShoot();
  EXPECT_GE(inCell(shot, 20, 5, GREEN_PIXEL), GLYPH_PIXELS);
  EXPECT_EQ(inWindow(shot, RED_PIXEL), 0);
}

TEST_F(DisplayWindow, CharacterSizeIsTheFontScaleTimesTheSmallerCellSide) {
  // Scale 2 on 12.8 x 32 pixel cells: size 25, a capital about 18 pixels high.
  ASSERT_NO_FATAL_FAILURE(start());
  dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED);
  int height = glyphHeight(swapAndShoot(), 10, 5, RED_PIXEL);
  EXPECT_GE(height, 16);
  EXPECT_LE(height, 20);
  dm.shutDown();

  // Scale 1: size 12, a capital about 9 pixels high.
  ASSERT_NO_FATAL_FAILURE(start("font_scale:1.0"));
  dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED);
  height = glyphHeight(swapAndShoot(), 10, 5, RED_PIXEL);
  EXPECT_GE(height, 7);
  EXPECT_LE(height, 10);
}

TEST_F(DisplayWindow, PixelSizeZeroTakesTheDesktopSize) {
  int desktop_width = 0;
  int desktop_height = 0;
  ASSERT_TRUE(tw_test::screenSize(desktop_width, desktop_height));
  ASSERT_NO_FATAL_FAILURE(start("window_horizontal_pixels:0,window_vertical_pixels:0"));
  EXPECT_EQ(dm.getHorizontalPixels(), desktop_width);
  EXPECT_EQ(dm.getVerticalPixels(), desktop_height);
  EXPECT_FLOAT_EQ(tw::charWidth(), static_cast<float>(desktop_width) / 80.0f);
}

TEST_F(DisplayWindow, MissingFontFailsStartUpAndShutDownReleasesTheWindow) {
  tw::Config::getInstance().loadConfig("font_file:no-such-font.ttf");
  EXPECT_EQ(dm.startUp(), -1);
  EXPECT_FALSE(dm.isStarted());
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): Error! No font file 'no-such-font.ttf'"));
  EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', tw::RED), -1);
  dm.shutDown();
  EXPECT_EQ(dm.getPresenter(), nullptr);
  // A later start-up with a font that exists succeeds.
  tw::Config::getInstance().loadConfig("font_file:tw-font.ttf");
  EXPECT_EQ(dm.startUp(), 0);
  EXPECT_NE(dm.getPresenter(), nullptr);
}

// Two overlapping sprites of slanted and wide glyphs: each cell must show its
// final character exactly as that character drawn alone shows it (no
// neighbour's background cuts it, it reaches into no neighbour), and a
// character drawn over another hides it.
TEST_F(DisplayWindow, EveryGlyphStaysWholeWhereSpritesOverlap) {
  ASSERT_NO_FATAL_FAILURE(start());
  const std::vector<std::string> back = {"/\\/\\/WM", "@#%&/\\|{"};
  const std::vector<std::string> front = {"MW/\\", "/_\\@"};  // drawn 3 cells right, over it
  std::vector<std::string> final_rows = back;
  for (std::size_t y = 0; y < front.size(); y++) final_rows[y].replace(3, front[y].size(), front[y]);
  for (std::size_t y = 0; y < back.size(); y++) {
    dm.drawString(tw::Vector(10, 5.0f + y), back[y], tw::JUSTIFY_LEFT, tw::RED);
  }
  for (std::size_t y = 0; y < front.size(); y++) {
    dm.drawString(tw::Vector(13, 5.0f + y), front[y], tw::JUSTIFY_LEFT, tw::GREEN);
  }
  const tw_test::Screenshot together = swapAndShoot();
  EXPECT_EQ(dynamic_cast<tw::WindowPresenter*>(dm.getPresenter())->getBackgroundsDrawn(), 8);
  for (std::size_t y = 0; y < final_rows.size(); y++) {
    for (std::size_t x = 0; x < final_rows[y].size(); x++) {
      const bool in_front = x >= 3 && x < 3 + front[y].size();
      const int cx = 10 + static_cast<int>(x), cy = 5 + static_cast<int>(y);
      dm.drawCharacter(tw::Vector(static_cast<float>(cx), static_cast<float>(cy)),
                       final_rows[y][x], in_front ? tw::GREEN : tw::RED);
      const tw_test::Screenshot alone = swapAndShoot();
      EXPECT_EQ(differingPixels(together, alone, GlyphBox(cx, cy)), 0)
          << "cell " << x << "," << y << " '" << final_rows[y][x] << "'";
    }
  }
  // Nothing of the back sprite shows where the front one covers it.
  for (int x = 13; x < 18; x++) EXPECT_EQ(inCell(together, x, 5, RED_PIXEL), 0) << x;
}

TEST_F(DisplayWindow, BackgroundsAreDrawnOnlyWhereTheyHideSomething) {
  ASSERT_NO_FATAL_FAILURE(start());
  tw::WindowPresenter* presenter = dynamic_cast<tw::WindowPresenter*>(dm.getPresenter());
  for (int y = 0; y < 24; y++) {
    dm.drawString(tw::Vector(0, static_cast<float>(y)), std::string(80, 'x'), tw::JUSTIFY_LEFT,
                  tw::WHITE);
  }
  dm.swapBuffers();
  EXPECT_EQ(presenter->getBackgroundsDrawn(), 0);  // a full screen, each cell drawn once
  dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED);
  dm.drawCharacter(tw::Vector(10.5f, 5), 'A', tw::GREEN);  // covers half of the M
  dm.drawCharacter(tw::Vector(30, 5), 'B', tw::GREEN, 90.0f);
  dm.drawCharacter(tw::Vector(30, 5), 'C', tw::GREEN);  // over the turned B
  dm.swapBuffers();
  EXPECT_EQ(presenter->getBackgroundsDrawn(), 2);
}

TEST_F(DisplayWindow, ARestartShowsNothingDrawnBeforeTheShutDown) {
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED), 0);  // never shown
  dm.shutDown();
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(inWindow(shoot(), RED_PIXEL), 0);  // the new window's first frame
}

TEST_F(DisplayWindow, ARestartDrawsAtItsOwnCharacterSize) {
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED), 0);
  EXPECT_GE(glyphHeight(swapAndShoot(), 10, 5, RED_PIXEL), 16);
  dm.shutDown();
  ASSERT_NO_FATAL_FAILURE(start("font_scale:1.0"));
  EXPECT_EQ(dm.drawCharacter(tw::Vector(20, 5), 'M', tw::GREEN), 0);
  const int height = glyphHeight(swapAndShoot(), 20, 5, GREEN_PIXEL);
  EXPECT_GE(height, 7);  // size 12 now, not 25
  EXPECT_LE(height, 10);
}

}  // namespace
