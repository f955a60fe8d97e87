// Shapes without a window: the circle's corner count and the default size.
#include "engine/world/Shape.h"

#include <gtest/gtest.h>

#include "engine/core/Config.h"

TEST(Shape, CirclePointsFollowTheSizeBetweenThreeAndTen) {
  EXPECT_EQ(tw::Shape::circlePointCount(2.5f), 3);
  EXPECT_EQ(tw::Shape::circlePointCount(7.9f), 7);
  EXPECT_EQ(tw::Shape::circlePointCount(24.0f), 10);
}

TEST(Shape, DefaultSizeFollowsScaleAndTheSmallerCellSide) {
  EXPECT_FLOAT_EQ(tw::Shape().getSize(), 24.0f);  // 2 x 12, the cell width in whole pixels
  tw::Config::getInstance().loadConfig("font_scale:1.5,window_horizontal_pixels:800,window_vertical_chars:50");
  EXPECT_FLOAT_EQ(tw::Shape().getSize(), 15.0f);  // cells of 10 x 15.36 pixels: 1.5 x 10
}
