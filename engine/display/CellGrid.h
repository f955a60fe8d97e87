// A finished frame as a grid of character cells: what a terminal shows and
// what a capture keeps. Turns a draw list into cells (one character per cell,
// the later drawing winning) and reads them back as rows of text and colours.
#pragma once

#include "engine/core/Color.h"
#include "engine/platform/Export.h"

#include <string>
#include <vector>

namespace tw {

class DrawList;
struct DrawItem;

struct TW_API GridCell {
  char ch = ' ';
  Rgb color;  // the character's colour (the background is the grid's)
};

class TW_API CellGrid {
 public:
  // The character shapes are drawn with in a grid.
  static constexpr char SHAPE_CHARACTER = '#';

  CellGrid() = default;
  CellGrid(int width, int height, Rgb background);

  // Blanks every cell.
  void clear();
  // Blanks the grid and paints the list into it. Shapes fill the cells whose
  // centres they cover; their size is in pixels, so the cell's pixel size is
  // needed (0 skips shapes).
  void paint(const DrawList& list, float cell_width, float cell_height);
  // A character lands in the nearest cell: floor(x + 0.5), floor(y + 0.5).
  // Outside the grid it is dropped. Blanks and control characters show as a
  // blank, characters beyond ASCII as '?'.
  void put(float x, float y, char ch, Rgb color);

  int getWidth() const;
  int getHeight() const;
  Rgb getBackground() const;
  // The cell at (x, y); a blank cell outside the grid.
  const GridCell& at(int x, int y) const;
  // Row y as text (width characters); "" outside the grid.
  std::string getRow(int y) const;
  // Row y as colour letters: k r g y b m c w for the eight engine colours,
  // '*' for any other, a blank for a blank cell.
  std::string getColorRow(int y) const;
  // Every row followed by a line break.
  std::string toText() const;
  // Writes the rows, then a line "--" and the colour rows. 0, or -1 when
  // the file cannot be written.
  int writeText(const std::string& filename) const;

 private:
  void paintShape(const DrawItem& item, float cell_width, float cell_height);

  int width = 0;
  int height = 0;
  Rgb background;
  std::vector<GridCell> cells;
};

}  // namespace tw
