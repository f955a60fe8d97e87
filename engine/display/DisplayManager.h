// The display manager: owns the one window, the font and the text and
// rectangle reused for every character, and draws characters and strings at
// world positions on the grid of character cells.
#pragma once

#include "engine/core/Manager.h"
#include "engine/display/CellGeometry.h"
#include "engine/display/Color.h"
#include "engine/world/Vector.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cstdint>
#include <string>

namespace tw {

// Channels used for a character drawn in CUSTOM or an unsupported colour:
// the same opaque white colorToSFML falls back to.
const std::uint8_t FALLBACK_CHANNEL = 255;

class DisplayManager : public Manager {
 public:
  static DisplayManager& getInstance();
  ~DisplayManager() override;

  // Opens the window (none in headless mode) and prepares the font, the text
  // and the cell rectangle. 0 on success, -1 on failure (logged).
  int startUp() override;
  void shutDown() override;

  // Draws one character at a world position (cells); 0 drawn, -1 not drawn.
  int drawCharacter(Vector world_pos, char ch, Color color, float rotation = 0.0f) const;
  int drawCharacter(Vector world_pos, char ch, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                    float rotation = 0.0f) const;
  // Draws str one character per cell, placed by justification.
  int drawString(Vector world_pos, std::string str, Justification just, Color color) const;
  // Shows what was drawn, then clears to the background colour.
  int swapBuffers();

  int getHorizontalChars() const;
  int getVerticalChars() const;
  int getHorizontalPixels() const;
  int getVerticalPixels() const;
  // Null before start-up, after shut-down and in headless mode.
  sf::RenderWindow* getWindow() const;

 private:
  DisplayManager();
  DisplayManager(const DisplayManager&) = delete;
  void operator=(const DisplayManager&) = delete;
  int openWindow();
  int prepareDrawing();
  void release();

  sf::Font font;
  sf::RenderWindow* p_window;
  int window_horizontal_pixels;
  int window_vertical_pixels;
  int window_horizontal_chars;
  int window_vertical_chars;
  sf::RectangleShape* p_rectangle;
  sf::Color window_background_color;
  sf::Text* p_text;
};

}  // namespace tw
