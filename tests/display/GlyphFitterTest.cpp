// Glyph fitting shared by the window and the page: the letters' fit, the
// cell-filling fit and a glyph's own fit (GlyphFitter), and the page's fit
// table computed from the font file (pageFits), checked by where the glyphs'
// ink lands against the cell box.
#include "engine/display/GlyphFitter.h"

#include <gtest/gtest.h>

#include "engine/display/CellCoverage.h"
#include "engine/display/CellFilling.h"
#include "engine/display/PageFits.h"
#include "engine/platform/PageLayout.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::GlyphFit;
using tw::GlyphFitter;
using tw::InkBox;
namespace page = tw::platform::page;

// Cells of 10 x 20 pixels: the box spans x -1..9, y 4..24.
const float CELL_W = 10.0f, CELL_H = 20.0f;

InkBox mapped(const GlyphFit& fit, const InkBox& ink) {
  return InkBox{ink.left * fit.scale_x + fit.shift_x, ink.top * fit.scale_y + fit.shift_y,
                ink.right * fit.scale_x + fit.shift_x, ink.bottom * fit.scale_y + fit.shift_y};
}

// Whether ink lies in the cell box of cell_w x cell_h, slack pixels to spare.
bool inBox(const InkBox& ink, float cell_w, float cell_h, float slack) {
  const float left = tw::CELL_BOX_LEFT * cell_w, top = tw::CELL_BOX_TOP * cell_h;
  return ink.left >= left - slack && ink.top >= top - slack && ink.right <= left + cell_w + slack &&
         ink.bottom <= top + cell_h + slack;
}

void expectBox(const InkBox& actual, const InkBox& expected) {
  EXPECT_NEAR(actual.left, expected.left, 1e-4f);
  EXPECT_NEAR(actual.top, expected.top, 1e-4f);
  EXPECT_NEAR(actual.right, expected.right, 1e-4f);
  EXPECT_NEAR(actual.bottom, expected.bottom, 1e-4f);
}

TEST(GlyphFitter, LettersShrinkOnlyWhenLongerCentreAcrossAndMoveDownOrUpAsLittleAsNeeded) {
  const struct {
    const char* what;
    InkBox ink;
    InkBox lands;
  } cases[] = {
      {"small, above the box", {0, 2, 6, 16}, {1, 4, 7, 18}},
      {"twice the box", {0, 0, 20, 40}, {-1, 4, 9, 24}},
      {"below the box", {0, 10, 4, 30}, {2, 4, 6, 24}},
      {"inside the box", {0, 5, 10, 20}, {-1, 5, 9, 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GlyphFitter fitter(CELL_W, CELL_H);
    fitter.fitLetters(c.ink);
    expectBox(mapped(fitter.getLetters(), c.ink), c.lands);
  }
}

TEST(GlyphFitter, TheBlockFillsTheBoxAndTheOverlapPastIt) {
  GlyphFitter fitter(CELL_W, CELL_H);
  const InkBox block{1, 3, 9, 23};
  fitter.fitBlock(block, 0.5f, 0.25f);
  ASSERT_TRUE(fitter.hasBlock());
  expectBox(mapped(fitter.getBlock(), block), InkBox{-1.5f, 3.75f, 9.5f, 24.25f});
  fitter.fitBlock(InkBox{1, 3, 1, 23}, 0.5f, 0.5f);
  EXPECT_FALSE(fitter.hasBlock()) << "a block without ink";
}

TEST(GlyphFitter, EachGlyphTakesTheFitOfItsKind) {
  GlyphFitter fitter(CELL_W, CELL_H);
  fitter.fitLetters(InkBox{0, 5, 10, 20});
  const InkBox tall{0, 0, 8, 22}, inside{1, 6, 8, 19}, block{0, 0, 10, 30};
  EXPECT_FALSE(fitter.needsOwnFit(U'A', tall)) << "ASCII keeps the letters' fit";
  EXPECT_FALSE(fitter.needsOwnFit(0xE9, inside));
  EXPECT_FALSE(fitter.needsOwnFit(0xE9, InkBox{-0.4f, 3.6f, 9.4f, 24.4f})) << "half a pixel spare";
  ASSERT_TRUE(fitter.needsOwnFit(0xC5, tall));
  EXPECT_TRUE(inBox(mapped(fitter.fitFor(0xC5, tall), tall), CELL_W, CELL_H, 1e-4f));
  EXPECT_TRUE(fitter.needsOwnFit(tw::FULL_BLOCK, block)) << "no block fit yet: fitted as any glyph";
  fitter.fitBlock(block, 0.5f, 0.5f);
  expectBox(mapped(fitter.fitFor(0x2500, block), block), InkBox{-1.5f, 3.5f, 9.5f, 24.5f});
  EXPECT_FALSE(fitter.needsOwnFit(0x2500, tall));
}

// The fit at entry at of the page's fit table.
GlyphFit fitIn(const std::vector<float>& table, std::size_t at) {
  GlyphFit fit;
  fit.scale_x = table[at + page::FIT_SCALE_X];
  fit.shift_x = table[at + page::FIT_SHIFT_X];
  fit.scale_y = table[at + page::FIT_SCALE_Y];
  fit.shift_y = table[at + page::FIT_SHIFT_Y];
  return fit;
}

// code's ink drawn at size pixels, widened by pad.
InkBox inkOf(const tw::platform::FontCoverage& font, char32_t code, float size, float pad) {
  tw::platform::FontCoverage::Box b;
  EXPECT_TRUE(font.glyphBox(code, b)) << std::hex << code;
  const float unit = size / static_cast<float>(font.getUnitsPerEm());
  return InkBox{b.x_min * unit - pad, size - b.y_max * unit - pad, b.x_max * unit + pad,
                size - b.y_min * unit + pad};
}

TEST(PageFits, EveryGlyphOfTheShippedFontLandsInItsBox) {
  page::CanvasGeometry geometry;
  geometry.cell_w = 12.8f;
  geometry.cell_h = 32.0f;
  geometry.font_scale = 1.5f;
  tw::platform::FontCoverage font;
  ASSERT_TRUE(font.open("tw-font.ttf"));
  const std::vector<float> table = tw::pageFits(font, geometry);
  ASSERT_GE(table.size(), static_cast<std::size_t>(page::FITS_HEADER));
  const float size = table[page::FITS_CHAR_SIZE];
  EXPECT_EQ(size, 19.0f);
  const std::size_t own = static_cast<std::size_t>(table[page::FITS_OWN_COUNT]);
  const std::size_t runs = static_cast<std::size_t>(table[page::FITS_RUN_COUNT]);
  const std::size_t runs_at = page::FITS_HEADER + own * page::OWN_WORDS;
  ASSERT_EQ(table.size(), runs_at + 2 * runs);
  EXPECT_GT(own, 10u);
  // The runs say of each character what the font says.
  std::size_t run = 0;
  for (char32_t code = 0; code <= 0x2FFFF; code++) {
    while (run < runs && table[runs_at + 2 * run + 1] < static_cast<float>(code)) run++;
    const bool in_run = run < runs && table[runs_at + 2 * run] <= static_cast<float>(code);
    ASSERT_EQ(in_run, font.has(code)) << std::hex << code;
  }
  const GlyphFit letters = fitIn(table, page::FITS_LETTERS);
  for (char32_t code = U'!'; code <= U'~'; code++) {
    EXPECT_TRUE(inBox(mapped(letters, inkOf(font, code, size, 1.0f)), 12.8f, 32.0f, 1e-3f))
        << static_cast<char>(code);
  }
  expectBox(mapped(fitIn(table, page::FITS_BLOCK), inkOf(font, tw::FULL_BLOCK, size, 0.0f)),
            InkBox{-1.28f, 6.4f, 11.52f, 38.4f});
  float last = 0.0f;
  for (std::size_t k = 0; k < own; k++) {
    const std::size_t at = page::FITS_HEADER + k * page::OWN_WORDS;
    const char32_t code = static_cast<char32_t>(table[at + page::OWN_CODE]);
    SCOPED_TRACE(static_cast<unsigned>(code));
    EXPECT_GT(table[at + page::OWN_CODE], last) << "in order, each once";
    last = table[at + page::OWN_CODE];
    EXPECT_TRUE(code >= 0x80 && !tw::fillsCell(code));
    const InkBox ink = inkOf(font, code, size, 1.0f);
    EXPECT_FALSE(inBox(mapped(letters, ink), 12.8f, 32.0f, 0.5f));
    EXPECT_TRUE(inBox(mapped(fitIn(table, at + page::OWN_FIT), ink), 12.8f, 32.0f, 1e-3f));
  }
}

TEST(PageFits, AFontThatCannotBeReadIsLoggedAndEveryCharacterHandedOver) {
  tw_test::LogCapture log;
  page::CanvasGeometry geometry;
  geometry.cell_w = 10.0f;
  geometry.cell_h = 20.0f;
  geometry.font_scale = 1.0f;
  const std::string file = tw_test::dataPath("fonts/not-a-font.ttf");
  const std::vector<float> table = tw::pageFits(file, geometry);
  EXPECT_TRUE(log.contains("Warning! Cannot read the characters of font '" + file +
                           "' (it is not a TrueType font)"));
  ASSERT_EQ(table.size(), static_cast<std::size_t>(page::FITS_HEADER));
  EXPECT_EQ(table[page::FITS_RUN_COUNT], -1.0f) << "every character drawn as it is";
  EXPECT_EQ(table[page::FITS_BLOCK + page::FIT_SCALE_X], 0.0f) << "no block fit";
  // A typical monospace font's letters, fitted: 6 of the 10 pixels, centred.
  EXPECT_FLOAT_EQ(mapped(fitIn(table, page::FITS_LETTERS), InkBox{0, 2, 6, 12}).left, 1.0f);
}

}  // namespace
