// The random-composition generator: its draws, the listing and the file "Zufall.rsz", which the
// tone-list parser reads back to the drawn points; the edge cases and the mended faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/codec.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "platform/file_table.h"
#include "random_fixture.h"
#include "tonelist/tone_list.h"
#include "tonelist/tone_list_support.h"

namespace compiler_test {
namespace {

using compiler::RandomComposition;

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "the file must end with CR LF";
  return lines;
}

std::string Golden(const std::string& name) {
  std::ifstream in(std::string(ORMILA_TEST_DATA "/golden/compiler/") + name, std::ios::binary);
  EXPECT_TRUE(in) << "golden file missing: " << name;
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The note of a frequency (60 = the middle c).
double NoteOf(double hz) { return 12 * std::log2(hz / compiler::kMidiNoteZeroHz); }

class RandomGeneratorTest : public RandomWindowTest {
 protected:
  const RandomComposition& Draw() {
    window->Zufallsliste_Click();
    return window->composition;
  }
  std::string ListFile() { return common::Utf8OrCp1252ToUtf8(root.Read("c/Arbeit/Zufall.rsz")); }
  std::vector<std::string> FileLines() { return SplitCrLf(ListFile()); }

  // Zufall.rsz read and parsed as a compiler build of that capacity reads it.
  struct Parsed {
    tonelist::ToneListState list;
    int error = 0;
  };
  Parsed ParseBack(int capacity) {
    Parsed p{tonelist::ToneListState(capacity)};
    platform::FileTable files;
    try {
      files.OpenInput(tonelist::kToneListFile, "C:\\Arbeit\\Zufall.rsz");
      tonelist::ReadToneListLines(p.list, files);
      tonelist::ParseToneList(p.list);
    } catch (const common::RuntimeError& e) {
      p.error = e.number();
    }
    return p;
  }
  // The parsed values equal the drawn ones, point for point.
  void ExpectParsesBackToTheDrawnPoints(int capacity) {
    const RandomComposition& c = window->composition;
    const Parsed p = ParseBack(capacity);
    ASSERT_EQ(p.error, 0);
    ASSERT_EQ(p.list.PointCount, c.n);
    const bool fof = window->state.FormantRepeat > 0;
    EXPECT_EQ(p.list.FofMode, fof);
    for (int i = 1; i <= c.n; ++i) {
      const auto k = static_cast<size_t>(i);
      ASSERT_EQ(p.list.TimePoints[k], static_cast<float>(c.T[k])) << i;
      ASSERT_EQ(p.list.Loudnesses[k].AsNumber(), c.L[k]) << i;
      ASSERT_EQ(p.list.Pitches[k].AsNumber(), c.P[k]) << i;
      if (fof) ASSERT_EQ(p.list.FormantFreqs[k].AsNumber(), c.K[k]) << i;
      else ASSERT_TRUE(p.list.FormantFreqs[k].IsUnset()) << i;
    }
  }
};

// ---- The two random procedures ----------------------------------------------------------------

TEST_F(RandomGeneratorTest, ZufzahlAndZufzahl2ReseedAndDrawOnceEach) {
  struct Case {
    double min, max, quanti, r, real, whole;
  };
  const Case cases[] = {
      {0, 10, 3, 0, 0, 0},
      {0, 10, 3, 0.5, 5.5, 5},
      {0, 10, 3, 0.99999999, 11, 10},  // x below 11 rounds to max + 1
      {48, 83, 4, 0.123456789, 52.4444, 52},
      {0, 49771, 0, 0.5, 24886, 24886},
      {60, 59, 4, 0.7, 60, 60},  // max below min: the one value min
      {-2, 2, 1, 0.26, -0.7, -1},
  };
  for (const Case& c : cases) {
    random.Script({c.r, c.r});
    EXPECT_DOUBLE_EQ(window->Zufzahl2(c.min, c.max, c.quanti), c.real) << c.min << " " << c.r;
    EXPECT_DOUBLE_EQ(window->Zufzahl(c.min, c.max), c.whole) << c.min << " " << c.r;
  }
  EXPECT_EQ(random.reseeds, 2 * static_cast<long>(std::size(cases)));
  EXPECT_EQ(random.draws, random.reseeds);
}

// ---- A scripted run, whole -----------------------------------------------------------------

// Two seconds, gaps 0.5 to 1 s on a quarter-second step; every draw scripted.
TEST_F(RandomGeneratorTest, ScriptedRunWritesTheListAndTheListingAsTheGoldenFiles) {
  Type({"2", "0.5", "1", "0.25", "0", "50000", "60", "72", "127", "2", "2", "20", "40", "127",
        "1", "1", "3", "0", "0", "0", "55.5", "0"});
  random.Script({0.1, 0.8 / 3, 2.9 / 3, 1.6 / 3, 2.1 / 3,  // times: 0.3 no, 0.8, 2.9 no, 1.6, 2.1
                 0.5, 0.5, 0.75, 0.5,                       // loudness
                 0.5, 0.25,                                 // pitches 66 and 63, two points each
                 0.1, 0.3, 0.75, 0.95});                    // formants
  window->Testliste.AddItem("vorher");
  const size_t before = window->Testliste.items().size();
  const RandomComposition& c = Draw();

  EXPECT_EQ(c.n, 4);
  EXPECT_EQ(random.draws, 15);
  EXPECT_EQ(random.reseeds, 15);
  EXPECT_EQ(root.Read("c/Arbeit/Zufall.rsz"), Golden("zufall-scripted.rsz"));
  std::string listing;
  for (const std::string& line : ListFrom(before)) listing += line + "\n";
  EXPECT_EQ(listing, Golden("zufall-scripted-listing.txt"));
  EXPECT_EQ(window->Testliste.items()[before - 1], "vorher");  // appended, not cleared
  EXPECT_EQ(window->frmDatei.defaultButton(), &window->Zufallsliste);
  ExpectParsesBackToTheDrawnPoints(10000);
}

// ---- Properties over many seeds -----------------------------------------------------------

struct Settings {
  const char* name;
  std::vector<const char*> rows;           // the 22 input texts
  std::vector<std::string> settingsLines;  // the FOF settings lines of the file
};

const Settings kSettings[] = {
    {"Defaults",
     {"10", "0.05", "0.2", "0.0001", "0", "50000", "48", "84", "127", "2", "4", "20", "40", "127",
      "2", "0", "0", "0", "0", "0", "0", "0"},
     {}},
    {"FofNarrowIntervals",
     {"6", "0.01", "0.1", "0.005", "1000", "30000", "40", "90", "3", "1", "3", "30", "60", "2",
      "4", "2", "2", "3", "0.01", "1", "50", "0"},
     {"FUA  2 ", "FUB  3 ", "DEL  0.01 ", "ENTE  1 ", "FOM  50 "}},
    {"CoarseStepWideRange",
     {"30", "0.3", "0.9", "0.1", "0", "60000", "30", "100", "12", "0.5", "1", "50", "80", "5",
      "8", "1", "0", "0", "0", "0", "0", "7"},
     {"FRV  7 "}},
};

struct PropertyCase {
  const Settings* settings;
  unsigned seed;
  friend void PrintTo(const PropertyCase& c, std::ostream* os) {
    *os << c.settings->name << " seed " << c.seed;
  }
};

class RandomProperties : public RandomGeneratorTest,
                         public ::testing::WithParamInterface<PropertyCase> {};

TEST_P(RandomProperties, HoldForTheDrawTheListingAndTheFile) {
  Type(GetParam().settings->rows);
  random.Seed(GetParam().seed);
  const RandomComposition& c = Draw();
  const compiler::CompilerState& s = window->state;
  const double step = 1 / s.TimeQuantSteps;
  const int n = c.n;
  const auto at = [](int i) { return static_cast<size_t>(i); };
  ASSERT_GE(n, 2);
  EXPECT_EQ(random.draws, random.reseeds);

  // Times: from 0, rising strictly on multiples of the step, gaps within the bounds (give or take
  // half a step), ending in the last whole second of the total duration.
  EXPECT_EQ(c.T[1], 0);
  for (int i = 2; i <= n; ++i) {
    ASSERT_GT(c.T[at(i)], c.T[at(i - 1)]) << i;
    const double steps = c.T[at(i)] / step;
    ASSERT_NEAR(steps, std::round(steps), 1e-6) << i;
    for (double gap : {c.G[at(i)], c.T[at(i)] - c.T[at(i - 1)]}) {
      ASSERT_GE(gap, s.MinGap - step / 2 - 1e-9) << i;
      ASSERT_LE(gap, s.MaxGap + step / 2 + 1e-9) << i;
    }
  }
  EXPECT_EQ(std::floor(c.T[at(n)]), std::floor(s.TotalDuration));
  EXPECT_FALSE(c.endedAtLimit);

  // Loudness: whole, 0 at both ends, within the bounds up to one step of the cube-root scale.
  const auto slack = [](double x) { return 3 * std::pow(x, 2.0 / 3) / 1351 + 1; };
  EXPECT_EQ(c.L[1], 0);
  EXPECT_EQ(c.L[at(n)], 0);
  for (int i = 2; i < n; ++i) {
    ASSERT_EQ(c.L[at(i)], std::floor(c.L[at(i)]));
    ASSERT_GE(c.L[at(i)], s.MinLoudness - slack(s.MinLoudness)) << i;
    ASSERT_LE(c.L[at(i)], s.MaxLoudness + slack(s.MaxLoudness)) << i;
  }

  // Pitches and formants: constant over each repeat block, on the quantisation's grid, within
  // the note range, and moving by at most the largest interval (measured on whole notes, so a
  // semitone more, plus the quantisation) from block to block.
  struct Notes {
    const std::vector<double>& values;
    double repeat, quant, lowest, highest, maxInterval;
  };
  const Notes pitches{c.P, s.PitchRepeat, s.PitchQuant, s.LowestNote, s.HighestNote,
                      s.MaxInterval};
  const Notes formants{c.K, s.FormantRepeat, s.FormantQuant, s.LowestFormant, s.HighestFormant,
                       s.MaxFormantInterval};
  for (const Notes& notes : {pitches, formants}) {
    if (notes.repeat == 0) {
      for (int i = 1; i <= n; ++i) ASSERT_EQ(notes.values[at(i)], 0) << i;
      continue;
    }
    const int repeat = static_cast<int>(std::nearbyint(notes.repeat));
    const double perSemitone = notes.quant / 2;
    const double tolerance = 1 / (2 * perSemitone) + 0.03;
    for (int i = 1; i <= n; ++i) {
      const double v = notes.values[at(i)];
      const int blockStart = (i - 1) / repeat * repeat + 1;
      ASSERT_EQ(v, notes.values[at(blockStart)]) << i;
      ASSERT_EQ(v, std::round(v * 10) / 10) << i;
      const double note = NoteOf(v);
      ASSERT_NEAR(note * perSemitone, std::round(note * perSemitone), 0.03 * perSemitone) << i;
      ASSERT_GE(note, notes.lowest - tolerance) << i;
      ASSERT_LE(note, notes.highest + tolerance) << i;
      if (blockStart == i && i > 1) {
        ASSERT_LE(std::fabs(note - NoteOf(notes.values[at(i - 1)])),
                  notes.maxInterval + 1 + 2 * tolerance)
            << i;
      }
    }
  }

  // The file: two comment lines, an empty one, four rows of 9 n + 4 characters with their
  // keywords, then the FOF settings when formants are drawn.
  const std::vector<std::string> lines = FileLines();
  ASSERT_GE(lines.size(), 10u);
  const bool fof = s.FormantRepeat >= 1;
  const char* keywords[] = {"ZP  ", "LT  ", "HT  ", fof ? "KL  " : "--  "};
  for (size_t r = 0; r < 4; ++r) {
    EXPECT_EQ(lines[3 + r].size(), 9u * static_cast<size_t>(n) + 4) << r;
    EXPECT_EQ(lines[3 + r].substr(0, 4), keywords[r]);
  }
  EXPECT_EQ(lines[1], window->frmDatei.caption());
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 8, lines.end() - 2),
            GetParam().settings->settingsLines);
  EXPECT_EQ(lines.back(), "");
  ExpectParsesBackToTheDrawnPoints(window->state.Build.PointCapacity);
}

std::vector<PropertyCase> PropertyCases() {
  std::vector<PropertyCase> cases;
  for (const Settings& settings : kSettings)
    for (unsigned seed = 1; seed <= 20; ++seed) cases.push_back({&settings, seed});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomProperties, ::testing::ValuesIn(PropertyCases()),
                         [](const auto& info) {
                           return std::string(info.param.settings->name) + "_" +
                                  std::to_string(info.param.seed);
                         });

// With the start values: the pitch can change only at points 1, 5, 9, ...; sine tones only.
TEST_F(RandomGeneratorTest, StartValuesGiveSineTonesInBlocksOfFour) {
  random.Seed(99);
  const RandomComposition& c = Draw();
  ASSERT_GE(c.n, 50);
  EXPECT_GE(c.T[static_cast<size_t>(c.n)], 10);
  EXPECT_LT(c.T[static_cast<size_t>(c.n)], 11);
  int changes = 0;
  for (int i = 2; i <= c.n; ++i)
    if (c.P[static_cast<size_t>(i)] != c.P[static_cast<size_t>(i - 1)]) {
      EXPECT_EQ((i - 1) % 4, 0) << i;
      ++changes;
    }
  EXPECT_GT(changes, 0);
  const std::vector<std::string> lines = FileLines();
  EXPECT_EQ(lines[6].substr(0, 5), "--   ");
  EXPECT_EQ(lines[6].find_first_not_of(" 0", 4), std::string::npos) << "formants other than 0";
  EXPECT_EQ(lines.size(), 10u) << "no FUA to FRV lines";
}

// ---- Edge cases -----------------------------------------------------------------------------

TEST_F(RandomGeneratorTest, ATotalBelowOneSecondGivesOnePointAtZero) {
  Type({"0.5"});
  random.Seed(1);
  const RandomComposition& c = Draw();
  EXPECT_EQ(c.n, 1);
  EXPECT_EQ(c.L[1], 0);
  EXPECT_EQ(FileLines()[3], "ZP   0       ");
  ExpectParsesBackToTheDrawnPoints(10000);
}

TEST_F(RandomGeneratorTest, EqualLowestAndHighestNoteGiveThatNoteEverywhere) {
  Type({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "60", "60"});
  random.Seed(2);
  const RandomComposition& c = Draw();
  for (int i = 1; i <= c.n; ++i) EXPECT_EQ(c.P[static_cast<size_t>(i)], 261.6) << i;
}

TEST_F(RandomGeneratorTest, NeighbourNotesGiveOnlyThoseTwoWholeNotes) {
  Type({"20", nullptr, nullptr, nullptr, nullptr, nullptr, "60", "61", nullptr, nullptr, "1"});
  random.Seed(3);
  const RandomComposition& c = Draw();
  int low = 0, high = 0;
  for (int i = 1; i <= c.n; ++i) {
    const double p = c.P[static_cast<size_t>(i)];
    ASSERT_TRUE(p == 261.6 || p == 277.2) << p;
    (p == 261.6 ? low : high)++;
  }
  EXPECT_GT(low, 0);
  EXPECT_GT(high, 0);
}

TEST_F(RandomGeneratorTest, LoudnessFromZeroToZeroIsZeroEverywhere) {
  Type({nullptr, nullptr, nullptr, nullptr, "0", "0"});
  random.Seed(4);
  const RandomComposition& c = Draw();
  for (int i = 1; i <= c.n; ++i) EXPECT_EQ(c.L[static_cast<size_t>(i)], 0) << i;
}

TEST_F(RandomGeneratorTest, FormantRepeatTwoWithFuaThreeWritesTheFuaLineOnly) {
  Type({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr, nullptr, nullptr, "2", "3"});
  random.Seed(5);
  const RandomComposition& c = Draw();
  for (int i = 1; i <= c.n; ++i) {
    EXPECT_GT(c.K[static_cast<size_t>(i)], 0) << i;
    if (i % 2 == 0) {
      EXPECT_EQ(c.K[static_cast<size_t>(i)], c.K[static_cast<size_t>(i - 1)]) << i;
    }
  }
  const std::vector<std::string> lines = FileLines();
  EXPECT_EQ(lines[6].substr(0, 4), "KL  ");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 7, lines.end()),
            (std::vector<std::string>{"", "FUA  3 ", "", ""}));
  const Parsed p = ParseBack(10000);
  // the line's last blank belongs to its last word
  EXPECT_EQ(p.list.ListFua, tonelist::ToneValue::Text("3 "));
  EXPECT_TRUE(p.list.FofMode);
}

// A time of more than seven characters would end the row's line at the next tab, and the parser
// would take the rest of the row for a comment: the draw ends before it, and the listing says so.
TEST_F(RandomGeneratorTest, TheDrawEndsBeforeATimeWiderThanItsColumn) {
  Type({"210", "10", "110", "0.0003"});
  // 10.5 and 99.9 fit; 110.201 rounds to the step as 110.2011 (8 characters)
  random.Script({10.5 / 211, 99.9 / 211, 110.201 / 211, 0.5});
  const RandomComposition& c = Draw();
  ASSERT_EQ(c.n, 3);
  EXPECT_DOUBLE_EQ(c.T[3], 99.9);
  EXPECT_EQ(common::DoubleText(c.tooWideTime), "110.2011");
  const std::vector<std::string> lines = FileLines();
  EXPECT_EQ(lines[3], "ZP   0        10.5     99.9    ");
  EXPECT_EQ(lines[4].substr(0, 4), "LT  ");
  const Parsed p = ParseBack(10000);
  ASSERT_EQ(p.error, 0);
  EXPECT_EQ(p.list.PointCount, 3);
  const std::vector<std::string>& listing = window->Testliste.items();
  EXPECT_NE(std::find(listing.begin(), listing.end(),
                      "Die Zufallsliste endet nach 3 Zeitpunkten: der nächste Zeitpunkt 110.2011 "
                      "passt nicht in seine Spalte der Tonverlaufsliste."),
            listing.end());
}

// A loudness, pitch or formant frequency of more than seven characters would break its row the
// same way, and the parser would read other values behind it: the list ends before the first
// point holding one, silent at its new end, and the listing names the value.
TEST_F(RandomGeneratorTest, TheListEndsBeforeAValueWiderThanItsColumn) {
  const struct {
    const char* name;
    std::vector<const char*> rows;
    const char* value;  // as the listing names it
    std::vector<double> RandomComposition::*values;
  } cases[] = {
      // 2e7: eight digits
      {"loudness", {nullptr, nullptr, nullptr, nullptr, "2e7", "3e7"}, "die Lautstärke ",
       &RandomComposition::L},
      // notes 150 to 170: 47,000 to 150,000 Hz, the highest with eight characters
      {"pitch",
       {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "150", "170", nullptr, nullptr, "1"},
       "die Tonhöhe ", &RandomComposition::P},
      {"formant",
       {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
        nullptr, "150", "170", nullptr, nullptr, "1"},
       "die Formantfrequenz ", &RandomComposition::K},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    Start(compiler::BuildSettings::TalvikTe());
    Type(k.rows);
    random.Seed(24);
    const size_t before = window->Testliste.items().size();
    const RandomComposition& c = Draw();
    const int n = c.n;
    const auto at = [](int i) { return static_cast<size_t>(i); };
    ASSERT_GE(n, 1);
    const std::string wide = common::DoubleText((c.*k.values)[at(n + 1)]);
    EXPECT_GT(wide.size(), 7u);
    for (int i = 1; i <= n; ++i) {
      for (const std::vector<double>* values : {&c.T, &c.L, &c.P, &c.K})
        ASSERT_LE(common::DoubleText((*values)[at(i)]).size(), 7u) << i;
    }
    EXPECT_EQ(c.L[1], 0);
    EXPECT_EQ(c.L[at(n)], 0);
    const std::vector<std::string> listing = ListFrom(before);
    EXPECT_EQ(listing.at(1), std::to_string(n) + " Breakpoints hat der Computer berechnet:");
    EXPECT_EQ(listing.at(2), "Die Zufallsliste endet nach " + std::to_string(n) +
                                 " Zeitpunkten: " + k.value + wide +
                                 " des nächsten Zeitpunkts passt nicht in ihre Spalte der "
                                 "Tonverlaufsliste.");
    const std::vector<std::string> lines = FileLines();
    for (size_t r = 3; r < 7; ++r) EXPECT_EQ(lines[r].size(), 9u * static_cast<size_t>(n) + 4);
    ExpectParsesBackToTheDrawnPoints(10000);
  }
}

// The validation of the list's own panel step: the largest gap is tested against the smallest
// as it stood before, so typed boxes can leave it below the smallest for this draw.
TEST_F(RandomGeneratorTest, TheDrawValidatesThePanelInItsOrder) {
  window->Command11_Click();
  Type({nullptr, "0.5", "0.2", "1"});
  random.Seed(6);
  const RandomComposition& c = Draw();
  EXPECT_DOUBLE_EQ(window->state.MaxGap, 0.2);
  EXPECT_DOUBLE_EQ(window->state.MinGap, 0.5);
  EXPECT_DOUBLE_EQ(window->state.TimeQuantSteps, 2);  // the step is tested against the new gap
  // no gap can lie between 0.5 and 0.2: the time draw ends at once (mended: it used to spin
  // through all of its tries)
  EXPECT_EQ(c.n, 1);
  EXPECT_LT(random.draws, compiler::kTimeTries);
  EXPECT_EQ(Row(3).text(), "0.2");
}

// ---- Mended faults --------------------------------------------------------------------------

// A time step that rounds a point past the last whole second leaves no candidate that could pass:
// the draw ends at once, with the points the ten million tries would have kept.
TEST_F(RandomGeneratorTest, ATimeWindowWithoutCandidatesEndsTheDrawAtOnce) {
  Type({"10.2", "1", "1.5", "0.5"});
  std::vector<double> script;
  for (double t : {1.0, 2.5, 4.0, 5.5, 7.0, 8.5, 9.5, 10.9}) script.push_back(t / 11.2);
  random.Script(script);
  const RandomComposition& c = Draw();
  ASSERT_EQ(c.n, 9);
  EXPECT_EQ(c.T[9], 11);  // 10.9 on the half-second step
  // 8 time candidates, 9 loudness values, 3 pitches (repeat 4) and the formant draw's 50,000
  // tries (formant repeat 0): nothing more
  EXPECT_EQ(random.draws, 8 + 9 + 3 + compiler::kFormantTries);
}

TEST_F(RandomGeneratorTest, AQuantisationOfZeroTakesTheNoteAsDrawn) {
  Type({"0.5", nullptr, nullptr, nullptr, nullptr, nullptr, "48", "84", nullptr, "0", nullptr,
        nullptr, nullptr, nullptr, "0", "1"});
  random.Script({0.5, 0.5, 0.25});  // loudness; pitch 48 + 36 x 0.5 = 66; formant 20 + 20 / 4
  const RandomComposition& c = Draw();
  ASSERT_EQ(c.n, 1);
  // unquantised: 66 and 25 as drawn; a quantisation of 0 used to divide by zero
  EXPECT_DOUBLE_EQ(c.P[1], 370);
  EXPECT_DOUBLE_EQ(c.K[1], 34.6);
  random.Script({0.5, 0.5, 0.2501});  // 25.002 as drawn: 34.652 Hz, no step would give 34.7
  Draw();
  EXPECT_DOUBLE_EQ(window->composition.K[1], 34.7);
}

TEST_F(RandomGeneratorTest, FractionalRepeatCountsAreRoundedToWholePoints) {
  struct Case {
    const char* pitchRepeat;
    const char* formantRepeat;
    int pitchBlock, formantBlock;
  };
  for (const Case& k : {Case{"1.5", "0.5", 2, 1}, Case{"2.5", "2.5", 2, 2},
                        Case{"3.4", "1.2", 3, 1}}) {
    Type({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
          nullptr, k.pitchRepeat, nullptr, nullptr, nullptr, nullptr, k.formantRepeat});
    random.Seed(8);
    const RandomComposition& c = Draw();
    for (int i = 1; i <= c.n; ++i) {
      const auto at = static_cast<size_t>(i);
      ASSERT_GT(c.P[at], 0) << k.pitchRepeat << " point " << i;  // no point left without pitch
      ASSERT_GT(c.K[at], 0) << k.formantRepeat << " point " << i;
      if ((i - 1) % k.pitchBlock != 0) {
        ASSERT_EQ(c.P[at], c.P[at - 1]) << i;
      }
      if ((i - 1) % k.formantBlock != 0) {
        ASSERT_EQ(c.K[at], c.K[at - 1]) << i;
      }
    }
    // The blocks are not longer either: some value changes at a block start that a block of
    // twice the length would pass over.
    auto changesInside = [&](const std::vector<double>& values, int block) {
      for (int i = 2; i <= c.n; ++i)
        if ((i - 1) % (2 * block) == block && values[static_cast<size_t>(i)] !=
                                                  values[static_cast<size_t>(i - 1)])
          return true;
      return false;
    };
    EXPECT_TRUE(changesInside(c.P, k.pitchBlock)) << k.pitchRepeat;
    EXPECT_TRUE(changesInside(c.K, k.formantBlock)) << k.formantRepeat;
    EXPECT_EQ(FileLines()[6].substr(0, 4), "KL  ") << k.formantRepeat;
    ExpectParsesBackToTheDrawnPoints(10000);
  }
}

// The draw stops where the compiling build takes no more points, and says so.
TEST_F(RandomGeneratorTest, TheDrawStopsAtTheBuildsPointCapacity) {
  Start(compiler::BuildSettings::TalvikTe2());
  Type({"200"});
  random.Seed(9);
  const RandomComposition& c = Draw();
  EXPECT_EQ(c.n, 1000);
  EXPECT_TRUE(c.endedAtLimit);
  EXPECT_LT(c.T[1000], 200);
  const auto& items = window->Testliste.items();
  EXPECT_NE(std::find(items.begin(), items.end(),
                      "Die Zufallsliste endet nach 1000 Zeitpunkten: mehr kann TalvikTe2 nicht "
                      "umwandeln."),
            items.end());
  ExpectParsesBackToTheDrawnPoints(1000);
}

// The most points a random list gets: the build's point capacity, and in TalvikTe rows of
// 9 n + 4 characters (plus room for a wide last value) below the parser's 32,767.
TEST(RandomPointLimit, IsTheCapacityOrTheRowLength) {
  EXPECT_EQ(compiler::RandomPointLimit(compiler::BuildSettings::TalvikTe()), 3637);
  for (const compiler::BuildSettings* build :
       {&compiler::BuildSettings::TalvikTe2(), &compiler::BuildSettings::TalvikTe3(),
        &compiler::BuildSettings::TalvikTe4()})
    EXPECT_EQ(compiler::RandomPointLimit(*build), 1000) << build->Name;
}

// In TalvikTe the rows stay below the parser's line length.
TEST_F(RandomGeneratorTest, RowsStayBelowTheParsersLineLength) {
  Type({"1000"});
  std::vector<double> script;
  for (int k = 1; k <= 5000; ++k) script.push_back(0.1 * k / 1001);  // every candidate fits
  random.Script(script);
  const RandomComposition& c = Draw();
  EXPECT_EQ(c.n, compiler::RandomPointLimit(compiler::BuildSettings::TalvikTe()));
  EXPECT_GT(c.n, 3000);
  EXPECT_TRUE(c.endedAtLimit);
  for (const std::string& line : FileLines()) EXPECT_LT(line.size(), 32767u);
  ExpectParsesBackToTheDrawnPoints(10000);
}

TEST_F(RandomGeneratorTest, AListThatCannotBeWrittenStillDrawsAndLists) {
  std::filesystem::create_directories(root / "c/Arbeit/Zufall.rsz");  // in the way
  random.Seed(10);
  const size_t before = window->Testliste.items().size();
  const RandomComposition& c = Draw();
  EXPECT_GT(c.n, 1);
  EXPECT_EQ(ListFrom(before).at(1), std::to_string(c.n) + " Breakpoints hat der Computer berechnet:");
  EXPECT_TRUE(std::filesystem::is_directory(root / "c/Arbeit/Zufall.rsz"));
  EXPECT_FALSE(window->files.IsOpen(7));
}

// A negative loudness bound has no cube root: that step is skipped and the bound stays 0.
TEST_F(RandomGeneratorTest, ANegativeLoudnessBoundCountsAsZero) {
  Type({nullptr, nullptr, nullptr, nullptr, "-1000", "1000"});
  random.Seed(12);
  const RandomComposition& c = Draw();
  int quiet = 0;
  for (int i = 1; i <= c.n; ++i) {
    const double l = c.L[static_cast<size_t>(i)];
    ASSERT_GE(l, 0);
    ASSERT_LE(l, 1003);
    if (l < 100) ++quiet;
  }
  EXPECT_GT(quiet, 2) << "values below the cube root of 100 come from the lower bound 0";
}

// ---- Garbage panels -------------------------------------------------------------------------

// A text for an input box: a number near the row's usual size, or (hostile) a number of any
// size from below the smallest double to beyond the largest, or a text that is no usable number.
std::string GarbageText(std::mt19937_64& g, int row, bool hostile) {
  static const char* const kHostile[] = {
      "1e999",  "-1e999", "1e308",    "-1e308",  "1.797e308", "1.7976931348623157e308",
      "9e307",  "1e-310", "-1e-310",  "4.9e-324", "1e-308",   "250",
      "-250",   "1e7",    "12345678", "100.1234", "0",        "-0",
      "",       "x",      "3x",       ".",        "0,5",      "\t5",
      "1e",     "-5",     "0.0000001", "999999.95", "[440*2]", "1e400x"};
  static const double kUsual[] = {10, 0.05, 0.2, 0.0001, 100, 50000, 48, 84, 12, 2, 4,
                                  20, 40, 12, 2, 2, 1, 2, 0.01, 1, 50, 1};
  const auto uniform = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(g);
  };
  char text[64];
  if (!hostile) {
    const double value = kUsual[row - 1] * std::pow(10.0, uniform(-0.5, 0.5));
    // a time step of one digit keeps the times short enough for their column
    const int digits = row == 4 ? 1 : static_cast<int>(uniform(1, 6));
    std::snprintf(text, sizeof text, "%.*g", digits, value);
  } else if (uniform(0, 1) < 0.5) {
    return kHostile[std::uniform_int_distribution<size_t>(0, std::size(kHostile) - 1)(g)];
  } else {
    const double value = (uniform(0, 1) < 0.2 ? -1 : 1) * uniform(1, 10) *
                         std::pow(10.0, std::floor(uniform(-330, 330)));
    std::snprintf(text, sizeof text, "%.*g", static_cast<int>(uniform(1, 17)), value);
  }
  return text;
}

// The points a draw's listing shows: per point its time, loudness, pitch and formant texts.
struct ListedPoint {
  std::string time, loudness, pitch, formant;
};
std::vector<ListedPoint> ListedPoints(const std::vector<std::string>& listing) {
  const std::string counted = " Breakpoints hat der Computer berechnet:";
  auto it = std::find_if(listing.begin(), listing.end(), [&](const std::string& line) {
    return line.size() > counted.size() &&
           line.compare(line.size() - counted.size(), counted.size(), counted) == 0;
  });
  EXPECT_NE(it, listing.end());
  if (it == listing.end()) return {};
  const int n = std::stoi(*it);
  while (it != listing.end() && *it != "") ++it;  // the notes of a list that ends early
  std::vector<ListedPoint> points;
  const auto after = [](const std::string& line, const std::string& label) {
    EXPECT_EQ(line.substr(0, label.size()), label);
    return line.substr(std::min(label.size(), line.size()));
  };
  for (int i = 1; i <= n; ++i) {
    const auto at = it + 1 + 7 * (i - 1);
    if (listing.end() - at < 7) {
      ADD_FAILURE() << "the listing ends inside point " << i;
      break;
    }
    EXPECT_EQ(at[0], "     " + std::to_string(i));
    points.push_back({after(at[1], "     Zeitpunkt:         "),
                      after(at[3], "     Gesamt-Lautstärke: "),
                      after(at[4], "     Gesamt-Tonhöhe:    "),
                      after(at[5], "     Formantfrequenz: ")});
  }
  return points;
}

// A row's value as the parser stored it is the listing's text: a word as typed (a blank that
// ends its line belongs to it), or the integer 0 from the word 0.
void ExpectListed(const tonelist::ToneValue& parsed, const std::string& listed, int i) {
  if (listed == "0") {
    EXPECT_EQ(parsed, tonelist::ToneValue::Integer(0)) << "point " << i;
    return;
  }
  ASSERT_TRUE(parsed.IsText()) << "point " << i << ": " << listed;
  std::string word = parsed.text();
  if (!word.empty() && word.back() == ' ') word.pop_back();
  EXPECT_EQ(word, listed) << "point " << i;
}

// Whatever the 22 boxes hold: the draw raises no runtime error, and Zufall.rsz reads back to
// exactly the points the listing shows, with the sound settings the panel holds.
TEST_F(RandomGeneratorTest, GarbagePanelsDrawListsThatReadBackAsListed) {
  int withPoints = 0, refused = 0, ended = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 g(seed);
    // up to a third of the boxes hostile
    const double hostility = std::uniform_real_distribution<double>(0, 0.33)(g);
    std::vector<std::string> texts;
    for (int row = 1; row <= 22; ++row)
      texts.push_back(GarbageText(g, row, std::bernoulli_distribution(hostility)(g)));
    for (int row = 1; row <= 22; ++row) Row(row).SetText(texts[static_cast<size_t>(row - 1)]);
    std::filesystem::remove(root / "c/Arbeit/Zufall.rsz");
    dialogs.messages.clear();
    random.Seed(seed);
    const size_t before = window->Testliste.items().size();
    try {
      window->Zufallsliste_Click();
    } catch (const common::RuntimeError& e) {
      ADD_FAILURE() << "runtime error " << e.number();
      continue;
    }
    if (!dialogs.messages.empty()) ++refused;
    const std::vector<std::string> listing = ListFrom(before);
    if (std::any_of(listing.begin(), listing.end(), [](const std::string& line) {
          return line.rfind("Die Zufallsliste endet nach ", 0) == 0;
        }))
      ++ended;
    const std::vector<ListedPoint> listed = ListedPoints(listing);
    const Parsed p = ParseBack(window->state.Build.PointCapacity);
    ASSERT_EQ(p.error, 0);
    ASSERT_EQ(p.list.PointCount, static_cast<int>(listed.size()));
    if (listed.size() > 1) ++withPoints;
    const compiler::CompilerState& s = window->state;
    const bool fof = s.FormantRepeat > 0;
    EXPECT_EQ(p.list.FofMode, fof);
    for (size_t k = 1; k <= listed.size(); ++k) {
      const ListedPoint& point = listed[k - 1];
      const int i = static_cast<int>(k);
      EXPECT_EQ(common::SingleText(p.list.TimePoints[k]), point.time) << "point " << i;
      ExpectListed(p.list.Loudnesses[k], point.loudness, i);
      ExpectListed(p.list.Pitches[k], point.pitch, i);
      if (fof) {
        ExpectListed(p.list.FormantFreqs[k], point.formant, i);
      } else {
        EXPECT_EQ(point.formant, "0") << "point " << i;
        EXPECT_TRUE(p.list.FormantFreqs[k].IsUnset()) << "point " << i;
      }
    }
    const std::pair<const tonelist::ToneValue&, double> settings[] = {
        {p.list.ListFua, s.FofFunction1},  {p.list.ListFub, s.FofFunction2},
        {p.list.ListDel, s.FiveFoldDelay}, {p.list.ListEnte, s.DuckEffect},
        {p.list.ListFom, s.FormantFactor}, {p.list.ListFrv, s.FrequencyMultiplication}};
    for (const auto& [parsed, value] : settings) {
      if (!fof || value == 0) EXPECT_TRUE(parsed.IsUnset()) << parsed.text();
      else EXPECT_EQ(parsed.text(), common::DoubleText(value) + " ");
    }
    if (HasFailure()) break;  // one panel's report is enough
  }
  // the panels are garbage, not nothing: many give lists, many have boxes refused, many lists
  // end before a value too wide for its column
  EXPECT_GT(withPoints, 100);
  EXPECT_GT(refused, 60);
  EXPECT_GT(ended, 30);
}

// ---- Caption and origin note ------------------------------------------------------------------

TEST_F(RandomGeneratorTest, CaptionAndOriginNoteNameWhereTheListComesFrom) {
  struct Case {
    bool presets;
    const char* chosen;
    const char* caption;
    const char* origin;
  };
  const Case cases[] = {
      {false, "", "T A L V I K  -  Diese Reihe wurde mit einer Zufallsliste erzeugt",
       "Mit einer Zufallsliste erzeugt."},
      {false, "C:\\Arbeit\\Alt.rsz",
       "T A L V I K  -  Tonverlaufsliste: C:\\Arbeit\\Alt.rsz  -  mit einer Zufallsliste erzeugt",
       "Mit einer Zufallsliste erzeugt."},
      {true, "C:\\Arbeit\\Alt.rsz",
       "T A L V I K  -  Tonverlaufsliste: C:\\Arbeit\\Alt.rsz  -  Zufallsliste: C:\\P\\Hell.prs",
       "Zufallsliste: C:\\P\\Hell.prs"},
      // a name in another script is kept (the file is then UTF-8)
      {false, "C:\\Arbeit\\\u0413\u043b\u0438\u0441\u0441.rsz",
       "T A L V I K  -  Tonverlaufsliste: C:\\Arbeit\\\u0413\u043b\u0438\u0441\u0441.rsz  -  mit "
       "einer Zufallsliste erzeugt",
       "Mit einer Zufallsliste erzeugt."},
  };
  Type({"0.5"});
  for (const Case& k : cases) {
    window->state.PresetsLoaded = k.presets;
    window->state.PresetFilePath = "C:\\P\\Hell.prs";
    window->state.ChosenListPath = k.chosen;
    Draw();
    EXPECT_EQ(window->frmDatei.caption(), k.caption);
    EXPECT_EQ(window->state.OriginNote, k.origin);
    EXPECT_EQ(FileLines()[1], k.caption);
  }
}

}  // namespace
}  // namespace compiler_test
