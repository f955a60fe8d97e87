// Which characters a font file has glyphs for, read with FreeType (the
// library the window library draws fonts with, which itself draws a lacking
// character as an empty box or nothing). Drawing the font stays with the
// window library.
#pragma once

#include <memory>
#include <string>

namespace tw {
namespace platform {

class FontCoverage {
 public:
  FontCoverage();
  ~FontCoverage();
  FontCoverage(const FontCoverage&) = delete;
  FontCoverage& operator=(const FontCoverage&) = delete;

  // Reads the font's character map; false when FreeType cannot read the file.
  bool open(const std::string& filename);
  void close();
  // Whether the font has a glyph for code; true while no font is open, so a
  // font this cannot read is simply drawn as the window library draws it.
  bool has(char32_t code) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl;
};

}  // namespace platform
}  // namespace tw
