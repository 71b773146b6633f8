// The reference tables: the 34 lines as fixed text, their three blocks at their columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/codec.h"
#include "csound/fixed_texts.h"
#include "writer_fixture.h"

namespace csound_test {
namespace {

// The line's text from character column `column` (counted from 1) on.
std::string FromColumn(const std::string& line, size_t column) {
  size_t i = 0;
  for (size_t chars = 1; chars < column && i < line.size(); ++chars) {
    ++i;
    while (i < line.size() && (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) ++i;
  }
  return line.substr(i);
}

TEST(ReferenceTable, TheLinesAsGoldenText) {
  std::string text;
  for (const std::string& line : csound::ReferenceTableLines()) text += line + "\n";
  ExpectGolden("reference_table.txt", text);
}

TEST(ReferenceTable, BlocksStandAtTheirColumns) {
  const std::vector<std::string> lines = csound::ReferenceTableLines();
  ASSERT_EQ(lines.size(), 34u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[33], "");
  struct Case {
    int line;
    size_t column;
    const char* begins;
  };
  const Case cases[] = {
      {2, 6, "Lautstärketabelle"}, {2, 41, "Frqenzen aufwärts:"}, {2, 78, "Halbton:"},
      {3, 41, "----------------------"}, {4, 6, "----------------------"},
      {5, 7, "Midi  Csound"},      {7, 14, "10.00 "},            {8, 15, "7.49 "},
      {14, 15, "1.33 "},           {16, 6, "127     1.00"},      {21, 7, "97     0.32"},
      {33, 8, "7     0.010"},      {19, 41, "Frqenzen abwärts:"}, {23, 41, "b   0.892"},
      {25, 41, "as  0.795"},       {5, 41, "cis 1.059"},          {9, 78, "2^(1/24)=1.029"},
      {15, 78, "1/1.015=0.985"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(FromColumn(lines[c.line - 1], c.column).rfind(c.begins, 0), 0u)
        << lines[c.line - 1];
    EXPECT_EQ(FromColumn(lines[c.line - 1], c.column - 1).rfind(" ", 0), 0u) << "not at its column";
  }
  // Blanks carry lines 6 and 11 to column 77 and lines 17 and 18 to column 40; the others end
  // with their last visible character.
  for (int n = 1; n <= 34; ++n) {
    const std::string& line = lines[n - 1];
    const size_t width = n == 6 || n == 11 ? 77 : n == 17 || n == 18 ? 40 : 0;
    if (width) {
      EXPECT_EQ(common::CharCount(line), width) << n;
    } else if (!line.empty()) {
      EXPECT_NE(line.back(), ' ') << n;
    }
  }
}

}  // namespace
}  // namespace csound_test
