// Colour conversions: the eight colours' channels and names, and the
// fallbacks (with their log lines) for CUSTOM and unsupported values.
#include "engine/core/Color.h"

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "tests/support/TestSupport.h"

TEST(Color, EightColoursConvertToTheirChannelsAndNames) {
  const struct {
    tw::Color color;
    tw::Rgb rgb;
    const char* name;
  } colors[] = {{tw::BLACK, {0, 0, 0}, "Black"},         {tw::RED, {255, 0, 0}, "Red"},
                {tw::GREEN, {0, 255, 0}, "Green"},       {tw::YELLOW, {255, 255, 0}, "Yellow"},
                {tw::BLUE, {0, 0, 255}, "Blue"},         {tw::MAGENTA, {255, 0, 255}, "Magenta"},
                {tw::CYAN, {0, 255, 255}, "Cyan"},       {tw::WHITE, {255, 255, 255}, "White"}};
  for (const auto& e : colors) {
    std::uint8_t r = 7, g = 7, b = 7;
    tw::colorToRGB(e.color, r, g, b);
    EXPECT_TRUE((tw::Rgb{r, g, b}) == e.rgb) << e.name;
    EXPECT_TRUE(tw::colorToRgb(e.color) == e.rgb) << e.name;
    EXPECT_EQ(tw::colorToString(e.color), e.name);
  }
}

TEST(Color, CustomAndUnsupportedValuesFallBack) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(5);
  for (tw::Color color : {tw::CUSTOM, static_cast<tw::Color>(42), tw::UNDEFINED_COLOR}) {
    std::uint8_t r = 1, g = 2, b = 3;
    tw::colorToRGB(color, r, g, b);
    EXPECT_TRUE((tw::Rgb{r, g, b}) == (tw::Rgb{1, 2, 3}));  // left as they were
    EXPECT_TRUE(tw::colorToRgb(color) == (tw::Rgb{255, 255, 255}));
    EXPECT_EQ(tw::colorToString(color), "Unknown color");
  }
  const std::vector<std::string> expected = {
      "colorToRgb(): Color is CUSTOM.",  // colorToRGB says nothing about CUSTOM
      "colorToRGB(): Color 42 not supported.", "colorToRgb(): Color 42 not supported.",
      "colorToRGB(): Color -1 not supported.", "colorToRgb(): Color -1 not supported."};
  EXPECT_EQ(log.messages(), expected);
}
