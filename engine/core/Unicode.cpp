#include "engine/core/Unicode.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace tw {

namespace {

struct Range {
  char32_t first;
  char32_t last;
};

// Characters that take no cell of their own: the common blocks of combining
// marks, zero-width spaces and joiners, direction marks, variation selectors.
// Scripts whose marks are not listed here are still caught by the terminal,
// which asks its own width table before showing a character.
const Range ZERO_WIDTH_RANGES[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489},   {0x0591, 0x05BD},   {0x05BF, 0x05BF},
    {0x05C1, 0x05C2},   {0x05C4, 0x05C5},   {0x05C7, 0x05C7},   {0x0610, 0x061A},
    {0x061C, 0x061C},   {0x064B, 0x065F},   {0x0670, 0x0670},   {0x06D6, 0x06DC},
    {0x06DF, 0x06E4},   {0x06E7, 0x06E8},   {0x06EA, 0x06ED},   {0x0E31, 0x0E31},
    {0x0E34, 0x0E3A},   {0x0E47, 0x0E4E},   {0x1160, 0x11FF},   {0x1AB0, 0x1AFF},
    {0x1DC0, 0x1DFF},   {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x206F},
    {0x20D0, 0x20FF},   {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F},   {0xFEFF, 0xFEFF},
    {0x1D167, 0x1D169}, {0x1D173, 0x1D182}, {0xE0000, 0xE0FFF},
};

// Characters a terminal shows in two cells: East Asian wide and full-width
// forms and the emoji shown as pictures.
const Range WIDE_RANGES[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18AFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F64F},
    {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F900, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <std::size_t N>
bool inRanges(const Range (&ranges)[N], char32_t code) {
  const Range* after = std::upper_bound(std::begin(ranges), std::end(ranges), code,
                                        [](char32_t c, const Range& r) { return c < r.first; });
  return after != std::begin(ranges) && code <= (after - 1)->last;
}

bool isCharacter(char32_t code) { return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF); }

}  // namespace

Utf8Character decodeUtf8(const char* bytes, std::size_t size) {
  const auto byte = [bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1, Utf8Fault::NONE};
  std::size_t continuation;
  char32_t code;
  if (lead >= 0xC0 && lead <= 0xDF) {
    continuation = 1, code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuation = 2, code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF7) {
    continuation = 3, code = lead & 0x07u;
  } else {
    return {REPLACEMENT_CHARACTER, 1, Utf8Fault::NOT_UTF8};
  }
  std::size_t length = 1;
  while (length <= continuation && length < size && (byte(length) & 0xC0) == 0x80) {
    code = (code << 6) | (byte(length) & 0x3Fu);
    length++;
  }
  if (length <= continuation) return {REPLACEMENT_CHARACTER, length, Utf8Fault::CUT_SHORT};
  static const char32_t SMALLEST[] = {0, 0x80, 0x800, 0x10000};  // by continuation bytes
  if (code < SMALLEST[continuation]) return {code, length, Utf8Fault::OVERLONG};
  if (code > 0x10FFFF) return {REPLACEMENT_CHARACTER, length, Utf8Fault::BEYOND_UNICODE};
  if (code >= 0xD800 && code <= 0xDFFF) return {code, length, Utf8Fault::SURROGATE};
  return {code, length, Utf8Fault::NONE};
}

CellFit cellFit(char32_t code) {
  if (code < 0x20 || (code >= 0x7F && code < 0xA0) || !isCharacter(code)) return CellFit::CONTROL;
  if (code < 0x300) return CellFit::NARROW;
  if (inRanges(ZERO_WIDTH_RANGES, code)) return CellFit::ZERO_WIDTH;
  if (inRanges(WIDE_RANGES, code)) return CellFit::WIDE;
  return CellFit::NARROW;
}

namespace {

// One bit per character of the Basic Multilingual Plane, set where it is
// narrow: every drawn character is checked, so the common ones take one
// look-up instead of two searches.
class NarrowPlane {
 public:
  NarrowPlane() {
    for (char32_t code = 0; code < 0x10000; code++) {
      if (cellFit(code) == CellFit::NARROW) bits[code / 64] |= std::uint64_t{1} << (code % 64);
    }
  }
  bool has(char32_t code) const { return (bits[code / 64] >> (code % 64)) & 1u; }

 private:
  std::uint64_t bits[0x10000 / 64] = {};
};

}  // namespace

char32_t cellCharacter(char32_t code) {
  static const NarrowPlane narrow;
  if (code < 0x10000) return narrow.has(code) ? code : REPLACEMENT_CHARACTER;
  return cellFit(code) == CellFit::NARROW ? code : REPLACEMENT_CHARACTER;
}

std::u32string toCells(const std::string& text) {
  std::u32string cells;
  cells.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character c = decodeUtf8(text.data() + at, text.size() - at);
    cells.push_back(c.fault == Utf8Fault::NONE ? cellCharacter(c.code) : REPLACEMENT_CHARACTER);
    at += c.length;
  }
  return cells;
}

std::size_t cellCount(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); count++) {
    const unsigned char b = static_cast<unsigned char>(text[at]);
    at += b < 0x80 ? 1 : decodeUtf8(text.data() + at, text.size() - at).length;
  }
  return count;
}

std::size_t encodeUtf8(char32_t code, char* out) {
  if (!isCharacter(code)) code = REPLACEMENT_CHARACTER;
  if (code < 0x80) {
    out[0] = static_cast<char>(code);
    return 1;
  }
  if (code < 0x800) {
    out[0] = static_cast<char>(0xC0 | (code >> 6));
    out[1] = static_cast<char>(0x80 | (code & 0x3F));
    return 2;
  }
  if (code < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (code >> 12));
    out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (code & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (code >> 18));
  out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (code & 0x3F));
  return 4;
}

void appendUtf8(std::string& out, char32_t code) {
  char bytes[MAX_UTF8_BYTES];
  out.append(bytes, encodeUtf8(code, bytes));
}

std::string toUtf8(const std::u32string& cells) {
  std::string text;
  text.reserve(cells.size());
  for (char32_t c : cells) appendUtf8(text, c);
  return text;
}

std::string codePointName(char32_t code) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
  return name;
}

std::string printable(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character c = decodeUtf8(text.data() + at, text.size() - at);
    const CellFit fit = c.fault == Utf8Fault::NONE ? cellFit(c.code) : CellFit::CONTROL;
    if (fit == CellFit::NARROW || fit == CellFit::WIDE) {
      out.append(text, at, c.length);
    } else {
      for (std::size_t i = 0; i < c.length; i++) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(text[at + i]));
        out += hex;
      }
    }
    at += c.length;
  }
  return out;
}

}  // namespace tw
