// The eight listings of the reader's arrays, after a run on the example project: their texts and
// blank lines against a golden file, and what they leave as they were.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "example_project.h"

namespace envelope_test {
namespace {

namespace fs = std::filesystem;

class DiagnosticListsTest : public ExampleProjectTest {
 protected:
  void SetUp() override {
    window->Command3.Click();
    ASSERT_TRUE(s().RangeConverted);
  }
  // Testlist's lines, each ended by LF.
  std::string Listed() const {
    std::string text;
    for (const std::string& line : window->Testlist.items()) text += line + "\n";
    return text;
  }
};

TEST_F(DiagnosticListsTest, TheEightListingsShowTheArraysAsRead) {
  window->Testlist.SetBackColour(0xB3B3FF);
  const std::vector<std::vector<double>> arrays = {s().ZP, s().LT, s().HT, s().KL};
  window->ShowLineArray();  // clears the list first
  EXPECT_EQ(window->Testlist.backColour(), 0xFFFFFF);
  window->ShowRelevantTimes();
  window->ShowMarkerLines();
  window->ShowMarkerTimesArray();
  window->ShowMarkerFrequencies();
  window->ShowPitchArray();
  window->ListTimeArray();
  window->ListLoudnessArray();

  ExpectGoldenBytes("diagnostic_lists.txt", Listed());
  EXPECT_EQ(arrays, (std::vector<std::vector<double>>{s().ZP, s().LT, s().HT, s().KL}));
}

// Each adds below what the list holds; only ShowLineArray clears it. The lines a listing adds:
// its heading lines, one empty line, one line per entry, eight empty lines (ShowRelevantTimes:
// heading, entries, two empty lines, heading, entries).
TEST_F(DiagnosticListsTest, EachListingAddsItsLinesBelowTheOldOnes) {
  using W = envelope::ConverterWindow;
  struct Case {
    void (W::*listing)();
    int lines;
  };
  const int points = 6, markers = 4;  // lines 139 to 144; four marker lines
  const Case cases[] = {
      {&W::ShowRelevantTimes, 1 + points + 2 + 1 + markers},
      {&W::ShowMarkerLines, 1 + 1 + markers + 8},
      {&W::ShowMarkerTimesArray, 1 + 1 + markers + 8},
      {&W::ShowMarkerFrequencies, 1 + 1 + markers + 8},
      {&W::ShowPitchArray, 1 + 1 + points + 8},
      {&W::ListTimeArray, 2 + 1 + points + 8},
      {&W::ListLoudnessArray, 2 + 1 + points + 8},
  };
  for (const Case& c : cases) {
    window->Testlist.Clear();
    window->Testlist.AddItem("davor");
    (window.get()->*c.listing)();
    EXPECT_EQ(window->Testlist.ListCount(), 1 + c.lines);
    EXPECT_EQ(window->Testlist.items().front(), "davor");
  }
  window->ShowLineArray();
  EXPECT_EQ(window->Testlist.ListCount(), 4 + 1 + points + 8);
  EXPECT_EQ(window->Testlist.items()[5], "139      PT 1 0.25118864 0 0 1");
}

}  // namespace
}  // namespace envelope_test
