// The display manager drawing into a real window on the test X server: the
// window is captured after swapBuffers and the pixels of the cells drawn are
// checked for the colours drawn there (and nowhere else).
#include "engine/display/DisplayManager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <SFML/Graphics/RectangleShape.hpp>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/core/Config.h"
#include "engine/platform/Sfml.h"
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

// One character of a test scene, as handed to drawCharacter.
struct Stroke {
  float x, y;  // world position in cells
  char ch;
  sf::Color color;
  float rotation;
};

// A scene that exercises what batching must keep: glyphs wider than their
// cell side by side (each cut back by its right neighbour's background),
// blanks and a tab that paint only their background, characters between
// cells, a string drawn over a filled block, bytes outside ASCII and a turned
// character drawn between unturned ones.
std::vector<Stroke> testScene() {
  std::vector<Stroke> scene;
  const sf::Color colors[] = {sf::Color(255, 0, 0), sf::Color(0, 255, 0), sf::Color(0, 0, 255),
                              sf::Color(255, 255, 0), sf::Color(255, 128, 0),
                              sf::Color(200, 100, 250), sf::Color(255, 255, 255)};
  const std::string wide = "WWMM@@##%%&&WMW@";
  for (std::size_t i = 0; i < wide.size(); i++) {
    scene.push_back({2.0f + static_cast<float>(i), 2.0f, wide[i], colors[i % 7], 0.0f});
  }
  for (int y = 4; y < 8; y++) {  // a block, then a string and blanks over it
    for (int x = 2; x < 22; x++) {
      const sf::Color color = colors[(x + y) % 7];
      scene.push_back({static_cast<float>(x), static_cast<float>(y), '#', color, 0.0f});
    }
  }
  const std::string over = "Over it, a string: {x|y} ~_~ gjpq";
  for (std::size_t i = 0; i < over.size(); i++) {
    scene.push_back({3.5f + static_cast<float>(i), 5.5f, over[i], sf::Color(0, 255, 255), 0.0f});
  }
  scene.push_back({6.0f, 7.0f, ' ', sf::Color(255, 0, 0), 0.0f});
  scene.push_back({7.0f, 7.0f, '\t', sf::Color(255, 0, 0), 0.0f});
  const float fractions[] = {0.1f, 0.25f, 0.333f, 0.5f, 0.6f, 0.75f, 0.9f, 0.05f};
  for (int i = 0; i < 24; i++) {
    const float x = 30.0f + static_cast<float>(i) * 1.37f + fractions[i % 8];
    const float y = 10.0f + static_cast<float>(i % 3) + fractions[(i * 3 + 1) % 8];
    scene.push_back({x, y, static_cast<char>('a' + i), colors[i % 7], 0.0f});
  }
  scene.push_back({40.0f, 15.0f, 'A', sf::Color(255, 0, 0), 0.0f});
  scene.push_back({40.4f, 15.2f, 'R', sf::Color(0, 255, 0), 30.0f});
  scene.push_back({40.8f, 15.0f, 'Z', sf::Color(0, 0, 255), 0.0f});
  scene.push_back({50.0f, 18.0f, static_cast<char>(0xe9), sf::Color(255, 255, 0), 0.0f});
  scene.push_back({51.0f, 18.0f, '\x7f', sf::Color(255, 255, 0), 0.0f});
  scene.push_back({79.4f, 23.3f, 'Q', sf::Color(255, 0, 255), 0.0f});  // over the window's edge
  return scene;
}

// The scene drawn character by character as the display manager used to do
// it: the cell rectangle, then a one-character bold text, both placed by
// their own transform and drawn straight into the window.
void drawOneByOne(sf::RenderWindow& window, const std::vector<Stroke>& scene, sf::Color background,
                  float font_scale) {
  sf::Font font;
  ASSERT_TRUE(tw::platform::openFontFromFile(font, "tw-font.ttf"));
  const float width = tw::charWidth();
  const float height = tw::charHeight();
  const unsigned size = static_cast<unsigned>(font_scale * (width < height ? width : height));
  std::unique_ptr<sf::Text> text(tw::platform::createText(font, "", size));
  ASSERT_NE(text, nullptr);
  text->setStyle(sf::Text::Bold);
  sf::RectangleShape rectangle(sf::Vector2f(width, height));
  rectangle.setFillColor(background);
  for (const Stroke& stroke : scene) {
    const tw::Vector pixels = tw::spacesToPixels(tw::worldToView(tw::Vector(stroke.x, stroke.y)));
    rectangle.setPosition(sf::Vector2f(pixels.getX() - width / 10, pixels.getY() + height / 5));
    tw::platform::setRotation(rectangle, stroke.rotation);
    window.draw(rectangle);
    text->setString(sf::String(stroke.ch));
    text->setPosition(sf::Vector2f(pixels.getX(), pixels.getY()));
    text->setFillColor(stroke.color);
    tw::platform::setRotation(*text, stroke.rotation);
    window.draw(*text);
  }
}

// How many pixels differ between two screenshots of the same size (all of
// them when the sizes differ); reports the first few.
int differingPixels(const tw_test::Screenshot& a, const tw_test::Screenshot& b) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
  int differing = 0;
  for (int y = 0; y < a.height; y++) {
    for (int x = 0; x < a.width; x++) {
      if (a.pixel(x, y) == b.pixel(x, y)) continue;
      if (differing++ < 10) {
        std::printf("pixel (%d, %d): %06x instead of %06x\n", x, y, a.pixel(x, y), b.pixel(x, y));
      }
    }
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
      while (tw::platform::pollEvent(*dm.getWindow())) {
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
  EXPECT_EQ(dm.getWindow()->getSize(),
            sf::Vector2u(static_cast<unsigned>(desktop_width), static_cast<unsigned>(desktop_height)));
  EXPECT_FLOAT_EQ(tw::charWidth(), static_cast<float>(desktop_width) / 80.0f);
}

TEST_F(DisplayWindow, MissingFontFailsStartUpAndShutDownReleasesTheWindow) {
  tw::Config::getInstance().loadConfig("font_file:no-such-font.ttf");
  EXPECT_EQ(dm.startUp(), -1);
  EXPECT_FALSE(dm.isStarted());
  EXPECT_TRUE(log.contains(
      "DisplayManager::startUp(): Error! Unable to open font from file 'no-such-font.ttf'."));
  EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', tw::RED), -1);
  dm.shutDown();
  EXPECT_EQ(dm.getWindow(), nullptr);
  // A later start-up with a font that exists succeeds.
  tw::Config::getInstance().loadConfig("font_file:tw-font.ttf");
  EXPECT_EQ(dm.startUp(), 0);
  EXPECT_NE(dm.getWindow(), nullptr);
}

// Batched drawing paints exactly what drawing each character on its own
// painted, at the default cell size and at one that puts cells between pixels.
class DisplayBatching : public DisplayWindow,
                     public ::testing::WithParamInterface<std::string> {};

TEST_P(DisplayBatching, IsPixelIdenticalToDrawingCharacterByCharacter) {
  ASSERT_NO_FATAL_FAILURE(start("window_background_color:blue," + GetParam()));
  const std::vector<Stroke> scene = testScene();
  for (const Stroke& s : scene) {
    EXPECT_EQ(dm.drawCharacter(tw::Vector(s.x, s.y), s.ch, s.color.r, s.color.g, s.color.b,
                               s.rotation), 0);
  }
  const tw_test::Screenshot batched = swapAndShoot();

  ASSERT_NO_FATAL_FAILURE(drawOneByOne(*dm.getWindow(), scene, sf::Color::Blue,
                                       tw::Config::getInstance().getFontScale()));
  const tw_test::Screenshot one_by_one = swapAndShoot();

  ASSERT_TRUE(batched.valid());
  // The scene really drew: the comparison is not one of two empty windows.
  EXPECT_GT(batched.count(0, 0, batched.width, batched.height, RED_PIXEL), 200);
  EXPECT_GT(batched.count(0, 0, batched.width, batched.height, CYAN_PIXEL), 200);
  EXPECT_LT(batched.count(0, 0, batched.width, batched.height, BLUE_PIXEL),
            batched.width * batched.height - 5000);
  EXPECT_EQ(differingPixels(batched, one_by_one), 0);
}

INSTANTIATE_TEST_SUITE_P(
    CellSizes, DisplayBatching,
    ::testing::Values("window_horizontal_pixels:1024,window_vertical_pixels:768",
                      "window_horizontal_pixels:1000,window_vertical_pixels:700,font_scale:1.7"));

TEST_F(DisplayWindow, DrawingStraightIntoTheWindowAfterAFlushLandsBetweenCharacters) {
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(dm.drawCharacter(tw::Vector(10, 5), 'M', tw::RED), 0);
  EXPECT_EQ(dm.flush(), 0);
  // A green bar over cells 10 and 11 of row 5, drawn as a shape would.
  sf::RectangleShape bar(sf::Vector2f(2 * 12.8f, 32.0f));
  bar.setPosition(sf::Vector2f(128.0f, 160.0f));
  bar.setFillColor(sf::Color::Green);
  dm.getWindow()->draw(bar);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(11, 5), 'M', tw::BLUE), 0);
  const tw_test::Screenshot shot = swapAndShoot();
  EXPECT_EQ(inWindow(shot, RED_PIXEL), 0);  // the bar hides the earlier character
  EXPECT_GT(inCell(shot, 10, 5, GREEN_PIXEL), 200);
  EXPECT_GE(inCellRightPart(shot, 11, 5, BLUE_PIXEL), GLYPH_PIXELS);  // the later one is on top
}

TEST_F(DisplayWindow, CharactersBeyondOneBatchAreAllDrawnInOrder) {
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(dm.drawCharacter(tw::Vector(10, 5), 'M', tw::GREEN), 0);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(20, 5), 'M', tw::RED), 0);
  // More blanks than one batch holds, away from both cells.
  const std::size_t blanks = tw::DisplayManager::MAX_BATCH_CHARACTERS + 100;
  for (std::size_t i = 0; i < blanks; i++) {
    dm.drawCharacter(tw::Vector(static_cast<float>(i % 80), 20), ' ', tw::WHITE);
  }
  EXPECT_EQ(dm.drawCharacter(tw::Vector(20, 5), 'M', tw::BLUE), 0);
  const tw_test::Screenshot shot = swapAndShoot();
  EXPECT_GE(inCell(shot, 10, 5, GREEN_PIXEL), GLYPH_PIXELS);  // drawn before the batch filled
  EXPECT_GE(inCell(shot, 20, 5, BLUE_PIXEL), GLYPH_PIXELS);   // drawn after, over the red one
  EXPECT_EQ(inWindow(shot, RED_PIXEL), 0);
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
