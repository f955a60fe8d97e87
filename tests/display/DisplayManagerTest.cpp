// The display manager without a window: headless (no presenter), capture
// (frames kept as a cell grid), the cell geometry, and the refusals before
// start-up or without a display.
#include "engine/display/DisplayManager.h"

#include <gtest/gtest.h>

#include "engine/core/Config.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"

namespace {

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
// quietly. A second start-up fails.
TEST_F(DisplayTest, RefusesToDrawWhenStoppedOrHeadless) {
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
}

// Positions are in the world: the view's corner is taken off before the
// character lands in its cell; strings are justified around their position.
TEST_F(DisplayTest, DrawsAtViewPositionsAndJustifiesStrings) {
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
  EXPECT_EQ(row(0), "  M K                         ");
  EXPECT_EQ(row(1), "        ABCDE                 ");
  EXPECT_EQ(row(2), "      ABCD                    ");
  EXPECT_EQ(row(3), "          ABCD                ");
  EXPECT_EQ(dm.snapshot().getColorRow(0).substr(0, 5), "  r w");
  EXPECT_EQ(dm.snapshot().getColorRow(3).substr(10, 4), "yyyy");
}

TEST_F(DisplayTest, EachSwapShowsOnlyWhatWasDrawnSinceTheLastOne) {
  start("display:capture");
  for (const char* text : {"first", "second", "third"}) {
    dm.drawString(tw::Vector(0, 0), text, tw::JUSTIFY_LEFT, tw::WHITE);
    ASSERT_EQ(dm.swapBuffers(), 0);
    EXPECT_EQ(row(0), text + std::string(30 - std::string(text).size(), ' '));
  }
}

TEST_F(DisplayTest, CellGeometryFollowsTheWindowSizeAndSurvivesNoCells) {
  start("headless:true");
  EXPECT_FLOAT_EQ(tw::charWidth(), 12.8f);
  EXPECT_FLOAT_EQ(tw::charHeight(), 32.0f);
  EXPECT_EQ(tw::spacesToPixels(tw::Vector(10, 5)), tw::Vector(128, 160));
  EXPECT_EQ(tw::pixelsToSpaces(tw::Vector(128, 160)), tw::Vector(10, 5));
  dm.shutDown();
  start("headless:true,window_horizontal_chars:0,window_vertical_chars:0");
  EXPECT_EQ(tw::charWidth(), 0.0f);
  EXPECT_EQ(tw::spacesToPixels(tw::Vector(3, 4)), tw::Vector(0, 0));
  EXPECT_EQ(tw::pixelsToSpaces(tw::Vector(100, 50)), tw::Vector(0, 0));  // not infinite
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
