// The font reader: the corpus of small fonts (tests/data/fonts, written by
// its make-fonts.py), sound and broken, and the shipped font read against
// FreeType, character by character and glyph box by glyph box.
#include "engine/platform/FontCoverage.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "tests/support/TestSupport.h"

namespace {

using tw::platform::FontCoverage;

const char32_t NONE = 0;

struct FontCase {
  const char* file;
  bool opens;
  char32_t had;      // a character the font has (NONE: no check)
  char32_t lacked;   // one it lacks
  char32_t boxed;    // one whose glyph box is x -50..650, y -300..1100
  char32_t unboxed;  // one it has without a box
};

TEST(FontCoverage, ReadsTheCorpusAsItsCasesSay) {
  const FontCase cases[] = {
      {"good-segments.ttf", true, U'B', 0xC6, 0xC5, U' '},
      {"good-groups.ttf", true, 0x1F600, 0x2590, 0x2588, U' '},
      {"cut-in-glyphs.ttf", true, U'A', U'C', NONE, U'A'},
      {"locations-backwards.ttf", true, U'A', U'C', NONE, U'A'},
      {"locations-past-end.ttf", true, 0xC5, 0xC6, NONE, U'A'},
      {"glyph-count-too-big.ttf", true, U'A', U'C', NONE, U'A'},
      {"groups-overlapping.ttf", true, 3, U'A', NONE, NONE},
      {"segments-overlapping.ttf", true, 0, NONE, NONE, NONE},
      {"empty.ttf", false, NONE, NONE, NONE, NONE},
      {"not-a-font.ttf", false, NONE, NONE, NONE, NONE},
      {"cut-in-directory.ttf", false, NONE, NONE, NONE, NONE},
      {"no-character-map.ttf", false, NONE, NONE, NONE, NONE},
      {"no-unicode-map.ttf", false, NONE, NONE, NONE, NONE},
      {"zero-units.ttf", false, NONE, NONE, NONE, NONE},
      {"map-past-end.ttf", false, NONE, NONE, NONE, NONE},
      {"segments-past-end.ttf", false, NONE, NONE, NONE, NONE},
      {"groups-past-end.ttf", false, NONE, NONE, NONE, NONE},
  };
  for (const FontCase& c : cases) {
    SCOPED_TRACE(c.file);
    FontCoverage font;
    ASSERT_EQ(font.open(tw_test::dataPath(std::string("fonts/") + c.file)), c.opens);
    EXPECT_EQ(font.getProblem().empty(), c.opens) << font.getProblem();
    FontCoverage::Box box;
    if (!c.opens) {
      // Unread: every character handed over as it is, no box.
      EXPECT_TRUE(font.has(U'A') && font.has(0x10FFFF));
      EXPECT_FALSE(font.glyphBox(U'A', box) || font.fontBox(box));
      continue;
    }
    EXPECT_EQ(font.getUnitsPerEm(), 1000);
    if (c.had != NONE) {
      EXPECT_TRUE(font.has(c.had));
    }
    if (c.lacked != NONE) {
      EXPECT_FALSE(font.has(c.lacked) || font.glyphBox(c.lacked, box));
    }
    if (c.unboxed != NONE) {
      EXPECT_FALSE(font.glyphBox(c.unboxed, box));
    }
    if (c.boxed == NONE) continue;
    ASSERT_TRUE(font.glyphBox(c.boxed, box));
    EXPECT_EQ(box.x_min, -50);
    EXPECT_EQ(box.y_min, -300);
    EXPECT_EQ(box.x_max, 650);
    EXPECT_EQ(box.y_max, 1100);
  }
}

TEST(FontCoverage, ShownIsTheCharacterElseTheReplacementElseAQuestionMark) {
  FontCoverage font;
  EXPECT_EQ(font.shown(0x2630), 0x2630u) << "unread: handed over as it is";
  ASSERT_TRUE(font.open(tw_test::dataPath("fonts/good-groups.ttf")));
  EXPECT_EQ(font.shown(U'A'), static_cast<char32_t>(U'A'));
  EXPECT_EQ(font.shown(0x2630), static_cast<char32_t>(U'?'));
  ASSERT_TRUE(font.open("tw-font.ttf"));
  EXPECT_EQ(font.shown(0x2630), 0xFFFDu);
}

// FreeType's character map and unscaled glyph metrics for the shipped font.
class FreeTypeFont {
 public:
  explicit FreeTypeFont(const char* file) {
    if (FT_Init_FreeType(&library) == 0 && FT_New_Face(library, file, 0, &face) != 0) face = nullptr;
  }
  ~FreeTypeFont() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
  bool ok() const { return face != nullptr; }
  bool has(char32_t code) const { return FT_Get_Char_Index(face, code) != 0; }
  bool box(char32_t code, FontCoverage::Box& box) const {
    const FT_UInt glyph = FT_Get_Char_Index(face, code);
    if (glyph == 0 || FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE) != 0) return false;
    if (face->glyph->outline.n_points == 0) return false;
    const FT_Glyph_Metrics& m = face->glyph->metrics;
    box = FontCoverage::Box{static_cast<int>(m.horiBearingX), static_cast<int>(m.horiBearingY - m.height),
                            static_cast<int>(m.horiBearingX + m.width), static_cast<int>(m.horiBearingY)};
    return true;
  }

 private:
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

TEST(FontCoverage, AgreesWithFreeTypeOnTheShippedFont) {
  const FreeTypeFont reference("tw-font.ttf");
  ASSERT_TRUE(reference.ok());
  FontCoverage font;
  ASSERT_TRUE(font.open("tw-font.ttf")) << font.getProblem();
  int had = 0, boxed = 0;
  for (char32_t code = 0; code <= 0x2FFFF; code++) {
    ASSERT_EQ(font.has(code), reference.has(code)) << std::hex << code;
    FontCoverage::Box ours, theirs;
    const bool boxes = reference.box(code, theirs);
    ASSERT_EQ(font.glyphBox(code, ours), boxes) << std::hex << code;
    if (boxes) {
      // A composite glyph's header may round its box a unit off the outline's.
      const int units = 2;
      ASSERT_NEAR(ours.x_min, theirs.x_min, units) << std::hex << code;
      ASSERT_NEAR(ours.y_min, theirs.y_min, units) << std::hex << code;
      ASSERT_NEAR(ours.x_max, theirs.x_max, units) << std::hex << code;
      ASSERT_NEAR(ours.y_max, theirs.y_max, units) << std::hex << code;
    }
    had += font.has(code) ? 1 : 0;
    boxed += boxes ? 1 : 0;
  }
  EXPECT_GT(had, 1000);
  EXPECT_GT(boxed, 1000);
  int visited = 0;
  font.forEachCharacter([&](char32_t code) {
    visited++;
    EXPECT_TRUE(font.has(code)) << std::hex << code;
  });
  EXPECT_EQ(visited, had);
}

}  // namespace
