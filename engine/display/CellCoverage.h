// Which cells a frame has drawn into so far, for the presenters that paint a
// character's cell background only where it hides something drawn before it
// (where nothing was drawn, the background equals the cleared frame). Cells
// are aligned with the character boxes; the grid has a margin of one cell.
#pragma once

#include <vector>

#include "engine/display/DrawList.h"

namespace tw {

// A character's box sits a tenth of a cell left of and a fifth of a cell
// below its position; its glyph is fitted into that box.
const float CELL_BOX_LEFT = -0.1f;
const float CELL_BOX_TOP = 0.2f;

class CellCoverage {
 public:
  // Forgets everything; the grid is cols x rows cells.
  void reset(int cols, int rows);
  // Starts a frame: no cell drawn yet.
  void nextFrame();
  // Whether any cell under the box (cells, relative to the view) was drawn
  // into this frame; with mark, records the box as drawn.
  bool touch(float left, float top, float right, float bottom, bool mark);
  // The cells a character item covers: its box, or for a turned character
  // the bounding box of every turn (a little generous).
  static void characterBox(const DrawItem& item, float& left, float& top, float& right,
                           float& bottom);
  // A shape item's corners in pixels (x0, y0, x1, y1 ...) for cells of
  // cell_w x cell_h pixels, into corners; records their bounding box as drawn.
  void markShape(const DrawItem& item, float cell_w, float cell_h, std::vector<float>& corners);

 private:
  int cols = 2;
  int rows = 2;
  std::vector<unsigned> drawn = std::vector<unsigned>(4, 0);
  unsigned stamp = 0;  // a cell's stamp equals this once drawn into this frame
};

}  // namespace tw
