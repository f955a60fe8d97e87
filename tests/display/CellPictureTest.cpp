// Screenshots: the last finished frame painted with the engine's font and
// written as PNG by the display manager, read back here with libpng.
#include "engine/display/CellPicture.h"

#include <gtest/gtest.h>

#include "engine/core/Config.h"
#include "engine/display/DisplayManager.h"
#include "engine/platform/PngFile.h"
#include "tests/support/TestSupport.h"

namespace {

struct Png {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  std::uint32_t pixel(int x, int y) const {
    const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    return (p[0] << 16) | (p[1] << 8) | p[2];
  }
  // Pixels of cell (col, row), 10 x 20 pixels, of this colour.
  int count(int col, int row, std::uint32_t color) const {
    int n = 0;
    for (int y = row * 20; y < row * 20 + 20; y++)
      for (int x = col * 10; x < col * 10 + 10; x++) n += pixel(x, y) == color;
    return n;
  }
};

// Cells of 10 x 20 pixels on a blue frame: a red letter on its own yellow
// background, a blank on green, a white full block, and blue elsewhere.
TEST(CellPicture, ScreenshotShowsEveryCellsBackgroundAndGlyphInItsColour) {
  tw_test::LogCapture log;
  tw_test::TempDir dir;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  tw::Config::getInstance().loadConfig(
      "display:capture,window_background_color:blue,window_horizontal_pixels:200,"
      "window_vertical_pixels:60,window_horizontal_chars:20,window_vertical_chars:3");
  ASSERT_EQ(dm.startUp(), 0);
  dm.drawCharacter(tw::Vector(1, 0), 'M', tw::RED, tw::YELLOW);
  dm.drawCharacter(tw::Vector(2, 0), ' ', tw::RED, tw::GREEN);
  dm.drawCharacter(tw::Vector(3, 1), U'\u2588', tw::WHITE);
  ASSERT_EQ(dm.swapBuffers(), 0);
  ASSERT_EQ(dm.saveScreenshot(dir.file("shot.png")), 0);
  Png png;
  std::string why;
  ASSERT_TRUE(tw::platform::readPng(dir.file("shot.png"), png.width, png.height, png.rgb, why)) << why;
  EXPECT_EQ(png.width, 200);
  EXPECT_EQ(png.height, 60);
  EXPECT_GT(png.count(1, 0, 0xff0000), 20);  // the letter's ink
  EXPECT_GT(png.count(1, 0, 0xffff00), 80);  // its own background around it
  EXPECT_EQ(png.count(1, 0, 0x0000ff), 0);
  EXPECT_EQ(png.count(2, 0, 0x00ff00), 200);
  EXPECT_GT(png.count(3, 1, 0xffffff), 120);
  EXPECT_EQ(png.count(10, 2, 0x0000ff), 200);
  // Refused, with a line each: an unwritable place, and headless mode.
  const std::string nowhere = dir.file("no-folder/shot.png");
  EXPECT_EQ(dm.saveScreenshot(nowhere), -1);
  EXPECT_TRUE(log.contains("DisplayManager::saveScreenshot(): Error! Cannot write '" + nowhere +
                           "': No such file or directory."));
  dm.shutDown();
  tw::Config::getInstance().loadConfig("headless:true");
  ASSERT_EQ(dm.startUp(), 0);
  EXPECT_EQ(dm.saveScreenshot(dir.file("headless.png")), -1);
  EXPECT_TRUE(log.contains("DisplayManager::saveScreenshot(): Error! Nothing is drawn in headless mode."));
  dm.shutDown();
}

}  // namespace
