// Glyphs of a TrueType font rendered to coverage bitmaps with FreeType, for
// pictures the engine paints itself (screenshots). The window draws its
// characters through the window library instead.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tw {
namespace platform {

// A glyph's coverage (0 to 255 per pixel, row by row) and where it lies:
// left and top are the offsets of its top-left pixel from the pen position
// on the baseline (top upwards).
struct GlyphBitmap {
  int width = 0;
  int rows = 0;
  int left = 0;
  int top = 0;
  std::vector<std::uint8_t> coverage;
};

class GlyphRaster {
 public:
  GlyphRaster();
  ~GlyphRaster();
  GlyphRaster(const GlyphRaster&) = delete;
  GlyphRaster& operator=(const GlyphRaster&) = delete;

  // Opens the font with lines line_pixels high; false, with the reason in
  // why, when FreeType cannot read the file.
  bool open(const std::string& filename, int line_pixels, std::string& why);
  // The distance from the top of a line to its baseline, in pixels.
  int getAscent() const;
  // The character's glyph (the font's replacement, else nothing, for one it
  // lacks); empty before open.
  GlyphBitmap render(char32_t ch) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl;
};

}  // namespace platform
}  // namespace tw
