// The converter's tone list "Tesu.rsz" and the display of the extracted point values.
#include <charconv>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/numbers.h"
#include "common/printed_line.h"
#include "envelope/converter_window.h"
#include "platform/clock.h"
#include "platform/file_table.h"

namespace envelope {
namespace {

constexpr int kToneListFileNumber = 1;
constexpr int kValueColumn = 12;  // the settings' values and the k-th point value at 12 k
constexpr forms::Colour kWhite = 0xFFFFFF;

// The shortest plain text that reads back as the value (period, no blanks, no exponent, no
// trailing zeros). The 15-digit text form is that text whenever it reads back; otherwise the
// shortest round-trip digits in fixed notation are taken.
std::string ValueText(double value) {
  std::string text = common::DoubleText(value);
  if (common::LeadingNumber(text) == value) return text;
  char buf[400];
  auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  return std::string(buf, result.ptr);
}

// One value line of the tone list: its keyword, the value of point i as written (before rounding)
// and the step it is rounded to.
struct ValueRow {
  const char* keyword;
  std::function<double(long)> value;
  double step;
};

// The ZP, LT and HT rows and, for FOF tones (Sine not "j"), the KL row. A setting that holds a
// text counts by its leading number (empty: 0).
std::vector<ValueRow> ValueRows(const ConverterState& s) {
  const double overall = s.OverallLoudness.AsLeadingNumber();
  const double pitchMultiplier = s.PitchMultiplier.AsLeadingNumber();
  const double timbreMultiplier = s.TimbreMultiplier.AsLeadingNumber();
  const double masterPitch = s.MasterPitch.AsLeadingNumber();
  const double masterTimbre = s.MasterTimbre.AsLeadingNumber();
  std::vector<ValueRow> rows = {
      {"ZP", [&s](long i) { return Element(s.ZP, i); }, 10000},
      {"LT", [&s, overall](long i) { return Element(s.LT, i) * 30000 * overall; }, 1},
      {"HT",
       [&s, masterPitch, pitchMultiplier](long i) {
         return masterPitch > 0 ? masterPitch : Element(s.HT, i) * pitchMultiplier;
       },
       100}};
  if (s.Sine != "j")
    rows.push_back({"KL",
                    [&s, masterTimbre, timbreMultiplier](long i) {
                      return masterTimbre > 0 ? masterTimbre : Element(s.KL, i) * timbreMultiplier;
                    },
                    100});
  return rows;
}

std::string RowValueText(const ValueRow& row, long i) {
  return ValueText(common::RoundToStep(row.value(i), row.step));
}

// One value line: the keyword in column 1, the k-th value text of the range at column 12 k.
std::string ValueLine(const ValueRow& row, long first, long last) {
  common::PrintedLine line;
  line.Text(row.keyword).Tab(kValueColumn);
  int k = 1;
  for (long i = first; i <= last; ++i, ++k) line.Tab(kValueColumn * k).Text(RowValueText(row, i));
  return line.str();
}

std::string SettingLine(const char* keyword, const SettingValue& v) {
  common::PrintedLine line;
  line.Text(keyword).Tab(kValueColumn);
  tonelist::PrintAsHeld(line, v);
  return line.str();
}

}  // namespace

void ConverterWindow::WriteToneList() {
  const ConverterState& s = state;
  const bool sine = s.Sine == "j";
  const long first = s.RangeStartLine, last = s.RangeEndLine;
  const std::vector<ValueRow> rows = ValueRows(s);
  const double fofFactor = s.FofLoudnessFactor.AsLeadingNumber();
  const bool withSample = s.SampleLoudnessFactor.AsLeadingNumber() > 0;

  // The new text reaches ToneListPath only when the file is closed complete: a failure on the
  // way leaves the previous tone list whole for the compiler builds. The header and line 19 name
  // the project, the track and the sample: a name outside Windows-1252 makes the file UTF-8. The
  // compilers read it as Windows-1252, where those two lines stay comments (a UTF-8 character
  // holds no blank and no ASCII letter, so it makes no keyword); the numbers and the sample copy's
  // path read the same in both codes.
  const int f = kToneListFileNumber;
  files.OpenOutputReplacing(f, s.ToneListPath, platform::Encoding::Utf8OrCp1252);
  try {
    files.Print(f, "");
    files.Print(f, "Tesu " + s.VersionText + " - " + services.clock.TimeText() + " " +
                       services.clock.DateText() + " - Reaperdatei: " + s.ProjectName +
                       ".rpp - Hüllkurve: " + s.TrackName);
    files.Print(f, "");

    // ZP, LT and HT; then KL, or an empty line for sine tones.
    for (const ValueRow& row : rows) files.Print(f, ValueLine(row, first, last));
    if (sine) files.Print(f, "");
    files.Print(f, "");

    files.Print(f, SettingLine("FUA", s.Fua));
    files.Print(f, SettingLine("FUB", s.Fub));
    files.Print(f, SettingLine("ENTE", s.Ente));
    files.Print(f, SettingLine("DEL", s.Del));
    files.Print(f, SettingLine("FOM", s.Fom));
    files.Print(f, common::PrintedLine()
                       .Text("LTF")
                       .Tab(kValueColumn)
                       .Double(sine ? common::RoundToStep(fofFactor / 3, 100) : fofFactor)
                       .str());
    files.Print(f, SettingLine("LTS", s.SampleLoudnessFactor));
    files.Print(f, SettingLine("HTS", s.SampleFrequencyFactor));
    files.Print(
        f, common::PrintedLine().Text("SMP").Tab(kValueColumn).Text(" ").Text(s.SampleCopyPath).str());
    files.Print(f, "");
    files.Print(f, withSample ? "Name des verwendeten Samples: " + s.SamplePath
                              : std::string("Es wurde kein Sample dazugespielt."));
    // Lines 20 to 25 with a sample, 20 to 24 without.
    for (int line = 20; line <= (withSample ? 25 : 24); ++line) files.Print(f, "");
    files.Close(f);
  } catch (const common::RuntimeError&) {
    files.Discard(f);
    throw;
  }
}

bool ConverterWindow::WriteToneListOrReport() {
  try {
    WriteToneList();
    return true;
  } catch (const common::RuntimeError& e) {
    ShowError("Die Tonverlaufsliste " + state.ToneListPath + " konnte nicht geschrieben werden (" +
              e.text() + "). Die bisherige Liste bleibt, wie sie war; es wird kein "
              "Compilerprogramm gestartet.");
    return false;
  }
}

std::string ConverterWindow::ValueTooWideForToneList() const {
  // Values are separated by at least one blank of their 12-column fields.
  constexpr size_t kWidestValueText = kValueColumn - 1;
  for (const ValueRow& row : ValueRows(state))
    for (long i = state.RangeStartLine; i <= state.RangeEndLine; ++i) {
      const double value = row.value(i);
      const std::string text = RowValueText(row, i);
      if (!std::isfinite(value) || text.size() > kWidestValueText) {
        // A huge value is shown by its first digits only.
        const std::string shown = text.size() > 20 ? text.substr(0, 20) + "..." : text;
        return std::string(row.keyword) + " " + (std::isfinite(value) ? shown : "?");
      }
    }
  return "";
}

bool ConverterWindow::ToneListValuesFit(const std::string& opening) {
  const std::string tooWide = ValueTooWideForToneList();
  if (tooWide.empty()) return true;
  ShowError(opening + " in seine Spalte der Tonverlaufsliste (höchstens 11 Zeichen): " + tooWide +
            ". Es wurde nichts geschrieben und nichts gestartet.");
  return false;
}

void ConverterWindow::ShowExtractedValues() {
  const ConverterState& s = state;
  Testlist.Clear();
  Testlist.SetBackColour(kWhite);
  Testlist.AddItem("");
  Testlist.AddItem("Analyse der aus " + s.ProjectPath + " herausgefilterten Werte.");
  Testlist.AddItem("Alle angezeigten Werte wurden dieser Datei entnommen.");
  for (int n = 0; n < 3; ++n) Testlist.AddItem("");

  static const char* const kHeads[5][2] = {{"", ""},
                                           {"Zeitpunkte", "aus ZP():"},
                                           {"Lautstärken", "aus LT():"},
                                           {"Tonhöhen", "aus HT():"},
                                           {"Klangfreq.", "aus KL():"}};
  for (int c = 1; c <= 4; ++c) {
    Testliste[c]->Clear();
    Testliste[c]->AddItem(kHeads[c][0]);
    Testliste[c]->AddItem(kHeads[c][1]);
    Testliste[c]->AddItem("");
  }
  for (long i = s.RangeStartLine; i <= s.RangeEndLine; ++i) {
    Testliste[1]->AddItem(common::DoubleText(Element(s.ZP, i)));
    Testliste[2]->AddItem(common::DoubleText(Element(s.LT, i)));
    Testliste[3]->AddItem(common::DoubleText(Element(s.HT, i)));
    Testliste[4]->AddItem(common::DoubleText(Element(s.KL, i)));
  }
}

}  // namespace envelope
