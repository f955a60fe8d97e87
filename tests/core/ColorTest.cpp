// Colour conversions: the eight colours' channels and names, and the
// fallbacks (with their log lines) for CUSTOM and unsupported values.
#include "engine/core/Color.h"

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "tests/support/TestSupport.h"

namespace {

struct Expected {
  tw::Color color;
  std::uint8_t r, g, b;
  const char* name;
};

const Expected COLORS[] = {
    {tw::BLACK, 0, 0, 0, "Black"},       {tw::RED, 255, 0, 0, "Red"},
    {tw::GREEN, 0, 255, 0, "Green"},     {tw::YELLOW, 255, 255, 0, "Yellow"},
    {tw::BLUE, 0, 0, 255, "Blue"},       {tw::MAGENTA, 255, 0, 255, "Magenta"},
    {tw::CYAN, 0, 255, 255, "Cyan"},     {tw::WHITE, 255, 255, 255, "White"},
};

TEST(Color, EightColoursConvertToTheirChannelsAndNames) {
  for (const Expected& e : COLORS) {
    std::uint8_t r = 7, g = 7, b = 7;
    tw::colorToRGB(e.color, r, g, b);
    EXPECT_EQ(r, e.r) << e.name;
    EXPECT_EQ(g, e.g) << e.name;
    EXPECT_EQ(b, e.b) << e.name;
    EXPECT_TRUE(tw::colorToRgb(e.color) == (tw::Rgb{e.r, e.g, e.b})) << e.name;
    EXPECT_EQ(tw::colorToString(e.color), e.name);
  }
}

TEST(Color, CustomAndUnsupportedValuesFallBack) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(5);
  const tw::Color unsupported[] = {tw::CUSTOM, static_cast<tw::Color>(42), tw::UNDEFINED_COLOR};
  for (tw::Color color : unsupported) {
    std::uint8_t r = 1, g = 2, b = 3;
    tw::colorToRGB(color, r, g, b);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 2);
    EXPECT_EQ(b, 3);
    EXPECT_TRUE(tw::colorToRgb(color) == (tw::Rgb{255, 255, 255}));
    EXPECT_EQ(tw::colorToString(color), "Unknown color");
  }
  const std::vector<std::string> lines = log.messages();
  const std::vector<std::string> expected = {
      "colorToRgb(): Color is CUSTOM.",  // colorToRGB says nothing about CUSTOM
      "colorToRGB(): Color 42 not supported.",
      "colorToRgb(): Color 42 not supported.",
      "colorToRGB(): Color -1 not supported.",
      "colorToRgb(): Color -1 not supported.",
  };
  EXPECT_EQ(lines, expected);
}

}  // namespace
