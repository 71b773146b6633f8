// The converter's tone list "Tesu.rsz" and the display of the extracted values.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "common/codec.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "envelope/converter_fixture.h"
#include "platform/file_table.h"
#include "tonelist/tone_list.h"

namespace envelope_test {
namespace {

using envelope::ConverterState;
using envelope::SettingValue;

SettingValue T(const char* text) { return SettingValue::Text(text); }
SettingValue N(double v) { return SettingValue::Number(v); }

// The lines of a written file (every line ends in CR LF), decoded from Windows-1252.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  const std::string text = common::Cp1252ToUtf8(bytes);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// The text with blanks added up to column `column` - 1, so that the next character stands there.
std::string PadTo(std::string s, size_t column) {
  if (s.size() + 1 < column) s.append(column - 1 - s.size(), ' ');
  return s;
}

// A value line as the tone list holds it: keyword, the k-th value at column 12 k.
std::string ExpectedValueLine(const std::string& keyword, const std::vector<std::string>& values) {
  std::string s = PadTo(keyword, 12);
  for (size_t k = 1; k <= values.size(); ++k) s = PadTo(s, 12 * k) + values[k - 1];
  return s;
}

void SetPoint(ConverterState& s, long i, double zp, double lt, double ht, double kl) {
  s.ZP.at(i) = zp;
  s.LT.at(i) = lt;
  s.HT.at(i) = ht;
  s.KL.at(i) = kl;
}

// A converter as start-up leaves it from a settings file (settings held as the texts read), with
// an FOF envelope of five points on project lines 40 to 44 and a sample mixed in.
void SetFofState(ConverterState& s) {
  s.VersionText = "v5.31";
  s.WorkFolder = "C:\\Arbeit\\";
  s.ToneListPath = "C:\\Arbeit\\Tesu.rsz";
  s.ProjectName = "Probe";
  s.ProjectPath = "C:\\Arbeit\\Probe.rpp";
  s.TrackName = "Stimme";
  s.Sine = "n";
  s.Fua = T("3");
  s.Fub = T("0.5");
  s.Ente = T("1");
  s.Del = T("0.01");
  s.Fom = T("50");
  s.FofLoudnessFactor = T("1");
  s.SampleLoudnessFactor = T("0.8");
  s.SampleFrequencyFactor = T("1");
  s.OverallLoudness = T("1");
  s.PitchMultiplier = T("1");
  s.TimbreMultiplier = T("1");
  s.MasterPitch = T("0");
  s.MasterTimbre = T("0");
  s.SamplePath = "D:\\Klang\\Cello-A.wav";
  s.SampleCopyPath = "c:\\Arbeit\\Samp100.wav";
  s.RangeStartLine = 40;
  s.RangeEndLine = 44;
  SetPoint(s, 40, 1.0, 0.0, 220, 800);
  SetPoint(s, 41, 1.23456, 0.5, 233.08, 900.556);
  SetPoint(s, 42, 2.5, 1.0, 246.94, 1000);
  SetPoint(s, 43, 3.0, 0.25, 261.63, 1200.004);
  SetPoint(s, 44, 4.75, 0.0, 277.18, 1500);
}

// Sine tones on project lines 100 to 102; overall loudness, pitch multiplier, LTS and HTS set in
// their boxes (numbers).
void SetSineState(ConverterState& s) {
  SetFofState(s);
  s.Sine = "j";
  s.OverallLoudness = N(0.5);
  s.PitchMultiplier = N(2);
  s.SampleLoudnessFactor = N(0.8);
  s.SampleFrequencyFactor = N(1);
  s.RangeStartLine = 100;
  s.RangeEndLine = 102;
  SetPoint(s, 100, 0.5, 0.0, 220, 700);
  SetPoint(s, 101, 0.75, 1.0, 233.1649, 800);
  SetPoint(s, 102, 1.00012, 0.5, 440, 900);
}

class ToneListWriterTest : public ConverterTest {
 protected:
  ConverterState& state() { return window->state; }
  std::vector<std::string> Write() {
    window->WriteToneList();
    return Lines(ReadArbeit("Tesu.rsz"));
  }
};

TEST_F(ToneListWriterTest, FofAndSineListsMatchTheirGoldenFiles) {
  struct Case {
    void (*set)(ConverterState&);
    const char* golden;
  };
  for (const Case& c : {Case{SetFofState, "tesu_fof.rsz"}, Case{SetSineState, "tesu_sine.rsz"}}) {
    SCOPED_TRACE(c.golden);
    c.set(state());
    window->WriteToneList();
    const std::string written = ReadArbeit("Tesu.rsz");
    const std::string golden = GoldenBytes(c.golden);
    EXPECT_EQ(Lines(written), Lines(golden));
    EXPECT_EQ(written, golden);
    EXPECT_EQ(Lines(written).size(), 25u);
  }
}

TEST_F(ToneListWriterTest, SineListHasAnEmptySeventhLineAndAThirdOfTheFactor) {
  SetSineState(state());
  state().MasterTimbre = N(2000);  // no KL line all the same
  std::vector<std::string> lines = Write();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[13], "LTF         0.33 ");
}

// The compiler's reader and parser get back exactly the rounded values of every point.
TEST_F(ToneListWriterTest, WrittenListParsesBackToTheRoundedValues) {
  struct Case {
    const char* name;
    bool sine;
    SettingValue overall, pitchMultiplier, timbreMultiplier, masterPitch;
  };
  const Case cases[] = {
      {"fof texts", false, T("0.7"), T("1.5"), T("0.9"), T("0")},
      {"fof numbers", false, N(1.3), N(0.5), N(2), SettingValue()},
      {"sine master", true, N(0.25), N(3), N(1), N(440)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConverterState& s = state();
    SetFofState(s);
    s.Sine = c.sine ? "j" : "n";
    s.OverallLoudness = c.overall;
    s.PitchMultiplier = c.pitchMultiplier;
    s.TimbreMultiplier = c.timbreMultiplier;
    s.MasterPitch = c.masterPitch;
    s.RangeStartLine = 200;
    s.RangeEndLine = 207;
    const double zp[] = {0, 0.07, 1.23456, 12.34567, 99.99995, 250.5, 1000.00004, 3599.1234};
    const double lt[] = {0, 0.00001, 0.123456, 0.5, 1, 1.7, 0.999999, 0};
    const double ht[] = {55, 110.005, 233.1649, 440, 987.654, 1760.1, 4186.009, 30.3};
    const double kl[] = {100, 345.678, 800, 1200.555, 2500, 4999.99, 8000.1, 12345.678};
    for (int k = 0; k < 8; ++k) SetPoint(s, 200 + k, zp[k], lt[k], ht[k], kl[k]);
    window->WriteToneList();

    platform::FileTable files;
    files.OpenInput(tonelist::kToneListFile, "C:\\Arbeit\\Tesu.rsz");
    tonelist::ToneListState list(10000);
    tonelist::ReadToneListLines(list, files);
    tonelist::ParseToneList(list);

    ASSERT_EQ(list.PointCount, 8);
    EXPECT_EQ(list.FofMode, !c.sine);
    for (int k = 1; k <= 8; ++k) {
      const long i = 199 + k;
      SCOPED_TRACE(k);
      const double master = c.masterPitch.AsLeadingNumber();
      EXPECT_EQ(list.TimePoints[k], static_cast<float>(common::RoundToStep(s.ZP[i], 10000)));
      EXPECT_EQ(list.Loudnesses[k].AsLeadingNumber(),
                common::RoundToStep(s.LT[i] * 30000 * c.overall.AsLeadingNumber(), 1));
      EXPECT_EQ(list.Pitches[k].AsLeadingNumber(),
                common::RoundToStep(
                    master > 0 ? master : s.HT[i] * c.pitchMultiplier.AsLeadingNumber(), 100));
      if (!c.sine) {
        EXPECT_EQ(list.FormantFreqs[k].AsLeadingNumber(),
                  common::RoundToStep(s.KL[i] * c.timbreMultiplier.AsLeadingNumber(), 100));
      } else {
        EXPECT_TRUE(list.FormantFreqs[k].IsUnset());
      }
    }
    EXPECT_EQ(list.ListFua, T("3"));
    EXPECT_EQ(list.ListFom, T("50"));
    EXPECT_DOUBLE_EQ(list.ListLtf.AsLeadingNumber(), c.sine ? 0.33 : 1.0);
    EXPECT_EQ(list.ListLts, T("0.8"));
    EXPECT_EQ(list.SampleFile, "c:\\Arbeit\\Samp100.wav");
  }
}

// Each value stands at column 12 k in the shortest plain text of its rounded value.
TEST_F(ToneListWriterTest, TimesAreWrittenWithAtMostFourDecimalsInTheirShortestForm) {
  struct Case {
    double time;
    const char* text;
  };
  const Case cases[] = {{1.23456, "1.2346"}, {2.5, "2.5"},         {3, "3"},
                        {0.1 + 0.2, "0.3"},  {0.07, "0.07"},       {0.00005, "0.0001"},
                        {0.00004, "0"},      {-2.71828, "-2.7183"}, {12345.678949, "12345.6789"},
                        {-0.25, "-0.25"},    {1e-300, "0"},         {1000000, "1000000"},
                        // 16 digits: more than the 15 of the number form, still read back whole
                        {123456789012.3457, "123456789012.3457"}};
  ConverterState& s = state();
  SetFofState(s);
  s.RangeStartLine = 300;
  std::vector<std::string> texts;
  for (const Case& c : cases) {
    s.ZP.at(s.RangeStartLine + static_cast<long>(texts.size())) = c.time;
    texts.push_back(c.text);
  }
  s.RangeEndLine = s.RangeStartLine + static_cast<long>(texts.size()) - 1;
  EXPECT_EQ(Write().at(3), ExpectedValueLine("ZP", texts));
}

TEST_F(ToneListWriterTest, LoudnessPitchAndTimbreAreScaledAndRounded) {
  struct Case {
    const char* name;
    double lt, ht, kl;
    SettingValue overall, pitchMultiplier, timbreMultiplier, masterPitch, masterTimbre;
    const char *ltText, *htText, *klText;
  };
  const SettingValue unset;
  const Case cases[] = {
      {"half loudness", 1, 300, 1000, N(0.5), N(1), N(1), N(0), N(0), "15000", "300", "1000"},
      {"tiny level", 0.00001, 300, 1000, N(0.5), N(1), N(1), N(0), N(0), "0", "300", "1000"},
      {"whole step", 0.123457, 300, 1000, T("1"), T("1"), T("1"), T("0"), T("0"), "3704", "300",
       "1000"},
      {"multipliers", 1, 300, 1000, N(1), N(1.5), N(0.5), N(0), N(0), "30000", "450", "500"},
      {"master values", 1, 300, 1000, N(1), N(1.5), N(0.5), N(440), N(2000), "30000", "440",
       "2000"},
      {"master texts", 1, 300, 1000, T("1"), T("2"), T("3"), T("440"), T("2500.556"), "30000",
       "440", "2500.56"},
      {"two decimals", 1, 123.456, 987.654, N(1), N(1), N(1), unset, unset, "30000", "123.46",
       "987.65"},
      {"negative master", 1, 300, 1000, N(1), N(1), N(1), N(-440), N(-1), "30000", "300", "1000"},
      // A text that is not a number counts by its leading number: an empty one is 0.
      {"empty texts", 1, 300, 1000, T(""), T(""), T("2x"), T(""), T(""), "0", "0", "2000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConverterState& s = state();
    SetFofState(s);
    s.OverallLoudness = c.overall;
    s.PitchMultiplier = c.pitchMultiplier;
    s.TimbreMultiplier = c.timbreMultiplier;
    s.MasterPitch = c.masterPitch;
    s.MasterTimbre = c.masterTimbre;
    s.RangeStartLine = s.RangeEndLine = 7;
    SetPoint(s, 7, 1.5, c.lt, c.ht, c.kl);
    std::vector<std::string> lines = Write();
    // One point: one value on each line, at column 12.
    EXPECT_EQ(lines.at(3), "ZP         1.5");
    EXPECT_EQ(lines.at(4), "LT         " + std::string(c.ltText));
    EXPECT_EQ(lines.at(5), "HT         " + std::string(c.htText));
    EXPECT_EQ(lines.at(6), "KL         " + std::string(c.klText));
  }
}

// FUA to FOM, LTS and HTS as held: a text unchanged, a number as a number item, nothing as
// nothing; LTF always as a number.
TEST_F(ToneListWriterTest, SettingLinesHoldTheSettingsAsHeld) {
  struct Case {
    const char* name;
    SettingValue value;
    const char* held;
  };
  const Case cases[] = {
      {"text", T("3"), "3"},
      {"text with blank", T("0.5 "), "0.5 "},
      {"number", N(3), " 3 "},
      {"fraction", N(0.05), " 0.05 "},
      {"negative", N(-2.5), "-2.5 "},
      {"integer", SettingValue::Integer(2), " 2 "},
      {"nothing", SettingValue(), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConverterState& s = state();
    SetFofState(s);
    for (SettingValue* v : {&s.Fua, &s.Fub, &s.Ente, &s.Del, &s.Fom, &s.SampleLoudnessFactor,
                            &s.SampleFrequencyFactor})
      *v = c.value;
    std::vector<std::string> lines = Write();
    const std::string held = c.held;
    EXPECT_EQ(lines.at(8), "FUA        " + held);
    EXPECT_EQ(lines.at(9), "FUB        " + held);
    EXPECT_EQ(lines.at(10), "ENTE       " + held);
    EXPECT_EQ(lines.at(11), "DEL        " + held);
    EXPECT_EQ(lines.at(12), "FOM        " + held);
    EXPECT_EQ(lines.at(14), "LTS        " + held);
    EXPECT_EQ(lines.at(15), "HTS        " + held);
  }
}

TEST_F(ToneListWriterTest, LtfIsAlwaysANumber) {
  struct Case {
    const char* sine;
    SettingValue factor;
    const char* line;
  };
  const Case cases[] = {
      {"j", T("1"), "LTF         0.33 "},   {"n", T("1"), "LTF         1 "},
      {"j", N(2), "LTF         0.67 "},     {"n", T("1.5x"), "LTF         1.5 "},
      {"ja", N(1.25), "LTF         1.25 "}, {"j", SettingValue(), "LTF         0 "},
      {"j", N(-3), "LTF        -1 "},       {"j", T("0.005"), "LTF         0 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    SetFofState(state());
    state().Sine = c.sine;
    state().FofLoudnessFactor = c.factor;
    std::vector<std::string> lines = Write();
    EXPECT_EQ(lines.at(13), c.line);
    // Only "j" makes sine tones: every other text keeps the KL line.
    EXPECT_EQ(lines.at(6).rfind("KL ", 0) == 0, std::string(c.sine) != "j");
  }
}

TEST_F(ToneListWriterTest, WithoutASampleLine19SaysSoAndTheSmpLineStays) {
  struct Case {
    const char* name;
    SettingValue lts;
    const char* samplePath;
    const char* smpLine;
  };
  const Case cases[] = {
      {"zero text", T("0"), "c:\\Arbeit\\Samp100.wav", "SMP         c:\\Arbeit\\Samp100.wav"},
      {"zero number", N(0), "c:\\Arbeit\\Samp100.wav", "SMP         c:\\Arbeit\\Samp100.wav"},
      {"negative", N(-1), "c:\\Arbeit\\Samp100.wav", "SMP         c:\\Arbeit\\Samp100.wav"},
      {"nothing, no copy", SettingValue(), "", "SMP         "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFofState(state());
    state().SampleLoudnessFactor = c.lts;
    state().SampleCopyPath = c.samplePath;
    std::vector<std::string> lines = Write();
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[16], c.smpLine);
    EXPECT_EQ(lines[17], "");
    EXPECT_EQ(lines[18], "Es wurde kein Sample dazugespielt.");
    for (size_t n = 19; n < 24; ++n) EXPECT_EQ(lines[n], "") << n;
  }
}

TEST_F(ToneListWriterTest, AnEmptyRangeWritesTheKeywordsAndBlanksOnly) {
  SetFofState(state());
  state().RangeStartLine = 50;
  state().RangeEndLine = 49;
  std::vector<std::string> lines = Write();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines[3], "ZP         ");
  EXPECT_EQ(lines[4], "LT         ");
  EXPECT_EQ(lines[5], "HT         ");
  EXPECT_EQ(lines[6], "KL         ");

  window->ShowExtractedValues();
  const std::vector<std::vector<std::string>> heads = {
      {"Zeitpunkte", "aus ZP():", ""},
      {"Lautstärken", "aus LT():", ""},
      {"Tonhöhen", "aus HT():", ""},
      {"Klangfreq.", "aus KL():", ""}};
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(window->Testliste[c]->items(), heads[c - 1]) << c;
}

// A range beyond the arrays raises error 9 (no read beyond an array) and the previous tone list
// stays whole: the new text only replaces it when complete.
TEST_F(ToneListWriterTest, AFailureWhileWritingLeavesThePreviousToneListWhole) {
  struct Case {
    const char* name;
    const char* sine;
    long first, last;
  };
  const Case cases[] = {
      {"timbre beyond its array", "n", 9999, 10001},
      {"time beyond its array", "j", 11999, 12001},
      {"negative line", "n", -1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string previous = "\r\nTesu v5.31 - die vorige Liste\r\nZP 1 2\r\n";
    root.Write("c/Arbeit/Tesu.rsz", previous);
    ConverterTest::window = std::make_unique<envelope::ConverterWindow>(envelope::ConverterServices{
        clock, starter, windowSystem, dialogs, dialogs, dialogs});
    SetFofState(state());
    state().Sine = c.sine;
    state().RangeStartLine = c.first;
    state().RangeEndLine = c.last;
    int error = 0;
    try {
      window->WriteToneList();
    } catch (const common::RuntimeError& e) {
      error = e.number();
    }
    EXPECT_EQ(error, common::kSubscriptOutOfRange);
    EXPECT_EQ(ReadArbeit("Tesu.rsz"), previous);
    window.reset();  // the program ends with the file still open: its new text is dropped
    EXPECT_EQ(ReadArbeit("Tesu.rsz"), previous);
    size_t filesInFolder = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(root / "c/Arbeit"))
      ++filesInFolder;
    EXPECT_EQ(filesInFolder, 1u);
  }
}

TEST_F(ToneListWriterTest, ShowExtractedValuesListsTheWorkingValuesUnscaled) {
  SetFofState(state());
  state().OverallLoudness = N(0.5);
  state().PitchMultiplier = N(2);
  state().MasterTimbre = N(3000);
  state().RangeStartLine = 41;
  state().RangeEndLine = 43;
  window->Testlist.AddItem("alt");
  window->Testlist.SetBackColour(0x8080FF);
  window->Testliste[2]->AddItem("alt");
  window->ShowExtractedValues();

  EXPECT_EQ(window->Testlist.backColour(), 0xFFFFFF);
  EXPECT_EQ(window->Testlist.items(),
            (std::vector<std::string>{
                "", "Analyse der aus C:\\Arbeit\\Probe.rpp herausgefilterten Werte.",
                "Alle angezeigten Werte wurden dieser Datei entnommen.", "", "", ""}));
  const std::vector<std::vector<std::string>> columns = {
      {"Zeitpunkte", "aus ZP():", "", "1.23456", "2.5", "3"},
      {"Lautstärken", "aus LT():", "", "0.5", "1", "0.25"},
      {"Tonhöhen", "aus HT():", "", "233.08", "246.94", "261.63"},
      {"Klangfreq.", "aus KL():", "", "900.556", "1000", "1200.004"}};
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(window->Testliste[c]->items(), columns[c - 1]) << c;
}

// The display reads KL for every point, whatever the mode: beyond its array is error 9.
TEST_F(ToneListWriterTest, ShowExtractedValuesRaisesBeyondTheTimbreArray) {
  SetSineState(state());
  state().RangeStartLine = 10000;
  state().RangeEndLine = 10001;
  int error = 0;
  try {
    window->ShowExtractedValues();
  } catch (const common::RuntimeError& e) {
    error = e.number();
  }
  EXPECT_EQ(error, common::kSubscriptOutOfRange);
}

}  // namespace
}  // namespace envelope_test
