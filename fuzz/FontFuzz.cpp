// Font files: whatever the bytes, the reader either refuses them with a
// reason (every character then handed over as it is) or reads a character
// map whose characters it reports as had, in order, with sane glyph boxes;
// the page's fit table from it holds finite numbers laid out as promised.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/display/PageFits.h"
#include "engine/platform/FontCoverage.h"
#include "engine/platform/PageLayout.h"
#include "fuzz/FuzzSupport.h"

namespace {

namespace page = tw::platform::page;

// Visits only the first characters: a map of all of Unicode is sound, and
// walking it for every input would only slow the search.
const int MOST_VISITED = 70000;

void checkRead(const tw::platform::FontCoverage& font) {
  tw_fuzz::require(font.getUnitsPerEm() >= 16 && font.getUnitsPerEm() <= 16384, "units per em");
  char32_t last = 0;
  int visited = 0;
  font.forEachCharacter([&](char32_t code) {
    if (++visited > MOST_VISITED) return;
    tw_fuzz::require(visited == 1 || code > last, "characters out of order");
    tw_fuzz::require(code <= 0x10FFFF && font.has(code), "a visited character not had");
    tw::platform::FontCoverage::Box box;
    if (font.glyphBox(code, box)) {
      tw_fuzz::require(box.x_min <= box.x_max && box.y_min <= box.y_max, "an inside-out box");
    }
    last = code;
  });
  const char32_t shown = font.shown(0x10FFFF);
  tw_fuzz::require(font.has(shown) || shown == U'?', "a stand-in the font lacks");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tw::platform::FontCoverage font;
  if (!font.read(tw_fuzz::bytesOf(data, size))) {
    tw_fuzz::require(!font.getProblem().empty(), "refused without a reason");
    tw_fuzz::require(font.has(U'A') && font.has(0x10FFFF), "a refused font lacks characters");
    return 0;
  }
  checkRead(font);
  page::CanvasGeometry geometry;
  geometry.cell_w = 12.8f;
  geometry.cell_h = 32.0f;
  geometry.font_scale = 1.0f;
  const std::vector<float> table = tw::pageFits(font, geometry);
  tw_fuzz::require(table.size() >= page::FITS_HEADER, "fit table too short");
  const std::size_t own = static_cast<std::size_t>(table[page::FITS_OWN_COUNT]);
  const std::size_t runs = static_cast<std::size_t>(table[page::FITS_RUN_COUNT]);
  tw_fuzz::require(table.size() == page::FITS_HEADER + own * page::OWN_WORDS + 2 * runs,
                   "fit table length");
  for (float number : table) tw_fuzz::require(std::isfinite(number), "a fit that is not a number");
  return 0;
}
