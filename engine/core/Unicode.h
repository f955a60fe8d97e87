// UTF-8 text as the grid of cells sees it: decoding that names every fault,
// encoding, and which characters fit one cell (narrow and printable). What a
// presenter then shows for a character is the presenter's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw {

// What a cell shows in place of a character it cannot hold: U+FFFD.
const char32_t REPLACEMENT_CHARACTER = 0xFFFD;

// What can be wrong with a character's bytes in UTF-8 text.
enum class Utf8Fault : std::uint8_t {
  NONE,            // a well-formed character
  NOT_UTF8,        // a byte that starts no character (a lone continuation byte, 0xF8 to 0xFF)
  CUT_SHORT,       // a lead byte without all its continuation bytes
  OVERLONG,        // more bytes than the character needs (0xC0 0xAF for '/')
  SURROGATE,       // U+D800 to U+DFFF, which UTF-8 may not carry
  BEYOND_UNICODE,  // above U+10FFFF
};

// One character read from UTF-8 text.
struct Utf8Character {
  char32_t code = 0;  // the character; for an over-long form or a surrogate the code
                      // the bytes spell; REPLACEMENT_CHARACTER for the other faults
  std::size_t length = 0;  // bytes it takes: a fault takes its bad bytes, at least one
  Utf8Fault fault = Utf8Fault::NONE;
};

// How a character fits a cell.
enum class CellFit : std::uint8_t {
  NARROW,      // one cell: the only kind a cell holds
  WIDE,        // two cells in a terminal (CJK, most emoji)
  ZERO_WIDTH,  // no cell of its own (combining marks, joiners, variation selectors)
  CONTROL,     // a control character (U+0000 to U+001F, U+007F to U+009F)
};

// The character starting at bytes[0] of the size bytes left; size must be > 0.
Utf8Character decodeUtf8(const char* bytes, std::size_t size);

CellFit cellFit(char32_t code);
// code itself when it fits one cell, else REPLACEMENT_CHARACTER.
char32_t cellCharacter(char32_t code);

// The cells UTF-8 text takes: every character, well-formed and narrow or
// not, takes exactly one (a bad one shows as REPLACEMENT_CHARACTER).
std::u32string toCells(const std::string& text);
std::size_t cellCount(const std::string& text);

// The most bytes one character takes in UTF-8.
const std::size_t MAX_UTF8_BYTES = 4;

// Writes code in UTF-8 (a value that is no character as U+FFFD) to out,
// which has room for MAX_UTF8_BYTES; returns the bytes written.
std::size_t encodeUtf8(char32_t code, char* out);
// Appends code in UTF-8 (a value that is no character as U+FFFD).
void appendUtf8(std::string& out, char32_t code);
std::string toUtf8(const std::u32string& cells);

// "U+2500" (at least four hexadecimal digits).
std::string codePointName(char32_t code);
// text safe to print and to log: narrow and wide characters as they are,
// the bytes of control and zero-width characters and of anything that is
// not UTF-8 as `\xNN`.
std::string printable(const std::string& text);

}  // namespace tw
