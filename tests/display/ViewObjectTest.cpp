#include "engine/display/ViewObject.h"

#include <gtest/gtest.h>

#include "engine/core/Config.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/EventView.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"

using tw::ViewObject;
using tw::Vector;

namespace {
class ViewObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tw::Config::getInstance().loadConfig("headless:true");
    ASSERT_EQ(tw::DisplayManager::getInstance().startUp(), 0);
    tw::WorldManager& world = tw::WorldManager::getInstance();
    ASSERT_EQ(world.startUp(), 0);
    world.setBoundary(tw::Box(Vector(0, 0), 80, 24));
    world.setView(tw::Box(Vector(0, 0), 80, 24));
  }
  void TearDown() override {
    tw::WorldManager::getInstance().shutDown();
    tw::DisplayManager::getInstance().shutDown();
  }
  tw_test::LogCapture log;
};
}  // namespace

TEST_F(ViewObjectTest, FreshObjectSitsTopCentreFramedAndWhite) {
  auto* view = new ViewObject;
  EXPECT_EQ(view->getPosition(), Vector(40, 1));
  EXPECT_EQ(view->getLocation(), tw::TOP_CENTER);
  EXPECT_EQ(view->getLocationName(), "top-center");
  EXPECT_EQ(view->getValue(), 0);
  EXPECT_EQ(view->getColor(), tw::WHITE);
  EXPECT_TRUE(view->getBorder());
  EXPECT_EQ(view->getDisplayString(), "  0 ");
  EXPECT_EQ(view->getType(), "ViewObject");
  EXPECT_EQ(view->getSolidness(), tw::SPECTRAL);
  EXPECT_EQ(view->getAltitude(), tw::MAX_ALTITUDE);
  EXPECT_EQ(view->getModified() & (tw::VALUE | tw::APPEARANCE), tw::VALUE | tw::APPEARANCE);
}

TEST_F(ViewObjectTest, LocationsPlaceOnThirdsAndRowsByBorder) {
  auto* view = new ViewObject;
  view->setLocation(tw::TOP_LEFT);
  EXPECT_EQ(view->getPosition(), Vector(80.0f / 6.0f, 1));
  view->setLocation(tw::CENTER_CENTER);
  EXPECT_EQ(view->getPosition(), Vector(40, 12));
  view->setLocation(tw::BOTTOM_RIGHT);
  EXPECT_EQ(view->getPosition(), Vector(80.0f * 5.0f / 6.0f, 22));
  view->setBorder(false);  // moves to the row that fits
  EXPECT_EQ(view->getPosition().getY(), 23);
  EXPECT_EQ(view->getLocation(), tw::BOTTOM_RIGHT);
  view->setLocation(tw::CENTER_LEFT);
  EXPECT_EQ(view->getPosition().getY(), 11);
}

TEST_F(ViewObjectTest, OutOfRangeLocationIsIgnoredWithAWarning) {
  auto* view = new ViewObject;
  view->setLocation(9);
  view->setLocation(-1);
  EXPECT_EQ(view->getLocation(), tw::TOP_CENTER);
  EXPECT_EQ(view->getPosition(), Vector(40, 1));
  EXPECT_TRUE(log.contains("ViewObject::setLocation(): Warning! Location out of range (9). Ignored."));
  EXPECT_TRUE(log.contains("ViewObject::setLocation(): Warning! Location out of range (-1). Ignored."));
}

TEST_F(ViewObjectTest, PlacingByPositionForgetsTheLocation) {
  auto* view = new ViewObject;
  view->setPosition(Vector(40, 1));  // the same position keeps the location
  EXPECT_EQ(view->getLocation(), tw::TOP_CENTER);
  view->setPosition(Vector(10, 10));
  EXPECT_EQ(view->getLocation(), -1);
  EXPECT_EQ(view->getLocationName(), "unknown");
  view->setBorder(false);  // placed by position: the border does not move it
  EXPECT_EQ(view->getPosition(), Vector(10, 10));
}

TEST_F(ViewObjectTest, ViewEventsSetOrAddTheValueOfMatchingTags) {
  auto* view = new ViewObject;
  view->setViewString("Lives");
  tw::EventView other("Score", 5, false);
  EXPECT_EQ(view->eventHandler(&other), 0);
  EXPECT_EQ(view->getValue(), 0);
  tw::EventView set("Lives", 5, false);
  EXPECT_EQ(view->eventHandler(&set), 1);
  EXPECT_EQ(view->getValue(), 5);
  tw::EventView add("Lives", 5, true);
  tw::WorldManager::getInstance().onEvent(&add);  // delivered through its interest
  EXPECT_EQ(view->getValue(), 10);
}

TEST_F(ViewObjectTest, SettersMarkValueOrAppearanceOnlyOnChange) {
  auto* view = new ViewObject;
  view->setModified(0);
  view->setValue(0);
  view->setColor(tw::WHITE);
  EXPECT_EQ(view->getModified(), 0u);
  view->setValue(3);
  EXPECT_EQ(view->getModified(), static_cast<unsigned>(tw::VALUE));
  view->setModified(0);
  view->setColor(tw::RED);
  EXPECT_EQ(view->getModified(), static_cast<unsigned>(tw::APPEARANCE));
}

TEST_F(ViewObjectTest, TextFollowsBorderAndValueFlags) {
  auto* view = new ViewObject;
  view->setViewString("Score:");
  view->setValue(7);
  EXPECT_EQ(view->getDisplayString(), " Score: 7 ");
  view->setDrawValue(false);
  EXPECT_EQ(view->getDisplayString(), " Score: ");
  view->setBorder(false);
  EXPECT_EQ(view->getDisplayString(), "Score:");
  view->setDrawValue(true);
  EXPECT_EQ(view->getDisplayString(), "Score: 7");
}

TEST_F(ViewObjectTest, FrameIsDrawnOnlyWithABorder) {
  auto* view = new ViewObject;
  // Headless, every display call fails with -1: the sum counts the calls.
  EXPECT_EQ(view->draw(), -5);  // text, two dash rows, two bars
  view->setBorder(false);
  EXPECT_EQ(view->draw(), -1);
}
