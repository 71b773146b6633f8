// The project's lines held as views into one buffer: the lines of a text, lines kept from an
// earlier, longer text above the newest one's, and the search for a fixed text.
#include "envelope/project_lines.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace envelope_test {
namespace {

using envelope::ProjectLines;

std::vector<std::string> LinesOf(const ProjectLines& lines, long from, long to) {
  std::vector<std::string> out;
  for (long n = from; n <= to; ++n) out.emplace_back(lines[static_cast<size_t>(n)]);
  return out;
}

long TakeAll(ProjectLines& lines, const std::string& text) {
  bool more = true;
  const long n = lines.Take(text, 1000, more);
  EXPECT_FALSE(more);
  return n;
}

TEST(ProjectLines, LinesAboveTheNewestTextKeepWhatALongerTextHadThere) {
  ProjectLines lines;
  EXPECT_EQ(lines[1], "");  // never read
  ASSERT_EQ(TakeAll(lines, "a1\na2\na3\na4\na5\n"), 5);
  ASSERT_EQ(TakeAll(lines, "b1\r\nb2\r\n"), 2);
  EXPECT_EQ(LinesOf(lines, 1, 6), (std::vector<std::string>{"b1", "b2", "a3", "a4", "a5", ""}));
  ASSERT_EQ(TakeAll(lines, "c1\rc2\rc3\rc4"), 4);
  EXPECT_EQ(LinesOf(lines, 1, 5), (std::vector<std::string>{"c1", "c2", "c3", "c4", "a5"}));
  // A copy holds its lines while the original takes another text.
  const ProjectLines copy = lines;
  ASSERT_EQ(TakeAll(lines, "d1\nd2\nd3\nd4\nd5\nd6\n"), 6);
  EXPECT_EQ(LinesOf(lines, 1, 6), (std::vector<std::string>{"d1", "d2", "d3", "d4", "d5", "d6"}));
  EXPECT_EQ(LinesOf(copy, 1, 5), (std::vector<std::string>{"c1", "c2", "c3", "c4", "a5"}));
  ASSERT_EQ(TakeAll(lines, ""), 0);
  EXPECT_EQ(lines[6], "d6");
}

TEST(ProjectLines, TakesAtMostTheCapacityAndTellsWhetherMoreLinesFollow) {
  struct Case {
    std::string text;
    long taken;
    bool more;
  };
  for (const Case& c : {Case{"a\nb\nc", 2, true}, Case{"a\nb\n", 2, false},
                        Case{"a\nb\n\n", 2, true}, Case{"a\r\nb\r\n", 2, false},
                        Case{"a", 1, false}}) {
    ProjectLines lines;
    bool more = !c.more;
    EXPECT_EQ(lines.Take(c.text, 2, more), c.taken) << c.text;
    EXPECT_EQ(more, c.more) << c.text;
  }
}

struct FindCase {
  const char* label;
  std::string text;
  std::string search;
  long from, to;
  long line;  // 0: not found
  size_t at;
};
void PrintTo(const FindCase& c, std::ostream* os) { *os << c.label; }

class ProjectLinesFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(ProjectLinesFind, FindsTheFirstLineFromToThatContainsTheText) {
  const FindCase& c = GetParam();
  ProjectLines lines;
  TakeAll(lines, c.text);
  const ProjectLines::Found found = lines.Find(c.search, c.from, c.to);
  EXPECT_EQ(found.line, c.line);
  if (c.line > 0) {
    EXPECT_EQ(found.at, c.at);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProjectLinesFind,
    ::testing::Values(
        FindCase{"FirstOfTwo", "x\n  MARKER 1\n  MARKER 2\n", "MARKER", 1, 3, 2, 2},
        FindCase{"FromSkipsEarlierLines", "x\n  MARKER 1\n  MARKER 2\n", "MARKER", 3, 3, 3, 2},
        FindCase{"NotBeyondTo", "x\ny\n  MARKER 1\n", "MARKER", 1, 2, 0, 0},
        FindCase{"InTheLastLineWithoutEnd", "x\ny\nMARKER", "MARKER", 1, 3, 3, 0},
        FindCase{"BehindEmptyLines", "\r\n\r\n\r\n  NAME R-01\r\n", "NAME", 1, 4, 4, 2},
        FindCase{"LoneCrLines", "a\rb\r<VOLENV2\rc\r", "<VOLENV2", 1, 4, 3, 0},
        // A text never runs over a line's end, whatever the line end is.
        FindCase{"NotAcrossLf", "R-0\n1\n", "R-0\n1", 1, 2, 0, 0},
        FindCase{"NotAcrossCrLf", "R-0\r\n1\r\n", "0\r\n1", 1, 2, 0, 0},
        FindCase{"NextLineAfterARunOver", "ab\nc ab\nc\n", "b\nc", 1, 3, 0, 0},
        FindCase{"FoundAfterARunOver", "ab\nc abc\n", "abc", 1, 2, 2, 2},
        FindCase{"EmptyTextAtTheFirstLine", "a\nb\n", "", 2, 2, 2, 0},
        FindCase{"EmptyProject", "", "NAME", 1, 0, 0, 0},
        FindCase{"CaseCounts", "  name R-01\n", "NAME", 1, 1, 0, 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ProjectLines, LinesKeptFromAnEarlierTextAreSearchedToo) {
  ProjectLines lines;
  TakeAll(lines, "a\nb\n  MARKER 3\n");
  TakeAll(lines, "c\n");
  EXPECT_EQ(lines.Find("MARKER", 1, 1).line, 0);
  const ProjectLines::Found found = lines.Find("MARKER", 1, 3);
  EXPECT_EQ(found.line, 3);
  EXPECT_EQ(found.at, 2u);
}

}  // namespace
}  // namespace envelope_test
