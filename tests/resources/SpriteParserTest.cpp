#include "engine/resources/SpriteParser.h"

#include <climits>
#include <sstream>

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::SpriteParser;
using Lines = SpriteParser::Lines;

TEST(SpriteParser, GetLineStripsOneCarriageReturnAndCountsLines) {
  std::istringstream in("first\r\nsecond\r\r\nthird\n");
  SpriteParser parser(in);
  EXPECT_EQ("first", parser.getLine());
  EXPECT_EQ("second\r", parser.getLine());
  EXPECT_EQ(2, parser.getLineCount());
  EXPECT_EQ("third", parser.getLine(false));
  EXPECT_EQ(2, parser.getLineCount());
}

TEST(SpriteParser, GetLineRefusesALineWithoutLineFeed) {
  tw_test::LogCapture log;
  std::istringstream in("whole\npartial");
  SpriteParser parser(in);
  EXPECT_EQ("whole", parser.getLine());
  EXPECT_FALSE(log.contains("getLine()"));
  EXPECT_EQ("", parser.getLine());
  EXPECT_TRUE(log.contains("getLine(): Error! Unexpected end of file."));
  EXPECT_EQ("", parser.getLine());  // and at end of file
  EXPECT_EQ(3, parser.getLineCount());
}

TEST(SpriteParser, LeadingIntegerIgnoresTheRestAndSaturates) {
  EXPECT_EQ(12, SpriteParser::leadingInt("12 frames"));
  EXPECT_EQ(-4, SpriteParser::leadingInt("  -4"));
  EXPECT_EQ(0, SpriteParser::leadingInt("red"));
  EXPECT_EQ(0, SpriteParser::leadingInt(""));
  EXPECT_EQ(INT_MAX, SpriteParser::leadingInt("99999999999999999999"));
  EXPECT_EQ(INT_MIN, SpriteParser::leadingInt("-99999999999999999999"));
}

TEST(SpriteParser, MatchLineTakesTheValueAfterOneSeparatorAndRemovesTheLine) {
  Lines lines{"width 3", "framesX3", "height", "color  red", "slowdown -1"};
  EXPECT_EQ(3, SpriteParser::matchLineInt(lines, "frames"));
  EXPECT_EQ(0, SpriteParser::matchLineInt(lines, "height"));  // the empty value
  EXPECT_EQ(-1, SpriteParser::matchLineInt(lines, "slowdown"));
  EXPECT_EQ(-1, SpriteParser::matchLineInt(lines, "frames"));  // already taken
  EXPECT_EQ(" red", SpriteParser::matchLineStr(lines, "color"));
  EXPECT_EQ("", SpriteParser::matchLineStr(lines, "transparency"));
  EXPECT_EQ(Lines{"width 3"}, lines);
}

TEST(SpriteParser, MatchLineWithSeveralLinesUsesTheLastAndWarns) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(1);
  Lines lines{"width 3", "other", "width 7", "widths 9x"};
  EXPECT_EQ(9, SpriteParser::matchLineInt(lines, "width"));
  EXPECT_EQ(Lines{"other"}, lines);
  EXPECT_TRUE(log.contains("matchLineInt(): Warning! 'width 7' matches multiple lines."));
  EXPECT_TRUE(log.contains("matchLineInt(): Warning! 'widths 9x' matches multiple lines."));
  Lines text{"version", "version 2"};
  EXPECT_EQ("2", SpriteParser::matchLineStr(text, "version"));
  EXPECT_FALSE(log.contains("matchLineStr()"));  // the earlier value was empty
}

TEST(SpriteParser, ColourNamesAreWholeLowerCaseWords) {
  tw::Color color = tw::BLACK;
  EXPECT_TRUE(SpriteParser::colorFromName("magenta", false, color));
  EXPECT_EQ(tw::MAGENTA, color);
  EXPECT_FALSE(SpriteParser::colorFromName("Red", false, color));
  EXPECT_FALSE(SpriteParser::colorFromName("red ", false, color));
  EXPECT_FALSE(SpriteParser::colorFromName("default", false, color));
  EXPECT_TRUE(SpriteParser::colorFromName("default", true, color));
  EXPECT_EQ(tw::WHITE, color);
}

TEST(SpriteParser, ReadDataReportsAWrongOpeningOrAMissingClose) {
  tw_test::LogCapture log;
  std::istringstream wrong("<HEAD>\n");
  SpriteParser first(wrong);
  EXPECT_TRUE(first.readData("HEADER").empty());
  EXPECT_TRUE(log.contains("readData(): Error line 1! Expected '<HEADER>', have '<HEAD>'."));
  std::istringstream open("<BODY>\nab\n\nend\n</BODY>\n");
  SpriteParser second(open);
  EXPECT_TRUE(second.readData("BODY").empty());
  EXPECT_TRUE(log.contains("readData(): Error! Stop at line 3, never encountered '</BODY>'."));
}

TEST(SpriteParser, ReadFrameTakesRowsAndEndOffTheFront) {
  std::istringstream unused("");
  SpriteParser parser(unused);
  Lines body{"ab", "cd", "end", "ef", "gh", "end"};
  int line = 10;
  tw::Frame frame = parser.readFrame(body, 2, 2, line);
  EXPECT_EQ("abcd", frame.getString());
  EXPECT_EQ(2, frame.getWidth());
  EXPECT_EQ(2, frame.getHeight());
  EXPECT_EQ(13, line);
  EXPECT_EQ((Lines{"ef", "gh", "end"}), body);
}

TEST(SpriteParser, ReadFrameNamesTheLineOfEachProblem) {
  tw_test::LogCapture log;
  std::istringstream unused("");
  SpriteParser parser(unused);
  int line = 7;
  Lines short_row{"ab", "c", "end"};
  EXPECT_EQ("", parser.readFrame(short_row, 2, 2, line).getString());
  EXPECT_TRUE(log.contains("\tError! Line 8: Line length is 1 (frame width is 2)."));
  EXPECT_TRUE(log.contains("\tLine 8: 'c'"));
  line = 20;
  Lines no_end{"ab", "stop"};
  EXPECT_EQ("", parser.readFrame(no_end, 2, 1, line).getString());
  EXPECT_TRUE(log.contains("\tError! Line 21: Expected 'end'."));
  EXPECT_TRUE(log.contains("\tLine 21: 'stop'"));
  line = 30;
  Lines too_few{"ab"};
  EXPECT_EQ("", parser.readFrame(too_few, 2, 2, line).getString());
  EXPECT_TRUE(log.contains("\tError! Line 31: No more frame data before 'end'."));
}

}  // namespace
