// The display manager without a window: headless mode, the cell geometry,
// drawing before start-up, repeated start-up, and a missing display.
#include "engine/display/DisplayManager.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"

namespace {

class DisplayHeadless : public ::testing::Test {
 protected:
  void start(const std::string& extra = "") {
    tw::Config::getInstance().loadConfig("headless:true" + extra);
    ASSERT_EQ(dm.startUp(), 0);
  }
  tw_test::LogCapture log;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
};

TEST_F(DisplayHeadless, StartsWithoutAWindowAndRefusesToDraw) {
  start();
  EXPECT_TRUE(dm.isStarted());
  EXPECT_EQ(dm.getPresenter(), nullptr);
  EXPECT_EQ(dm.getHorizontalChars(), 80);
  EXPECT_EQ(dm.getVerticalChars(), 24);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', tw::RED), -1);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', 1, 2, 3), -1);
  EXPECT_EQ(dm.drawString(tw::Vector(1, 1), "abc", tw::JUSTIFY_LEFT, tw::RED), -1);
  EXPECT_EQ(dm.swapBuffers(), -1);
  dm.shutDown();
  EXPECT_FALSE(dm.isStarted());
}

TEST_F(DisplayHeadless, CellGeometryFollowsTheWindowSize) {
  start();
  EXPECT_FLOAT_EQ(tw::charWidth(), 12.8f);
  EXPECT_FLOAT_EQ(tw::charHeight(), 32.0f);
  EXPECT_EQ(tw::spacesToPixels(tw::Vector(10, 5)), tw::Vector(128, 160));
  EXPECT_EQ(tw::pixelsToSpaces(tw::Vector(128, 160)), tw::Vector(10, 5));
  const tw::Vector half = tw::pixelsToSpaces(tw::Vector(6.4f, 16));
  EXPECT_FLOAT_EQ(half.getX(), 0.5f);
  EXPECT_FLOAT_EQ(half.getY(), 0.5f);
}

TEST_F(DisplayHeadless, AWindowOfNoCellsHasCellsOfSizeZero) {
  start(",window_horizontal_chars:0,window_vertical_chars:0");
  EXPECT_EQ(tw::charWidth(), 0.0f);
  EXPECT_EQ(tw::charHeight(), 0.0f);
  EXPECT_EQ(tw::spacesToPixels(tw::Vector(3, 4)), tw::Vector(0, 0));
  const tw::Vector cells = tw::pixelsToSpaces(tw::Vector(100, 50));
  EXPECT_TRUE(std::isfinite(cells.getX()) && std::isfinite(cells.getY()));
  EXPECT_EQ(cells, tw::Vector(0, 0));
}

TEST_F(DisplayHeadless, ConversionsAreTracedAtLevel30) {
  start();
  tw::LogManager::getInstance().setLogLevel(30);
  tw::spacesToPixels(tw::Vector(10, 5));
  tw::pixelsToSpaces(tw::Vector(128, 160));
  EXPECT_TRUE(log.contains("spacesToPixels(int): spaces (10.00,5.00) = pixels (128.00,160.00)"));
  EXPECT_TRUE(log.contains("pixelsToSpaces(): pixels (128.00,160.00) = spaces (10.00,5.00)"));
}

TEST_F(DisplayHeadless, WorldAndViewPositionsDifferByTheViewCorner) {
  start();
  tw::WorldManager& wm = tw::WorldManager::getInstance();
  wm.setBoundary(tw::Box(tw::Vector(0, 0), 200, 100));
  wm.setView(tw::Box(tw::Vector(5, 3), 80, 24));
  ASSERT_EQ(wm.getView().getCorner(), tw::Vector(5, 3));
  EXPECT_EQ(tw::worldToView(tw::Vector(10, 10)), tw::Vector(5, 7));
  EXPECT_EQ(tw::viewToWorld(tw::Vector(5, 7)), tw::Vector(10, 10));
}

TEST_F(DisplayHeadless, SecondStartUpWarnsAndFails) {
  start();
  EXPECT_EQ(dm.startUp(), -1);
  EXPECT_TRUE(dm.isStarted());
  EXPECT_TRUE(log.contains("DisplayManager::startup(): Warning! DisplayManager already started."));
}

TEST(DisplayManager, DrawingBeforeStartUpIsRefusedAndLogged) {
  tw_test::LogCapture log;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', 1, 2, 3), -1);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', tw::RED), -1);
  EXPECT_EQ(dm.drawString(tw::Vector(1, 1), "abc", tw::JUSTIFY_CENTER, tw::RED), -1);
  EXPECT_EQ(dm.swapBuffers(), -1);
  const std::vector<std::string> expected(4, "DisplayManager not started!");
  EXPECT_EQ(log.messages(), expected);
}

TEST(DisplayManager, StartUpWithoutADisplayFailsCleanly) {
  tw_test::LogCapture log;
  tw_test::ScopedEnv no_display("DISPLAY", nullptr);
  tw::Config::getInstance().loadConfig("headless:false");
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  EXPECT_EQ(dm.startUp(), -1);
  EXPECT_FALSE(dm.isStarted());
  EXPECT_EQ(dm.getPresenter(), nullptr);
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): Error! Unable to open display ''."));
}

}  // namespace
