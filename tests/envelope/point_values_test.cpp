// Point values and marker frequencies: time and level of each point of the range, the marker
// lines' times and names, and the pitch and timbre each point gets from its marker.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "corpus.h"
#include "envelope/reaper_project.h"

namespace envelope_test {
namespace {

const char* const kLetters = "Frequenzmarker enthält Buchstaben oder sonstige Zeichen außer Zahlen";
const char* const kFirstPoint =
    "Beim ersten Kurvenwert steht kein Frequenzmarker oder die Frequenzangabe ist ungültig!";

// --- The point line's time and level ---

struct PointLineCase {
  const char* label;
  std::string line;
  double time, level;
  bool notPointLine;
};
void PrintTo(const PointLineCase& c, std::ostream* os) { *os << c.label; }

class PointLineTest : public ProjectTest, public ::testing::WithParamInterface<PointLineCase> {};

TEST_P(PointLineTest, TimeAndLevelFields) {
  const PointLineCase& c = GetParam();
  const long line = 17;
  s().LT[line] = -1;  // an older value: stays when the level is not read
  s().ZP[line] = -1;
  ReaperProject p;
  for (long n = 1; n < line; ++n) p.Add("      VIS 1 1 1");
  p.Add(c.line);
  Load(p);
  s().RangeStartLine = s().RangeEndLine = line;
  window->ReadPointValues();
  EXPECT_EQ(s().NotPointLine, c.notPointLine);
  EXPECT_DOUBLE_EQ(s().ZP[line], c.time);
  EXPECT_DOUBLE_EQ(s().LT[line], c.level);
  EXPECT_DOUBLE_EQ(s().ZPRead[line], c.time);
  EXPECT_DOUBLE_EQ(s().LTRead[line], c.notPointLine ? 0 : c.level);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PointLineTest,
    ::testing::Values(
        PointLineCase{"ThreeFields", "      PT 2.5 0.75 0", 2.5, 0.75, false},
        PointLineCase{"Reaper", "      PT 6.85714286 0.09772372 0", 6.85714286, 0.09772372, false},
        PointLineCase{"Selected", "      PT 21 0.11220185 0 0 1", 21, 0.11220185, false},
        PointLineCase{"Bezier", "      PT 313.98496241 1 5 1 1 0 0.716", 313.98496241, 1, false},
        PointLineCase{"NegativeTime", "      PT -0.0005 1 0", -0.0005, 1, false},
        // Without a field behind the level its last character is not read.
        PointLineCase{"NoShapeField", "      PT 4 0.75", 4, 0.7, false},
        PointLineCase{"NotAPointLine", "      VOLTYPE 1", 0, -1, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProjectTest, PointValuesOfTheRangeOnly) {
  ReaperProject p;
  p.Head();
  p.Track("R-01");
  const auto env = p.VolumeEnvelope({"0 1 0", "1.5 0.14791084 0", "2 0.2 0", "4.5 0.3 0 0 1"});
  p.EndTrack();
  p.Add(">");
  Load(p);
  s().ZP[static_cast<size_t>(env.firstPoint)] = 99;  // outside the range: stays
  s().RangeStartLine = env.firstPoint + 1;
  s().RangeEndLine = env.lastPoint;
  window->ReadPointValues();
  EXPECT_FALSE(s().NotPointLine);
  const std::vector<double> times{99, 1.5, 2, 4.5}, levels{0, 0.14791084, 0.2, 0.3};
  for (size_t k = 1; k < times.size(); ++k) {
    const size_t line = static_cast<size_t>(env.firstPoint) + k;
    EXPECT_DOUBLE_EQ(s().ZP[line], times[k]) << line;
    EXPECT_DOUBLE_EQ(s().LT[line], levels[k]) << line;
  }
  EXPECT_DOUBLE_EQ(s().ZP[static_cast<size_t>(env.firstPoint)], times[0]);
}

// --- Marker lines ---

struct MarkerLineCase {
  const char* label;
  std::string line;
  std::string time, name;
  bool noMarkerFound;
};
void PrintTo(const MarkerLineCase& c, std::ostream* os) { *os << c.label; }

class MarkerLineTest : public ProjectTest, public ::testing::WithParamInterface<MarkerLineCase> {};

TEST_P(MarkerLineTest, TimeWithItsBlankAndName) {
  const MarkerLineCase& c = GetParam();
  s().Markerzeiten[3] = "9.9 ";  // from an earlier project
  s().Markerfreq[3] = "880";
  s().CurrentLine = c.line;
  window->ParseMarkerTime(3);
  window->ParseMarkerName(3);
  EXPECT_EQ(s().Markerzeiten[3], c.time);
  EXPECT_EQ(s().Markerfreq[3], c.name);
  EXPECT_EQ(s().NoMarkerFound, c.noMarkerFound);
}

const std::string kGuid = " {5E1B7A9C-3D0F-4C2A-9B61-0A7E2F4D8C13}";

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MarkerLineTest,
    ::testing::Values(
        MarkerLineCase{"QuotedTwoNumbers", "  MARKER 1 2.5 \"440 880\" 0 0 1 B" + kGuid, "2.5 ",
                       "440 880", false},
        MarkerLineCase{"QuotedTwoBlanks", "  MARKER 1 2.5 \"440  880\" 0 0 1 B" + kGuid, "2.5 ",
                       "440  880", false},
        // Today's REAPER writes a single word without quotes.
        MarkerLineCase{"Unquoted", "  MARKER 2 7.25 440 0 0 1 B" + kGuid, "7.25 ", "440", false},
        MarkerLineCase{"UnquotedWord", "  MARKER 2 0 Pickup 1 0 1 R" + kGuid, "0 ", "Pickup",
                       false},
        MarkerLineCase{"UnquotedAtLineEnd", "  MARKER 2 7.25 440", "7.25 ", "440", false},
        MarkerLineCase{"EmptyQuoted", "  MARKER 1 119.3584749142009 \"\" 1 0 1 B",
                       "119.3584749142009 ", "", false},
        MarkerLineCase{"LaterQuoteReplaces", "  MARKER 1 2 \"440\" \"660\" 0", "2 ", "660", false},
        MarkerLineCase{"UnclosedQuote", "  MARKER 1 2 \"440 880", "2 ", "440 880", false},
        // "MARKER" without its blank: no time, no flag.
        MarkerLineCase{"NoMarkerWord", "      NAME \"MARKERS 880\"", "", "MARKERS 880", false},
        // A line longer than 100 characters without "MARKER " in its first 100.
        MarkerLineCase{"LongLineWithoutMarker", std::string(101, 'x') + " MARKER 1 2 440", "", "",
                       true},
        // The time's blank stands beyond the 100th character.
        MarkerLineCase{"TimeBeyond100", "  MARKER 1 " + std::string(95, '1') + " 440",
                       std::string(95, '1') + " ", "440", true},
        // Counted in characters: 45 umlauts are 90 bytes, and the name's quote stands beyond
        // byte 100 but within the first 100 characters.
        MarkerLineCase{"CharactersNotBytes", Repeat("ä", 45) + " MARKER 1 2.5 \"440\" 0 0 1 B",
                       "2.5 ", "440", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProjectTest, ReadMarkersStopsAtAMarkerLineWithoutTime) {
  s().Markerfeld[1] = "  MARKER 1 1 440 0 0 1 B" + kGuid;
  s().Markerfeld[2] = std::string(120, ' ') + "MARKER 2 2 550";
  s().Markerfeld[3] = "  MARKER 3 3 660 0 0 1 B" + kGuid;
  s().Markerzeiten[3] = "";
  s().MarkerCount = 3;
  window->ReadMarkers();
  EXPECT_TRUE(s().NoMarkerFound);
  EXPECT_EQ(s().Markerzeiten[1], "1 ");
  EXPECT_EQ(s().Markerfreq[1], "440");
  EXPECT_EQ(s().Markerzeiten[3], "");  // not read
}

// --- AssignMarkerFrequencies ---

struct Marker {
  std::string time, nameField;  // the name field as written: 440 or "440 880"
};

struct FrequencyCase {
  const char* label;
  std::vector<std::string> pointTimes;
  std::vector<Marker> markers;
  std::vector<double> pitch, timbre;  // per point
  std::vector<std::string> messages;
};
void PrintTo(const FrequencyCase& c, std::ostream* os) { *os << c.label; }

class FrequencyTest : public ProjectTest, public ::testing::WithParamInterface<FrequencyCase> {
 protected:
  // The whole chain of a run behind the range: all points of the envelope are the range.
  std::vector<size_t> Run(const FrequencyCase& c) {
    ReaperProject p;
    p.Head();
    for (size_t m = 0; m < c.markers.size(); ++m)
      p.QuotedMarker(static_cast<int>(m) + 1, c.markers[m].time, c.markers[m].nameField);
    p.Track("R-01");
    std::vector<std::string> points;
    for (const std::string& t : c.pointTimes) points.push_back(t + " 0.5 0");
    const auto env = p.VolumeEnvelope(points);
    p.EndTrack();
    p.Add(">");
    Load(p);
    FindEnvelope();
    s().RangeStartLine = env.firstPoint;
    s().RangeEndLine = env.lastPoint;
    // The line before the range holds older values, which the first point never takes.
    s().HT[static_cast<size_t>(env.firstPoint - 1)] = 123;
    s().KL[static_cast<size_t>(env.firstPoint - 1)] = 456;
    window->CollectMarkers();
    window->ReadPointValues();
    window->ReadMarkers();
    EXPECT_FALSE(s().NotPointLine);
    EXPECT_FALSE(s().NoMarkerFound);
    window->AssignMarkerFrequencies();
    std::vector<size_t> lines;
    for (long n = env.firstPoint; n <= env.lastPoint; ++n) lines.push_back(static_cast<size_t>(n));
    return lines;
  }
};

TEST_P(FrequencyTest, PitchAndTimbreFromTheMarkerAtThePointsTime) {
  const FrequencyCase& c = GetParam();
  const std::vector<size_t> lines = Run(c);
  ASSERT_EQ(lines.size(), c.pitch.size());
  for (size_t k = 0; k < lines.size(); ++k) {
    if (c.pitch[k] < 0) continue;  // first point without a value: not looked at
    EXPECT_DOUBLE_EQ(s().HT[lines[k]], c.pitch[k]) << "point " << k;
    EXPECT_DOUBLE_EQ(s().KL[lines[k]], c.timbre[k]) << "point " << k;
    EXPECT_DOUBLE_EQ(s().HTRead[lines[k]], c.pitch[k]) << "point " << k;
    EXPECT_DOUBLE_EQ(s().KLRead[lines[k]], c.timbre[k]) << "point " << k;
  }
  EXPECT_EQ(Messages(), c.messages);
  bool firstPointMessage = false;
  for (const std::string& m : c.messages) firstPointMessage |= m == kFirstPoint;
  EXPECT_EQ(s().FrequencyError, firstPointMessage);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, FrequencyTest,
    ::testing::Values(
        FrequencyCase{
            "OneNumberIsPitchAndTimbre", {"1", "2"}, {{"1", "440"}}, {440, 440}, {440, 440}, {}},
        FrequencyCase{"QuotedOneNumber", {"1"}, {{"1", "\"440\""}}, {440}, {440}, {}},
        FrequencyCase{"TwoNumbersTwoBlanks", {"1"}, {{"1", "\"440  880\""}}, {440}, {880}, {}},
        FrequencyCase{"HzSuffix", {"1"}, {{"1", "440Hz"}}, {440}, {440}, {}},
        FrequencyCase{"RoundedTimeMatches",
                      {"2.5", "3"},
                      {{"2.50004", "440"}, {"3", "550"}},
                      {440, 550},
                      {440, 550},
                      {}},
        FrequencyCase{"RoundedTimeDiffers",
                      {"2.5", "3"},
                      {{"2.50006", "440"}, {"3", "550"}},
                      {-1, 550},
                      {-1, 550},
                      {kFirstPoint}},
        FrequencyCase{"LettersOnALaterPoint",
                      {"1", "2"},
                      {{"1", "440"}, {"2", "A4"}},
                      {440, 0},
                      {440, 0},
                      {kLetters}},
        FrequencyCase{"LettersOnTheFirstPoint",
                      {"1", "2"},
                      {{"1", "A4"}, {"2", "550"}},
                      {0, 550},
                      {0, 550},
                      {kLetters, kFirstPoint}},
        FrequencyCase{"LettersWithTimbre",
                      {"1", "2"},
                      {{"1", "440"}, {"2", "\"A4 880\""}},
                      {440, 0},
                      {440, 880},
                      {kLetters}},
        FrequencyCase{"PointWithoutMarkerTakesThePrevious",
                      {"1", "2", "3"},
                      {{"1", "\"440 880\""}, {"3", "660"}},
                      {440, 440, 660},
                      {880, 880, 660},
                      {}},
        FrequencyCase{"TwoMarkersAtOneTimeTheLaterDecides",
                      {"1"},
                      {{"1", "440"}, {"1", "\"550 1100\""}},
                      {550},
                      {1100},
                      {}},
        FrequencyCase{"FirstPointWithoutMarker",
                      {"1", "2"},
                      {{"2", "440"}},
                      {123, 440},
                      {456, 440},
                      {kFirstPoint}},
        FrequencyCase{"NoMarkerAtAll", {"1", "2"}, {}, {-1, -1}, {-1, -1}, {kFirstPoint}},
        // An empty name (REAPER's region ends) gives no frequencies.
        FrequencyCase{"EmptyNameKeepsThePrevious",
                      {"1", "2"},
                      {{"1", "440"}, {"2", "\"\""}},
                      {440, 440},
                      {440, 440},
                      {}},
        FrequencyCase{"EmptyNameOnTheFirstPoint",
                      {"1", "2"},
                      {{"1", "\"\""}, {"2", "550"}},
                      {-1, 550},
                      {-1, 550},
                      {kFirstPoint}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProjectTest, MarkerLineWithoutTimeMatchesNoPointAtZero) {
  ReaperProject p;
  p.Head();
  p.Add("      NAME \"MARKERS 880\"");  // holds "MARKER" but no time
  p.Track("R-01");
  const auto env = p.VolumeEnvelope({"0 1 0", "1 0.5 0"});
  p.EndTrack();
  p.Add(">");
  Load(p);
  FindEnvelope();
  s().RangeStartLine = env.firstPoint;
  s().RangeEndLine = env.lastPoint;
  window->CollectMarkers();
  window->ReadPointValues();
  window->ReadMarkers();
  ASSERT_EQ(s().MarkerCount, 1);
  EXPECT_FALSE(s().NoMarkerFound);
  window->AssignMarkerFrequencies();
  EXPECT_EQ(Messages(), std::vector<std::string>{kFirstPoint});
  EXPECT_NE(s().HT[static_cast<size_t>(env.firstPoint)], 880);
}

TEST_F(ProjectTest, MarkersOfAnEarlierProjectAreGone) {
  for (bool withMarker : {true, false}) {
    ReaperProject p;
    p.Head();
    if (withMarker) p.Marker(1, "0", "440");
    p.Track("R-01");
    const auto env = p.VolumeEnvelope({"0 1 0", "1 0.5 0"});
    p.EndTrack();
    p.Add(">");
    dialogs.messages.clear();
    s().FrequencyError = false;
    Load(p);
    FindEnvelope();
    s().RangeStartLine = env.firstPoint;
    s().RangeEndLine = env.lastPoint;
    window->CollectMarkers();
    window->ReadPointValues();
    window->ReadMarkers();
    window->AssignMarkerFrequencies();
    EXPECT_EQ(s().FrequencyError, !withMarker);
  }
  EXPECT_EQ(s().MarkerCount, 0);
  EXPECT_TRUE(s().FrequencyError);
  EXPECT_EQ(Messages(), std::vector<std::string>{kFirstPoint});
}

// --- The keep rule ---

struct KeepCase {
  int infoPage;
  bool variationActive;
  bool keeps;
};

class KeepRuleTest : public ProjectTest, public ::testing::WithParamInterface<KeepCase> {};

TEST_P(KeepRuleTest, VariedValuesStayOnlyOnAnInfoPageWithVariations) {
  const KeepCase& c = GetParam();
  ReaperProject p;
  p.Head();
  p.Marker(1, "1", "440 880");
  p.Track("R-01");
  const auto env = p.VolumeEnvelope({"1 0.5 0", "2 0.25 0"});
  p.EndTrack();
  p.Add(">");
  Load(p);
  FindEnvelope();
  const size_t a = static_cast<size_t>(env.firstPoint), b = a + 1;
  s().RangeStartLine = env.firstPoint;
  s().RangeEndLine = env.lastPoint;
  // Values as the variation editor left them.
  s().ZP[a] = 1.00004;  // rounds to the marker's 1 s
  s().LT[a] = 0.51;
  s().HT[a] = 441;
  s().KL[a] = 881;
  s().ZP[b] = 2.01;
  s().LT[b] = 0.26;
  s().HT[b] = 500;
  s().KL[b] = 900;
  s().InfoPage = c.infoPage;
  s().VariationActive = c.variationActive;
  window->CollectMarkers();
  window->ReadPointValues();
  window->ReadMarkers();
  window->AssignMarkerFrequencies();
  // The second point has no marker: it takes the first point's pitch and timbre either way.
  const std::vector<double> zp =
      c.keeps ? std::vector<double>{1.00004, 2.01} : std::vector<double>{1, 2};
  const std::vector<double> lt =
      c.keeps ? std::vector<double>{0.51, 0.26} : std::vector<double>{0.5, 0.25};
  const double ht = c.keeps ? 441 : 440, kl = c.keeps ? 881 : 880;
  for (size_t k = 0; k < 2; ++k) {
    const size_t line = a + k;
    EXPECT_DOUBLE_EQ(s().ZP[line], zp[k]);
    EXPECT_DOUBLE_EQ(s().LT[line], lt[k]);
    EXPECT_DOUBLE_EQ(s().HT[line], ht);
    EXPECT_DOUBLE_EQ(s().KL[line], kl);
    // The read copies always take the working values.
    EXPECT_DOUBLE_EQ(s().ZPRead[line], zp[k]);
    EXPECT_DOUBLE_EQ(s().LTRead[line], lt[k]);
    EXPECT_DOUBLE_EQ(s().HTRead[line], ht);
    EXPECT_DOUBLE_EQ(s().KLRead[line], kl);
  }
  EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Flags, KeepRuleTest,
                         ::testing::Values(KeepCase{1, true, true}, KeepCase{-1, true, true},
                                           KeepCase{0, true, false}, KeepCase{1, false, false},
                                           KeepCase{0, false, false}));

// --- A real project of the corpus through the readers ---

using CorpusPointsTest = ProjectTest;

TEST_F(CorpusPointsTest, BikeTourSelectionPointsAndMarkers) {
  ORMILA_REQUIRE_CORPUS();
  s().ProjectName = "intro";
  s().ProjectPath =
      testing_support::CorpusFolder() + "/rpp/petebachant_2021-bike-tour__intro_4bb18db.rpp";
  window->LoadProjectLines();
  ASSERT_FALSE(s().ProjectMissing);
  s().TrackName = "Bike";
  FindEnvelope();
  EXPECT_EQ(s().TrackLine, 312);
  EXPECT_EQ(s().FirstPointLine, 342);
  EXPECT_EQ(s().LastPointLine, 351);
  // "SELECTION 0 119.3584749142009" holds every point.
  window->TakeSelectionRange();
  EXPECT_EQ(s().RangeStartLine, 342);
  EXPECT_EQ(s().RangeEndLine, 351);
  window->CollectMarkers();
  window->ReadPointValues();
  EXPECT_DOUBLE_EQ(s().ZP[343], 6.85714286);
  EXPECT_DOUBLE_EQ(s().LT[343], 0.09772372);
  EXPECT_DOUBLE_EQ(s().ZP[345], 21);  // the selected point "PT 21 0.11220185 0 0 1"
  EXPECT_DOUBLE_EQ(s().LT[345], 0.11220185);
  window->ReadMarkers();
  ASSERT_EQ(s().MarkerCount, 2);  // one region: "MARKER 1 0 Main ..." and its end
  EXPECT_EQ(s().Markerzeiten[1], "0 ");
  EXPECT_EQ(s().Markerfreq[1], "Main");
  EXPECT_EQ(s().Markerzeiten[2], "119.3584749142009 ");
  EXPECT_EQ(s().Markerfreq[2], "");
  // The region's name at 0 s is no frequency.
  window->AssignMarkerFrequencies();
  EXPECT_EQ(Messages(), (std::vector<std::string>{kLetters, kFirstPoint}));
  EXPECT_TRUE(s().FrequencyError);
}

}  // namespace
}  // namespace envelope_test
