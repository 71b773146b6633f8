// The conversion run, its three buttons, the start/stop file and the start of a compiler build.
#include <cmath>

#include "common/errors.h"
#include "common/numbers.h"
#include "envelope/converter_window.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"

namespace envelope {
namespace {

constexpr int kStartStopFile = 7;
constexpr forms::Colour kRunColour = 0xFFC0C0;

// The compiler builds by CompilerMode (0 or 2) and WithAudioEditor, with the most values a line
// of the tone list may hold for each: a build stops reading a line there, so the ZP line of a
// longer list leaves its LT, HT and KL lines unread. The numbers are the builds' own point
// capacities (compiler/build_settings.cpp); the converter does not link the compiler.
const ConverterWindow::CompilerBuild kCompilerBuilds[2][2] = {
    {{"TalvikTe2", "C:\\Arbeit\\VB\\Tesu01\\TalvikTe2.exe", 1000},
     {"TalvikTe", "C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe", 10000}},
    {{"TalvikTe4", "C:\\Arbeit\\VB\\Tesu01\\TalvikTe4.exe", 1000},
     {"TalvikTe3", "C:\\Arbeit\\VB\\Tesu01\\TalvikTe3.exe", 1000}}};

}  // namespace

void ConverterWindow::RunEnvelopeConversion() {
  ConverterState& s = state;
  // 1.
  s.ProjectMissing = s.TrackMissing = s.NotPointLine = s.NoMarkerFound = s.RangeError =
      s.FrequencyError = false;
  s.EnvelopeMissing = s.RangeTooLarge = s.ValueTooLarge = false;
  s.RangeConverted = false;
  // 2.
  if (!s.SkipDialogue) AskRunSettings();
  if (!ToneListSettingsComplete()) return;
  // 3.
  s.ProjectPath = s.WorkFolder + s.ProjectName + ".rpp";
  s.ToneListPath = s.WorkFolder + "Tesu" + ".rsz";
  frmDatei.SetCaption(RunCaption());
  // 4-6.
  LoadProjectLines();
  if (s.ProjectMissing) return;
  FindTrackByName();
  if (s.TrackMissing) return;
  FindVolumeEnvelope();
  FindPointLines();
  if (s.EnvelopeMissing) {
    ReportEnvelopeProblem();
    return;
  }
  // 7-8.
  if (!s.UseStartStopPoints) {
    TakeSelectionRange();
  } else if (s.StoredStartLine.AsLeadingNumber() > 0 && s.AutoPoints) {
    TakeWholeEnvelopeRange();
    kopieren.SetEnabled(true);
  } else {
    TakeMarkedPointRange();
  }
  if (s.RangeError) return;
  if (s.ValueTooLarge) {
    ClearDisplayLists(true);
    return;
  }
  CheckRangeBounds();
  // A run that starts a build needs a range that build takes whole; a copy run and a return
  // from the info pages start none.
  if (!s.RangeTooLarge && s.InfoPage == 0 && !ChosenBuildTakesRange()) {
    s.RangeTooLarge = true;
    ClearDisplayLists(true);
  }
  if (s.RangeTooLarge) return;
  // 9-11.
  CollectMarkers();
  ReadPointValues();
  if (s.NotPointLine) return;
  NotePointLinesRead();
  ReadMarkers();
  if (s.NoMarkerFound) return;
  if (!s.ValueTooLarge) AssignMarkerFrequencies();
  if (s.FrequencyError || s.ValueTooLarge) {
    ClearDisplayLists(true);
    return;
  }
  // 12. A value that does not fit its column (a huge level, say) would make a tone list the
  // compiler misreads: nothing is written.
  if (!ToneListValuesFit("Ein Wert passt nicht")) {
    ClearDisplayLists(true);
    return;
  }
  ShowExtractedValues();
  if (!WriteToneListOrReport()) return;
  s.RangeConverted = true;
  // 13: a copy run, or a return from the info pages, starts nothing.
  if (s.InfoPage != 0) return;
  // 14-15.
  platform::CloseWindowsByTitle(services.windows, "Dozudava.wav - Cool Edit");
  StartCompilerBuild();
}

bool ConverterWindow::ToneListSettingsComplete() {
  ConverterState& s = state;
  for (int slot = kFofSlots; slot < kSlotCount; ++slot) {
    const SettingValue& v = s.*(kSettingSlots[slot].current);
    const int box = slot + 4;
    const std::string field = "Das Feld \"" + BoxLabel[box]->caption() + "\"";
    // The fixed pitch and timbre (boxes 15 and 16) may stay empty: 0 is no fixed value.
    const bool needed = slot < kScalingSlots + 3;
    const bool empty =
        v.IsUnset() || (v.IsText() && v.text().find_first_not_of(' ') == std::string::npos);
    // A number too large: the setting's own text, or, where the value is empty, the box's (the
    // box refused the number when it was given, and a settings file that stops before its
    // counter line leaves no text for the value).
    const std::string& given = empty ? Text[box]->text() : v.text();
    if (!std::isfinite(empty ? common::LeadingNumberOrInfinity(given) : SettingNumber(v))) {
      ShowError(field + " enthält eine zu große Zahl (" + given + ").");
      return false;
    }
    if (empty) {
      if (!needed) continue;
      ShowError(field + " ist leer. Die Tonverlaufsliste braucht dort einen Wert.");
      return false;
    }
    // A text that is no number (a decimal comma, letters) would count as 0 and make the sound
    // silent or its pitches 0; a bracket term is left to the compiler.
    const std::string& text = v.IsText() ? v.text() : Text[box]->text();
    const size_t first = text.find_first_not_of(' ');
    if (needed && first != std::string::npos && text[first] != '[' && !common::IsStrictNumber(text)) {
      ShowError(field + " enthält \"" + text +
                "\": keine Zahl (mit dem Punkt als Dezimaltrennzeichen).");
      return false;
    }
  }
  return true;
}

const ConverterWindow::CompilerBuild& ConverterWindow::ChosenCompilerBuild() const {
  return kCompilerBuilds[state.CompilerMode == 2 ? 1 : 0][state.WithAudioEditor ? 1 : 0];
}

std::string ConverterWindow::CompilerProgramPath() const { return ChosenCompilerBuild().program; }

bool ConverterWindow::ChosenBuildTakesRange() {
  const CompilerBuild& build = ChosenCompilerBuild();
  const long points = state.RangeEndLine - state.RangeStartLine + 1;
  if (points <= build.pointCapacity) return true;
  ShowError("Der Bereich ist zu groß für " + build.name + ": " + std::to_string(points) +
            " Punkte, " + build.name + " nimmt höchstens " +
            std::to_string(build.pointCapacity) +
            " Punkte. Es wurde nichts geschrieben und nichts gestartet.");
  return false;
}

void ConverterWindow::StartCompilerBuild() {
  const std::string program = CompilerProgramPath();
  try {
    services.starter.StartProgram(program, platform::kMinimizedFocus);
  } catch (const common::RuntimeError&) {
    ShowError("Das Compilerprogramm " + program +
              " wurde nicht gefunden. Die Tonverlaufsliste " + state.ToneListPath +
              " ist geschrieben.");
  }
}

namespace {

// The two lines of the start/stop file as texts; a missing or short file counts as 0 and 0.
void ReadStartStopFile(ConverterWindow& w) {
  ConverterState& s = w.state;
  try {
    w.files.OpenInput(kStartStopFile, w.StartStopFilePath());
    s.StoredStartLine = SettingValue::Text(w.files.LineInput(kStartStopFile));
    s.StoredStopLine = SettingValue::Text(w.files.LineInput(kStartStopFile));
    w.files.Close(kStartStopFile);
  } catch (const common::RuntimeError&) {
    w.files.Close(kStartStopFile);
    s.StoredStartLine = SettingValue::Number(0);
    s.StoredStopLine = SettingValue::Number(0);
  }
}

// After a run: the envelope's point lines of that run, or 0 and 0 when no envelope was found.
void StoreRunRange(ConverterWindow& w) {
  ConverterState& s = w.state;
  w.FindPointLines();
  const bool found = s.EnvelopeLine > 0 && s.FirstPointLine > 0 && !s.EnvelopeMissing;
  s.StoredStartLine = SettingValue::Number(found ? static_cast<double>(s.FirstPointLine + 1) : 0);
  s.StoredStopLine = SettingValue::Number(found ? static_cast<double>(s.LastPointLine) : 0);
  w.WriteStartStopFile(s.StoredStartLine.AsNumber(), s.StoredStopLine.AsNumber());
}

void ShowValueColumns(ConverterWindow& w, int testlistHeight) {
  for (int i = 1; i <= 4; ++i) w.Testliste[i]->SetVisible(true);
  w.Testlist.SetHeight(testlistHeight);
}

}  // namespace

void ConverterWindow::Command3_Click() {
  ConverterState& s = state;
  const StartStopClick click(*this);
  ReadStartStopFile(*this);
  s.RunStarted = true;
  for (forms::Button* b : {&Variation, &Variation2}) {
    b->SetEnabled(true);
    b->SetBackColour(kRunColour);
  }
  s.VariationActive = false;
  Command3.SetBackColour(kRunColour);
  Orcknopf.SetBackColour(0xE0E0E0);
  Scoknopf.SetBackColour(0xE0E0E0);
  Text[17]->SetVisible(true);
  Command11.SetVisible(true);
  Command12.SetVisible(true);
  ShowValueColumns(*this, 1365);
  s.CompilerMode = 0;
  s.SkipDialogue = true;
  const bool sameProject =
      s.LastRunProjectName.IsText() && s.LastRunProjectName.text() == s.ProjectName;
  if (!sameProject) StartStoppLos_Click();
  RunEnvelopeConversion();
  s.InfoPage = 0;
  StoreRunRange(*this);
  if (s.AutoPoints) StartStoppLos.SetBackColour(0xBFFA8F);
  s.LastRunProjectName = SettingValue::Text(s.ProjectName);
}

void ConverterWindow::Command19_Click() {
  ConverterState& s = state;
  const StartStopClick click(*this);
  Command19.SetBackColour(kRunColour);
  ReadStartStopFile(*this);
  s.RunStarted = true;
  Variation2.SetEnabled(true);
  Variation2.SetBackColour(kRunColour);
  s.VariationActive = false;
  Text[17]->SetVisible(true);
  Command11.SetVisible(true);
  Command12.SetVisible(true);
  ShowValueColumns(*this, 1365);
  s.SkipDialogue = true;
  s.CompilerMode = 2;
  RunEnvelopeConversion();
  s.InfoPage = 0;
  StoreRunRange(*this);
  if (s.AutoPoints) StartStoppLos.SetBackColour(0xBFFA8F);
}

void ConverterWindow::Command1_Click() {
  ConverterState& s = state;
  ShowValueColumns(*this, 1575);
  s.SkipDialogue = false;
  s.CompilerMode = 0;
  RunEnvelopeConversion();
  s.InfoPage = 0;
}

void ConverterWindow::StartStoppLos_Click() {
  WriteStartStopFile(0, 0);
  StartStoppLos.SetBackColour(0xDFDFDF);
}

}  // namespace envelope
