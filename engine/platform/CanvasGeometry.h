// The geometry a page's painter is made with: the grid of cells, their size
// in window pixels and how glyphs sit in them. The page presenter opens its
// canvas with it and the spectators' page receives it; no browser is needed
// to fill it in.
#pragma once

namespace tw {
namespace platform {
namespace page {

// The canvas's cells and how glyphs sit in them.
struct CanvasGeometry {
  int cols = 0;
  int rows = 0;
  float cell_w = 0.0f;  // window pixels
  float cell_h = 0.0f;
  float box_left = 0.0f;  // the cell box's corner from a character's position, in cells
  float box_top = 0.0f;
  char32_t full_block = 0;    // whose ink a cell-filling glyph's fit maps onto the box
  float fill_overlap = 0.0f;  // device pixels a cell-filling glyph reaches past its box
  unsigned background = 0;    // 0xRRGGBB
  float font_scale = 0.0f;    // character size over the smaller cell side
};

}  // namespace page
}  // namespace platform
}  // namespace tw
