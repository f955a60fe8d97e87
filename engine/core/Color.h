// The engine's colours: the eight drawing colours plus CUSTOM, and their
// conversions to channels and to display names.
#pragma once

#include "engine/platform/Export.h"

#include <cstdint>
#include <string>

namespace tw {

// A fixed underlying type: any int (say, read from a file) is a valid Color
// value, and the conversions answer unsupported ones with their fallbacks.
enum Color : int {
  UNDEFINED_COLOR = -1,
  BLACK = 0,
  RED,
  GREEN,
  YELLOW,
  BLUE,
  MAGENTA,
  CYAN,
  WHITE,
  CUSTOM,
};

const Color COLOR_DEFAULT = WHITE;

// An opaque colour as three 8-bit channels.
struct TW_API Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
};
inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// Writes the colour's channels; CUSTOM and unsupported values write nothing.
TW_API void colorToRGB(Color color, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b);
// The colour's channels; CUSTOM and unsupported values give white (what a
// character drawn in them shows).
TW_API Rgb colorToRgb(Color color);
// "Black" ... "White"; "Unknown color" for CUSTOM and unsupported values.
TW_API std::string colorToString(Color color);

}  // namespace tw
