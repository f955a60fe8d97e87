#include "engine/world/Shape.h"

#include <gtest/gtest.h>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "tests/support/TestSupport.h"

TEST(Shape, CirclePointsFollowTheSizeBetweenThreeAndTen) {
  EXPECT_EQ(tw::Shape::circlePointCount(2.5f), 3);
  EXPECT_EQ(tw::Shape::circlePointCount(7.9f), 7);
  EXPECT_EQ(tw::Shape::circlePointCount(10.0f), 10);
  EXPECT_EQ(tw::Shape::circlePointCount(24.0f), 10);
}

TEST(Shape, DefaultIsAWhiteOpaqueCircleOfTwentyFourPixels) {
  const tw::Shape shape;
  EXPECT_EQ(shape.toString(), "circle, size 24.000000, White, 255");
}

TEST(Shape, DefaultSizeFollowsScaleAndTheSmallerCellSide) {
  tw::Config::getInstance().loadConfig("font_scale:1.5,window_horizontal_pixels:800,window_vertical_chars:50");
  // cells of 10 x 15.36 pixels: 1.5 x 10
  EXPECT_FLOAT_EQ(tw::Shape().getSize(), 15.0f);
}

TEST(Shape, WithoutAWindowNothingIsDrawnAndTheChannelsStay) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(5);
  tw::Config::getInstance().loadConfig("headless:true");
  ASSERT_EQ(tw::DisplayManager::getInstance().startUp(), 0);
  tw::Shape shape;
  shape.setColor(tw::RED);
  shape.draw(tw::Vector(10, 10));
  EXPECT_EQ(shape.getR(), 0);  // not converted: the draw stopped first
  EXPECT_TRUE(log.contains("Shape::draw(): DisplayManager window not defined."));
  tw::DisplayManager::getInstance().shutDown();
}
