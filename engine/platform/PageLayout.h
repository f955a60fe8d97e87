// The numbers the engine and its page script exchange: the canvas's
// geometry and the layout of a frame's drawing list, of the fit table and of
// a polled input event. These enumerations (with the keys, buttons and event
// types of InputCodes.h) are the only spelling of them:
// cmake/TarnwickPageTables.cmake writes the page's tables module from them at
// configure time. One enumerator per line, so a field is one line.
#pragma once

namespace tw {
namespace platform {
namespace page {

// The first number of each item in a frame's list.
enum DrawKind {
  DRAW_CHARACTER = 0,
  DRAW_SHAPE = 1,
};

// A character item: CHARACTER_STRIDE numbers.
enum CharacterField {
  CHARACTER_KIND = 0,  // DRAW_CHARACTER
  CHARACTER_CODE,      // a Unicode code point
  CHARACTER_COLOR,     // 0xRRGGBB
  CHARACTER_X,         // window pixels
  CHARACTER_Y,         // window pixels
  CHARACTER_ROTATION,  // degrees, clockwise
  CHARACTER_HIDES,     // the cell box painted first: 0 no, 1 with the frame's background,
                       // -1 - colour with the cell's own (exact in a float: 24 bits)
  CHARACTER_FILLS,     // 1: the glyph fills its cell (box drawing, blocks, shades)
  CHARACTER_STRIDE,
};

// A shape item: SHAPE_HEADER numbers, then x, y of each of its
// SHAPE_POINTS corners (window pixels).
enum ShapeField {
  SHAPE_KIND = 0,  // DRAW_SHAPE
  SHAPE_COLOR,     // 0xRRGGBB
  SHAPE_ALPHA,     // 0 to 255
  SHAPE_POINTS,
  SHAPE_HEADER,
};

// A glyph's fit into its cell box: its own coordinates (window pixels from
// the text position, y down, the baseline at the character size) mapped to
// x * FIT_SCALE_X + FIT_SHIFT_X, y * FIT_SCALE_Y + FIT_SHIFT_Y from the
// character's position.
enum FitField {
  FIT_SCALE_X = 0,
  FIT_SHIFT_X,
  FIT_SCALE_Y,
  FIT_SHIFT_Y,
  FIT_WORDS,
};

// The fit table the painter draws glyphs by (FITS_HEADER numbers, then
// FITS_OWN_COUNT entries of OWN_WORDS, then FITS_RUN_COUNT pairs first, last):
// the letters' shared fit, the cell-filling fit, the glyphs that need a fit
// of their own, and the runs of characters the font has (in order), so that
// a character it lacks is drawn as U+FFFD, else '?'.
enum FitTableField {
  FITS_CHAR_SIZE = 0,  // the canvas font's size, pixels
  FITS_LETTERS = 1,    // FIT_WORDS numbers: any glyph without an entry of its own
  FITS_BLOCK = 5,      // FIT_WORDS numbers mapping the full block's ink onto the cell
                       // box (no overlap), for cell-filling glyphs; all 0 when none
  FITS_OWN_COUNT = 9,
  FITS_RUN_COUNT = 10,  // -1 when the font could not be read: every character drawn as it is
  FITS_HEADER = 11,
};

// An entry of the fit table: a character, then its fit.
enum OwnFitField {
  OWN_CODE = 0,
  OWN_FIT = 1,  // FIT_WORDS numbers
  OWN_WORDS = 5,
};

// The canvas's cells and how glyphs sit in them.
struct CanvasGeometry {
  int cols = 0;
  int rows = 0;
  float cell_w = 0.0f;  // window pixels
  float cell_h = 0.0f;
  float box_left = 0.0f;  // the cell box's corner from a character's position, in cells
  float box_top = 0.0f;
  float fill_overlap = 0.0f;  // device pixels a cell-filling glyph reaches past its box
  unsigned background = 0;    // 0xRRGGBB
  float font_scale = 0.0f;    // character size over the smaller cell side
};

// A polled input event: POLL_WORDS 32-bit words, integers but for the
// position (float).
enum PollField {
  POLL_TYPE = 0,  // InputEvent::Type
  POLL_KEY,       // Key
  POLL_BUTTON,    // MouseButton
  POLL_X,         // cells, float
  POLL_Y,         // cells, float
  POLL_REPEAT,    // 1: a key's auto-repeat
  POLL_WORDS,
};

}  // namespace page
}  // namespace platform
}  // namespace tw
