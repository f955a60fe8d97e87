// An off-screen grid of cells of any size that a game draws into (a character,
// its colour and a background per cell) and copies onto the frame or onto
// another canvas, with a key colour or an alpha for the background.
#pragma once

#include "engine/core/Color.h"
#include "engine/platform/Export.h"
#include "engine/world/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tw {

struct TW_API CanvasCell {
  char32_t ch = U' ';
  Rgb fg{255, 255, 255};
  Rgb bg;
};

// How a canvas is copied: cells whose background is the key colour (when
// keyed) are left out whole; every other background is laid over what lies
// beneath with background_alpha (255: replaces it, 0: leaves it). A blank
// over a background not wholly opaque keeps the character beneath, its
// colour seen through the new background.
struct TW_API CanvasCopy {
  bool keyed = false;
  Rgb key{255, 0, 255};
  std::uint8_t background_alpha = 255;
};

class TW_API CellCanvas {
 public:
  // A canvas of width x height blank cells (white on black); a negative size
  // is taken as 0.
  CellCanvas(int width, int height);

  int getWidth() const;
  int getHeight() const;

  // Every cell to the same character and colours.
  void fill(char32_t ch, Rgb fg, Rgb bg);
  // Sets cell (x, y); -1 (nothing changed) outside the canvas.
  int put(int x, int y, char32_t ch, Rgb fg, Rgb bg);
  // The character and its colour only, the background kept.
  int putCharacter(int x, int y, char32_t ch, Rgb fg);
  int setBackground(int x, int y, Rgb bg);
  // UTF-8 text from (x, y) rightwards, one character per cell, cut at the
  // canvas's edge; invalid UTF-8 and characters that do not fit one cell
  // show as U+FFFD. The number of cells written.
  int print(int x, int y, const std::string& text, Rgb fg, Rgb bg);
  // The cell at (x, y); a blank one outside the canvas.
  const CanvasCell& at(int x, int y) const;

  // Copies the canvas with its top-left cell at (x, y) of target; what lies
  // outside target is left out.
  void copyTo(CellCanvas& target, int x, int y, const CanvasCopy& how = CanvasCopy()) const;
  // Draws the canvas onto the frame with its top-left cell at a world
  // position; a background not wholly opaque is laid over the frame's
  // background colour (compose canvases first to lay it over other cells).
  // 0, or -1 when the display draws nothing.
  int draw(Vector world_pos, const CanvasCopy& how = CanvasCopy()) const;

 private:
  CanvasCell* cell(int x, int y);

  int width;
  int height;
  std::vector<CanvasCell> cells;  // cell (x, y) at y * width + x
};

}  // namespace tw
