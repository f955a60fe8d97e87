#include "engine/platform/FontCoverage.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tw {
namespace platform {

namespace {

const char32_t LAST_CODE = 0x10FFFF;
const char32_t REPLACEMENT = 0xFFFD;
// Each character map subtable the reader takes, by preference.
const unsigned SEGMENTS = 4;  // the first 65536 characters, in segments
const unsigned GROUPS = 12;   // all of Unicode, in groups of consecutive glyphs

// Big-endian numbers of the font's bytes; every read is checked against the
// end, since the file is whatever the player or a download put there.
class Reader {
 public:
  explicit Reader(const std::string& bytes) : data(bytes) {}
  bool fits(std::size_t at, std::size_t size) const {
    return at <= data.size() && size <= data.size() - at;
  }
  std::uint32_t number(std::size_t at, std::size_t size) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; i++) {
      value = (value << 8) | static_cast<unsigned char>(data[at + i]);
    }
    return value;
  }
  // Sets value to the size-byte number at at; false past the end.
  bool read(std::size_t at, std::size_t size, std::uint32_t& value) const {
    if (!fits(at, size)) return false;
    value = number(at, size);
    return true;
  }
  int int16(std::size_t at) const { return static_cast<std::int16_t>(number(at, 2)); }

 private:
  const std::string& data;
};

// The offset of the table called tag (four letters), or 0 when the font has
// none or it lies past the end.
std::size_t tableAt(const Reader& in, const char* tag, std::size_t size) {
  std::uint32_t count = 0;
  if (!in.read(4, 2, count)) return 0;
  const std::uint32_t wanted = (static_cast<std::uint32_t>(tag[0]) << 24) |
                               (static_cast<std::uint32_t>(tag[1]) << 16) |
                               (static_cast<std::uint32_t>(tag[2]) << 8) |
                               static_cast<std::uint32_t>(tag[3]);
  for (std::uint32_t i = 0; i < count; i++) {
    const std::size_t entry = 12 + 16 * static_cast<std::size_t>(i);
    std::uint32_t name = 0, offset = 0;
    if (!in.read(entry, 4, name) || !in.read(entry + 8, 4, offset)) return 0;
    if (name == wanted) return offset > 0 && in.fits(offset, size) ? offset : 0;
  }
  return 0;
}

}  // namespace

bool FontCoverage::open(const std::string& filename) {
  close();
  std::ifstream file(filename, std::ios::binary);
  std::ostringstream bytes;
  if (!file || !(bytes << file.rdbuf())) return fail("the file cannot be read");
  return read(bytes.str());
}

bool FontCoverage::read(const std::string& bytes) {
  close();
  if (!readHeader(bytes) || !readCharacterMap(bytes)) {
    const std::string why = problem;
    close();
    problem = why;
    return false;
  }
  readGlyphBoxes(bytes);
  opened = true;
  return true;
}

void FontCoverage::close() {
  opened = false;
  problem.clear();
  units_per_em = 0;
  glyph_count = 0;
  font_box = Box();
  runs.clear();
  boxes.clear();
  outlined.clear();
}

bool FontCoverage::fail(const std::string& why) {
  problem = why;
  return false;
}

// The header's units per em and box of all glyphs, and the glyph count.
bool FontCoverage::readHeader(const std::string& bytes) {
  const Reader in(bytes);
  std::uint32_t version = 0;
  if (!in.read(0, 4, version)) return fail("it is too short to be a font");
  if (version == 0x4F54544F) {  // "OTTO"
    // Outlines in the other format: characters are read, boxes are not.
  } else if (version != 0x00010000 && version != 0x74727565) {  // 1.0, "true"
    return fail("it is not a TrueType font");
  }
  const std::size_t head = tableAt(in, "head", 54);
  if (head == 0) return fail("it has no font header");
  units_per_em = static_cast<int>(in.number(head + 18, 2));
  if (units_per_em < 16 || units_per_em > 16384) return fail("its units per em are out of range");
  font_box = Box{in.int16(head + 36), in.int16(head + 38), in.int16(head + 40), in.int16(head + 42)};
  const std::size_t maxp = tableAt(in, "maxp", 6);
  glyph_count = maxp != 0 ? in.number(maxp + 4, 2) : 0;
  return true;
}

// The Unicode character map, from its groups subtable when it has one,
// else its segments subtable.
bool FontCoverage::readCharacterMap(const std::string& bytes) {
  const Reader in(bytes);
  const std::size_t cmap = tableAt(in, "cmap", 4);
  if (cmap == 0) return fail("it has no character map");
  std::size_t table = 0;
  unsigned format = 0;
  const std::uint32_t count = in.number(cmap + 2, 2);
  for (std::uint32_t i = 0; i < count; i++) {
    const std::size_t entry = cmap + 4 + 8 * static_cast<std::size_t>(i);
    std::uint32_t platform = 0, encoding = 0, offset = 0, kind = 0;
    if (!in.read(entry, 2, platform) || !in.read(entry + 2, 2, encoding) ||
        !in.read(entry + 4, 4, offset) || !in.read(cmap + offset, 2, kind)) {
      break;
    }
    const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
    if (unicode && (kind == GROUPS || (kind == SEGMENTS && format != GROUPS))) {
      table = cmap + offset;
      format = kind;
    }
  }
  if (format == 0) return fail("it has no Unicode character map");
  if (format == GROUPS ? readGroups(bytes, table) : readSegments(bytes, table)) return true;
  runs.clear();
  return fail("its character map is cut short");
}

// Segments of the first 65536 characters, each mapped by a delta or through
// the glyph index array; glyph 0 means none. A segment is read only past
// the last one, so overlapping segments cost no more than the 65536.
bool FontCoverage::readSegments(const std::string& bytes, std::size_t table) {
  const Reader in(bytes);
  std::uint32_t doubled = 0;
  if (!in.read(table + 6, 2, doubled)) return false;
  const std::size_t segments = doubled / 2;
  const std::size_t ends = table + 14, starts = ends + 2 * segments + 2;
  const std::size_t deltas = starts + 2 * segments, offsets = deltas + 2 * segments;
  if (!in.fits(ends, 8 * segments + 2)) return false;
  std::uint32_t next = 0;
  for (std::size_t s = 0; s < segments; s++) {
    const std::uint32_t first = std::max(in.number(starts + 2 * s, 2), next);
    const std::uint32_t last = std::min<std::uint32_t>(in.number(ends + 2 * s, 2), 0xFFFE);
    const std::uint32_t delta = in.number(deltas + 2 * s, 2);
    const std::uint32_t offset = in.number(offsets + 2 * s, 2);
    for (std::uint32_t c = first; c <= last; c++) {
      std::uint32_t glyph = c;
      if (offset != 0 && !in.read(offsets + 2 * s + offset + 2 * (c - in.number(starts + 2 * s, 2)),
                                  2, glyph)) {
        break;
      }
      if (offset == 0 || glyph != 0) glyph = (glyph + delta) & 0xFFFF;
      if (glyph == 0) continue;
      if (!runs.empty() && runs.back().last + 1 == c &&
          runs.back().glyph + (c - runs.back().first) == glyph) {
        runs.back().last = c;
      } else {
        runs.push_back(Run{c, c, glyph});
      }
    }
    next = std::max(next, last + 1);
  }
  return true;
}

// Groups of consecutive characters on consecutive glyphs, kept as they are;
// those out of order or overlapping an earlier one are cut or left out.
bool FontCoverage::readGroups(const std::string& bytes, std::size_t table) {
  const Reader in(bytes);
  std::uint32_t count = 0;
  if (!in.read(table + 12, 4, count) || !in.fits(table + 16, 12 * std::size_t{count})) return false;
  char32_t next = 0;
  for (std::uint32_t g = 0; g < count; g++) {
    const std::size_t at = table + 16 + 12 * static_cast<std::size_t>(g);
    const std::uint32_t first = in.number(at, 4);
    const char32_t last = std::min<std::uint32_t>(in.number(at + 4, 4), LAST_CODE);
    std::uint32_t glyph = in.number(at + 8, 4);
    char32_t from = std::max<char32_t>(first, next);
    if (first > LAST_CODE || from > last) continue;
    glyph += from - first;
    if (glyph == 0) {  // the first character on glyph 0: the font lacks it
      if (from == last) continue;
      from++, glyph++;
    }
    runs.push_back(Run{from, last, glyph});
    next = last + 1;
  }
  return true;
}

// Each glyph's box from its header in the glyph table, found through the
// location table; left empty when either is missing or out of order.
void FontCoverage::readGlyphBoxes(const std::string& bytes) {
  const Reader in(bytes);
  const std::size_t head = tableAt(in, "head", 54);
  const std::size_t loca = tableAt(in, "loca", 2);
  const std::size_t glyf = tableAt(in, "glyf", 0);
  if (loca == 0 || glyf == 0 || glyph_count == 0) return;
  const bool long_offsets = in.number(head + 50, 2) == 1;
  const std::size_t step = long_offsets ? 4 : 2, scale = long_offsets ? 1 : 2;
  if (!in.fits(loca, step * (glyph_count + 1))) return;
  std::vector<Box> found(glyph_count);
  std::vector<bool> inked(glyph_count, false);
  for (std::uint32_t g = 0; g < glyph_count; g++) {
    const std::size_t start = glyf + scale * in.number(loca + step * g, step);
    const std::size_t end = glyf + scale * in.number(loca + step * (g + 1), step);
    if (end < start) return;
    if (end == start) continue;  // no outline
    if (end - start < 10 || !in.fits(start, end - start)) return;
    found[g] = Box{in.int16(start + 2), in.int16(start + 4), in.int16(start + 6), in.int16(start + 8)};
    inked[g] = found[g].x_min <= found[g].x_max && found[g].y_min <= found[g].y_max;
  }
  boxes.swap(found);
  outlined.swap(inked);
}

std::uint32_t FontCoverage::glyphOf(char32_t code) const {
  const auto after = std::upper_bound(runs.begin(), runs.end(), code,
                                      [](char32_t c, const Run& run) { return c < run.first; });
  if (after == runs.begin()) return 0;
  const Run& run = *(after - 1);
  if (code > run.last) return 0;
  const std::uint32_t glyph = run.glyph + (code - run.first);
  return glyph_count != 0 && glyph >= glyph_count ? 0 : glyph;
}

bool FontCoverage::has(char32_t code) const { return !opened || glyphOf(code) != 0; }

char32_t FontCoverage::shown(char32_t code) const {
  if (has(code)) return code;
  return has(REPLACEMENT) ? REPLACEMENT : U'?';
}

bool FontCoverage::glyphBox(char32_t code, Box& box) const {
  if (!opened) return false;
  const std::uint32_t glyph = glyphOf(code);
  if (glyph == 0 || glyph >= boxes.size() || !outlined[glyph]) return false;
  box = boxes[glyph];
  return true;
}

bool FontCoverage::fontBox(Box& box) const {
  if (!opened) return false;
  box = font_box;
  return true;
}

void FontCoverage::forEachCharacter(const std::function<void(char32_t)>& visit) const {
  if (!opened) return;
  for (const Run& run : runs) {
    for (char32_t c = run.first; c <= run.last; c++) {
      if (glyphOf(c) != 0) visit(c);
    }
  }
}

}  // namespace platform
}  // namespace tw
