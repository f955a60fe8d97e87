#include "engine/display/GlyphFitter.h"

#include <algorithm>

#include "engine/display/CellFilling.h"
#include "engine/display/CellCoverage.h"

namespace tw {

namespace {

// Fits the span [low, high] into [box_low, box_low + box_size]: shrinks it
// only when it is longer, centres it when centre is set, else moves it only
// as far as needed.
void fitAxis(float low, float high, float box_low, float box_size, bool centre, float& scale,
             float& shift) {
  const float span = high - low;
  scale = span > box_size && span > 0.0f ? box_size / span : 1.0f;
  const float scaled_low = low * scale;
  const float scaled_high = high * scale;
  if (centre) {
    shift = box_low + (box_size - (scaled_high - scaled_low)) / 2 - scaled_low;
  } else if (scaled_low < box_low) {
    shift = box_low - scaled_low;
  } else if (scaled_high > box_low + box_size) {
    shift = box_low + box_size - scaled_high;
  } else {
    shift = 0.0f;
  }
}

}  // namespace

GlyphFitter::GlyphFitter(float cell_w, float cell_h) : cell_w(cell_w), cell_h(cell_h) {}

InkBox GlyphFitter::unite(const InkBox& a, const InkBox& b) {
  InkBox both;
  both.left = std::min(a.left, b.left);
  both.top = std::min(a.top, b.top);
  both.right = std::max(a.right, b.right);
  both.bottom = std::max(a.bottom, b.bottom);
  return both;
}

GlyphFit GlyphFitter::fitInto(const InkBox& ink) const {
  GlyphFit fit;
  fitAxis(ink.left, ink.right, CELL_BOX_LEFT * cell_w, cell_w, true, fit.scale_x, fit.shift_x);
  fitAxis(ink.top, ink.bottom, CELL_BOX_TOP * cell_h, cell_h, false, fit.scale_y, fit.shift_y);
  return fit;
}

void GlyphFitter::fitLetters(const InkBox& ink) { letters = fitInto(ink); }

void GlyphFitter::fitBlock(const InkBox& ink, float overlap_x, float overlap_y) {
  const float width = ink.right - ink.left;
  const float height = ink.bottom - ink.top;
  has_block = width > 0.0f && height > 0.0f;
  if (!has_block) return;
  block.scale_x = (cell_w + 2 * overlap_x) / width;
  block.scale_y = (cell_h + 2 * overlap_y) / height;
  block.shift_x = CELL_BOX_LEFT * cell_w - overlap_x - ink.left * block.scale_x;
  block.shift_y = CELL_BOX_TOP * cell_h - overlap_y - ink.top * block.scale_y;
}

bool GlyphFitter::needsOwnFit(char32_t code, const InkBox& ink) const {
  if (code < 0x80 || (has_block && fillsCell(code))) return false;
  const float slack = 0.5f;  // pixels
  return !(ink.left * letters.scale_x + letters.shift_x >= CELL_BOX_LEFT * cell_w - slack &&
           ink.top * letters.scale_y + letters.shift_y >= CELL_BOX_TOP * cell_h - slack &&
           ink.right * letters.scale_x + letters.shift_x <= (CELL_BOX_LEFT + 1.0f) * cell_w + slack &&
           ink.bottom * letters.scale_y + letters.shift_y <= (CELL_BOX_TOP + 1.0f) * cell_h + slack);
}

GlyphFit GlyphFitter::fitFor(char32_t code, const InkBox& ink) const {
  if (has_block && fillsCell(code)) return block;
  return needsOwnFit(code, ink) ? fitInto(ink) : letters;
}

}  // namespace tw
