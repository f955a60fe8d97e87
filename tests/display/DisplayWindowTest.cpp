// The display manager drawing characters and shapes into a real window on the
// test X server: the window is captured after swapBuffers and the pixels of
// the cells drawn are checked for the colours drawn there (and nowhere else).
#include "engine/display/DisplayManager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "engine/core/Config.h"
#include "engine/core/Unicode.h"
#include "engine/display/WindowPresenter.h"
#include "engine/world/Shape.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XWindowDriver.h"

namespace {

using tw_test::Screenshot;

const std::uint32_t RED_PIXEL = 0xff0000, GREEN_PIXEL = 0x00ff00, BLUE_PIXEL = 0x0000ff;
const int GLYPH_PIXELS = 15;  // solid interior pixels of one bold capital at the default size

// Pixels of this colour in cell (x, y) of 12.8 x 32 pixels (or in its pixel
// rows [top, top + rows)), widened by the 4 pixels a bold glyph reaches into
// the cell to its right; in the whole window when x < 0.
int count(const Screenshot& shot, std::uint32_t color, int x = -1, int y = 0, int top = 0,
          int rows = 32) {
  if (x < 0) return shot.count(0, 0, shot.width, shot.height, color);
  return shot.count(x * 12.8, y * 32 + top, (x + 1) * 12.8 + 4, y * 32 + top + rows, color);
}

// Height in pixels of the rows of cell (x, y) holding this colour.
int glyphHeight(const Screenshot& shot, int x, int y, std::uint32_t color) {
  int top = 0, bottom = 32;
  while (top < 32 && count(shot, color, x, y, top, 1) == 0) top++;
  while (bottom > top && count(shot, color, x, y, bottom - 1, 1) == 0) bottom--;
  return bottom - top;
}

class DisplayWindow : public ::testing::Test {
 protected:
  void SetUp() override { tw_test::useTestDisplay(); }
  void TearDown() override {
    if (dm.isStarted()) dm.shutDown();
  }

  // Starts the display manager with a window titled after the test, mapped (a
  // frame shown earlier would be lost) and showing its first, cleared frame.
  void start(const std::string& config = "") {
    const std::string title =
        std::string("tw-") + testing::UnitTest::GetInstance()->current_test_info()->name();
    tw::Config::getInstance().loadConfig("window_title:" + title + "," + config);
    ASSERT_EQ(dm.startUp(), 0);
    driver = std::make_unique<tw_test::XWindowDriver>(title);
    ASSERT_TRUE(driver->found());
    for (int i = 0; i < 100 && (i < 15 || !driver->screenshot().valid()); i++, usleep(20000)) {
      for (tw::platform::InputEvent event; dm.getPresenter()->pollEvent(event);) {
      }
    }
    ASSERT_EQ(dm.swapBuffers(), 0);
  }
  // The window after a swap (or not), once two captures in a row agree.
  Screenshot shoot(bool swap = true) {
    EXPECT_EQ(swap ? dm.swapBuffers() : 0, 0);
    for (tw::platform::InputEvent event; dm.getPresenter()->pollEvent(event);) {
    }
    Screenshot shot, last;
    for (int i = 0; i < 20 && (i < 2 || shot.rgb != last.rgb); i++, usleep(100000)) {
      last = std::move(shot);
      shot = driver->screenshot();
    }
    EXPECT_TRUE(shot.valid());
    return shot;
  }
  int backgroundsDrawn() const {
    return dynamic_cast<tw::WindowPresenter*>(dm.getPresenter())->getBackgroundsDrawn();
  }
  tw_test::LogCapture log;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  std::unique_ptr<tw_test::XWindowDriver> driver;
};

// Each character shows in its cell and colour (and nowhere else) on the
// background, from the swap on; the next swap clears it. A filled circle
// covers what was drawn before it around its position (a character drawn on
// it then paints its cell's background), a cell's own background fills it, a custom colour uses
// the channels as set, and an undefined shape (green) draws nothing.
TEST_F(DisplayWindow, SwapShowsCharactersAndShapesInTheirCellsAndColoursThenClears) {
  ASSERT_NO_FATAL_FAILURE(start("window_background_color:blue"));
  const struct {
    float x, y;
    std::uint8_t r, g, b;
  } cases[] = {{10, 5, 255, 0, 0}, {20, 10, 0, 255, 0}, {50, 12, 255, 128, 0}};
  for (const auto& c : cases) EXPECT_EQ(dm.drawCharacter({c.x, c.y}, 'M', c.r, c.g, c.b), 0);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(40, 5), 'M', tw::CUSTOM), 0);  // drawn white
  for (int x = 39; x <= 42; x++) dm.drawCharacter(tw::Vector(x, 15), 'M', tw::CYAN);
  tw::Shape circle, square, none;
  circle.setColor(tw::MAGENTA);
  circle.draw(tw::Vector(40, 15));  // pixels (512, 480); radius 24 from (500, 468)
  dm.drawCharacter(tw::Vector(40, 14), 'M', tw::YELLOW);  // on the circle: its background hides it
  square.setType(tw::SQUARE), square.setColor(tw::CUSTOM);
  square.setR(10), square.setG(200), square.setB(30);
  square.draw(tw::Vector(20, 6));
  none.setType(tw::UNDEFINED_SHAPE), none.setColor(tw::GREEN);
  none.draw(tw::Vector(60, 12));
  dm.drawCharacter(tw::Vector(70, 20), 'M', tw::Rgb{255, 255, 255}, tw::Rgb{0, 128, 128});
  Screenshot shot = shoot();
  for (const auto& c : cases) {
    const std::uint32_t pixel = (c.r << 16) | (c.g << 8) | c.b;
    EXPECT_GE(count(shot, pixel, c.x, c.y), GLYPH_PIXELS) << c.x;
    EXPECT_EQ(count(shot, pixel), count(shot, pixel, c.x, c.y)) << c.x;  // nowhere else
  }
  EXPECT_GE(count(shot, 0xffffff, 40, 5), GLYPH_PIXELS);
  EXPECT_EQ(shot.pixel(700, 600), BLUE_PIXEL);
  EXPECT_GT(count(shot, BLUE_PIXEL, 10, 5), 0);  // the cell's own background
  EXPECT_EQ(shot.pixel(524, 492), 0xff00ffu);  // the circle's centre
  EXPECT_GT(shot.count(490, 458, 560, 528, 0xff00ff), 1000);
  EXPECT_EQ(count(shot, 0xff00ff), shot.count(480, 440, 580, 540, 0xff00ff));
  EXPECT_EQ(shot.count(510, 480, 540, 506, 0x00ffff), 0);  // no cyan inside the circle
  EXPECT_GT(shot.count(220, 150, 320, 250, 0x0AC81E), 100);
  // A cell's own background fills its cell around the glyph, and nowhere else.
  // (The cell box lies a tenth of a cell left and a fifth down of the cell.)
  EXPECT_GT(shot.count(895, 647, 907, 678, 0x008080), 150);  // the glyph takes the rest
  EXPECT_EQ(count(shot, 0x008080), shot.count(893, 645, 909, 680, 0x008080));
  EXPECT_EQ(backgroundsDrawn(), 2);
  dm.drawCharacter(tw::Vector(30, 5), 'M', tw::GREEN);
  EXPECT_EQ(count(shoot(false), GREEN_PIXEL, 30, 5), 0);  // not swapped yet
  shot = shoot();
  EXPECT_GE(count(shot, GREEN_PIXEL, 30, 5), GLYPH_PIXELS);
  EXPECT_EQ(count(shot, RED_PIXEL) + count(shot, 0xff00ff), 0);
}

// Pixels of this colour whose centres lie in the box a glyph of cell (x, y)
// is fitted into (the cell moved a tenth of a cell left and a fifth down),
// or in the box widened by margin pixels.
int inBox(const Screenshot& shot, std::uint32_t color, float x, float y, int margin = 0) {
  auto first = [](double edge) { return static_cast<int>(std::ceil(edge - 0.5)); };
  return shot.count(first(x * 12.8 - 1.28) - margin, first(y * 32 + 6.4) - margin,
                    first((x + 1) * 12.8 - 1.28) + margin, first((y + 1) * 32 + 6.4) + margin,
                    color);
}

// Box drawing, blocks and shades land in their cells as an ASCII glyph does
// and fill them, so that lines and blocks join those of the next cells
// without a seam (reaching at most a pixel past the box to do so); a
// character the font lacks (U+16A0) shows as the font's U+FFFD does.
TEST_F(DisplayWindow, BoxDrawingGlyphsFillTheirCellsAndMissingOnesShowTheReplacement) {
  ASSERT_NO_FATAL_FAILURE(start());
  const struct {
    char32_t ch;
    tw::Color color;
    std::uint32_t pixel;
    int least;  // pixels in its box
  } cases[] = {{U'M', tw::RED, RED_PIXEL, GLYPH_PIXELS},
               {U'\u253c', tw::GREEN, GREEN_PIXEL, 12 + 28},  // a crossing of two lines
               {U'\u2588', tw::BLUE, BLUE_PIXEL, 12 * 31},    // the full block
               {U'\u2592', tw::YELLOW, 0xffff00, 80},         // a shade
               {U'\u16a0', tw::MAGENTA, 0xff00ff, GLYPH_PIXELS}};
  float x = 10;
  for (const auto& c : cases) dm.drawCharacter(tw::Vector(x++, 5), c.ch, c.color);
  dm.drawCharacter(tw::Vector(19, 5), tw::REPLACEMENT_CHARACTER, tw::MAGENTA);
  dm.drawString(tw::Vector(30, 10), "\u2500\u2500\u2500\u2500\u2500", tw::JUSTIFY_LEFT, tw::CYAN);
  for (int y = 12; y < 15; y++) dm.drawCharacter(tw::Vector(40, y), U'\u2502', tw::WHITE);
  const Screenshot shot = shoot();
  x = 10;
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<unsigned>(c.ch));
    EXPECT_GE(inBox(shot, c.pixel, x, 5), c.least);
    const int margin = c.ch < 0x80 ? 0 : 1;
    if (c.color != tw::MAGENTA) {
      EXPECT_EQ(count(shot, c.pixel), inBox(shot, c.pixel, x, 5, margin));  // nowhere else
    }
    x++;
  }
  EXPECT_EQ(inBox(shot, 0xff00ff, 14, 5), inBox(shot, 0xff00ff, 19, 5));  // as U+FFFD
  // The line runs unbroken across its five cells, the bar down its three: a
  // pixel where two cells meet may be a shade darker, none is missing.
  int longest = 0;
  for (int py = 10 * 32; py < 12 * 32; py++) {
    longest = std::max(longest, shot.count(384, py, 446, py + 1, 0x00ffff, 16));
  }
  EXPECT_EQ(longest, 446 - 384);
  int tallest = 0;
  for (int px = 40 * 12.8 - 2; px < 41 * 12.8; px++) {
    tallest = std::max(tallest, shot.count(px, 391, px + 1, 486, 0xffffff, 16));
  }
  EXPECT_EQ(tallest, 486 - 391);
}

// The character size is the font scale times the smaller cell side, set anew
// by each start-up; a restart shows nothing drawn before the shut-down; a
// missing font fails the start-up.
TEST_F(DisplayWindow, EachStartUpDrawsAtItsOwnCharacterSizeOnAClearWindow) {
  ASSERT_NO_FATAL_FAILURE(start());
  dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED);
  EXPECT_NEAR(glyphHeight(shoot(), 10, 5, RED_PIXEL), 18, 2);  // size 25
  dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED);  // never shown
  dm.shutDown();
  ASSERT_NO_FATAL_FAILURE(start("font_scale:1.0"));
  EXPECT_EQ(count(shoot(false), RED_PIXEL), 0);
  dm.drawCharacter(tw::Vector(20, 5), 'M', tw::GREEN);
  EXPECT_NEAR(glyphHeight(shoot(), 20, 5, GREEN_PIXEL), 8.5, 1.5);  // size 12
  dm.shutDown();
  tw::Config::getInstance().loadConfig("font_file:no-such-font.ttf");
  EXPECT_EQ(dm.startUp(), -1);
  EXPECT_EQ(dm.getPresenter(), nullptr);
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): Error! No font file 'no-such-font.ttf'"));
}

// A full screen needs no cell backgrounds. Two overlapping sprites of slanted
// and wide glyphs do where a character hides another; each cell must then
// show its final character exactly as that character drawn alone shows it
// (no neighbour's background cuts it, it reaches into no neighbour).
TEST_F(DisplayWindow, EveryGlyphStaysWholeWhereSpritesOverlap) {
  ASSERT_NO_FATAL_FAILURE(start());
  for (int y = 0; y < 24; y++) {
    dm.drawString(tw::Vector(0, y), std::string(80, 'x'), tw::JUSTIFY_LEFT, tw::WHITE);
  }
  dm.swapBuffers();
  EXPECT_EQ(backgroundsDrawn(), 0);
  const std::string back[] = {"/\\/\\/WM", "@#%&/\\|{"}, front[] = {"MW/\\", "/_\\@"};
  const std::string final_rows[] = {"/\\/MW/\\", "@#%/_\\@{"};  // the front drawn 3 cells right
  for (int y = 0; y < 2; y++) {
    dm.drawString(tw::Vector(10, 5.0f + y), back[y], tw::JUSTIFY_LEFT, tw::RED);
    dm.drawString(tw::Vector(13, 5.0f + y), front[y], tw::JUSTIFY_LEFT, tw::GREEN);
  }
  const Screenshot together = shoot();
  EXPECT_EQ(backgroundsDrawn(), 8);
  for (int x = 13; x < 18; x++) EXPECT_EQ(count(together, RED_PIXEL, x, 5), 0) << x;  // hidden
  for (int y = 0; y < 2; y++) {
    for (int x = 0; x < static_cast<int>(final_rows[y].size()); x++) {
      const int cx = 10 + x, cy = 5 + y;
      dm.drawCharacter(tw::Vector(cx, cy), final_rows[y][x], x > 2 && x < 7 ? tw::GREEN : tw::RED);
      const Screenshot alone = shoot();
      int differing = 0;  // in the box a glyph is fitted into: its cell, 1/10 left, 1/5 down
      for (int py = std::ceil(cy * 32 + 6.4); py < std::floor((cy + 1) * 32 + 6.4); py++) {
        for (int px = std::ceil(cx * 12.8 - 1.28); px < std::floor((cx + 1) * 12.8 - 1.28); px++) {
          differing += together.pixel(px, py) != alone.pixel(px, py);
        }
      }
      EXPECT_EQ(differing, 0) << "cell " << x << "," << y << " '" << final_rows[y][x] << "'";
    }
  }
}

}  // namespace
