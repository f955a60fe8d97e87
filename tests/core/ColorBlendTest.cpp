// Colour arithmetic: blends, scaling, HSV both ways and named colours.
#include "engine/core/ColorBlend.h"

#include <gtest/gtest.h>

#include <string>

using tw::Rgb;

namespace {
std::string text(Rgb c) { return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b); }
}  // namespace

TEST(ColorBlend, BlendsAndScalesChannelByChannel) {
  const struct {
    Rgb got;
    Rgb expected;
  } cases[] = {
      {tw::lerpColor({0, 0, 0}, {255, 100, 10}, 0.0f), {0, 0, 0}},
      {tw::lerpColor({0, 0, 0}, {255, 100, 10}, 1.0f), {255, 100, 10}},
      {tw::lerpColor({200, 0, 50}, {100, 100, 51}, 0.5f), {150, 50, 51}},
      {tw::lerpColor({10, 10, 10}, {20, 20, 20}, 7.0f), {20, 20, 20}},  // t held to 1
      {tw::scaleColor({100, 200, 3}, 0.5f), {50, 100, 2}},
      {tw::scaleColor({100, 200, 3}, 2.0f), {200, 255, 6}},
      {tw::scaleColor({100, 200, 3}, -1.0f), {0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(text(c.got), text(c.expected));
}

TEST(ColorBlend, ConvertsToAndFromHsv) {
  const struct {
    Rgb rgb;
    float h, s, v;
  } cases[] = {
      {{255, 0, 0}, 0, 1, 1},       {{0, 255, 255}, 180, 1, 1}, {{0, 0, 255}, 240, 1, 1},
      {{255, 0, 255}, 300, 1, 1},   {{128, 128, 128}, 0, 0, 128 / 255.0f},
      {{255, 128, 0}, 30.12f, 1, 1}, {{0, 0, 0}, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(text(c.rgb));
    const tw::Hsv hsv = tw::rgbToHsv(c.rgb);
    EXPECT_NEAR(hsv.h, c.h, 0.05);
    EXPECT_NEAR(hsv.s, c.s, 1e-3);
    EXPECT_NEAR(hsv.v, c.v, 1e-3);
    EXPECT_EQ(text(tw::hsvToRgb(hsv)), text(c.rgb));
  }
  EXPECT_EQ(text(tw::hsvToRgb({-120, 1, 1})), "0,0,255");  // hue wraps round
  EXPECT_EQ(text(tw::hsvToRgb({60, 2, 1})), "255,255,0");  // saturation held to 1
}

TEST(ColorBlend, FindsNamedColoursInAnyCase) {
  const struct {
    const char* name;
    bool found;
    Rgb rgb;
  } cases[] = {{"Yellow", true, {255, 255, 0}}, {"dark grey", true, tw::colors::DARK_GREY},
               {"AMBER", true, tw::colors::AMBER}, {"light_gray", true, tw::colors::LIGHT_GREY},
               {"Unknown color", false, {1, 2, 3}}, {"", false, {1, 2, 3}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rgb out{1, 2, 3};
    EXPECT_EQ(tw::namedColor(c.name, out), c.found);
    EXPECT_EQ(text(out), text(c.rgb));
  }
}
