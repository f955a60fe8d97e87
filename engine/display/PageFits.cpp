#include "engine/display/PageFits.h"

#include <algorithm>
#include <cmath>

#include "engine/core/LogManager.h"
#include "engine/display/CellFilling.h"
#include "engine/display/GlyphFitter.h"
#include "engine/platform/PageLayout.h"

namespace tw {

namespace page = platform::page;

namespace {

static_assert(page::FITS_BLOCK == page::FITS_LETTERS + page::FIT_WORDS, "FitTableField");
static_assert(page::FITS_OWN_COUNT == page::FITS_BLOCK + page::FIT_WORDS, "FitTableField");
static_assert(page::OWN_WORDS == page::OWN_FIT + page::FIT_WORDS, "OwnFitField");
static_assert(page::FITS_RUN_COUNT == page::FITS_OWN_COUNT + 1, "FitTableField");

const char32_t FIRST_LETTER = U'!';
const char32_t LAST_LETTER = U'~';
// A pixel of smoothing around a glyph's outline.
const float SMOOTHING = 1.0f;

// code's ink in the canvas's coordinates (pixels, y down, baseline at the
// character size), widened by pad; false when code's glyph has no outline.
bool inkOf(const platform::FontCoverage& font, char32_t code, float size, float pad, InkBox& ink) {
  platform::FontCoverage::Box box;
  if (!font.glyphBox(code, box)) return false;
  const float unit = size / static_cast<float>(font.getUnitsPerEm());
  ink.left = static_cast<float>(box.x_min) * unit - pad;
  ink.right = static_cast<float>(box.x_max) * unit + pad;
  ink.top = size - static_cast<float>(box.y_max) * unit - pad;
  ink.bottom = size - static_cast<float>(box.y_min) * unit + pad;
  return true;
}

// The union of the printable ASCII glyphs' ink; without glyph boxes, the
// box of all glyphs the font's header gives, and without a font a typical
// monospace font's letters (0.6 em wide, 0.8 em above the baseline and
// 0.2 em below).
InkBox lettersInk(const platform::FontCoverage& font, float size) {
  InkBox letters, ink;
  bool any = false;
  for (char32_t code = FIRST_LETTER; code <= LAST_LETTER; code++) {
    if (!inkOf(font, code, size, SMOOTHING, ink)) continue;
    letters = any ? GlyphFitter::unite(letters, ink) : ink;
    any = true;
  }
  if (any) return letters;
  platform::FontCoverage::Box box;
  if (font.fontBox(box) && box.x_min < box.x_max && box.y_min < box.y_max) {
    const float unit = size / static_cast<float>(font.getUnitsPerEm());
    return InkBox{box.x_min * unit, size - box.y_max * unit, box.x_max * unit,
                  size - box.y_min * unit};
  }
  return InkBox{0.0f, 0.2f * size, 0.6f * size, 1.2f * size};
}

void putFit(std::vector<float>& table, std::size_t at, const GlyphFit& fit) {
  table[at + page::FIT_SCALE_X] = fit.scale_x;
  table[at + page::FIT_SHIFT_X] = fit.shift_x;
  table[at + page::FIT_SCALE_Y] = fit.scale_y;
  table[at + page::FIT_SHIFT_Y] = fit.shift_y;
}

// The runs of characters font has, as pairs first, last after the rest.
void addRuns(const platform::FontCoverage& font, std::vector<float>& table) {
  if (font.getUnitsPerEm() == 0) {  // unread
    table[page::FITS_RUN_COUNT] = -1.0f;
    return;
  }
  const std::size_t start = table.size();
  font.forEachCharacter([&](char32_t code) {
    const float at = static_cast<float>(code);
    if (table.size() > start && table.back() + 1.0f == at) {
      table.back() = at;
    } else {
      table.push_back(at);
      table.push_back(at);
    }
  });
  table[page::FITS_RUN_COUNT] = static_cast<float>((table.size() - start) / 2);
}

}  // namespace

int pageCharacterSize(float cell_w, float cell_h, float font_scale) {
  const float size = std::floor(font_scale * std::min(cell_w, cell_h));
  return size >= 1.0f ? static_cast<int>(std::min(size, 4096.0f)) : 1;  // also for NaN
}

std::vector<float> pageFits(const platform::FontCoverage& font,
                            const page::CanvasGeometry& geometry) {
  const int char_size = pageCharacterSize(geometry.cell_w, geometry.cell_h, geometry.font_scale);
  const float size = static_cast<float>(char_size);
  GlyphFitter fitter(geometry.cell_w, geometry.cell_h);
  fitter.fitLetters(lettersInk(font, size));
  InkBox block;
  if (inkOf(font, FULL_BLOCK, size, 0.0f, block)) fitter.fitBlock(block, 0.0f, 0.0f);

  std::vector<float> table(page::FITS_HEADER, 0.0f);
  table[page::FITS_CHAR_SIZE] = size;
  putFit(table, page::FITS_LETTERS, fitter.getLetters());
  if (fitter.hasBlock()) putFit(table, page::FITS_BLOCK, fitter.getBlock());
  std::size_t own = 0;
  font.forEachCharacter([&](char32_t code) {
    InkBox ink;
    if (!inkOf(font, code, size, SMOOTHING, ink) || !fitter.needsOwnFit(code, ink)) return;
    table.resize(table.size() + page::OWN_WORDS);
    const std::size_t at = table.size() - page::OWN_WORDS;
    table[at + page::OWN_CODE] = static_cast<float>(code);
    putFit(table, at + page::OWN_FIT, fitter.fitFor(code, ink));
    own++;
  });
  table[page::FITS_OWN_COUNT] = static_cast<float>(own);
  addRuns(font, table);
  return table;
}

bool openPageFont(platform::FontCoverage& font, const std::string& font_file) {
  if (font.open(font_file)) return true;
  LogManager::getInstance().writeLog(
      "DisplayManager::startUp(): Warning! Cannot read the characters of font '%s' (%s); "
      "every character is handed to the page as it is.",
      font_file.c_str(), font.getProblem().c_str());
  return false;
}

std::vector<float> pageFits(const std::string& font_file, const page::CanvasGeometry& geometry) {
  platform::FontCoverage font;
  openPageFont(font, font_file);
  return pageFits(font, geometry);
}

}  // namespace tw
