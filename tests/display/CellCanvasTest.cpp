// Off-screen canvases: copied onto another canvas with a key colour or an
// alpha for the background, cut at the target's edges, and drawn onto the
// frame; frames with colours per cell drawn the same way.
#include "engine/display/CellCanvas.h"

#include <gtest/gtest.h>

#include "engine/core/Config.h"
#include "engine/core/Unicode.h"
#include "engine/display/DisplayManager.h"
#include "engine/world/Frame.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::CanvasCell;
using tw::CanvasCopy;
using tw::CellCanvas;
using tw::Rgb;

const Rgb BLACK{0, 0, 0}, WHITE{255, 255, 255}, RED{255, 0, 0}, BLUE{0, 0, 255};
const Rgb KEY{255, 0, 255}, GREY{100, 100, 100};

bool same(const CanvasCell& a, const CanvasCell& b) {
  return a.ch == b.ch && a.fg == b.fg && a.bg == b.bg;
}

// One source cell copied onto a target cell 'o' in white on blue.
TEST(CellCanvas, CopiesCellsByKeyColourAndBackgroundAlpha) {
  const CanvasCell beneath{U'o', WHITE, BLUE};
  const struct {
    const char* name;
    CanvasCell source;
    CanvasCopy how;
    CanvasCell expected;
  } cases[] = {
      {"opaque", {U'x', RED, GREY}, {}, {U'x', RED, GREY}},
      {"opaque blank", {U' ', RED, GREY}, {}, {U' ', RED, GREY}},
      {"keyed out", {U'x', RED, KEY}, {true, KEY, 255}, beneath},
      {"keyed, other colour", {U'x', RED, GREY}, {true, KEY, 255}, {U'x', RED, GREY}},
      {"key ignored unless keyed", {U'x', RED, KEY}, {}, {U'x', RED, KEY}},
      {"half alpha", {U'x', RED, WHITE}, {false, KEY, 128}, {U'x', RED, {128, 128, 255}}},
      {"half alpha blank", {U' ', RED, RED}, {false, KEY, 128}, {U'o', {255, 127, 127}, {128, 0, 127}}},
      {"no alpha", {U'x', RED, WHITE}, {false, KEY, 0}, {U'x', RED, BLUE}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CellCanvas source(1, 1), target(1, 1);
    source.put(0, 0, c.source.ch, c.source.fg, c.source.bg);
    target.put(0, 0, beneath.ch, beneath.fg, beneath.bg);
    source.copyTo(target, 0, 0, c.how);
    const CanvasCell& got = target.at(0, 0);
    EXPECT_TRUE(same(got, c.expected)) << static_cast<char>(got.ch) << " fg " << +got.fg.r << ","
                                       << +got.fg.g << "," << +got.fg.b << " bg " << +got.bg.r
                                       << "," << +got.bg.g << "," << +got.bg.b;
  }
}

// A copy lands at its offset, and what falls outside the target (on any
// side) is left out; writes outside a canvas are refused.
TEST(CellCanvas, CopiesAtAnOffsetCutAtTheTargetsEdges) {
  CellCanvas source(3, 2);
  source.print(0, 0, "abc", RED, GREY);
  source.print(0, 1, "d\u2500f", RED, GREY);
  const struct {
    int x, y;
    const char* rows;  // the 4 x 3 target afterwards, '.' untouched
  } cases[] = {{0, 0, "abc.d\u2500f....."}, {2, 1, "......ab..d\u2500"}, {-2, -1, "f..........."},
               {4, 0, "............"},       {-3, 0, "............"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    CellCanvas target(4, 3);
    target.fill(U'.', WHITE, BLACK);
    source.copyTo(target, c.x, c.y);
    std::u32string rows;
    for (int y = 0; y < 3; y++)
      for (int x = 0; x < 4; x++) rows += target.at(x, y).ch;
    EXPECT_EQ(tw::toUtf8(rows), c.rows);
  }
  EXPECT_EQ(source.put(3, 0, U'x', RED, RED), -1);
  EXPECT_EQ(source.setBackground(0, -1, RED), -1);
  EXPECT_EQ(source.print(1, 1, "xyz", RED, RED), 2);
  EXPECT_EQ(source.at(2, 1).ch, U'y');
}

// Drawn onto the frame, every cell keeps its background but keyed ones,
// which leave the frame as it was; an alpha lays it over the frame's
// background colour. A frame's colours per cell draw the same way.
TEST(CellCanvas, DrawsOntoTheFrameWithBackgroundsPerCell) {
  tw_test::LogCapture log;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  tw::Config::getInstance().loadConfig("display:capture,window_background_color:blue");
  ASSERT_EQ(dm.startUp(), 0);
  CellCanvas canvas(3, 1);
  canvas.put(0, 0, U'a', RED, WHITE);
  canvas.put(1, 0, U'b', RED, KEY);
  canvas.put(2, 0, U'c', RED, {255, 0, 0});
  dm.drawCharacter(tw::Vector(1, 0), 'z', tw::GREEN);
  EXPECT_EQ(canvas.draw(tw::Vector(0, 0), {true, KEY, 255}), 0);
  EXPECT_EQ(canvas.draw(tw::Vector(0, 1), {false, KEY, 128}), 0);
  tw::Frame frame(2, 1, "pq");
  ASSERT_EQ(frame.setCellColors({{RED, WHITE, true}, {BLUE, BLACK, false}}), 0);
  EXPECT_EQ(frame.setCellColors({{RED, WHITE, true}}), -1);  // one colour for two cells
  EXPECT_EQ(frame.draw(tw::Vector(0.5f, 2), tw::GREEN), 0);
  ASSERT_EQ(dm.swapBuffers(), 0);
  const tw::CellGrid& grid = dm.snapshot();
  EXPECT_EQ(grid.getRow(0).substr(0, 3) + grid.getRow(1).substr(0, 3) + grid.getRow(2).substr(0, 2),
            "azcabcpq");
  EXPECT_EQ(grid.getBackgroundRow(0).substr(0, 4), "w.r.");
  EXPECT_EQ(grid.getColorRow(2).substr(0, 2), "rb");
  EXPECT_EQ(grid.getBackgroundRow(2).substr(0, 2), "w.");
  EXPECT_EQ(grid.at(0, 1).background, (Rgb{128, 128, 255}));
  EXPECT_EQ(grid.at(2, 1).background, (Rgb{128, 0, 127}));
  dm.shutDown();
  EXPECT_EQ(canvas.draw(tw::Vector(0, 0)), -1);
}

}  // namespace
