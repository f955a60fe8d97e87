// A finished frame's cells painted into a picture of pixels with the
// engine's font (each cell's background, then its glyph in its colour), and
// written as a PNG file: the display manager's screenshots, whatever the
// presenter.
#pragma once

#include "engine/display/CellGrid.h"
#include "engine/platform/GlyphRaster.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tw {

class CellPicture {
 public:
  // Cells of cell_width x cell_height pixels (at least 1 each).
  CellPicture(int cell_width, int cell_height);

  // The font glyphs are drawn with; false, with the reason in why, when it
  // cannot be read.
  bool setFont(const std::string& font_file, std::string& why);
  // Paints every cell of grid (the picture takes the grid's size).
  void paint(const CellGrid& grid);
  // Writes the picture; false, with the reason in why, on failure.
  bool writePng(const std::string& filename, std::string& why) const;

  int getWidth() const;
  int getHeight() const;
  // Pixel (x, y) as 0xRRGGBB.
  std::uint32_t pixel(int x, int y) const;

 private:
  void fillCell(int col, int row, Rgb color);
  void drawGlyph(int col, int row, CellChar ch, Rgb color);

  int cell_width;
  int cell_height;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // 3 bytes a pixel, row by row
  platform::GlyphRaster font;
};

}  // namespace tw
