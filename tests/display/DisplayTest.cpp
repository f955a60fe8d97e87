// The display without a window: a frame turned into cells (as the terminal
// and capture presenters show it), where the font is found, the display
// manager headless, capturing frames or stopped; frames, sprites, animations
// (drawn through the stopped display manager) and view objects.
#include "engine/display/DisplayManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "engine/core/Config.h"
#include "engine/core/Unicode.h"
#include "engine/display/CellGrid.h"
#include "engine/display/DrawList.h"
#include "engine/display/EventView.h"
#include "engine/display/FontLookup.h"
#include "engine/display/PresenterFactory.h"
#include "engine/display/ViewObject.h"
#include "engine/platform/Files.h"
#include "engine/resources/SpriteParser.h"
#include "engine/world/Animation.h"
#include "engine/world/Sprite.h"
#include "engine/world/WorldManager.h"
#include "tests/support/EngineFixtures.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::Frame;
using tw::Sprite;
using tw::Vector;

const tw::Rgb RED{255, 0, 0}, GREEN{0, 255, 0};

TEST(CellGrid, EachCharacterLandsInTheNearestCell) {
  const struct {
    float x, y;
    int col, row;  // -1: dropped
  } cases[] = {{10.0f, 5.0f, 10, 5},   {10.49f, 5.2f, 10, 5},  {10.5f, 5.5f, 11, 6},
               {-0.5f, 0.0f, 0, 0},    {-0.51f, 0.0f, -1, -1}, {79.49f, 23.0f, 79, 23},
               {79.5f, 22.0f, -1, -1}, {NAN, 3.0f, -1, -1},    {1e30f, 3.0f, -1, -1}};
  for (const auto& c : cases) {
    tw::CellGrid grid(80, 24, tw::Rgb{});
    grid.put(c.x, c.y, 'M', RED);
    const std::size_t at = grid.toText().find('M');  // rows of 80 cells and a line feed
    EXPECT_EQ(at == std::string::npos ? -1 : static_cast<int>(at % 81), c.col) << c.x << "," << c.y;
    EXPECT_EQ(at == std::string::npos ? -1 : static_cast<int>(at / 81), c.row) << c.x << "," << c.y;
  }
}

// The later of two characters in one cell wins, a character no cell can
// hold shows as U+FFFD, and a shape fills the cells whose centres it covers:
// here a circle of radius 24 pixels centred on cell (10, 5)'s top-left corner
// (as the engine draws a default circle there), in cells of 12.8 x 32 pixels.
TEST(CellGrid, PaintsTheLaterCharacterCharactersACellHoldsAndShapes) {
  tw::DrawList list;
  list.addCharacter(1, 0, 'A', RED, 0);
  list.addCharacter(1.2f, 0, 'B', GREEN, 30);  // same cell, turned: rotation is ignored
  list.addCharacter(2, 0, U'\t', RED, 0);
  list.addCharacter(3, 0, U'\u2500', RED, 0);
  list.addCharacter(4, 0, 'x', tw::Rgb{200, 100, 50}, 0);
  list.addCharacter(5, 0, U'\u4e00', GREEN, 0);  // wide
  list.addShape(10, 5, tw::ShapeOutline{10, 24, -12, -12}, GREEN, 255, 0);
  tw::CellGrid grid(20, 10, tw::Rgb{});
  grid.paint(list, 12.8f, 32.0f);
  EXPECT_EQ(grid.getRow(0), " B\uFFFD\u2500x\uFFFD              ");
  EXPECT_EQ(grid.getColorRow(0), " grr*g              ");
  EXPECT_EQ(grid.getRow(4) + grid.getRow(6), std::string(40, ' '));
  EXPECT_EQ(grid.getRow(5), "         ####       ");
  EXPECT_EQ(grid.getColorRow(5), "         gggg       ");
}

// The font is taken from the first place that has it: the configured path,
// then its file name beside the program, then in the installed folder; each
// place tried before is logged.
// display:auto: a window where a display answers, else the terminal when
// standard input and output are one, else the capture. (The window and the
// terminal are also picked live by the input script's tests.)
TEST(PresenterFactory, AutoDisplayPicksTheWindowThenTheTerminalThenTheCapture) {
  const struct {
    bool display, terminal;
    const char* picked;
  } cases[] = {{true, true, "window"}, {true, false, "window"}, {false, true, "terminal"},
               {false, false, "capture"}};
  for (const auto& c : cases) {
    EXPECT_STREQ(tw::autoDisplay(c.display, c.terminal), c.picked) << c.display << c.terminal;
    EXPECT_STREQ(tw::makePresenter(c.picked)->getName(), c.picked);
  }
}

TEST(FontLookup, TakesTheFirstPlaceThatHasTheFontAndLogsEachMiss) {
  tw_test::LogCapture log;
  const struct {
    const char* font;  // where a file lies ("" nowhere, a trailing '/' a folder)
    const char* found;
    std::size_t misses;
  } cases[] = {{"work/my.ttf", "work/my.ttf", 0}, {"bin/my.ttf", "bin/my.ttf", 1},
               {"share/my.ttf", "share/my.ttf", 2}, {"share/my.ttf/", "", 3}, {"", "", 3}};
  for (const auto& c : cases) {
    tw_test::TempDir dir;
    const std::string root = dir.path() + "/", font = c.font;
    std::string why;
    tw::platform::makeFolders(root + font.substr(0, font.rfind('/')), why);  // where it lies, or it
    if (!font.empty() && font.back() != '/') dir.write(font, "a font");
    const std::size_t before = log.messages().size();
    const std::string found = tw::findFont(root + "work/my.ttf", root + "bin", root + "share");
    EXPECT_EQ(found, *c.found ? root + c.found : "") << c.font;
    EXPECT_EQ(log.messages().size() - before, c.misses) << c.font;
  }
}

class DisplayTest : public ::testing::Test {
 protected:
  void start(const std::string& config) {
    tw::Config::getInstance().loadConfig(config);
    ASSERT_EQ(dm.startUp(), 0);
  }
  void TearDown() override {
    if (dm.isStarted()) dm.shutDown();
  }
  std::string row(int y) const { return dm.snapshot().getRow(y).substr(0, 30); }
  // Characters the stopped display manager refused, each with one log line.
  int refusedDraws() const {
    const std::vector<std::string> messages = log.messages();
    const std::string refused = "DisplayManager not started!";
    return static_cast<int>(std::count(messages.begin(), messages.end(), refused));
  }
  tw_test::LogCapture log;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
};

// Stopped, every call is refused with a log line; headless (no presenter),
// quietly. A second start-up fails. Cells are 12.8 x 32 pixels, or 0 x 0
// (not infinite) when the window has no cells.
TEST_F(DisplayTest, RefusesToDrawWhenStoppedOrHeadlessAndConvertsCellsToPixels) {
  for (const char* state : {"stopped", "headless"}) {
    const std::size_t before = log.messages().size();
    EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', tw::RED), -1) << state;
    EXPECT_EQ(dm.drawCharacter(tw::Vector(1, 1), 'x', 1, 2, 3), -1) << state;
    EXPECT_EQ(dm.drawString(tw::Vector(1, 1), "abc", tw::JUSTIFY_LEFT, tw::RED), -1) << state;
    EXPECT_EQ(dm.swapBuffers(), -1) << state;
    EXPECT_EQ(log.messages().size() - before, dm.isStarted() ? 0u : 4u) << state;
    if (!dm.isStarted()) start("headless:true");
  }
  EXPECT_EQ(dm.startUp(), -1);
  EXPECT_EQ(tw::spacesToPixels(tw::Vector(10, 5)), tw::Vector(128, 160));
  EXPECT_EQ(tw::pixelsToSpaces(tw::Vector(128, 160)), tw::Vector(10, 5));
  dm.shutDown();
  start("headless:true,window_horizontal_chars:0,window_vertical_chars:0");
  EXPECT_EQ(tw::spacesToPixels(tw::Vector(3, 4)), tw::Vector(0, 0));
  EXPECT_EQ(tw::pixelsToSpaces(tw::Vector(100, 50)), tw::Vector(0, 0));
}

// Positions are in the world: the view's corner is taken off before the
// character lands in its cell; strings are justified around their position.
// Each swap shows only what was drawn since the last one.
TEST_F(DisplayTest, DrawsAtViewPositionsAndJustifiesStringsUntilTheNextSwap) {
  start("display:capture");
  tw::WorldManager::getInstance().setBoundary(tw::Box(tw::Vector(0, 0), 200, 100));
  tw::WorldManager::getInstance().setView(tw::Box(tw::Vector(5, 3), 80, 24));
  EXPECT_EQ(dm.drawCharacter(tw::Vector(7, 3), 'M', tw::RED), 0);
  EXPECT_EQ(dm.drawCharacter(tw::Vector(9, 3), 'K', tw::CUSTOM), 0);  // drawn white
  EXPECT_EQ(dm.drawString(tw::Vector(15, 4), "ABCDE", tw::JUSTIFY_CENTER, tw::GREEN), 0);
  EXPECT_EQ(dm.drawString(tw::Vector(15, 5), "ABCD", tw::JUSTIFY_RIGHT, tw::BLUE), 0);
  EXPECT_EQ(dm.drawString(tw::Vector(15, 6), "ABCD", tw::JUSTIFY_LEFT, tw::YELLOW), 0);
  EXPECT_EQ(row(0), std::string(30, ' '));  // nothing shows before the swap
  ASSERT_EQ(dm.swapBuffers(), 0);
  EXPECT_EQ(row(0) + row(1), "  M K                                 ABCDE                 ");
  EXPECT_EQ(row(2) + row(3), "      ABCD                              ABCD                ");
  EXPECT_EQ(dm.snapshot().getColorRow(0).substr(0, 5), "  r w");
  EXPECT_EQ(dm.snapshot().getColorRow(3).substr(10, 4), "yyyy");
  dm.drawCharacter(tw::Vector(5, 3), 'Z', tw::RED);
  ASSERT_EQ(dm.swapBuffers(), 0);
  EXPECT_EQ(row(0) + row(1), "Z" + std::string(59, ' '));
  ASSERT_EQ(dm.swapBuffers(), 0);
  EXPECT_EQ(row(0) + row(1), std::string(60, ' '));
}

// Cells over backgrounds of their own, in every drawing form, kept in the
// frame's cells and in its dump (a golden frame); UNDEFINED_COLOR and a later
// plain character leave the frame's background. A frame without any writes
// no background rows (today's dumps stay as they are).
TEST_F(DisplayTest, DrawsCellsOverBackgroundsOfTheirOwnAndDumpsThem) {
  start("display:capture,window_horizontal_chars:20,window_vertical_chars:3");
  tw_test::TempDir dir;
  const auto dump = [&] {
    dm.snapshot().writeText(dir.file("frame.txt"));
    return tw_test::readFile(dir.file("frame.txt"));
  };
  dm.drawString(Vector(0, 0), "plain", tw::JUSTIFY_LEFT, tw::WHITE);
  ASSERT_EQ(dm.swapBuffers(), 0);
  EXPECT_EQ(dump().find("=="), std::string::npos);
  EXPECT_EQ(dm.drawCharacter(Vector(0, 0), U'█', tw::Rgb{255, 128, 0}, tw::Rgb{0, 0, 255}), 0);
  EXPECT_EQ(dm.drawCharacter(Vector(1, 0), 'a', tw::YELLOW, tw::RED), 0);
  EXPECT_EQ(dm.drawCharacter(Vector(2, 0), 'b' + 1, tw::BLACK, tw::WHITE), 0);
  EXPECT_EQ(dm.drawCharacter(Vector(3, 0), U'd', tw::GREEN, tw::UNDEFINED_COLOR), 0);
  EXPECT_EQ(dm.drawString(Vector(10, 1), "mid", tw::JUSTIFY_CENTER, tw::CYAN, tw::MAGENTA), 0);
  EXPECT_EQ(dm.drawString(Vector(19, 2), "rgb", tw::JUSTIFY_RIGHT, GREEN, tw::Rgb{1, 2, 3}), 0);
  dm.drawCharacter(Vector(18, 2), 'B', tw::BLUE);  // plain: the frame's background again
  ASSERT_EQ(dm.swapBuffers(), 0);
  const tw::GridCell& cell = dm.snapshot().at(0, 0);
  EXPECT_TRUE(cell.has_background);
  EXPECT_EQ(cell.background, (tw::Rgb{0, 0, 255}));
  EXPECT_EQ(cell.color, (tw::Rgb{255, 128, 0}));
  EXPECT_EQ(dump(), tw_test::goldenFrame("cell-backgrounds.txt", dump()));
}

// UTF-8 text, one character per cell: the same bytes read as a sprite's row
// (a one-frame simple file as wide as the characters drawn) and drawn as a
// string, left-justified at x = 0 and right-justified to end at x = 59. A
// character no cell holds is refused by the reader (the sprite corpus holds
// the reader's message for each kind) and drawn as U+FFFD in one cell.
TEST_F(DisplayTest, Utf8TakesOneCellACharacterAndBadOnesAreRefusedOrReplaced) {
  start("display:capture");
  const struct {
    const char* text;  // the bytes
    int cells;         // how many it takes
    const char* drawn;
    bool refused;      // by the reader
  } cases[] = {
      {"plain", 5, "plain", false},
      {"\u250c\u2500\u2510\u2502\u2588\u2580\u2584\u2591\u2592\u2593", 10,
       "\u250c\u2500\u2510\u2502\u2588\u2580\u2584\u2591\u2592\u2593", false},
      {"\u2190\u2191\u2192\u2193\u2022\u25c6\u2665\u00e9\uFFFD", 9,
       "\u2190\u2191\u2192\u2193\u2022\u25c6\u2665\u00e9\uFFFD", false},
      {"\U0001D11E.", 2, "\U0001D11E.", false},  // four bytes, one cell
      {"a\xFF" "b", 3, "a\uFFFDb", true},             // not UTF-8
      {"\xE2\x94" "ab", 3, "\uFFFDab", true},         // cut short
      {"a\xC0\xAF" "b", 3, "a\uFFFDb", true},         // over-long
      {"\xED\xA0\x80", 1, "\uFFFD", true},            // a surrogate
      {"a\u4e00" "b", 3, "a\uFFFDb", true},           // double width
      {"\U0001F600", 1, "\uFFFD", true},               // double width, four bytes
      {"e\u0301", 2, "e\uFFFD", true},                 // no width of its own
      {"a\tb", 3, "a\uFFFDb", true},                   // control characters
      {"\x1B[2J", 4, "\uFFFD[2J", true},
  };
  const float row_end = 60;
  float y = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(tw::printable(c.text));
    std::istringstream file("1\n" + std::to_string(c.cells) + "\n1\n0\nwhite\n" + c.text + "\n");
    tw::SpriteParser parser(file);
    std::vector<tw::SpriteProblem> problems;
    parser.setProblemList(&problems);
    const std::unique_ptr<Sprite> sprite(parser.loadSprite());
    EXPECT_EQ(!problems.empty(), c.refused);
    if (sprite) {
      EXPECT_EQ(sprite->getFrame(0).getString(), c.text);  // byte for byte
    }
    dm.drawString(Vector(0, y), c.text, tw::JUSTIFY_LEFT, tw::WHITE);
    dm.drawString(Vector(row_end, y++), c.text, tw::JUSTIFY_RIGHT, tw::WHITE);
  }
  ASSERT_EQ(dm.swapBuffers(), 0);
  y = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(tw::printable(c.text));
    const std::string gap(static_cast<std::size_t>(row_end) - 2 * c.cells, ' ');
    EXPECT_EQ(dm.snapshot().getRow(y++), c.drawn + gap + c.drawn + std::string(20, ' '));
  }
}

TEST_F(DisplayTest, FrameStopsAtTheFirstRefusedCharacterAndSkipsTransparentOnes) {
  const struct {
    Frame frame;
    char transparent;
    int result, attempts;
  } cases[] = {{Frame(3, 3, "abcdefghi"), 0, -1, 1}, {Frame(3, 1, "##a"), '#', -1, 1},
               {Frame(2, 2, "####"), '#', 0, 0},      {Frame(3, 1, "   "), ' ', 0, 0},
               {Frame(), 0, 0, 0},
               // Sizes that claim more than the string holds: nothing past it is read.
               {Frame(3, 3, "####"), '#', 0, 0}, {Frame(2, 0, "ab"), 0, 0, 0}};
  for (const auto& c : cases) {
    const int before = refusedDraws();
    const int result = c.frame.draw(Vector(5, 5), tw::WHITE, c.transparent);
    EXPECT_EQ(std::make_pair(c.result, c.attempts), std::make_pair(result, refusedDraws() - before))
        << c.frame.getString();
  }
}

TEST_F(DisplayTest, SpriteHoldsUpToItsCapacityAndDrawsOnlyFramesItHas) {
  Sprite sprite(2);
  EXPECT_EQ(0, sprite.addFrame(Frame(3, 1, "#a#")) + sprite.addFrame(Frame(3, 1, "###")));
  EXPECT_EQ(-1, sprite.addFrame(Frame(1, 1, "c")));
  EXPECT_EQ(-1, sprite.draw(0, Vector(4, 4), '#'));
  EXPECT_EQ(0, sprite.draw(1, Vector(4, 4), '#'));
  EXPECT_EQ(0, sprite.draw(2, Vector(4, 4), 0) + sprite.draw(-1, Vector(4, 4), 0));  // none there
  EXPECT_EQ(1, refusedDraws());
}

TEST_F(DisplayTest, AnimationStaysOnEachFrameForTheSlowdownUnlessFrozen) {
  const struct {
    int slowdown, count;  // count -1: frozen
    std::vector<int> shown;
  } cases[] = {{2, 0, {0, 0, 1, 1, 2, 2, 0}}, {1, 0, {0, 1, 2, 0}}, {0, 0, {0, 1, 2, 0}},
               {1, -1, {0, 0, 0}}};
  for (const auto& c : cases) {
    Sprite sprite(3);
    sprite.setSlowdown(c.slowdown);
    for (const char* text : {"0", "1", "2"}) sprite.addFrame(Frame(1, 1, text));
    tw::Animation animation;
    animation.setSprite(&sprite);
    animation.setSlowdownCount(c.count);
    std::vector<int> shown;
    while (shown.size() < c.shown.size()) {
      shown.push_back(animation.getIndex());
      animation.draw(Vector(3, 3));
    }
    EXPECT_EQ(c.shown, shown) << c.slowdown;
  }
}

// An animation restarts on a new sprite and takes its label (its name in
// records), size (its box: the collision shape) and transparency.
TEST_F(DisplayTest, AnimationTakesTheSpritesLabelSizeAndTransparency) {
  Sprite sprite(1);
  sprite.setLabel("runner"), sprite.setWidth(3), sprite.setHeight(1), sprite.setTransparency('#');
  sprite.addFrame(Frame(3, 1, "###"));
  tw::Animation animation;
  animation.setIndex(4);
  animation.setSprite(&sprite);
  EXPECT_EQ("runner", animation.getName());
  EXPECT_EQ(0, animation.getIndex());
  EXPECT_EQ(tw::Box(Vector(-1.5f, -0.5f), 3, 1), animation.getBox());
  EXPECT_EQ(0, animation.draw(Vector(1, 1)));  // all transparent: nothing drawn
  EXPECT_EQ(0, refusedDraws());
}

// View objects: where each location puts them, the text they show, the
// values view events set or add, and what they draw.
class ViewObjectTest : public tw_test::WorldFixture {};

TEST_F(ViewObjectTest, LocationsPlaceOnThirdsAndRowsByBorderUntilPlacedByPosition) {
  auto* view = new tw::ViewObject;
  EXPECT_EQ(view->getPosition(), Vector(40, 1));  // top centre, framed
  const struct {
    int location;
    Vector framed, bare;
  } cases[] = {{tw::TOP_LEFT, {80 / 6.0f, 1}, {80 / 6.0f, 0}},
               {tw::CENTER_CENTER, {40, 12}, {40, 11}},
               {tw::CENTER_LEFT, {80 / 6.0f, 12}, {80 / 6.0f, 11}},
               {tw::BOTTOM_RIGHT, {400 / 6.0f, 22}, {400 / 6.0f, 23}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(tw::locationName(c.location));
    view->setBorder(true);
    view->setLocation(c.location);
    EXPECT_EQ(view->getPosition(), c.framed);
    view->setBorder(false);  // moves to the row that fits
    EXPECT_EQ(view->getPosition(), c.bare);
    EXPECT_EQ(view->getLocation(), c.location);
  }
  view->setPosition(Vector(10, 10));  // placed by position: no location, the border keeps it
  EXPECT_EQ(view->getLocation(), -1);
  view->setBorder(true);
  EXPECT_EQ(view->getPosition(), Vector(10, 10));
}

// The modified flags decide what a network update sends.
TEST_F(ViewObjectTest, ViewEventsSetOrAddTheValueAndOnlyChangesMarkWhatToSend) {
  auto* view = new tw::ViewObject;
  view->setViewString("Lives");
  tw::EventView other("Score", 5, false);
  EXPECT_EQ(view->eventHandler(&other), 0);
  EXPECT_EQ(view->getValue(), 0);
  tw::EventView set("Lives", 5, false);
  EXPECT_EQ(view->eventHandler(&set), 1);
  EXPECT_EQ(view->getValue(), 5);
  tw::EventView add("Lives", 5, true);
  world().onEvent(&add);  // delivered through its interest
  EXPECT_EQ(view->getValue(), 10);
  view->setModified(0);
  view->setValue(10), view->setColor(tw::WHITE), view->setBorder(true);
  EXPECT_EQ(view->getModified(), 0u);  // no change, nothing to send
}

TEST_F(ViewObjectTest, TextAndFrameFollowBorderAndValueFlags) {
  auto* view = new tw::ViewObject;
  view->setViewString("Score:");
  view->setValue(7);
  EXPECT_EQ(view->getDisplayString(), " Score: 7 ");
  // Headless, every display call fails with -1: the sum counts the calls.
  EXPECT_EQ(view->draw(), -5);  // text, two dash rows, two bars
  view->setDrawValue(false);
  EXPECT_EQ(view->getDisplayString(), " Score: ");
  view->setBorder(false);
  EXPECT_EQ(view->getDisplayString(), "Score:");
  EXPECT_EQ(view->draw(), -1);
  view->setDrawValue(true);
  EXPECT_EQ(view->getDisplayString(), "Score: 7");
}

// The frame fits the text's characters, not its bytes.
TEST_F(ViewObjectTest, FrameFitsATextBeyondAsciiByItsCharacters) {
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  dm.shutDown();
  tw::Config::getInstance().loadConfig("headless:false,display:capture");
  ASSERT_EQ(dm.startUp(), 0);
  auto* view = new tw::ViewObject;
  view->setViewString("\u2665 \u00c9nergie");  // 9 characters in 12 bytes
  view->setPosition(Vector(20, 5));
  view->draw();
  ASSERT_EQ(dm.swapBuffers(), 0);
  const std::string dashes = std::string(14, ' ') + std::string(13, '-') + std::string(53, ' ');
  EXPECT_EQ(dm.snapshot().getRow(4), dashes);
  EXPECT_EQ(dm.snapshot().getRow(5),
            std::string(13, ' ') + "| \u2665 \u00c9nergie 0 |" + std::string(52, ' '));
  EXPECT_EQ(dm.snapshot().getRow(6), dashes);
}

}  // namespace
