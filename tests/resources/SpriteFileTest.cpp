// Every sprite file of the corpus in tests/data/sprites, loaded through the
// resource manager: good files give the expected sprite, bad files give their
// messages (with line numbers) and leave nothing behind.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "engine/world/Sprite.h"
#include "engine/resources/ResourceManager.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::ResourceManager;
using tw::Sprite;

std::string corpus(const std::string& name) {
  const char* data = std::getenv("TW_TEST_DATA");
  return std::string(data != nullptr ? data : "tests/data") + "/sprites/" + name;
}

// True when expected appears, in order, within messages.
bool inOrder(const std::vector<std::string>& messages, const std::vector<std::string>& expected,
             std::string& missing) {
  size_t at = 0;
  for (const std::string& want : expected) {
    while (at < messages.size() && messages[at] != want) at++;
    if (at == messages.size()) {
      missing = want;
      return false;
    }
    at++;
  }
  return true;
}

class SpriteFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, ResourceManager::getInstance().startUp()); }
  void TearDown() override { ResourceManager::getInstance().shutDown(); }
  Sprite* load(const std::string& name) {
    if (ResourceManager::getInstance().loadSprite(corpus(name), name) != 0) return nullptr;
    return ResourceManager::getInstance().getSprite(name);
  }
  tw_test::LogCapture log;
};

// ---------------------------------------------------------------- bad files

struct BadFile {
  const char* name;
  std::vector<std::string> messages;  // expected in this order
};

void PrintTo(const BadFile& bad, std::ostream* os) { *os << bad.name; }

class BadSpriteFile : public SpriteFileTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadSpriteFile, IsRefusedWithItsMessagesAndLeavesNoSprite) {
  const BadFile& bad = GetParam();
  EXPECT_EQ(-1, ResourceManager::getInstance().loadSprite(corpus(bad.name), "label"));
  std::vector<std::string> expected = bad.messages;
  expected.push_back("RM::loadSprite(): Sprite 'label' NOT loaded.");
  std::string missing;
  EXPECT_TRUE(inOrder(log.messages(), expected, missing)) << "missing: '" << missing << "'";
  EXPECT_EQ(0, ResourceManager::getInstance().getSpriteCount());
  EXPECT_EQ(nullptr, ResourceManager::getInstance().getSprite("label"));
}

const char* const UNKNOWN = "RM::loadSprite(): Error! Unknown sprite file format.";
const char* const GETLINE_EOF = "getLine(): Error! Unexpected end of file.";
const char* const SIMPLE_EOF = "RM::loadSimpleSprite(): Error! Unexpected end of file.";
const char* const NO_FRAME_DATA = "RM::loadRobustSprite(): Error! No frame data to add.";

const BadFile BAD_FILES[] = {
    {"bad-empty.txt", {GETLINE_EOF, UNKNOWN, "RM::loadSprite(): First line is ''."}},
    {"bad-zero-first.txt", {UNKNOWN, "RM::loadSprite(): First line is '0'."}},
    {"bad-word-first.txt", {UNKNOWN, "RM::loadSprite(): First line is 'frames 1'."}},
    {"bad-binary.bin", {UNKNOWN}},
    // simple format, lines 1 to 5
    {"bad-simple-truncated-header.txt", {GETLINE_EOF, SIMPLE_EOF, "\tMissing height (an integer)."}},
    {"bad-simple-no-color.txt", {GETLINE_EOF, SIMPLE_EOF, "\tMissing color (a string)."}},
    {"bad-simple-zero-width.txt", {"RM::loadSimpleSprite(): Error line 2! Width is '0'."}},
    {"bad-simple-negative-height.txt", {"RM::loadSimpleSprite(): Error line 3! Height is '-2'."}},
    {"bad-simple-negative-slowdown.txt",
     {"RM::loadSimpleSprite(): Error line 4! Slowdown is '-1'."}},
    {"bad-simple-color.txt",
     {"RM::loadSimpleSprite(): Error line 5! Unrecognized color 'purple'.",
      "  Valid colors are: black, red, green, yellow,",
      "                    blue, magenta, cyan or white."}},
    {"bad-simple-color-case.txt", {"RM::loadSimpleSprite(): Error line 5! Unrecognized color 'Red'."}},
    // simple format, frames and what follows them
    {"bad-simple-no-final-lf.txt", {GETLINE_EOF, SIMPLE_EOF, "\tReading frame 2 of 2, row 2 of 2."}},
    {"bad-simple-row-width.txt",
     {"RM::loadSimpleSprite(): Error line 8!", "\tLine  8: 'ab'", "\tWidth is 2, expected 3."}},
    {"bad-simple-blank-after.txt",
     {"RM::loadSimpleSprite(): Error line 7!", "\tExtra file data: ''"}},
    {"bad-simple-extra-data.txt",
     {"RM::loadSimpleSprite(): Error line 7!", "\tExtra file data: 'xyz'"}},
    {"bad-simple-truncated-frames.txt",
     {GETLINE_EOF, SIMPLE_EOF, "\tReading frame 3 of 3, row 1 of 1."}},
    {"bad-simple-blank-row.txt", {SIMPLE_EOF, "\tReading frame 1 of 1, row 2 of 2."}},
    {"bad-simple-huge-frames.txt",
     {GETLINE_EOF, SIMPLE_EOF, "\tReading frame 2 of 2147483647, row 1 of 1."}},
    {"bad-simple-overflow-frames.txt",
     {GETLINE_EOF, SIMPLE_EOF, "\tReading frame 2 of 2147483647, row 1 of 1."}},
    {"bad-simple-huge-width.txt",
     {"RM::loadSimpleSprite(): Error line 6!", "\tLine  6: 'abc'",
      "\tWidth is 3, expected 2000000000."}},
    // robust format, header
    {"bad-robust-no-frames.txt", {"RM::loadRobustSprite(): Error! Missing 'frames' in header."}},
    {"bad-robust-no-width.txt", {"RM::loadRobustSprite(): Error! Missing 'width' in header."}},
    {"bad-robust-no-height.txt", {"RM::loadRobustSprite(): Error! Missing 'height' in header."}},
    {"bad-robust-negative-frames.txt",
     {"Sprite::Sprite(): Error! Unable to allocate -5 frames.",
      "RM::loadRobustSprite(): Error! Unable to create Sprite."}},
    {"bad-robust-zero-frames.txt",
     {"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 7: abc", "\tLine 8: end"}},
    {"bad-robust-huge-frames.txt",
     {"\tError! Line 9: No more frame data before 'end'.", NO_FRAME_DATA}},
    {"bad-robust-zero-height.txt", {NO_FRAME_DATA}},
    {"bad-robust-color.txt",
     {"RM::loadRobustSprite(): Error! Unrecognized color ' red'.",
      "  Valid colors are: black, red, green, yellow,",
      "                    blue, magenta, cyan and white."}},
    {"bad-robust-empty-line.txt",
     {"readData(): Error! Stop at line 3, never encountered '</HEADER>'."}},
    {"bad-robust-no-header-close.txt",
     {GETLINE_EOF, "readData(): Error! Stop at line 5, never encountered '</HEADER>'."}},
    // robust format, body and footer
    {"bad-robust-short-row.txt",
     {"\tError! Line 10: Line length is 2 (frame width is 3).", "\tLine 10: 'ab'", NO_FRAME_DATA}},
    {"bad-robust-no-end.txt", {"\tError! Line 8: Expected 'end'.", "\tLine 8: 'fin'", NO_FRAME_DATA}},
    {"bad-robust-missing-rows.txt",
     {"\tError! Line 9: No more frame data before 'end'.", NO_FRAME_DATA}},
    {"bad-robust-extra-body.txt",
     {"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 9: xyz", "\tLine 10: end"}},
    {"bad-robust-no-body.txt", {"readData(): Error line 6! Expected '<BODY>', have '<FOOTER>'."}},
    {"bad-robust-no-body-close.txt",
     {GETLINE_EOF, "readData(): Error! Stop at line 12, never encountered '</BODY>'."}},
    {"bad-robust-no-footer.txt",
     {GETLINE_EOF, "readData(): Error line 10! Expected '<FOOTER>', have ''."}},
    {"bad-robust-no-version.txt",
     {"RM::loadRobustSprite(): Error! Missing 'version' in FOOTER (line 12)."}},
    {"bad-robust-empty-version.txt",
     {"RM::loadRobustSprite(): Error! Missing 'version' in FOOTER (line 12)."}},
    {"bad-robust-no-final-lf.txt",
     {GETLINE_EOF, "readData(): Error! Stop at line 12, never encountered '</FOOTER>'."}},
};

std::string caseName(const ::testing::TestParamInfo<BadFile>& info) {
  std::string name;
  for (const char* c = info.param.name; *c != '\0' && *c != '.'; c++) {
    name += (*c == '-') ? '_' : *c;
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, BadSpriteFile, ::testing::ValuesIn(BAD_FILES), caseName);

TEST_F(SpriteFileTest, AFailureAfterAGoodLoadKeepsOnlyTheGoodSprite) {
  ResourceManager& rm = ResourceManager::getInstance();
  ASSERT_EQ(0, rm.loadSprite(corpus("good-simple.txt"), "hero"));
  Sprite* good = rm.getSprite("hero");
  EXPECT_EQ(-1, rm.loadSprite(corpus("bad-robust-short-row.txt"), "hero"));
  EXPECT_EQ(-1, rm.loadSprite(corpus("bad-simple-extra-data.txt"), "other"));
  EXPECT_EQ(1, rm.getSpriteCount());
  EXPECT_EQ(good, rm.getSprite("hero"));
  EXPECT_EQ(nullptr, rm.getSprite("other"));
}

// ---------------------------------------------------------------- good files

TEST_F(SpriteFileTest, SimpleFileGivesItsFramesSizeSlowdownAndColour) {
  for (const char* name : {"good-simple.txt", "good-simple-crlf.txt"}) {
    SCOPED_TRACE(name);
    Sprite* sprite = load(name);
    ASSERT_NE(nullptr, sprite);
    EXPECT_EQ(name, sprite->getLabel());
    EXPECT_EQ(2, sprite->getFrameCount());
    EXPECT_EQ(3, sprite->getWidth());
    EXPECT_EQ(2, sprite->getHeight());
    EXPECT_EQ(4, sprite->getSlowdown());
    EXPECT_EQ(tw::RED, sprite->getColor());
    EXPECT_EQ(0, sprite->getTransparency());
    EXPECT_EQ("abcdef", sprite->getFrame(0).getString());
    EXPECT_EQ("ghijkl", sprite->getFrame(1).getString());
  }
}

TEST_F(SpriteFileTest, RobustFileGivesItsHeaderValuesAndFrames) {
  for (const char* name : {"good-robust.txt", "good-robust-crlf.txt"}) {
    SCOPED_TRACE(name);
    Sprite* sprite = load(name);
    ASSERT_NE(nullptr, sprite);
    EXPECT_EQ(2, sprite->getFrameCount());
    EXPECT_EQ(3, sprite->getWidth());
    EXPECT_EQ(2, sprite->getHeight());
    EXPECT_EQ(3, sprite->getSlowdown());
    EXPECT_EQ(tw::GREEN, sprite->getColor());
    EXPECT_EQ('#', sprite->getTransparency());
    EXPECT_EQ("#a#bbb", sprite->getFrame(0).getString());
    EXPECT_EQ("ccc#d#", sprite->getFrame(1).getString());
  }
}

TEST_F(SpriteFileTest, QuotedBlankMakesBlanksTransparent) {
  Sprite* sprite = load("good-robust-space.txt");
  ASSERT_NE(nullptr, sprite);
  EXPECT_EQ(' ', sprite->getTransparency());
  EXPECT_EQ(tw::CYAN, sprite->getColor());
  EXPECT_EQ(" a ", sprite->getFrame(0).getString());
}

TEST_F(SpriteFileTest, RobustHeaderToleratesRepeatsOddKeywordsAndAbsentOptions) {
  // Two width lines (the later wins), "framesX1", slowdown -1 read as absent,
  // no colour (white), and unused header and footer lines.
  Sprite* sprite = load("good-robust-lenient.txt");
  ASSERT_NE(nullptr, sprite);
  EXPECT_EQ(1, sprite->getFrameCount());
  EXPECT_EQ(2, sprite->getWidth());
  EXPECT_EQ(0, sprite->getSlowdown());
  EXPECT_EQ(tw::WHITE, sprite->getColor());
  EXPECT_EQ(0, sprite->getTransparency());
  EXPECT_EQ("xy", sprite->getFrame(0).getString());
}

TEST_F(SpriteFileTest, MissingColourWarnsButDefaultDoesNot) {
  tw::LogManager::getInstance().setLogLevel(5);
  ASSERT_NE(nullptr, load("good-robust-lenient.txt"));
  EXPECT_TRUE(log.contains("RM::loadRobustSprite(): Warning! No 'color' in header."));
  EXPECT_TRUE(log.contains("RM::loadRobustSprite(): Note! No 'slowdown' in header."));
  const size_t before = log.messages().size();
  Sprite* sprite = load("good-robust-default.txt");
  ASSERT_NE(nullptr, sprite);
  EXPECT_EQ(tw::WHITE, sprite->getColor());
  const std::vector<std::string> after = log.messages();
  ASSERT_GT(after.size(), before);
  for (size_t i = before; i < after.size(); i++) {
    EXPECT_EQ(std::string::npos, after[i].find("No 'color'")) << after[i];
  }
}

}  // namespace
