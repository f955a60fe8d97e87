// The bad files of the sprite corpus (tests/data/sprites) with what the
// reader says about each: the file line its first message is about, and the
// messages it writes, in order. Shared by the resource manager's corpus test
// and tw-sprite's.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tw_test {

struct BadFile {
  const char* name;
  int line;                           // the file line of the first message
  std::vector<std::string> messages;  // expected in this order
};

inline void PrintTo(const BadFile& bad, std::ostream* os) { *os << bad.name; }

static const char* const UNKNOWN = "RM::loadSprite(): Error! Unknown sprite file format.";
static const char* const GETLINE_EOF = "getLine(): Error! Unexpected end of file.";
static const char* const SIMPLE_EOF = "RM::loadSimpleSprite(): Error! Unexpected end of file.";
static const char* const NO_FRAME_DATA = "RM::loadRobustSprite(): Error! No frame data to add.";

static const BadFile BAD_SPRITE_FILES[] = {
    {"bad-empty.txt", 1, {GETLINE_EOF, UNKNOWN, "RM::loadSprite(): First line is ''."}},
    {"bad-zero-first.txt", 1, {UNKNOWN, "RM::loadSprite(): First line is '0'."}},
    {"bad-word-first.txt", 1, {UNKNOWN, "RM::loadSprite(): First line is 'frames 1'."}},
    {"bad-binary.bin", 1, {UNKNOWN}},
    // simple format, lines 1 to 5
    {"bad-simple-truncated-header.txt",
     3,
     {GETLINE_EOF, SIMPLE_EOF, "\tMissing height (an integer)."}},
    {"bad-simple-no-color.txt", 5, {GETLINE_EOF, SIMPLE_EOF, "\tMissing color (a string)."}},
    {"bad-simple-zero-width.txt", 2, {"RM::loadSimpleSprite(): Error line 2! Width is '0'."}},
    {"bad-simple-negative-height.txt",
     3,
     {"RM::loadSimpleSprite(): Error line 3! Height is '-2'."}},
    {"bad-simple-negative-slowdown.txt",
     4,
     {"RM::loadSimpleSprite(): Error line 4! Slowdown is '-1'."}},
    {"bad-simple-color.txt",
     5,
     {"RM::loadSimpleSprite(): Error line 5! Unrecognized color 'purple'.",
      "  Valid colors are: black, red, green, yellow,",
      "                    blue, magenta, cyan or white."}},
    {"bad-simple-color-case.txt",
     5,
     {"RM::loadSimpleSprite(): Error line 5! Unrecognized color 'Red'."}},
    // simple format, frames and what follows them
    {"bad-simple-no-final-lf.txt",
     9,
     {GETLINE_EOF, SIMPLE_EOF, "\tReading frame 2 of 2, row 2 of 2."}},
    {"bad-simple-row-width.txt",
     8,
     {"RM::loadSimpleSprite(): Error line 8!", "\tLine  8: 'ab'", "\tWidth is 2, expected 3."}},
    {"bad-simple-blank-after.txt",
     7,
     {"RM::loadSimpleSprite(): Error line 7!", "\tExtra file data: ''"}},
    {"bad-simple-extra-data.txt",
     7,
     {"RM::loadSimpleSprite(): Error line 7!", "\tExtra file data: 'xyz'"}},
    {"bad-simple-truncated-frames.txt",
     8,
     {GETLINE_EOF, SIMPLE_EOF, "\tReading frame 3 of 3, row 1 of 1."}},
    {"bad-simple-blank-row.txt", 7, {SIMPLE_EOF, "\tReading frame 1 of 1, row 2 of 2."}},
    {"bad-simple-huge-frames.txt",
     7,
     {GETLINE_EOF, SIMPLE_EOF, "\tReading frame 2 of 2147483647, row 1 of 1."}},
    {"bad-simple-overflow-frames.txt",
     7,
     {GETLINE_EOF, SIMPLE_EOF, "\tReading frame 2 of 2147483647, row 1 of 1."}},
    {"bad-simple-huge-width.txt",
     6,
     {"RM::loadSimpleSprite(): Error line 6!", "\tLine  6: 'abc'",
      "\tWidth is 3, expected 2000000000."}},
    // robust format, header
    {"bad-robust-no-frames.txt", 4, {"RM::loadRobustSprite(): Error! Missing 'frames' in header."}},
    {"bad-robust-no-width.txt", 4, {"RM::loadRobustSprite(): Error! Missing 'width' in header."}},
    {"bad-robust-no-height.txt", 4, {"RM::loadRobustSprite(): Error! Missing 'height' in header."}},
    {"bad-robust-negative-frames.txt",
     5,
     {"Sprite::Sprite(): Error! Unable to allocate -5 frames.",
      "RM::loadRobustSprite(): Error! Unable to create Sprite."}},
    {"bad-robust-zero-frames.txt",
     7,
     {"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 7: abc", "\tLine 8: end"}},
    {"bad-robust-huge-frames.txt",
     9,
     {"\tError! Line 9: No more frame data before 'end'.", NO_FRAME_DATA}},
    {"bad-robust-zero-height.txt", 7, {NO_FRAME_DATA}},
    {"bad-robust-color.txt",
     6,
     {"RM::loadRobustSprite(): Error! Unrecognized color ' red'.",
      "  Valid colors are: black, red, green, yellow,",
      "                    blue, magenta, cyan and white."}},
    {"bad-robust-empty-line.txt",
     3,
     {"readData(): Error! Stop at line 3, never encountered '</HEADER>'."}},
    {"bad-robust-no-header-close.txt",
     5,
     {GETLINE_EOF, "readData(): Error! Stop at line 5, never encountered '</HEADER>'."}},
    // robust format, body and footer
    {"bad-robust-short-row.txt",
     10,
     {"\tError! Line 10: Line length is 2 (frame width is 3).", "\tLine 10: 'ab'", NO_FRAME_DATA}},
    {"bad-robust-no-end.txt",
     8,
     {"\tError! Line 8: Expected 'end'.", "\tLine 8: 'fin'", NO_FRAME_DATA}},
    {"bad-robust-missing-rows.txt",
     9,
     {"\tError! Line 9: No more frame data before 'end'.", NO_FRAME_DATA}},
    {"bad-robust-extra-body.txt",
     9,
     {"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 9: xyz", "\tLine 10: end"}},
    {"bad-robust-no-body.txt",
     6,
     {"readData(): Error line 6! Expected '<BODY>', have '<FOOTER>'."}},
    {"bad-robust-no-body-close.txt",
     12,
     {GETLINE_EOF, "readData(): Error! Stop at line 12, never encountered '</BODY>'."}},
    {"bad-robust-no-footer.txt",
     10,
     {GETLINE_EOF, "readData(): Error line 10! Expected '<FOOTER>', have ''."}},
    {"bad-robust-no-version.txt",
     12,
     {"RM::loadRobustSprite(): Error! Missing 'version' in FOOTER (line 12)."}},
    {"bad-robust-empty-version.txt",
     12,
     {"RM::loadRobustSprite(): Error! Missing 'version' in FOOTER (line 12)."}},
    {"bad-robust-no-final-lf.txt",
     12,
     {GETLINE_EOF, "readData(): Error! Stop at line 12, never encountered '</FOOTER>'."}},
};

}  // namespace tw_test
