// Arithmetic on opaque colours (Rgb): blending, scaling, hue-saturation-value
// conversions, and named colours beyond the engine's eight, looked up by name.
#pragma once

#include <string>

#include "engine/core/Color.h"
#include "engine/platform/Export.h"

namespace tw {

// Hue in degrees [0, 360), saturation and value in [0, 1].
struct TW_API Hsv {
  float h = 0;
  float s = 0;
  float v = 0;
};

// a at t = 0, b at t = 1, each channel rounded; t is held to 0..1.
TW_API Rgb lerpColor(Rgb a, Rgb b, float t);
// Every channel times factor (not below 0), rounded and held to 255.
TW_API Rgb scaleColor(Rgb color, float factor);
TW_API Hsv rgbToHsv(Rgb color);
// Hue taken modulo 360; saturation and value held to 0..1.
TW_API Rgb hsvToRgb(Hsv hsv);
// A named colour: the eight engine colours' names and the extra ones below,
// in any letter case ("amber", "Dark Grey"); false, out unchanged, for
// another name.
TW_API bool namedColor(const std::string& name, Rgb& out);

// Named colours beside the eight of Color.
namespace colors {
constexpr Rgb ORANGE{255, 128, 0};
constexpr Rgb AMBER{255, 191, 0};
constexpr Rgb LIME{191, 255, 0};
constexpr Rgb TEAL{0, 128, 128};
constexpr Rgb AZURE{0, 127, 255};
constexpr Rgb VIOLET{127, 0, 255};
constexpr Rgb PINK{255, 105, 180};
constexpr Rgb CRIMSON{220, 20, 60};
constexpr Rgb BROWN{139, 69, 19};
constexpr Rgb GOLD{255, 215, 0};
constexpr Rgb SILVER{192, 192, 192};
constexpr Rgb GREY{128, 128, 128};
constexpr Rgb DARK_GREY{64, 64, 64};
constexpr Rgb LIGHT_GREY{211, 211, 211};
constexpr Rgb NAVY{0, 0, 128};
constexpr Rgb OLIVE{128, 128, 0};
constexpr Rgb MAROON{128, 0, 0};
constexpr Rgb SEPIA{112, 66, 20};
}  // namespace colors

}  // namespace tw
