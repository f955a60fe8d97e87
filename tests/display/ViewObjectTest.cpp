// View objects: where each location puts them, the text they show, the
// values view events set or add, and what they draw.
#include "engine/display/ViewObject.h"

#include <gtest/gtest.h>

#include "engine/display/EventView.h"
#include "tests/support/EngineFixtures.h"

namespace {

using tw::Vector;
using tw::ViewObject;

class ViewObjectTest : public tw_test::WorldFixture {};

TEST_F(ViewObjectTest, LocationsPlaceOnThirdsAndRowsByBorderUntilPlacedByPosition) {
  auto* view = new ViewObject;
  EXPECT_EQ(view->getPosition(), Vector(40, 1));  // top centre, framed
  const struct {
    int location;
    Vector framed, bare;
  } cases[] = {{tw::TOP_LEFT, {80 / 6.0f, 1}, {80 / 6.0f, 0}},
               {tw::CENTER_CENTER, {40, 12}, {40, 11}},
               {tw::CENTER_LEFT, {80 / 6.0f, 12}, {80 / 6.0f, 11}},
               {tw::BOTTOM_RIGHT, {400 / 6.0f, 22}, {400 / 6.0f, 23}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(tw::locationName(c.location));
    view->setBorder(true);
    view->setLocation(c.location);
    EXPECT_EQ(view->getPosition(), c.framed);
    view->setBorder(false);  // moves to the row that fits
    EXPECT_EQ(view->getPosition(), c.bare);
    EXPECT_EQ(view->getLocation(), c.location);
  }
  view->setPosition(Vector(10, 10));  // placed by position: no location, the border keeps it
  EXPECT_EQ(view->getLocation(), -1);
  view->setBorder(true);
  EXPECT_EQ(view->getPosition(), Vector(10, 10));
}

// The modified flags decide what a network update sends.
TEST_F(ViewObjectTest, ViewEventsSetOrAddTheValueAndOnlyChangesMarkWhatToSend) {
  auto* view = new ViewObject;
  view->setViewString("Lives");
  tw::EventView other("Score", 5, false);
  EXPECT_EQ(view->eventHandler(&other), 0);
  EXPECT_EQ(view->getValue(), 0);
  tw::EventView set("Lives", 5, false);
  EXPECT_EQ(view->eventHandler(&set), 1);
  EXPECT_EQ(view->getValue(), 5);
  tw::EventView add("Lives", 5, true);
  world().onEvent(&add);  // delivered through its interest
  EXPECT_EQ(view->getValue(), 10);
  view->setModified(0);
  view->setValue(10), view->setColor(tw::WHITE), view->setBorder(true);
  EXPECT_EQ(view->getModified(), 0u);  // no change, nothing to send
}

TEST_F(ViewObjectTest, TextAndFrameFollowBorderAndValueFlags) {
  auto* view = new ViewObject;
  view->setViewString("Score:");
  view->setValue(7);
  EXPECT_EQ(view->getDisplayString(), " Score: 7 ");
  // Headless, every display call fails with -1: the sum counts the calls.
  EXPECT_EQ(view->draw(), -5);  // text, two dash rows, two bars
  view->setDrawValue(false);
  EXPECT_EQ(view->getDisplayString(), " Score: ");
  view->setBorder(false);
  EXPECT_EQ(view->getDisplayString(), "Score:");
  EXPECT_EQ(view->draw(), -1);
  view->setDrawValue(true);
  EXPECT_EQ(view->getDisplayString(), "Score: 7");
}

}  // namespace
