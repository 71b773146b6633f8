#include "common/printed_line.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace common {
namespace {

TEST(NumberItem, BlankBeforeANonNegativeNumberAndOneAfter) {
  EXPECT_EQ(NumberItem("5"), " 5 ");
  EXPECT_EQ(NumberItem("0"), " 0 ");
  EXPECT_EQ(NumberItem("0.5"), " 0.5 ");
  EXPECT_EQ(NumberItem("-2"), "-2 ");
  EXPECT_EQ(NumberItem("-0.07"), "-0.07 ");
}

struct LineCase {
  const char* name;
  std::function<void(PrintedLine&)> build;
  const char* expected;
};

class PrintedLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(PrintedLineTest, BuildsTheLine) {
  PrintedLine line;
  GetParam().build(line);
  EXPECT_EQ(line.str(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintedLineTest,
    testing::Values(
        LineCase{"TextUnchanged", [](PrintedLine& l) { l.Text("i1 ").Text(" 0 "); }, "i1  0 "},
        LineCase{"Integers", [](PrintedLine& l) { l.Integer(5).Integer(-2).Integer(0); },
                 " 5 -2  0 "},
        LineCase{"Single", [](PrintedLine& l) { l.Text("t").Single(165.212f).Single(-0.5f); },
                 "t 165.212 -0.5 "},
        LineCase{"Double", [](PrintedLine& l) { l.Double(0.1 + 0.2).Double(-2.0 / 3); },
                 " 0.3 -0.666666666666667 "},
        // "ab" stands in columns 1-2, so two blanks bring the next character to column 5
        LineCase{"TabFills", [](PrintedLine& l) { l.Text("ab").Tab(5).Text("x"); }, "ab  x"},
        LineCase{"TabFromEmptyLine", [](PrintedLine& l) { l.Tab(4).Text("x"); }, "   x"},
        LineCase{"TabExactlyAtColumnAddsNothing",
                 [](PrintedLine& l) { l.Text("abcd").Tab(5).Text("x"); }, "abcdx"},
        LineCase{"TabOneAtLineStartAddsNothing", [](PrintedLine& l) { l.Tab(1).Text("x"); },
                 "x"},
        LineCase{"TabPassedBreaksTheLine",
                 [](PrintedLine& l) { l.Text("abcdef").Tab(3).Text("x"); }, "abcdef\r\n  x"},
        LineCase{"TabOnePassedBreaksWithoutFill",
                 [](PrintedLine& l) { l.Text("a").Tab(1).Text("x"); }, "a\r\nx"},
        LineCase{"TabsCountFromTheBrokenLine",
                 [](PrintedLine& l) { l.Text("abcdef").Tab(3).Text("x").Tab(6).Text("y"); },
                 "abcdef\r\n  x  y"},
        LineCase{"TwoBreaks",
                 [](PrintedLine& l) { l.Text("abcd").Tab(2).Text("xyz").Tab(3).Text("q"); },
                 "abcd\r\n xyz\r\n  q"},
        LineCase{"TabAfterNumber", [](PrintedLine& l) { l.Integer(5).Tab(6).Text("|"); },
                 " 5   |"},
        // "äöü" is three characters (six bytes): the column counts characters
        LineCase{"TabCountsCharactersNotBytes",
                 [](PrintedLine& l) { l.Text("\xC3\xA4\xC3\xB6\xC3\xBC").Tab(6).Text("x"); },
                 "\xC3\xA4\xC3\xB6\xC3\xBC  x"},
        LineCase{"TabExactAfterUmlauts",
                 [](PrintedLine& l) { l.Text("\xC3\xA4\xC3\xB6").Tab(3).Text("x"); },
                 "\xC3\xA4\xC3\xB6x"},
        LineCase{"EuroIsOneCharacter",
                 [](PrintedLine& l) { l.Text("\xE2\x82\xAC").Tab(3).Text("x"); },
                 "\xE2\x82\xAC x"},
        // Each tab item counts the characters of every item before it on the line, umlauts
        // as one, also behind a break.
        LineCase{"TabsAfterUmlautsInSeveralItems",
                 [](PrintedLine& l) {
                   l.Text("\xC3\xA4").Tab(3).Text("\xC3\xB6\xC3\xBC").Tab(6);
                   l.Text("\xE2\x82\xAC").Tab(2).Text("\xC3\xA4").Tab(4).Text("x");
                 },
                 "\xC3\xA4 \xC3\xB6\xC3\xBC \xE2\x82\xAC\r\n \xC3\xA4 x"}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace common
