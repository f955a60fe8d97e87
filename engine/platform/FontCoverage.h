// Which characters a TrueType font file has glyphs for (its Unicode character
// map) and where each glyph's outline lies (the box its glyph header gives, in
// font units): read by hand, the same code natively and in the browser build.
// Drawing the font stays with the window library or the page's canvas.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tw {
namespace platform {

class FontCoverage {
 public:
  // A glyph's outline box in font units, y upwards from the baseline.
  struct Box {
    int x_min = 0;
    int y_min = 0;
    int x_max = 0;
    int y_max = 0;
  };

  // Reads the font file's character map and glyph boxes; false, with
  // getProblem() saying why, when the file cannot be read or is not a
  // usable TrueType font. A font read only in part (a character map but no
  // glyph boxes) is still open.
  bool open(const std::string& filename);
  // The same from the file's bytes.
  bool read(const std::string& bytes);
  void close();
  const std::string& getProblem() const { return problem; }

  // Whether the font has a glyph for code; true while no font is open, so a
  // font this cannot read is simply drawn as its drawer draws it.
  bool has(char32_t code) const;
  // The character drawn for code: itself, else the replacement character
  // U+FFFD, else '?'.
  char32_t shown(char32_t code) const;
  // code's glyph box; false when the font lacks code, its glyph has no
  // outline (a space) or the font has no glyph boxes to read.
  bool glyphBox(char32_t code, Box& box) const;
  // The box of every glyph together, from the font's header; false when no
  // font is open.
  bool fontBox(Box& box) const;
  // Font units per em (the character size); 0 when no font is open.
  int getUnitsPerEm() const { return units_per_em; }
  // Calls visit for each character the font has, in increasing order.
  void forEachCharacter(const std::function<void(char32_t)>& visit) const;

 private:
  // Characters first..last on glyphs glyph, glyph + 1, ...
  struct Run {
    char32_t first;
    char32_t last;
    std::uint32_t glyph;
  };

  std::uint32_t glyphOf(char32_t code) const;
  bool readHeader(const std::string& bytes);
  bool readCharacterMap(const std::string& bytes);
  bool readSegments(const std::string& bytes, std::size_t table);
  bool readGroups(const std::string& bytes, std::size_t table);
  void readGlyphBoxes(const std::string& bytes);
  bool fail(const std::string& why);

  bool opened = false;
  std::string problem;
  int units_per_em = 0;
  std::uint32_t glyph_count = 0;  // 0 when the font does not say
  Box font_box;
  std::vector<Run> runs;  // sorted by first, not overlapping
  std::vector<Box> boxes;  // by glyph; empty when the font has none to read
  std::vector<bool> outlined;  // by glyph: whether it has an outline
};

}  // namespace platform
}  // namespace tw
