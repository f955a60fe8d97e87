// The "key:value," matcher, stream checks and the number helpers.
#include "engine/core/Utility.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/TestSupport.h"

TEST(Utility, MatchFindsTheFirstValueOfAKeyIgnoringWhiteSpace) {
  const struct {
    const char* text;  // "" searches the previous parse again
    const char* key;
    const char* value;
  } cases[] = {{"a:1,b:2", "b", "2"},  {"a:1,b:2", "c", ""},      {"a:1,a:2", "a", "1"},
               {" a : 1 ,\tb :\r\n2 ", "a", "1"}, {"", "b", "2"}, {"a:1:2", "a", "1"},
               {"a", "a", ""},         {"a:1,,b:2", "b", "2"},    {"::a:1", "a", "1"},
               {"x:9", "", ""},        {"", "x", "9"},            {"", "y", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(tw::match(c.text, c.key), c.value) << '"' << c.text << "\" " << c.key;
  }
}

TEST(Utility, CheckStreamReportsTheFirstFlagThatApplies) {
  tw_test::LogCapture log;
  std::stringstream good("abc"), at_end(""), failed("x"), bad;
  int value;
  at_end >> value;  // eof and fail
  failed >> value;  // fail only
  bad.setstate(std::ios::badbit);
  EXPECT_EQ(tw::checkStream("Good()", good), 0);
  EXPECT_EQ(tw::checkStream("Vector::serialize()", at_end), -1);
  EXPECT_EQ(tw::checkStream("Box::serialize()", failed), -1);
  EXPECT_EQ(tw::checkStream("Path::serialize()", bad), -1);
  const std::vector<std::string> expected = {"Vector::serialize(): Error! Stream eof.",
                                             "Box::serialize(): Error! Stream fail.",
                                             "Path::serialize(): Error! Stream bad."};
  EXPECT_EQ(log.messages(), expected);
}

TEST(Utility, NumberTextBitsAndRanges) {
  EXPECT_EQ(tw::toString(-42), "-42");
  EXPECT_EQ(tw::toString(1.0f / 3.0f), "0.333333");
  EXPECT_EQ(tw::toString(1e7f), "1e+07");
  EXPECT_EQ(tw::toBinaryString(5), std::string(29, '0') + "101");
  EXPECT_EQ(tw::toBinaryString(0x80000000u), "1" + std::string(31, '0'));
  EXPECT_TRUE(tw::valueInRange(4, 0, 4));
  EXPECT_TRUE(tw::valueInRange(0, 0, 4));
  EXPECT_FALSE(tw::valueInRange(4.01f, 0, 4));
  EXPECT_FALSE(tw::valueInRange(-0.01f, 0, 4));
}
