// The numbers the engine and its page script exchange: the layout of a
// frame's drawing list and of a polled input event. These enumerations (with
// the keys, buttons and event types of InputCodes.h) are the only spelling of
// them: cmake/TarnwickPageTables.cmake writes the page's tables module from
// them at configure time. One enumerator per line, so a field is one line.
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
