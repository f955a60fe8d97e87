// The engine's colours: the eight drawing colours plus CUSTOM, and their
// conversions to channels, to SFML colours and to display names.
#pragma once

#include <cstdint>
#include <string>

#include <SFML/Graphics/Color.hpp>

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

// Writes the colour's channels; CUSTOM and unsupported values write nothing.
void colorToRGB(Color color, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b);
// Opaque SFML colour; CUSTOM and unsupported values give opaque white.
sf::Color colorToSFML(Color color);
// "Black" ... "White"; "Unknown color" for CUSTOM and unsupported values.
std::string colorToString(Color color);

}  // namespace tw
