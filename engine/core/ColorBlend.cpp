#include "engine/core/ColorBlend.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace tw {

namespace {

std::uint8_t channel(float value) {
  return static_cast<std::uint8_t>(std::lround(std::min(255.0f, std::max(0.0f, value))));
}

// Lower case, blanks and underscores dropped: "Dark_Grey" reads "darkgrey".
std::string plainName(const std::string& name) {
  std::string plain;
  for (char c : name) {
    if (c != ' ' && c != '_') plain += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return plain;
}

struct NamedColor {
  const char* name;
  Rgb rgb;
};

const NamedColor NAMED[] = {
    {"orange", colors::ORANGE}, {"amber", colors::AMBER},       {"lime", colors::LIME},
    {"teal", colors::TEAL},     {"azure", colors::AZURE},       {"violet", colors::VIOLET},
    {"pink", colors::PINK},     {"crimson", colors::CRIMSON},   {"brown", colors::BROWN},
    {"gold", colors::GOLD},     {"silver", colors::SILVER},     {"grey", colors::GREY},
    {"gray", colors::GREY},     {"darkgrey", colors::DARK_GREY}, {"darkgray", colors::DARK_GREY},
    {"lightgrey", colors::LIGHT_GREY}, {"lightgray", colors::LIGHT_GREY}, {"navy", colors::NAVY},
    {"olive", colors::OLIVE},   {"maroon", colors::MAROON},     {"sepia", colors::SEPIA},
};

}  // namespace

Rgb lerpColor(Rgb a, Rgb b, float t) {
  t = std::min(1.0f, std::max(0.0f, t));
  return Rgb{channel(a.r + (b.r - a.r) * t), channel(a.g + (b.g - a.g) * t), channel(a.b + (b.b - a.b) * t)};
}

Rgb scaleColor(Rgb color, float factor) {
  return Rgb{channel(color.r * factor), channel(color.g * factor), channel(color.b * factor)};
}

Hsv rgbToHsv(Rgb color) {
  const float r = color.r / 255.0f;
  const float g = color.g / 255.0f;
  const float b = color.b / 255.0f;
  const float high = std::max(r, std::max(g, b));
  const float spread = high - std::min(r, std::min(g, b));
  Hsv hsv;
  hsv.v = high;
  hsv.s = high > 0 ? spread / high : 0.0f;
  if (spread > 0) {
    float sector = 0;
    if (high == r) {
      sector = (g - b) / spread;
    } else if (high == g) {
      sector = 2.0f + (b - r) / spread;
    } else {
      sector = 4.0f + (r - g) / spread;
    }
    hsv.h = sector * 60.0f;
    if (hsv.h < 0) hsv.h += 360.0f;
  }
  return hsv;
}

Rgb hsvToRgb(Hsv hsv) {
  float h = std::fmod(hsv.h, 360.0f);
  if (h < 0) h += 360.0f;
  const float s = std::min(1.0f, std::max(0.0f, hsv.s));
  const float v = std::min(1.0f, std::max(0.0f, hsv.v));
  const float sector = h / 60.0f;
  const int whole = static_cast<int>(sector) % 6;
  const float part = sector - std::floor(sector);
  const float p = v * (1 - s);
  const float q = v * (1 - s * part);
  const float t = v * (1 - s * (1 - part));
  const float rgb[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
  return Rgb{channel(rgb[whole][0] * 255), channel(rgb[whole][1] * 255), channel(rgb[whole][2] * 255)};
}

bool namedColor(const std::string& name, Rgb& out) {
  const std::string plain = plainName(name);
  for (int c = BLACK; c <= WHITE; c++) {
    if (plainName(colorToString(static_cast<Color>(c))) == plain) {
      out = colorToRgb(static_cast<Color>(c));
      return true;
    }
  }
  for (const NamedColor& named : NAMED) {
    if (plain == named.name) {
      out = named.rgb;
      return true;
    }
  }
  return false;
}

}  // namespace tw
