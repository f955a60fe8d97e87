// The display manager: owns the one window, the font, the text and rectangle
// reused for rotated characters and the batch that collects a frame's
// characters, and draws characters and strings at world positions on the grid
// of character cells.
#pragma once

#include "engine/core/Manager.h"
#include "engine/display/CellGeometry.h"
#include "engine/display/Color.h"
#include "engine/world/Vector.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Glyph.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <array>
#include <cstddef>
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

  // Characters held back before a batch is drawn even without a flush.
  static constexpr std::size_t MAX_BATCH_CHARACTERS = 16384;

  // Draws one character at a world position (cells); 0 drawn, -1 not drawn.
  // Unrotated characters are collected and reach the window at the next
  // flush (swapBuffers flushes), painted in call order: each cell's
  // background, then its glyph.
  int drawCharacter(Vector world_pos, char ch, Color color, float rotation = 0.0f) const;
  int drawCharacter(Vector world_pos, char ch, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                    float rotation = 0.0f) const;
  // Draws str one character per cell, placed by justification.
  int drawString(Vector world_pos, std::string str, Justification just, Color color) const;
  // Draws the characters collected so far into the window. Whoever draws
  // into the window directly (shapes, anything using getWindow) calls it
  // first, so that earlier characters end up below that drawing.
  // 0 when drawn or nothing was pending, -1 without a window.
  int flush() const;
  // Shows what was drawn, then clears to the background colour.
  int swapBuffers();

  int getHorizontalChars() const;
  int getVerticalChars() const;
  int getHorizontalPixels() const;
  int getVerticalPixels() const;
  // Null before start-up, after shut-down and in headless mode. Call flush
  // before drawing into it.
  sf::RenderWindow* getWindow() const;

 private:
  DisplayManager();
  DisplayManager(const DisplayManager&) = delete;
  void operator=(const DisplayManager&) = delete;
  int openWindow();
  int prepareDrawing();
  void release();

  // What a character needs to be batched, looked up once per character.
  struct BatchGlyph {
    bool loaded = false;
    bool has_quad = false;  // blanks, tabs and line breaks paint only their background
    sf::Glyph glyph;
  };
  const BatchGlyph& batchGlyph(char ch) const;
  void preloadGlyphs() const;
  void batchCharacter(sf::Vector2f pixels, char ch, sf::Color color) const;
  void drawUnbatched(sf::Vector2f pixels, char ch, sf::Color color, float rotation) const;

  sf::Font font;
  sf::RenderWindow* p_window;
  int window_horizontal_pixels;
  int window_vertical_pixels;
  int window_horizontal_chars;
  int window_vertical_chars;
  sf::RectangleShape* p_rectangle;
  sf::Color window_background_color;
  sf::Text* p_text;
  // The characters drawn since the last flush, and how many they are
  // (mutable: drawing goes through the const draw operations, like the
  // window the reused text and rectangle are drawn into).
  mutable sf::VertexArray batch;
  mutable std::size_t batch_characters;
  // Glyphs of the text's font, size and style, by character (as unsigned char).
  mutable std::array<BatchGlyph, 256> batch_glyphs;
};

}  // namespace tw
