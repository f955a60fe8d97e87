// A finished frame as a grid of character cells: what a terminal shows and
// what a capture keeps. Turns a draw list into cells (one character per cell,
// the later drawing winning) and reads them back as rows of UTF-8 text and
// colours. CellChar, the one character type of every cell, is defined here.
#pragma once

#include "engine/core/Color.h"
#include "engine/platform/Export.h"

#include <string>
#include <vector>

namespace tw {

class DrawList;
struct DrawItem;

// The character of a cell, in a grid and in a draw list alike: one Unicode
// code point that fits one cell (a narrow, printable character). The display
// manager puts only such characters into a frame, anything else as U+FFFD
// (the replacement character), so a presenter never meets a control, wide or
// invalid one. A presenter that writes text encodes it in UTF-8, as the
// capture's snapshot and snapshot_file do.
using CellChar = char32_t;

struct TW_API GridCell {
  CellChar ch = U' ';
  Rgb color;                    // the character's colour
  bool has_background = false;  // false: the cell shows the grid's background
  Rgb background;               // the cell's own background when it has one
};

class TW_API CellGrid {
 public:
  // The character shapes are drawn with in a grid.
  static constexpr CellChar SHAPE_CHARACTER = U'#';

  CellGrid() = default;
  CellGrid(int width, int height, Rgb background);

  // Blanks every cell.
  void clear();
  // Blanks the grid and paints the list into it. Shapes fill the cells whose
  // centres they cover; their size is in pixels, so the cell's pixel size is
  // needed (0 skips shapes).
  void paint(const DrawList& list, float cell_width, float cell_height);
  // A character lands in the nearest cell: floor(x + 0.5), floor(y + 0.5).
  // Outside the grid it is dropped. A character that does not fit one cell
  // (control, wide, zero-width, no character at all) shows as
  // U+FFFD, the replacement character.
  void put(float x, float y, CellChar ch, Rgb color);
  // The same over a background of the cell's own (null: the grid's).
  void put(float x, float y, CellChar ch, Rgb color, const Rgb* cell_background);

  int getWidth() const;
  int getHeight() const;
  Rgb getBackground() const;
  // The cell at (x, y); a blank cell outside the grid.
  const GridCell& at(int x, int y) const;
  // Row y as UTF-8 text (width characters); "" outside the grid.
  std::string getRow(int y) const;
  // Row y as colour letters: k r g y b m c w for the eight engine colours,
  // '*' for any other, a blank for a blank cell.
  std::string getColorRow(int y) const;
  // Every row followed by a line break, in UTF-8.
  std::string toText() const;
  // Row y's backgrounds as colour letters as getColorRow gives them, '.' for
  // a cell that shows the grid's background.
  std::string getBackgroundRow(int y) const;
  // Whether any cell has a background of its own.
  bool hasCellBackgrounds() const;
  // Writes the rows, then a line "--" and the colour rows, and, only when
  // some cell has a background of its own, a line "==" and the background
  // rows. 0, or -1 when the file cannot be written.
  int writeText(const std::string& filename) const;

 private:
  void paintShape(const DrawItem& item, float cell_width, float cell_height);
  // Appends row y (inside the grid) in UTF-8.
  void appendRow(std::string& text, int y) const;

  int width = 0;
  int height = 0;
  Rgb background;
  std::vector<GridCell> cells;
};

}  // namespace tw
