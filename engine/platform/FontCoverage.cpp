#include "engine/platform/FontCoverage.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace tw {
namespace platform {

struct FontCoverage::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

FontCoverage::FontCoverage() : impl(std::make_unique<Impl>()) {}

FontCoverage::~FontCoverage() { close(); }

bool FontCoverage::open(const std::string& filename) {
  close();
  if (FT_Init_FreeType(&impl->library) != 0) {
    impl->library = nullptr;
    return false;
  }
  if (FT_New_Face(impl->library, filename.c_str(), 0, &impl->face) != 0) {
    impl->face = nullptr;
    close();
    return false;
  }
  return true;
}

void FontCoverage::close() {
  if (impl->face != nullptr) FT_Done_Face(impl->face);
  if (impl->library != nullptr) FT_Done_FreeType(impl->library);
  impl->face = nullptr;
  impl->library = nullptr;
}

bool FontCoverage::has(char32_t code) const {
  return impl->face == nullptr || FT_Get_Char_Index(impl->face, code) != 0;
}

}  // namespace platform
}  // namespace tw
