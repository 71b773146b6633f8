// The range of point lines: the two selected points, the time selection, the whole envelope,
// and the bounds a run's range must keep.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "envelope/reaper_project.h"

namespace envelope_test {
namespace {

const char* const kTooMany =
    "Es wurden mehr als zwei Punkte markiert! Genau zwei Punkte als Anfang und Ende markieren!";
const char* const kNone =
    "Es wurde überhaupt kein Punkt markiert! Genau zwei Punkte als Anfang und Ende markieren!";
const char* const kOneOnly =
    "Es fehlt die zweite Markierung! Genau zwei Punkte als Anfang und Ende markieren!";
const char* const kSelection = "Die Auswahlklammer (Selection) ist falsch oder nicht vorhanden";

// --- ParsePointTime ---

struct PointTimeCase {
  std::string line, time;
};

class PointTimeTest : public ProjectTest, public ::testing::WithParamInterface<PointTimeCase> {};

TEST_P(PointTimeTest, TakesTheTimeFieldWithItsBlank) {
  s().ParsedPointTime = "alt";
  s().CurrentLine = GetParam().line;
  window->ParsePointTime();
  EXPECT_EQ(s().ParsedPointTime, GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PointTimeTest,
    ::testing::Values(PointTimeCase{"      PT 6.85714286 0.09772372 0", "6.85714286 "},
                      PointTimeCase{"      PT 21 0.11220185 0 0 1", "21 "},
                      PointTimeCase{"      PT 78", "78"}, PointTimeCase{"      VOLTYPE 1", ""}));

// An envelope whose point lines run from 12 to 40, the points of `selected` (line numbers)
// marked as selected in REAPER.
ReaperProject TwelveToForty(const std::set<long>& selected) {
  ReaperProject p;
  p.Head();
  p.Track("R-01");
  std::vector<std::string> points;
  for (long line = 12; line <= 40; ++line) {
    const std::string time = std::to_string(line - 12);
    points.push_back(selected.count(line) ? time + " 0.11220185 0 0 1" : time + " 0.09772372 0");
  }
  const auto env = p.VolumeEnvelope(points);
  EXPECT_EQ(env.firstPoint, 12);
  EXPECT_EQ(env.lastPoint, 40);
  p.EndTrack();
  p.Add(">");
  return p;
}

// --- TakeMarkedPointRange ---

struct MarkedCase {
  const char* label;
  std::set<long> selected;
  long start, end;  // the range, 0 and 0 on a failure
  const char* message;
};
void PrintTo(const MarkedCase& c, std::ostream* os) { *os << c.label; }

class MarkedRangeTest : public ProjectTest, public ::testing::WithParamInterface<MarkedCase> {};

TEST_P(MarkedRangeTest, RangeBetweenTheTwoSelectedPoints) {
  const MarkedCase& c = GetParam();
  Load(TwelveToForty(c.selected));
  FindEnvelope();
  s().RangeStartLine = 5;  // from an earlier run
  s().RangeEndLine = 9;
  window->Testlist.AddItem("alt");
  window->Testliste[2]->AddItem("0.5");
  window->TakeMarkedPointRange();
  EXPECT_EQ(s().RangeStartLine, c.start);
  EXPECT_EQ(s().RangeEndLine, c.end);
  const bool failed = c.message != nullptr;
  EXPECT_EQ(s().RangeError, failed);
  EXPECT_EQ(Messages(), failed ? std::vector<std::string>{c.message} : std::vector<std::string>{});
  EXPECT_EQ(window->Testlist.ListCount(), failed ? 0 : 1);
  EXPECT_EQ(window->Testliste[2]->ListCount(), failed ? 0 : 1);
  if (failed) {
    EXPECT_EQ(window->Testlist.backColour(), 0xFFFFFF);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Selections, MarkedRangeTest,
    ::testing::Values(MarkedCase{"TwoPoints", {20, 31}, 20, 31, nullptr},
                      MarkedCase{"FirstAndLastButOne", {13, 40}, 13, 40, nullptr},
                      // The envelope's first point line is never examined.
                      MarkedCase{"FirstPointAndOneOther", {12, 25}, 0, 0, kOneOnly},
                      MarkedCase{"ThreePoints", {15, 20, 25}, 0, 0, kTooMany},
                      MarkedCase{"NoPoint", {}, 0, 0, kNone},
                      MarkedCase{"OnlyTheFirstPoint", {12}, 0, 0, kNone}),
    [](const auto& info) { return std::string(info.param.label); });

// --- TakeSelectionRange ---

struct SelectionCase {
  const char* label;
  std::string selectionLine;  // empty: the project has none
  int start, end;             // indices of the points at 3.5, 7, 11, 14 s; -1: the message
};
void PrintTo(const SelectionCase& c, std::ostream* os) { *os << c.label; }

class SelectionRangeTest : public ProjectTest,
                           public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectionRangeTest, RangeOfThePointsInsideTheSelection) {
  const SelectionCase& c = GetParam();
  ReaperProject p;
  p.Head();
  if (!c.selectionLine.empty()) {
    p.Add(c.selectionLine);
    p.Add("  SELECTION2 0 100");  // REAPER's second selection line does not count
  }
  p.Track("R-01");
  const auto env = p.VolumeEnvelope({"3.5 0.5 0", "7 0.6 0 0 1", "11 0.7 0", "14 0.8 0"});
  p.EndTrack();
  p.Add(">");
  Load(p);
  FindEnvelope();
  s().RangeStartLine = 5;  // an earlier run's range is not used
  s().RangeEndLine = 9;
  window->Testlist.AddItem("bleibt");
  window->Testliste[4]->AddItem("440");
  window->TakeSelectionRange();
  if (c.start >= 0) {
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(s().RangeError);
    EXPECT_EQ(s().RangeStartLine, env.firstPoint + c.start);
    EXPECT_EQ(s().RangeEndLine, env.firstPoint + c.end);
    EXPECT_EQ(window->Testliste[4]->ListCount(), 1);
  } else {
    EXPECT_EQ(Messages(), std::vector<std::string>{kSelection});
    EXPECT_TRUE(s().RangeError);
    EXPECT_EQ(s().RangeStartLine, 1);
    EXPECT_EQ(s().RangeEndLine, 2);
    EXPECT_EQ(window->Testliste[4]->ListCount(), 0);
  }
  EXPECT_EQ(window->Testlist.ListCount(), 1);  // Testlist keeps its contents in every case
}

INSTANTIATE_TEST_SUITE_P(
    Selections, SelectionRangeTest,
    ::testing::Values(SelectionCase{"FiveToTwelve", "  SELECTION 5 12", 1, 2},
                      SelectionCase{"Reversed", "  SELECTION 12 5", 1, 2},
                      SelectionCase{"ReversedWithManyDecimals",
                                    "  SELECTION 12.00000000000000 5.00000000000000", 1, 2},
                      SelectionCase{"StartAtAPointIncludesIt", "  SELECTION 7 12", 1, 2},
                      SelectionCase{"EndAtAPointExcludesIt", "  SELECTION 3.5 11", 0, 1},
                      SelectionCase{"EndBehindTheLastPoint", "  SELECTION 6 20", 1, 3},
                      SelectionCase{"OnePointOnly", "  SELECTION 6 8", -1, -1},
                      SelectionCase{"Empty", "  SELECTION 0 0", -1, -1},
                      SelectionCase{"BehindTheLastPoint", "  SELECTION 15 20", -1, -1},
                      SelectionCase{"LacksTheEnd", "  SELECTION 5", -1, -1},
                      SelectionCase{"NoSelectionLine", "", -1, -1}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProjectTest, SelectionOfAProjectWithMoreThan32767Lines) {
  ReaperProject p;
  p.Head();
  p.Selection("100 103");
  for (int i = 0; i < 40000; ++i) p.Add("      E 0 3c 40 00");
  p.Track("R-01");
  const auto env = p.VolumeEnvelope(EvenPoints(6, 100));
  p.EndTrack();
  p.Add(">");
  Load(p);
  FindEnvelope();
  ASSERT_GT(env.firstPoint, 40000);
  window->TakeSelectionRange();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(s().RangeStartLine, env.firstPoint);
  EXPECT_EQ(s().RangeEndLine, env.firstPoint + 2);  // the points at 100, 101, 102 s
}

// --- TakeWholeEnvelopeRange ---

TEST_F(ProjectTest, WholeEnvelopeIsEveryPointButTheFirstAndIsStored) {
  for (bool autoPoints : {true, false}) {
    Load(TwelveToForty({20, 31}));
    FindEnvelope();
    s().AutoPoints = autoPoints;
    s().RangeError = true;
    window->StartStoppLos.SetBackColour(0xDFDFDF);
    window->TakeWholeEnvelopeRange();
    EXPECT_EQ(s().RangeStartLine, 13);
    EXPECT_EQ(s().RangeEndLine, 40);
    EXPECT_FALSE(s().RangeError);
    EXPECT_EQ(s().StoredStartLine.AsNumber(), 13);
    EXPECT_EQ(s().StoredStopLine.AsNumber(), 40);
    EXPECT_EQ(ReadArbeit("Tesu2.ini"), " 13 \r\n 40 \r\n");
    EXPECT_EQ(window->StartStoppLos.backColour(), autoPoints ? 0xB3B3FF : 0xDFDFDF);
  }
  EXPECT_TRUE(Messages().empty());
}

// --- CheckRangeBounds ---

struct BoundsCase {
  long start, end;
  bool tooLarge;
};

class RangeBoundsTest : public ProjectTest, public ::testing::WithParamInterface<BoundsCase> {};

TEST_P(RangeBoundsTest, AtMost2730PointsUpToLine10000) {
  const BoundsCase& c = GetParam();
  s().RangeStartLine = c.start;
  s().RangeEndLine = c.end;
  window->Testliste[1]->AddItem("1.5");
  window->CheckRangeBounds();
  EXPECT_EQ(s().RangeTooLarge, c.tooLarge);
  if (c.tooLarge) {
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "Der Bereich ist zu groß: höchstens 2730 Punkte bis Zeile 10000 der "
                              "Reaperdatei (Bereich: Zeilen " +
                              std::to_string(c.start) + " bis " + std::to_string(c.end) + ")"});
  } else {
    EXPECT_TRUE(Messages().empty());
  }
  EXPECT_EQ(window->Testliste[1]->ListCount(), c.tooLarge ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Ranges, RangeBoundsTest,
                         ::testing::Values(BoundsCase{13, 40, false},
                                           BoundsCase{9000, 10000, false},
                                           BoundsCase{9000, 10001, true},
                                           BoundsCase{100, 2829, false},  // 2730 points
                                           BoundsCase{100, 2830, true},   // 2731 points
                                           BoundsCase{11000, 11500, true}));

}  // namespace
}  // namespace envelope_test
