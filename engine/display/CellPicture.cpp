#include "engine/display/CellPicture.h"

#include "engine/platform/PngFile.h"

#include <algorithm>

namespace tw {

CellPicture::CellPicture(int cell_width, int cell_height)
    : cell_width(std::max(cell_width, 1)), cell_height(std::max(cell_height, 1)) {}

bool CellPicture::setFont(const std::string& font_file, std::string& why) {
  return font.open(font_file, cell_height, why);
}

void CellPicture::paint(const CellGrid& grid) {
  width = grid.getWidth() * cell_width;
  height = grid.getHeight() * cell_height;
  rgb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0);
  for (int row = 0; row < grid.getHeight(); row++) {
    for (int col = 0; col < grid.getWidth(); col++) {
      const GridCell& cell = grid.at(col, row);
      fillCell(col, row, cell.has_background ? cell.background : grid.getBackground());
      if (cell.ch != U' ') drawGlyph(col, row, cell.ch, cell.color);
    }
  }
}

void CellPicture::fillCell(int col, int row, Rgb color) {
  for (int y = row * cell_height; y < (row + 1) * cell_height; y++) {
    std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + col * cell_width) * 3];
    for (int x = 0; x < cell_width; x++, p += 3) {
      p[0] = color.r;
      p[1] = color.g;
      p[2] = color.b;
    }
  }
}

// The glyph's ink centred across the cell, on the line's baseline, blended
// into the background by its coverage and cut at the cell's edges.
void CellPicture::drawGlyph(int col, int row, CellChar ch, Rgb color) {
  const platform::GlyphBitmap glyph = font.render(ch);
  const int left = col * cell_width + (cell_width - glyph.width) / 2;
  const int top = row * cell_height + font.getAscent() - glyph.top;
  for (int gy = 0; gy < glyph.rows; gy++) {
    const int y = top + gy;
    if (y < row * cell_height || y >= (row + 1) * cell_height) continue;
    for (int gx = 0; gx < glyph.width; gx++) {
      const int x = left + gx;
      if (x < col * cell_width || x >= (col + 1) * cell_width) continue;
      const int a = glyph.coverage[static_cast<std::size_t>(gy) * glyph.width + gx];
      std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      p[0] = static_cast<std::uint8_t>((p[0] * (255 - a) + color.r * a + 127) / 255);
      p[1] = static_cast<std::uint8_t>((p[1] * (255 - a) + color.g * a + 127) / 255);
      p[2] = static_cast<std::uint8_t>((p[2] * (255 - a) + color.b * a + 127) / 255);
    }
  }
}

bool CellPicture::writePng(const std::string& filename, std::string& why) const {
  return platform::writePng(filename, width, height, rgb, why);
}

int CellPicture::getWidth() const { return width; }

int CellPicture::getHeight() const { return height; }

std::uint32_t CellPicture::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
  return (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
}

}  // namespace tw
