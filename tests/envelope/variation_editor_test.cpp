// The variation editor after real conversion runs: the sliders, the keys "Z", "D", "L", "H",
// "K" with scripted draws, the reset keys, and "Var1"/"Var2" writing the tone list and starting a
// build; and the guards that keep a key from hanging or from working on values no run converted.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "common/numbers.h"
#include "example_project.h"
#include "reaper_project.h"

namespace envelope_test {
namespace {

namespace fs = std::filesystem;

class VariationTest : public ExampleProjectTest {
 public:
  // A project of one track R-01 whose volume envelope has a point at 0 s and then the points
  // given as "time level", the first and the last of them selected; markers as "time name".
  static ReaperProject Project(const std::vector<std::string>& points,
                               const std::vector<std::pair<std::string, std::string>>& markers) {
    return MarkedRangeProject(points, markers);
  }
  // Writes the project as "C:\Arbeit\<name>.rpp" and converts it with "Cso1".
  void Convert(const ReaperProject& project, const std::string& name = "Stueck") {
    root.Write("c/Arbeit/" + name + ".rpp", project.Text());
    s().ProjectName = name;
    s().TrackName = "R-01";
    window->Command3.Click();
  }
  void Convert(const std::vector<std::string>& points, const std::string& marker = "440") {
    Convert(Project(points, {{points.front().substr(0, points.front().find(' ')), marker}}));
    ASSERT_TRUE(s().RangeConverted) << (dialogs.messages.empty() ? "" : dialogs.messages[0].text);
  }

  // A control of the window by its name.
  forms::Button& Key(const std::string& name) const {
    auto* key = dynamic_cast<forms::Button*>(window->frmDatei.Find(name));
    if (!key) throw std::runtime_error("no key " + name);
    return *key;
  }
  forms::ScrollBar& Slider(const std::string& name) const {
    auto* slider = dynamic_cast<forms::ScrollBar*>(window->frmDatei.Find(name));
    if (!slider) throw std::runtime_error("no slider " + name);
    return *slider;
  }

  // The values of the range in one of the point arrays.
  std::vector<double> Range(const std::vector<double>& values) const {
    const auto& st = window->state;
    return std::vector<double>(values.begin() + st.RangeStartLine,
                               values.begin() + st.RangeEndLine + 1);
  }
  // The working arrays as a whole, to show that something changed nothing.
  std::vector<std::vector<double>> Arrays() const {
    const auto& st = window->state;
    return {st.ZP, st.LT, st.HT, st.KL};
  }
  // The values of one row of the tone list ("HT"), as written.
  std::vector<std::string> ToneListRow(const std::string& keyword) const {
    std::istringstream lines(ReadArbeit("Tesu.rsz"));
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind(keyword + " ", 0) != 0) continue;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::istringstream words(line.substr(keyword.size()));
      std::vector<std::string> values;
      for (std::string w; words >> w;) values.push_back(w);
      return values;
    }
    ADD_FAILURE() << "no " << keyword << " line";
    return {};
  }

};

double Round2(double x) { return std::floor(x * 100 + 0.5) / 100; }

TEST_F(VariationTest, SlidersSetTheStrengthByARealDivisionAndShowIt) {
  struct Case {
    const char* slider;
    int kind;
    int value;
    double strength;
    const char* shown;
  };
  const Case cases[] = {
      {"VScroll1", 0, 32767, 0.01, "0.01"},
      {"VScroll2", 1, 16384, 0.0500015259254738, "0.0500015259254738"},
      {"VScroll3", 2, 32767, 1.0, "1"},
      {"VScroll4", 3, 1, 0.0003051850947599719, "0.000305185094759972"},
      {"VScroll4", 3, 0, 0.0, "0"},
  };
  for (const Case& c : cases) {
    forms::ScrollBar& slider = Slider(c.slider);
    if (slider.value() == c.value) slider.SetValue(c.value + 1);
    slider.SetValue(c.value);
    EXPECT_DOUBLE_EQ(s().VariationStrength[c.kind], c.strength) << slider.name();
    EXPECT_EQ(window->frmDatei.caption(),
              std::string("Ormila v5.31      Gelesene Datei: Gleiten.rpp      Spur: Glissando      ") +
                  c.shown);
  }
  EXPECT_EQ(window->VScroll1.max(), 32767);
  EXPECT_EQ(window->VScroll1.min(), 0);
}

TEST_F(VariationTest, ControlsCarryTheirCaptionsAndToolTips) {
  struct Case {
    const char* key;
    const char* caption;
    const char* toolTip;
  };
  const Case cases[] = {
      {"Z_Enter1", "Z",
       "Eingabebestätigung für Zeitpunkte, die mit der Zeitpunkteskalierung berechnet wurden "
       "(linkes Textfeld <> 1), oder für Zufallszeitpunkte (Variationsstärke vorher mit dem "
       "Schieberegler einstellen)"},
      {"Z_Enter2", "D", "Tondauern verringern"},
      {"L_Enter", "L",
       "Lautstärkewerte mit der Zufallsfunktion verändern - mit dem Schieberegler stellt man die "
       "Stärke der Variationen ein"},
      {"H_Enter", "H",
       "Tonhöhenwerte mit der Zufallsfunktion verändern - mit dem Schieberegler stellt man die "
       "Stärke der Variationen ein"},
      {"K_Enter", "K",
       "Klangwerte mit der Zufallsfunktion verändern - mit dem Schieberegler stellt man die "
       "Stärke der Variationen ein"},
      {"Z_Reset", "R", "Reset"},
      {"L_Reset", "R", "Reset"},
      {"H_Reset", "R", "Reset"},
      {"K_Reset", "R", "Reset"},
      {"Variation", "Var1",
       "Csound-Start - das Ergebnis mit variierten Werten  zur Probe anhören"},
      {"Variation2", "Var2",
       "Csound-Start - das Ergebnis mit variierten Werten  zur Probe anhören - die Orc-datei und "
       "ein Teil der Sco-Datei bleibt erhalten"},
  };
  for (const Case& c : cases) {
    const forms::Button& key = Key(c.key);
    EXPECT_EQ(key.caption(), c.caption) << key.name();
    EXPECT_EQ(key.toolTip(), c.toolTip) << key.name();
    EXPECT_GT(key.width(), 0) << key.name() << " has no place in the window";
    // Every key sits beside the "Var1" row or the row below it.
    EXPECT_GE(key.top(), window->Variation.top()) << key.name();
    EXPECT_LE(key.top(), window->Variation.top() + 2 * window->Variation.height()) << key.name();
  }
  EXPECT_EQ(window->Tempo.toolTip(),
            "Tempo eintragen (1 = Originaltempo, 2 = doppelte Dauer, also halbes Tempo). Dann 'Z' "
            "drücken!");
  EXPECT_EQ(window->Tempo.text(), "1");
  for (const forms::ScrollBar* bar :
       {&window->VScroll1, &window->VScroll2, &window->VScroll3, &window->VScroll4})
    EXPECT_GT(bar->height(), bar->width()) << bar->name() << " is an upright slider";
}

// The worked examples: each key once on a freshly converted range.
TEST_F(VariationTest, KeysChangeTheRangeAsInTheWorkedExamples) {
  struct Case {
    const char* name;
    std::vector<std::string> points;  // "time level"
    std::string marker;               // at the first point
    std::function<void(VariationTest&)> set;
    const char* key;
    std::vector<double> envelope::ConverterState::*array;
    std::vector<double> expected;
  };
  using S = envelope::ConverterState;
  const Case cases[] = {
      {"tempo 2", {"10 0.5", "11 0.5", "13 0.5"}, "440",
       [](VariationTest& t) { t.window->Tempo.SetText("2"); }, "Z_Enter1", &S::ZP, {10, 12, 16}},
      {"tempo 0.5", {"10 0.5", "11 0.5", "13 0.5"}, "440",
       [](VariationTest& t) { t.window->Tempo.SetText("0.5"); }, "Z_Enter1", &S::ZP,
       {10, 10.5, 11.5}},
      {"tempo 1, strength 0", {"10 0.5", "10 0.5", "11 0.5"}, "440", [](VariationTest&) {},
       "Z_Enter1", &S::ZP, {10, 10.001, 11}},
      {"H at strength 0", {"1 0.5", "2 0.5", "3 0.5"}, "440", [](VariationTest&) {}, "H_Enter",
       &S::HT, {443.06, 443.06, 443.06}},
      {"K at strength 0", {"1 0.5", "2 0.5"}, "440 880", [](VariationTest&) {}, "K_Enter",
       &S::KL, {886.12, 886.12}},
      {"L at strength 0", {"1 0.12345678", "2 0.5", "3 0.0000004"}, "440", [](VariationTest&) {},
       "L_Enter", &S::LT, {0.123457, 0.5, 0}},
      {"D before a silence", {"1 0.5", "2 0.5", "3 0"}, "440", [](VariationTest&) {},
       "Z_Enter2", &S::ZP, {1, 1.9, 2.91}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Convert(c.points, c.marker);
    c.set(*this);
    Key(c.key).Click();
    const std::vector<double> got = Range(s().*c.array);
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t k = 0; k < got.size(); ++k) EXPECT_DOUBLE_EQ(got[k], c.expected[k]) << k;
    EXPECT_TRUE(s().VariationActive);
    EXPECT_FALSE(window->Command3.enabled());
    EXPECT_FALSE(window->Command19.enabled());
    EXPECT_EQ(window->Command3.backColour(), 0xFFFFFF);
    EXPECT_EQ(window->StartStoppFix.backColour(), 0xB3B3FF);
    // The display shows the new values, in the column of the varied array.
    const int column = c.array == &S::ZP ? 1 : c.array == &S::LT ? 2 : c.array == &S::HT ? 3 : 4;
    EXPECT_EQ(window->Testliste[column]->items().back(), common::DoubleText(got.back()));
    window->Tempo.SetText("1");
  }
}

// A draw u gives r = Int(u * 100) + 1 - 50: -49, 0 and 50 at the edges of the buckets.
TEST_F(VariationTest, DrawsAtTheEdgesOfTheHundredBuckets) {
  Convert({"10 0.5", "11 0.5", "13 0.5"});
  window->VScroll1.SetValue(32767);  // 0.01 s
  window->VScroll3.SetValue(32767);  // 1.0
  Script({0.005, 0.495, 0.995});
  window->Z_Enter1.Click();  // ZP + r / 100
  EXPECT_EQ(Range(s().ZP), (std::vector<double>{9.51, 11, 13.5}));
  Script({0.005, 0.495, 0.995});
  window->H_Enter.Click();  // e = r + 1: -48, 1, 51
  EXPECT_EQ(Range(s().HT), (std::vector<double>{315.47, 443.06, 626.58}));
  // The lowest and the highest draws of the same three buckets give the same values.
  Script({0.0, 0.49999, 0.9999999});
  window->H_Reset.Click();
  window->H_Enter.Click();
  EXPECT_EQ(Range(s().HT), (std::vector<double>{315.47, 443.06, 626.58}));
  Script({0.01, 0.5});  // the next buckets up: r = -48 and 1
  window->H_Reset.Click();
  window->H_Enter.Click();
  EXPECT_EQ(Range(s().HT), (std::vector<double>{Round2(440 * std::pow(2.0, -0.47)),
                                                Round2(440 * std::pow(2.0, 0.02)),
                                                Round2(440 * std::pow(2.0, 0.02))}));
}

TEST_F(VariationTest, TheKeysThatDrawReseedOncePerPress) {
  struct Case {
    const char* name;
    const char* key;
    const char* tempo;
    int reseeds, draws;
  };
  const Case cases[] = {
      {"Z random", "Z_Enter1", "1", 1, 3}, {"Z scaling", "Z_Enter1", "2", 1, 0},
      {"D", "Z_Enter2", "1", 0, 0},        {"L", "L_Enter", "1", 1, 3},
      {"H", "H_Enter", "1", 1, 3},         {"K", "K_Enter", "1", 1, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Convert({"1 0.5", "2 0.5", "3 0.5"});
    window->Tempo.SetText(c.tempo);
    Script({0.5});
    Key(c.key).Click();
    Key(c.key).Click();
    EXPECT_EQ(random.reseeds, 2 * c.reseeds);
    EXPECT_EQ(random.draws(), 2 * c.draws);
  }
}

TEST_F(VariationTest, ResetKeysBringBackExactlyTheValuesOfTheLastRun) {
  window->Command3.Click();  // the example project
  ASSERT_TRUE(s().RangeConverted);
  const auto read = Arrays();
  const auto shown = window->Testliste[1]->items();
  for (forms::ScrollBar* bar :
       {&window->VScroll1, &window->VScroll2, &window->VScroll3, &window->VScroll4})
    bar->SetValue(32767);
  Script({0.1, 0.9, 0.3, 0.7, 0.05, 0.55});
  for (forms::Button* key : {&window->Z_Enter1, &window->Z_Enter2, &window->L_Enter,
                             &window->H_Enter, &window->K_Enter})
    key->Click();
  window->Tempo.SetText("3");
  window->Z_Enter1.Click();
  for (int k = 0; k < 4; ++k) EXPECT_NE(Range(Arrays()[k]), Range(read[k])) << k;

  window->Z_Reset.Click();
  window->L_Reset.Click();
  window->H_Reset.Click();
  window->K_Reset.Click();
  for (int k = 0; k < 4; ++k) EXPECT_EQ(Range(Arrays()[k]), Range(read[k])) << k;
  EXPECT_EQ(window->Testliste[1]->items(), shown);
  // The resets leave the lock of the run buttons as it is.
  EXPECT_TRUE(s().VariationActive);
  EXPECT_FALSE(window->Command3.enabled());
}

TEST_F(VariationTest, BeforeAnyRunVar1OnlySetsTheModeAndTheKeysDoNothing) {
  const std::string startStop = ReadArbeit("Tesu2.ini");
  s().CompilerMode = 2;
  window->Variation_Click();  // disabled in the window, called directly
  EXPECT_EQ(s().CompilerMode, 0);
  window->Variation2_Click();
  EXPECT_EQ(s().CompilerMode, 2);
  EXPECT_FALSE(fs::exists(root / "c/Arbeit/Tesu.rsz"));
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_EQ(ReadArbeit("Tesu2.ini"), startStop);
  EXPECT_TRUE(window->Command3.enabled());
  EXPECT_FALSE(window->Variation.enabled());

  const auto before = Arrays();
  const std::vector<forms::Button*> runButtons = {&window->Command3, &window->Command19,
                                                  &window->StartStoppFix, &window->Variation,
                                                  &window->Variation2};
  std::vector<forms::Colour> colours;
  for (const forms::Button* b : runButtons) colours.push_back(b->backColour());
  for (forms::Button* key : {&window->Z_Enter2, &window->L_Enter, &window->H_Enter,
                             &window->K_Enter, &window->Z_Reset, &window->K_Reset})
    key->Click();
  for (size_t k = 0; k < runButtons.size(); ++k)
    EXPECT_EQ(runButtons[k]->backColour(), colours[k]) << runButtons[k]->name();
  EXPECT_TRUE(window->Testlist.items().empty());
  EXPECT_EQ(Arrays(), before);
  EXPECT_FALSE(s().VariationActive);
  EXPECT_EQ(random.reseeds, 0);
  // "Z" only shows the values again.
  window->Z_Enter1.Click();
  ASSERT_GE(window->Testlist.items().size(), 2u);
  EXPECT_EQ(window->Testlist.items()[1],
            "Analyse der aus C:\\Arbeit\\Gleiten.rpp herausgefilterten Werte.");
  EXPECT_FALSE(s().VariationActive);
  EXPECT_EQ(random.reseeds, 0);
}

TEST_F(VariationTest, Var1WritesTheVariedToneListAndStartsBuildA) {
  window->Command3.Click();
  const std::vector<std::string> cso1Pitches = ToneListRow("HT");
  ASSERT_EQ(cso1Pitches.size(), 6u);
  window->H_Enter.Click();  // strength 0: every pitch times 2^(1/100)
  window->Variation.Click();

  // The pitch row of the new tone list: the Cso1 row times 2^(1/100), to two decimals.
  const std::vector<std::string> pitches = ToneListRow("HT");
  ASSERT_EQ(pitches.size(), cso1Pitches.size());
  for (size_t k = 0; k < pitches.size(); ++k)
    EXPECT_EQ(common::LeadingNumber(pitches[k]),
              Round2(common::LeadingNumber(cso1Pitches[k]) * std::pow(2.0, 0.01)))
        << cso1Pitches[k] << " became " << pitches[k];
  // The whole file, byte for byte (the clock is fixed).
  ExpectGoldenBytes("Gleiten-H-Var1.rsz", ReadArbeit("Tesu.rsz"));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(VariationTest, Var1AndVar2StartTheirBuildAndUnlockTheirRunButtons) {
  struct Case {
    const char* key;
    int mode;
    const char* program;
    bool cso1Unlocked;
  };
  for (const Case& c : {Case{"Variation", 0, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe", true},
                        Case{"Variation2", 2, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe3.exe", false}}) {
    SCOPED_TRACE(c.program);
    Convert({"1 0.5", "2 0.5", "3 0.5"});
    root.Write("c/Arbeit/Tesu2.ini", "alt\r\n");
    windowSystem.windows = {{8, "Dozudava.wav - Cool Edit"}};
    windowSystem.closeMessages.clear();
    starter.starts.clear();
    window->L_Enter.Click();
    Key(c.key).Click();

    EXPECT_EQ(s().CompilerMode, c.mode);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine, c.program);
    EXPECT_EQ(starter.starts[0].windowStyle, 2);
    EXPECT_EQ(windowSystem.closeMessages, std::vector<platform::WindowId>{8});
    EXPECT_EQ(ToneListRow("LT"), (std::vector<std::string>{"15000", "15000", "15000"}));
    // The start/stop file holds the envelope's point lines again: 13 + 1 and 16.
    EXPECT_EQ(ReadArbeit("Tesu2.ini"), " 14 \r\n 16 \r\n");
    EXPECT_TRUE(window->Command19.enabled());
    EXPECT_EQ(window->Command19.backColour(), 0xFFC0C0);
    EXPECT_EQ(window->Command3.enabled(), c.cso1Unlocked);
    EXPECT_EQ(window->Command3.backColour(), c.cso1Unlocked ? 0xFFC0C0 : 0xFFFFFF);
    EXPECT_EQ(window->StartStoppFix.backColour(), c.cso1Unlocked ? 0xFFFFFF : 0xB3B3FF);
    // Neither reads the project again nor ends the variations.
    EXPECT_TRUE(s().VariationActive);
  }
}

// "Var1" and "Var2" start the build the switch chooses: one that takes fewer points than the
// range holds gets no tone list and is not started, and the start/stop file stays as it was.
TEST_F(VariationTest, Var1AndVar2RefuseABuildThatTakesFewerPointsThanTheRange) {
  Convert(SecondPoints(1200));  // by TalvikTe, which takes them
  struct Case {
    const char* key;
    bool withEditor;
    const char* build;
    bool refused;
  };
  for (const Case& c : {Case{"Variation", true, "TalvikTe", false},
                        Case{"Variation", false, "TalvikTe2", true},
                        Case{"Variation2", true, "TalvikTe3", true},
                        Case{"Variation2", false, "TalvikTe4", true}}) {
    SCOPED_TRACE(c.build);
    root.Write("c/Arbeit/Tesu.rsz", "alt\r\n");
    root.Write("c/Arbeit/Tesu2.ini", "alt\r\n");
    starter.starts.clear();
    dialogs.messages.clear();
    s().WithAudioEditor = c.withEditor;
    Key(c.key).Click();
    if (c.refused) {
      EXPECT_EQ(Messages(), std::vector<std::string>{
                                "Der Bereich ist zu groß für " + std::string(c.build) +
                                ": 1200 Punkte, " + c.build +
                                " nimmt höchstens 1000 Punkte. Es wurde nichts geschrieben und "
                                "nichts gestartet."});
      EXPECT_TRUE(ReadArbeit("Tesu.rsz") == "alt\r\n") << "the old tone list stays";
      EXPECT_EQ(ReadArbeit("Tesu2.ini"), "alt\r\n");
      EXPECT_TRUE(starter.starts.empty());
    } else {
      EXPECT_TRUE(Messages().empty());
      EXPECT_EQ(ToneListRow("ZP").size(), 1200u);
      ASSERT_EQ(starter.starts.size(), 1u);
      EXPECT_EQ(starter.starts[0].commandLine, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe");
    }
  }
}

// A value that is negative before the press, or a draw that keeps a flipped sign, cannot make a
// key repeat for ever.
TEST_F(VariationTest, NoKeyHangsOnNegativeValues) {
  struct Case {
    const char* name;
    std::string level;   // of both points
    std::string marker;  // the pitch
    int loudnessSlider;
    std::initializer_list<double> draws;
    const char* key;
    std::vector<double> envelope::ConverterState::*array;
    std::vector<double> expected;
    int drawsMade;  // -1: not counted
    double grownLevel = 0;  // when not 0: the converted levels grown to this by earlier presses
  };
  using S = envelope::ConverterState;
  const Case cases[] = {
      {"marker -440, H at strength 0", "0.5", "-440", 0, {0.5}, "H_Enter", &S::HT,
       {-443.06, -443.06}, 2},
      {"marker -440, K at strength 0", "0.5", "-440", 0, {0.5}, "K_Enter", &S::KL,
       {-443.06, -443.06}, 2},
      {"negative level, L at strength 0", "-0.5", "440", 0, {0.5}, "L_Enter", &S::LT,
       {-0.5, -0.5}, 2},
      // f = -49 * 0.1 + 1 = -3.9
      {"negative level changed once", "-0.5", "440", 32767, {0.005}, "L_Enter", &S::LT,
       {1.95, 1.95}, 2},
      {"a flip undone by the next draw", "0.5", "440", 32767, {0.005}, "L_Enter", &S::LT,
       {7.605, 7.605}, 4},
      // Rounding to six decimals multiplies by 1000000 first: beyond the number range. (A run
      // converts no such level: many presses of L grow one.)
      {"a level too large to vary", "0.5", "440", 0, {0.5}, "L_Enter", &S::LT, {1e308, 1e308}, 2,
       1e308},
      // After -3.9 only factors 6: the first level stays as it was, the second becomes 3.
      {"a flip no draw undoes", "0.5", "440", 32767, {0.005, 0.995}, "L_Enter", &S::LT,
       {0.5, 3}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Convert({"1 " + c.level, "2 " + c.level}, c.marker);
    if (c.grownLevel != 0)
      for (long i = s().RangeStartLine; i <= s().RangeEndLine; ++i)
        s().LT[static_cast<size_t>(i)] = c.grownLevel;
    window->VScroll2.SetValue(c.loudnessSlider);
    Script(c.draws);
    Key(c.key).Click();
    const std::vector<double> got = Range(s().*c.array);
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t k = 0; k < got.size(); ++k) EXPECT_DOUBLE_EQ(got[k], c.expected[k]) << k;
    if (c.drawsMade >= 0) {
      EXPECT_EQ(random.draws(), c.drawsMade);
    }
  }
}

struct StoppedRun {
  const char* name;
  std::function<void(VariationTest&)> run;
};

// After a run that stopped, the keys, the resets, "Var1" and "Var2" write, start and change
// nothing; "Var1" and "Var2" still set the compiler mode.
TEST_F(VariationTest, AfterAStoppedRunNothingIsVariedWrittenOrStarted) {
  using P = VariationTest;
  const StoppedRun cases[] = {
      {"no marked point",
       [](P& t) {
         ReaperProject p = P::Project({"1 0.5", "2 0.5"}, {{"1", "440"}});
         std::string text = p.Text();
         for (size_t at; (at = text.find(" 0 0 1\n")) != std::string::npos;)
           text.replace(at, 7, " 0\n");
         t.root.Write("c/Arbeit/Stueck.rpp", text);
         t.window->Command3.Click();
       }},
      {"no selection", [](P& t) {
         t.s().UseStartStopPoints = false;
         t.Convert(P::Project({"1 0.5", "2 0.5", "3 0.5"}, {{"1", "440"}}));
       }},
      {"no marker at the first point",
       [](P& t) { t.Convert(P::Project({"1 0.5", "2 0.5"}, {{"2", "440"}})); }},
      {"a line without a point", [](P& t) {
         ReaperProject p = P::Project({"1 0.5", "2 0.5"}, {{"1", "440"}});
         std::string text = p.Text();
         text.replace(text.find("      PT 2 0.5"), 0, "      XY 7\n");
         t.root.Write("c/Arbeit/Stueck.rpp", text);
         t.window->Command3.Click();
       }},
      {"a range beyond the arrays", [](P& t) {
         ReaperProject p = P::Project({"1 0.5", "2 0.5", "3 0.5"}, {{"1", "440"}});
         std::string text = p.Text();
         std::string filler;
         for (int k = 0; k < 12000; ++k) filler += "  RIPPLE 0\n";
         text.insert(text.find('\n') + 1, filler);
         t.root.Write("c/Arbeit/Stueck.rpp", text);
         t.window->Command3.Click();
         ASSERT_GT(t.s().RangeEndLine, 12000);
       }},
      {"a range too large", [](P& t) {
         std::vector<std::string> points;
         for (int k = 1; k <= 2800; ++k) points.push_back(std::to_string(k) + " 0.5");
         t.Convert(P::Project(points, {{"1", "440"}}));
       }},
  };
  for (const StoppedRun& c : cases) {
    SCOPED_TRACE(c.name);
    // A good run first, so that the arrays hold values and "Var1" is enabled.
    Convert({"1 0.5", "2 0.5", "3 0.5"});
    s().ProjectName = "Stueck";
    s().TrackName = "R-01";
    dialogs.messages.clear();
    c.run(*this);
    ASSERT_FALSE(s().RangeConverted);
    ASSERT_TRUE(s().RunStarted);
    root.Write("c/Arbeit/Tesu.rsz", "alte Liste\r\n");
    const std::string startStop = ReadArbeit("Tesu2.ini");
    const auto arrays = Arrays();
    const size_t starts = starter.starts.size();
    window->Tempo.SetText("2");
    window->VScroll2.SetValue(32767);
    for (forms::Button* key :
         {&window->Z_Enter1, &window->Z_Enter2, &window->L_Enter, &window->H_Enter,
          &window->K_Enter, &window->Z_Reset, &window->L_Reset, &window->H_Reset,
          &window->K_Reset, &window->Variation2})
      key->Click();
    EXPECT_EQ(s().CompilerMode, 2);
    window->Variation.Click();
    EXPECT_EQ(s().CompilerMode, 0);
    EXPECT_EQ(Arrays(), arrays);
    EXPECT_EQ(ReadArbeit("Tesu.rsz"), "alte Liste\r\n");
    EXPECT_EQ(ReadArbeit("Tesu2.ini"), startStop);
    EXPECT_EQ(starter.starts.size(), starts);
    EXPECT_FALSE(s().VariationActive);
    EXPECT_TRUE(window->Command3.enabled());
    EXPECT_EQ(random.reseeds, 0);
    s().UseStartStopPoints = true;
  }
}

TEST_F(VariationTest, ZRefusesATempoThatIsNoNumberAboveZero) {
  Convert({"10 0.5", "11 0.5", "13 0.5"});
  for (const char* tempo : {"", "abc", "0", "-2", "1e999", " "}) {
    SCOPED_TRACE(tempo);
    window->Tempo.SetText(tempo);
    dialogs.messages.clear();
    const auto arrays = Arrays();
    window->Z_Enter1.Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "FEHLER");
    EXPECT_NE(dialogs.messages[0].text.find("Tempo"), std::string::npos);
    EXPECT_EQ(Arrays(), arrays);
    EXPECT_FALSE(s().VariationActive);
    EXPECT_TRUE(window->Command3.enabled());
    EXPECT_EQ(random.reseeds, 0);
  }
  window->Tempo.SetText("2,5");  // read up to the comma: 2
  window->Z_Enter1.Click();
  EXPECT_EQ(Range(s().ZP), (std::vector<double>{10, 12, 16}));
}

// Lines next to the range that a run of another project left in the arrays count as 0; those a
// run of this project read keep their values.
TEST_F(VariationTest, NeighboursOfTheRangeCountOnlyWhenThisProjectReadThem) {
  // First run: points at 1, 2 and 3 s, all three read (lines 14 to 16). Second run: the same
  // envelope with the second point selected instead of the third, so that line 16 (level 0.5)
  // lies behind the range 14 to 15.
  const ReaperProject three = Project({"1 0.5", "2 0.5", "3 0.5"}, {{"1", "440"}});
  std::string twoSelected = three.Text();
  twoSelected.replace(twoSelected.find("PT 2 0.5 0\n"), 11, "PT 2 0.5 0 0 1\n");
  twoSelected.replace(twoSelected.find("PT 3 0.5 0 0 1\n"), 15, "PT 3 0.5 0\n");
  struct Case {
    const char* name;
    const char* secondProject;
    double lastTime;  // of the range's last point after "D"
  };
  for (const Case& c :
       {Case{"the same project", "Stueck", 2}, Case{"another project", "Anders", 1.9}}) {
    SCOPED_TRACE(c.name);
    Convert(three, "Stueck");
    ASSERT_EQ(s().RangeEndLine, 16);
    root.Write("c/Arbeit/" + std::string(c.secondProject) + ".rpp", twoSelected);
    s().ProjectName = c.secondProject;
    window->Command3.Click();
    ASSERT_TRUE(s().RangeConverted);
    ASSERT_EQ(s().RangeEndLine, 15);
    window->Z_Enter2.Click();
    EXPECT_DOUBLE_EQ(s().ZP[15], c.lastTime);
    // A line that no run of this project read is not written either.
    EXPECT_DOUBLE_EQ(s().ZP[16], 3);
  }
  // "Z" at strength 0: the time before the range (20 s, read for another project) counts as 0.
  Convert(Project({"20 0.5", "30 0.5", "40 0.5"}, {{"20", "440"}}), "Stueck");
  std::string later = Project({"1 0.5", "2 0.5", "3 0.5"}, {{"2", "440"}}).Text();
  later.replace(later.find("PT 1 0.5 0 0 1\n"), 15, "PT 1 0.5 0\n");
  later.replace(later.find("PT 2 0.5 0\n"), 11, "PT 2 0.5 0 0 1\n");
  root.Write("c/Arbeit/Anders.rpp", later);
  s().ProjectName = "Anders";
  window->Command3.Click();
  ASSERT_EQ(s().RangeStartLine, 15);
  window->Z_Enter1.Click();
  EXPECT_EQ(Range(s().ZP), (std::vector<double>{2, 3}));
}

TEST_F(VariationTest, AValueTooWideForItsColumnStopsVar1) {
  Convert({"1 0.5", "2 0.5"}, "220");
  window->VScroll4.SetValue(32767);  // timbre 10: e = 501 at u = 0.995
  Script({0.995});
  for (int k = 0; k < 3; ++k) window->K_Enter.Click();
  EXPECT_EQ(Range(s().KL), (std::vector<double>{7360438.74, 7360438.74}));
  window->Variation.Click();  // ten characters still fit
  EXPECT_EQ(ToneListRow("KL"), (std::vector<std::string>{"7360438.74", "7360438.74"}));
  ASSERT_EQ(starter.starts.size(), 2u);

  window->K_Enter.Click();  // 237172308.48: twelve characters
  root.Write("c/Arbeit/Tesu.rsz", "alte Liste\r\n");
  const std::string startStop = ReadArbeit("Tesu2.ini");
  dialogs.messages.clear();
  for (forms::Button* key : {&window->Variation, &window->Variation2}) {
    key->Click();
    EXPECT_EQ(ReadArbeit("Tesu.rsz"), "alte Liste\r\n");
    EXPECT_EQ(ReadArbeit("Tesu2.ini"), startStop);
    EXPECT_EQ(starter.starts.size(), 2u);
    EXPECT_FALSE(window->Command19.enabled());
  }
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].title, "FEHLER");
  EXPECT_NE(dialogs.messages[0].text.find("KL 237172308.48"), std::string::npos)
      << dialogs.messages[0].text;
  // After the reset the values fit again.
  window->K_Reset.Click();
  window->Variation.Click();
  EXPECT_EQ(ToneListRow("KL"), (std::vector<std::string>{"220", "220"}));
  EXPECT_EQ(starter.starts.size(), 3u);
}

}  // namespace
}  // namespace envelope_test
