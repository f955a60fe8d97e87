// Which characters are drawn to fill their whole cell box (box drawing,
// blocks and shades), so that their lines and blocks join those of the
// neighbouring cells, and how far past the box such a glyph reaches. The
// window and the page presenters both draw by these; fitting the glyphs is
// theirs.
#pragma once

namespace tw {

// The glyph whose ink a cell-filling glyph's fit maps onto the cell box.
const char32_t FULL_BLOCK = 0x2588;
// Pixels a cell-filling glyph reaches past each edge of its box: a pixel on
// the edge between two cells then lies inside both glyphs, so smoothing at
// a glyph's edge leaves no seam between joined lines and blocks.
const float CELL_FILL_OVERLAP = 0.5f;

// Whether code is drawn filling its cell box (U+2500 to U+259F).
bool fillsCell(char32_t code);

}  // namespace tw
