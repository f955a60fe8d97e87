#include "engine/core/Utility.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/TestSupport.h"

using tw::match;

TEST(Match, FindsTheValueOfAKey) {
  EXPECT_EQ(match("a:1,b:2", "b"), "2");
  EXPECT_EQ(match("a:1,b:2", "c"), "");
  EXPECT_EQ(match("a:1,a:2", "a"), "1");  // first occurrence wins
}

TEST(Match, IgnoresWhiteSpaceEverywhere) {
  EXPECT_EQ(match(" a : 1 ,\tb :\r\n2 ", "a"), "1");
  EXPECT_EQ(match("", "b"), "2");  // the same parse is searched again
}

TEST(Match, ValueEndsAtTheNextColonAndEmptyItemsAreSkipped) {
  EXPECT_EQ(match("a:1:2", "a"), "1");
  EXPECT_EQ(match("a", "a"), "");
  EXPECT_EQ(match("a:1,,b:2", "b"), "2");
  EXPECT_EQ(match("::a:1", "a"), "1");  // leading colons are skipped
}

TEST(Match, EmptyStringSearchesThePreviousParse) {
  match("x:9", "");
  EXPECT_EQ(match("", "x"), "9");
  EXPECT_EQ(match("", "y"), "");
}

TEST(CheckStream, ReportsTheFirstFlagThatApplies) {
  tw_test::LogCapture log;
  std::stringstream good("abc");
  EXPECT_EQ(tw::checkStream("Good()", good), 0);
  std::stringstream at_end("");
  int value;
  at_end >> value;  // sets eof and fail
  EXPECT_EQ(tw::checkStream("Vector::serialize()", at_end), -1);
  std::stringstream failed("x");
  failed >> value;  // fail only
  EXPECT_EQ(tw::checkStream("Box::serialize()", failed), -1);
  std::stringstream bad;
  bad.setstate(std::ios::badbit);
  EXPECT_EQ(tw::checkStream("Path::serialize()", bad), -1);
  auto lines = log.messages();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Vector::serialize(): Error! Stream eof.");
  EXPECT_EQ(lines[1], "Box::serialize(): Error! Stream fail.");
  EXPECT_EQ(lines[2], "Path::serialize(): Error! Stream bad.");
}

TEST(NumberText, WritesLikeAStream) {
  EXPECT_EQ(tw::toString(-42), "-42");
  EXPECT_EQ(tw::toString(2.5f), "2.5");
  EXPECT_EQ(tw::toString(1.0f / 3.0f), "0.333333");
  EXPECT_EQ(tw::toString(1e7f), "1e+07");
}

TEST(BinaryText, HasThirtyTwoBitsHighestFirst) {
  EXPECT_EQ(tw::toBinaryString(5), std::string(29, '0') + "101");
  EXPECT_EQ(tw::toBinaryString(0x80000000u), "1" + std::string(31, '0'));
}

TEST(ValueInRange, IncludesBothEnds) {
  EXPECT_TRUE(tw::valueInRange(4, 0, 4));
  EXPECT_TRUE(tw::valueInRange(0, 0, 4));
  EXPECT_FALSE(tw::valueInRange(4.01f, 0, 4));
  EXPECT_FALSE(tw::valueInRange(-0.01f, 0, 4));
}
