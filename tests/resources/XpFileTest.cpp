// Art files of the REXPaint editor: every layer with its colours and CP437
// glyphs, laid over each other with the transparent background left out,
// made a sprite; broken files refused with a clear message, nothing lost.
#include "engine/resources/XpFile.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/world/Sprite.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XpWriter.h"

namespace {

using tw::Rgb;
using tw::XpFile;
using tw_test::XpLayer;

const Rgb RED{255, 0, 0}, BLUE{0, 0, 255}, GREY{90, 90, 90}, WHITE{255, 255, 255};

// A 3 x 2 picture: the bottom layer grey blanks with a heart and a line; the
// top layer transparent but for one red-on-blue letter and one opaque cell
// over the heart.
std::vector<XpLayer> twoLayers() {
  XpLayer bottom(3, 2), top(3, 2);
  for (auto& cell : bottom.cells) cell.bg = GREY;
  bottom.at(0, 0).glyph = 3;     // heart
  bottom.at(2, 1).glyph = 0xC4;  // horizontal line
  bottom.at(2, 1).fg = RED;
  top.at(1, 0) = {'A', RED, BLUE};
  top.at(0, 0) = {0xDB, WHITE, RED};  // full block
  return {bottom, top};
}

TEST(XpFile, ReadsEveryLayerAndLaysThemOverEachOther) {
  tw_test::TempDir dir;
  for (bool with_version : {true, false}) {
    SCOPED_TRACE(with_version ? "with version" : "older, without version");
    const std::string path = dir.file("art.xp");
    ASSERT_TRUE(tw_test::writeXp(path, twoLayers(), with_version));
    XpFile xp;
    ASSERT_EQ(xp.load(path), 0);
    ASSERT_EQ(xp.getLayerCount(), 2);
    EXPECT_EQ(xp.getLayer(0).getWidth(), 3);
    EXPECT_EQ(xp.getLayer(0).getHeight(), 2);
    EXPECT_EQ(xp.getLayer(0).at(0, 0).ch, U'\u2665');
    EXPECT_EQ(xp.getLayer(0).at(2, 1).ch, U'\u2500');
    EXPECT_EQ(xp.getLayer(0).at(2, 1).fg, RED);
    EXPECT_EQ(xp.getLayer(1).at(1, 0).bg, BLUE);
    EXPECT_EQ(xp.getLayer(2).getWidth(), 0);
    const tw::CellCanvas image = xp.flatten();
    EXPECT_EQ(image.at(0, 0).ch, U'\u2588');  // the top layer's opaque cell
    EXPECT_EQ(image.at(1, 0).ch, U'A');
    EXPECT_EQ(image.at(1, 0).bg, BLUE);
    EXPECT_EQ(image.at(2, 0).bg, GREY);       // the top layer transparent: the bottom shows
    EXPECT_EQ(image.at(2, 1).ch, U'\u2500');
    const std::unique_ptr<tw::Sprite> sprite(xp.makeSprite("art"));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getLabel(), "art");
    const tw::Frame frame = sprite->getFrame(0);
    EXPECT_EQ(frame.getString(), "\u2588A   \u2500");
    ASSERT_EQ(frame.getCellColors().size(), 6u);
    EXPECT_EQ(frame.getCellColors()[1].bg, BLUE);
    EXPECT_EQ(frame.getCellColors()[5].fg, RED);
  }
}

TEST(XpFile, MapsCodePage437ToUnicode) {
  const struct {
    std::uint32_t glyph;
    char32_t ch;
  } cases[] = {{0, U' '},          {1, U'\u263A'},   {31, U'\u25BC'}, {'~', U'~'},
               {127, U'\u2302'},   {128, U'\u00C7'}, {0xB0, U'\u2591'}, {0xDB, U'\u2588'},
               {0xFE, U'\u25A0'},  {0xFF, U'\u00A0'}, {256, U'\uFFFD'}};
  for (const auto& c : cases) EXPECT_EQ(XpFile::cp437ToUnicode(c.glyph), c.ch) << c.glyph;
}

// Each broken file is refused with one log line that says what is wrong,
// and the art loaded before stays.
TEST(XpFile, RefusesBrokenFilesAndKeepsWhatWasLoaded) {
  tw_test::LogCapture log;
  tw_test::TempDir dir;
  ASSERT_TRUE(tw_test::writeXp(dir.file("good.xp"), twoLayers()));
  const struct {
    const char* file;
    const char* why;
  } cases[] = {
      {"bad-empty.xp", "it is too short to hold a layer count"},
      {"bad-version-only.xp", "it ends after its version number"},
      {"bad-no-layers.xp", "it says it has 0 layers (1 to 64 are possible)"},
      {"bad-layer-size.xp", "layer 1 is -3 x 2 cells (each side must be 1 to 4096)"},
      {"bad-cells-cut-short.xp", "layer 1 is cut short: 100 cells need 1000 bytes, 70 are left"},
      {"bad-second-layer-missing.xp", "layer 2 has no size: the file ends after 56 bytes"},
      {"bad-bytes-after.xp", "3 bytes follow the last layer"},
      {"bad-gzip-cut-short.xp", "its compressed data is cut short"},
      {"no-such-file.xp", "No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    XpFile xp;
    ASSERT_EQ(xp.load(dir.file("good.xp")), 0);
    const std::string path = tw_test::dataPath(std::string("xp/") + c.file);
    const std::size_t before = log.messages().size();
    EXPECT_EQ(xp.load(path), -1);
    ASSERT_EQ(log.messages().size(), before + 1);
    EXPECT_EQ(log.messages().back(),
              "XpFile::load(): Error! Cannot read '" + path + "': " + c.why + ".");
    EXPECT_EQ(xp.getLayerCount(), 2);
    EXPECT_EQ(xp.getLayer(1).at(1, 0).ch, U'A');
  }
}

}  // namespace
