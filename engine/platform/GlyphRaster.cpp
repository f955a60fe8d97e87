#include "engine/platform/GlyphRaster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace tw {
namespace platform {

struct GlyphRaster::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  int ascent = 0;

  void close() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
    face = nullptr;
    library = nullptr;
  }
};

GlyphRaster::GlyphRaster() : impl(std::make_unique<Impl>()) {}

GlyphRaster::~GlyphRaster() { impl->close(); }

bool GlyphRaster::open(const std::string& filename, int line_pixels, std::string& why) {
  impl->close();
  if (FT_Init_FreeType(&impl->library) != 0) {
    why = "FreeType does not start";
    return false;
  }
  if (FT_New_Face(impl->library, filename.c_str(), 0, &impl->face) != 0) {
    impl->close();
    why = "'" + filename + "' is not a font FreeType can read";
    return false;
  }
  // The pixel size is the em; the line (ascender to descender) is larger, so
  // the em is scaled down to make the line fit.
  FT_Face face = impl->face;
  const long line_units = face->ascender - face->descender;
  const long em = face->units_per_EM > 0 ? face->units_per_EM : 1;
  const long pixels = line_units > 0 ? line_pixels * em / line_units : line_pixels;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels > 0 ? pixels : 1));
  impl->ascent = static_cast<int>(face->size->metrics.ascender >> 6);
  return true;
}

int GlyphRaster::getAscent() const { return impl->ascent; }

GlyphBitmap GlyphRaster::render(char32_t ch) const {
  GlyphBitmap out;
  FT_Face face = impl->face;
  if (face == nullptr) return out;
  FT_UInt index = FT_Get_Char_Index(face, ch);
  if (index == 0) index = FT_Get_Char_Index(face, 0xFFFD);
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER) != 0) return out;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return out;
  out.width = static_cast<int>(bitmap.width);
  out.rows = static_cast<int>(bitmap.rows);
  out.left = face->glyph->bitmap_left;
  out.top = face->glyph->bitmap_top;
  out.coverage.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.rows));
  for (int y = 0; y < out.rows; y++) {
    const unsigned char* row = bitmap.buffer + static_cast<long>(y) * bitmap.pitch;
    std::copy(row, row + out.width, &out.coverage[static_cast<std::size_t>(y) * out.width]);
  }
  return out;
}

}  // namespace platform
}  // namespace tw
