// Where a glyph sits in its character's cell box: the letters' shared fit,
// the cell-filling fit of box drawing and blocks, and a glyph's own fit when
// the shared one would leave the box. The window and the page presenters both
// take their fits from here; each measures the glyphs' ink its own way.
#pragma once

namespace tw {

// A glyph's ink in its own coordinates: pixels from the text position,
// y downwards, the baseline at the character size.
struct InkBox {
  float left = 0.0f;
  float top = 0.0f;
  float right = 0.0f;
  float bottom = 0.0f;
};

// Maps a glyph's own coordinates into the cell box: x * scale_x + shift_x,
// y * scale_y + shift_y (pixels from the character's position).
struct GlyphFit {
  float scale_x = 1.0f;
  float scale_y = 1.0f;
  float shift_x = 0.0f;
  float shift_y = 0.0f;
};

class GlyphFitter {
 public:
  // Cells of cell_w x cell_h pixels, the box at CELL_BOX_LEFT, CELL_BOX_TOP.
  GlyphFitter(float cell_w, float cell_h);

  // The box holding both a and b.
  static InkBox unite(const InkBox& a, const InkBox& b);

  // Fits the union of the printable ASCII glyphs' ink into the box: the fit
  // every glyph it suits shares, so letters keep their sizes and baseline.
  void fitLetters(const InkBox& letters);
  // Maps the full block's ink onto the box and overlap pixels past each of
  // its edges (overlap_x across, overlap_y down); an empty ink leaves no
  // cell-filling fit.
  void fitBlock(const InkBox& block, float overlap_x, float overlap_y);

  const GlyphFit& getLetters() const { return letters; }
  bool hasBlock() const { return has_block; }
  const GlyphFit& getBlock() const { return block; }

  // The fit of code's glyph with ink ink: the cell-filling one for box
  // drawing, blocks and shades; the letters' for ASCII, and for any other
  // glyph it keeps inside the box (half a pixel to spare); else a fit of the
  // glyph's own (shrunk only as far as needed, centred across, moved up or
  // down as little as needed).
  GlyphFit fitFor(char32_t code, const InkBox& ink) const;
  // Whether fitFor gives code a fit of its own.
  bool needsOwnFit(char32_t code, const InkBox& ink) const;

 private:
  GlyphFit fitInto(const InkBox& ink) const;

  float cell_w;
  float cell_h;
  GlyphFit letters;
  GlyphFit block;
  bool has_block = false;
};

}  // namespace tw
