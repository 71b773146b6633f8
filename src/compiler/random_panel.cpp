// The random panel: its 22 rows of settings and their validators, the preset files, and the
// buttons that show the panel and compile the random list.
#include <cmath>
#include <iterator>
#include <optional>
#include <string>

#include "common/codec.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "compiler/compiler_window.h"

namespace compiler {
namespace {

// The preset file is held under this number while it is read or written.
constexpr int kPresetFile = 8;

// The preset dialog CommonDialog2; one set-up serves the load and the save.
const char* const kPresetTitle = "Presets";
const char* const kPresetFilter = "Preset|*.prs";
const char* const kPresetFolder = "C:\\Arbeit\\";
const char* const kPresetFileName = "*.prs";
const char* const kPresetExtension = "prs";

// A dialog's file name is acted on only when it is longer than this ("*.prs" is not).
constexpr size_t kShortestFileName = 5;

// Row by row: the validator of the input box, its field, and the tool tips of the caption box and
// the input box (nullptr: none).
struct RandomRow {
  void (CompilerWindow::*validator)();
  double CompilerState::*field;
  bool loadsText;  // a preset line goes into field and box as it is, not as its numeric prefix
  const char* captionToolTip;
  const char* valueToolTip;
};

const char* const kPitchTip = "Tonhöhe";
const char* const kFormantTip = "Formantfrequenz";

const RandomRow kRows[] = {
    {&CompilerWindow::Text3_Click, &CompilerState::TotalDuration, false,
     "Werte in Sekunden angeben!", nullptr},
    {&CompilerWindow::Text2_Click, &CompilerState::MinGap, false, "Werte in Sekunden angeben!",
     nullptr},
    {&CompilerWindow::Text1_Click, &CompilerState::MaxGap, false,
     "Werte in Sekunden! - Das Programm findet Zeitwerte zwischen den eingestellten Grenzen unter "
     "Einhaltung des Abstufungswertes (Zeit-Quantisierung)",
     nullptr},
    {&CompilerWindow::Text4_Click, &CompilerState::TimeQuantSteps, false,
     "Werte in Sekunden angeben! - Feinabstufung zwischen dem kleinsten und dem größten "
     "eingestellten Zeitwert - 0.0001 = praktisch keine Quantisierung",
     nullptr},
    {&CompilerWindow::Text9_Click, &CompilerState::MinLoudness, false,
     "Lautstärkewerte werden mit Zahlen zwischen 0 und ca. 60000 angegeben", nullptr},
    {&CompilerWindow::Text10_Click, &CompilerState::MaxLoudness, false,
     "das Programm sucht Werte zwischen dem angegebenen leisesten und lautesten Wert aus", nullptr},
    {&CompilerWindow::Text13_Click, &CompilerState::LowestNote, false,
     "Midiwert, z.B. 60 = das eingestrichene c, 72 das zweigestrichene c", kPitchTip},
    {&CompilerWindow::Text14_Click, &CompilerState::HighestNote, false,
     "Midiwert; Töne zwischen dem tiefsten und dem höchsten dem angegebenen Wert werden "
     "ausgegeben",
     kPitchTip},
    {&CompilerWindow::Text16_Click, &CompilerState::MaxInterval, false,
     "maximaler Intervallabstand für aufeinanderfolgende Töne - manchmal auch zweifach; 12 "
     "bedeutet: maximal eine Oktave, 4: maximal eine große Terz, 2: maximal ein Ganztonschritt, "
     "...",
     kPitchTip},
    {&CompilerWindow::Text17_Click, &CompilerState::PitchQuant, false,
     "0.5 = große Terzschritte, 0.75 = kleine Terzschritte, 1 = Ganztonschritte, 2 = "
     "Halbtonschritte, 4 = Vierteltonschritte, 8 = Achteltonschritte usw.",
     kPitchTip},
    {&CompilerWindow::Text23_Click, &CompilerState::PitchRepeat, true,
     "1 = zu jedem Zeitpunkt eine neue Tonhöhe, 2 = nach jeweils zwei Zeitpunkten eine neue "
     "Tonhöhe, 3 = nach drei Zeitpunkten, ...",
     "Tonhöhenwiederholung"},
    {&CompilerWindow::Text32_Click, &CompilerState::LowestFormant, false,
     "Midiwert, aus dem dann die Formantfrequenz errechnet wird. (60 = eingestrichenes c, 72 "
     "zweigestrichenes c, ...)",
     kFormantTip},
    {&CompilerWindow::Text31_Click, &CompilerState::HighestFormant, false,
     "Midiwert, aus dem dann die Formantfrequenz errechnet wird. Formantfrequenzen zwischen dem "
     "tiefsten und dem höchsten dem angegebenen Wert werden erzeugt",
     kFormantTip},
    {&CompilerWindow::Text30_Click, &CompilerState::MaxFormantInterval, false,
     "Formantfrequenz: Maximaler Intervallabstand für aufeinanderfolgende Töne (Klänge) - "
     "manchmal auch zweifach; 12 bedeutet: maximal eine Oktave, 4: maximal eine große Terz, 2: "
     "maximal ein Ganztonschritt, ...",
     kFormantTip},
    {&CompilerWindow::Text29_Click, &CompilerState::FormantQuant, false,
     "Für die Formantfrequenz: 0.5 = große Terzschritte, 0.75 = kleine Terzschritte, 1 = "
     "Ganztonschritte, 2 = Halbtonschritte, 4 = Vierteltonschritte, 8 = Achteltonschritte usw.",
     kFormantTip},
    {&CompilerWindow::Text20_Click, &CompilerState::FormantRepeat, true,
     "0 = Sinusgeneratur, > 0 = FOF-Generator. - 1 = zu jedem Zeitpunkt eine neue "
     "Formantfrequenz, 2 = nach jeweils zwei Zeitpunkten eine neue Formantfrequenz, 3 = nach "
     "drei Zeitpunkten, ...",
     "Wenn nur Sinustöne erzeugt werden sollen, muß her 0 stehen. 1, 2, 3, ... = FOF-Generator"},
    {&CompilerWindow::Text39_Click, &CompilerState::FofFunction1, true,
     "1, 2, 3, 4 usw.; nur ganze Zahlen! - Keine Zufallsfunktion!", nullptr},
    {&CompilerWindow::Text40_Click, &CompilerState::FofFunction2, true,
     "2, 3, 4, 5 usw.; nur ganze Zahlen! - Keine Zufallsfunktion!", nullptr},
    {&CompilerWindow::Text41_Click, &CompilerState::FiveFoldDelay, true,
     "ca. 0.0001 bis 1 - Keine Zufallsfunktion!", nullptr},
    {&CompilerWindow::Text42_Click, &CompilerState::DuckEffect, true,
     "ca. 0 bis 3 - Keine Zufallsfunktion!", nullptr},
    {&CompilerWindow::Text43_Click, &CompilerState::FormantFactor, true,
     "um 50.0; 10 bis 1000 - Keine Zufallsfunktion!", nullptr},
    {&CompilerWindow::Text44_Click, &CompilerState::FrequencyMultiplication, true,
     "0 bis über 1000 - Keine Zufallsfunktion!", nullptr},
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));

// The order in which showing the panel validates the rows: the time group from the largest gap
// back, so that the largest gap is tested against the smallest as it stood before.
constexpr int kValidationOrder[] = {3, 2, 1, 4, 5, 6, 7, 12, 8, 13, 9, 14, 10, 15, 11,
                                    16, 17, 18, 19, 20, 21, 22};

// "shown": the box gets the text form of the value.
void Show(forms::TextBox& box, double value) { box.SetText(common::DoubleText(value)); }

forms::TextBox& InputBox(CompilerWindow& w, int row) {
  return w.Box(CompilerWindow::PanelRowBoxes(row).second);
}

// The row as its caption names it, without the colon; the two rows "größtes Intervall:" add
// whether they are the pitch's or the formant's.
std::string RowName(CompilerWindow& w, int row) {
  const auto captionOf = [&w](int r) {
    std::string caption = w.Box(CompilerWindow::PanelRowBoxes(r).first).text();
    if (!caption.empty() && caption.back() == ':') caption.pop_back();
    return caption;
  };
  const std::string caption = captionOf(row);
  for (int other = 1; other <= kRowCount; ++other)
    if (other != row && captionOf(other) == caption && kRows[row - 1].valueToolTip)
      return caption + " (" + kRows[row - 1].valueToolTip + ")";
  return caption;
}

// The time step and the smallest gap, which bounds it: the field of the step holds its
// reciprocal, so a step or gap this close to 0 has none.
bool NeedsReciprocal(int row) { return row == 2 || row == 4; }

// The row's number in a text (of its box or a preset line), or nothing when it cannot be used:
// a message names the row.
std::optional<double> RowNumber(CompilerWindow& w, int row, const std::string& text) {
  const std::string name = RowName(w, row);
  const std::optional<double> number = w.UsableNumber(text, name);
  if (number && NeedsReciprocal(row) && *number != 0 && !std::isfinite(1 / *number)) {
    w.RefuseNumber(text, name, "zu klein");
    return std::nullopt;
  }
  return number;
}

// The numeric prefix of the input box's text into the row's field. A number that cannot be used
// leaves the field as it was, and the box shows it.
double& TakeValue(CompilerWindow& w, int row) {
  forms::TextBox& box = InputBox(w, row);
  double& field = w.state.*kRows[row - 1].field;
  if (const std::optional<double> number = RowNumber(w, row, box.text())) field = *number;
  else Show(box, field);
  return field;
}

void ValueShown(CompilerWindow& w, int row) { Show(InputBox(w, row), TakeValue(w, row)); }

void AtLeastOne(CompilerWindow& w, int row) {
  double& field = TakeValue(w, row);
  if (field < 1) {
    field = 1;
    Show(InputBox(w, row), field);
  }
}

}  // namespace

void CompilerWindow::WireRandomPanel() {
  for (int row = 1; row <= kRowCount; ++row) {
    const RandomRow& r = kRows[row - 1];
    const auto [captionName, valueName] = PanelRowBoxes(row);
    Box(captionName).SetToolTip(r.captionToolTip);
    forms::TextBox& value = Box(valueName);
    if (r.valueToolTip) value.SetToolTip(r.valueToolTip);
    value.onClick = [this, validator = r.validator] { (this->*validator)(); };
  }
  Zufallsliste.onClick = [this] { Zufallsliste_Click(); };
  Btn("Command10").onClick = [this] { Command10_Click(); };
  Btn("Command11").onClick = [this] { Command11_Click(); };
  Btn("Command12").onClick = [this] { Command12_Click(); };
  Btn("Command13").onClick = [this] { Command13_Click(); };
  Btn("Direktstart").onClick = [this] { Direktstart_Click(); };
  Pic("Picture2").onMouseMove = [this] { Picture2_MouseMove(); };
}

// ---- The validators ---------------------------------------------------------------------------

void CompilerWindow::Text3_Click() {
  forms::TextBox& box = Box("Text3");
  double& v = TakeValue(*this, 1);
  if (v <= state.MaxGap) {
    v = 2 * state.MaxGap;
    Show(box, v);
  }
  if (v == 0) {
    v = 10;
    Show(box, v);
  }
}

void CompilerWindow::Text2_Click() {
  forms::TextBox& box = Box("Text2");
  if (TakeValue(*this, 2) <= 0) {
    state.MinGap = 0.001;
    Show(box, state.MinGap);
  }
}

void CompilerWindow::Text1_Click() {
  forms::TextBox& box = Box("Text1");
  double& v = TakeValue(*this, 3);
  if (v == 0) {
    v = state.MinGap;
    Show(box, v);
  }
  if (v <= state.MinGap) {
    v = state.MinGap + 0.001;
    Show(box, v);
  }
  if (v == 0) {
    v = 1;
    Show(box, v);
  }
}

void CompilerWindow::Text4_Click() {
  forms::TextBox& box = Box("Text4");
  // The field holds the steps per second: a step that cannot be used keeps the one before.
  double step = 0;
  if (const std::optional<double> typed = RowNumber(*this, 4, box.text())) {
    step = *typed;
  } else {
    if (state.TimeQuantSteps != 0) step = 1 / state.TimeQuantSteps;
    Show(box, step);
  }
  if (step > state.MinGap) {
    step = state.MinGap;
    Show(box, step);
  }
  if (step == 0) {
    step = 0.0001;
    Show(box, step);
  }
  if (step > 0.5) {
    step = 0.5;
    Show(box, step);
  }
  // The step is the one typed (its reciprocal a number), the smallest gap (likewise), 0.0001 or
  // 0.5.
  state.TimeQuantSteps = 1 / step;
}

void CompilerWindow::Text9_Click() { TakeValue(*this, 5); }
void CompilerWindow::Text10_Click() { TakeValue(*this, 6); }
void CompilerWindow::Text13_Click() { TakeValue(*this, 7); }
void CompilerWindow::Text14_Click() { TakeValue(*this, 8); }
void CompilerWindow::Text16_Click() { AtLeastOne(*this, 9); }
void CompilerWindow::Text17_Click() { TakeValue(*this, 10); }
void CompilerWindow::Text23_Click() { AtLeastOne(*this, 11); }
void CompilerWindow::Text32_Click() { TakeValue(*this, 12); }
void CompilerWindow::Text31_Click() { TakeValue(*this, 13); }
void CompilerWindow::Text30_Click() { AtLeastOne(*this, 14); }
void CompilerWindow::Text29_Click() { TakeValue(*this, 15); }

// Rows 16 to 22 show the value they took: "2abc" becomes "2".
void CompilerWindow::Text20_Click() { ValueShown(*this, 16); }
void CompilerWindow::Text39_Click() { ValueShown(*this, 17); }
void CompilerWindow::Text40_Click() { ValueShown(*this, 18); }
void CompilerWindow::Text41_Click() { ValueShown(*this, 19); }
void CompilerWindow::Text42_Click() { ValueShown(*this, 20); }
void CompilerWindow::Text43_Click() { ValueShown(*this, 21); }
void CompilerWindow::Text44_Click() { ValueShown(*this, 22); }

// ---- Showing the panel --------------------------------------------------------------------------

void CompilerWindow::Command11_Click() {
  HideListLarge();
  HideSettingsPanel();
  ShowAndValidatePanel();
}

void CompilerWindow::ShowAndValidatePanel() {
  for (const char* name : {"Command3", "Command1", "Command5"}) Btn(name).SetTabStop(false);
  for (int n = 1; n <= 44; ++n) Box("Text" + std::to_string(n)).SetVisible(true);
  for (int row = 1; row <= kRowCount; ++row) Box(PanelRowBoxes(row).second).SetTabStop(true);
  Btn("Command4").SetTabStop(false);
  for (int row : kValidationOrder) (this->*kRows[row - 1].validator)();
}

void CompilerWindow::Picture2_MouseMove() { Pic("Picture2").SetVisible(false); }

// ---- Presets ------------------------------------------------------------------------------------

void CompilerWindow::Command12_Click() {
  CompilerState& s = state;
  HideSettingsPanel();
  s.DialogFileName = services.fileDialog.OpenFile(kPresetTitle, kPresetFolder, kPresetFilter,
                                                  kPresetFileName, kPresetExtension);
  const std::string previousPresetPath = s.PresetFilePath;
  s.PresetFilePath = s.DialogFileName;
  if (common::CharCount(s.DialogFileName) <= kShortestFileName) return;

  // A file that cannot be opened loads nothing: the panel, the preset path and the flag stay.
  try {
    files.OpenInput(kPresetFile, s.DialogFileName);
  } catch (const common::RuntimeError&) {
    s.PresetFilePath = previousPresetPath;
    return;
  }
  // A reading error ends the reading at that line, and so does a line that is no number where
  // the row takes the text, or a number that cannot be used (refused with a message); the rows
  // read so far keep their new texts.
  try {
    for (int row = 1; row <= kRowCount; ++row) {
      const RandomRow& r = kRows[row - 1];
      forms::TextBox& box = Box(PanelRowBoxes(row).second);
      const std::string line = files.LineInput(kPresetFile);
      if (r.loadsText && !common::IsStrictNumber(line)) break;
      const std::optional<double> number = RowNumber(*this, row, line);
      if (!number) break;
      s.*r.field = *number;
      if (r.loadsText) box.SetText(line);
      else Show(box, s.*r.field);
    }
  } catch (const common::RuntimeError&) {
  }
  files.Close(kPresetFile);
  Command11_Click();
  s.PresetsLoaded = true;
}

void CompilerWindow::Command13_Click() {
  CompilerState& s = state;
  HideSettingsPanel();
  s.DialogFileName =
      services.fileDialog.SaveFile(kPresetTitle, kPresetFolder, kPresetFilter, kPresetExtension);
  if (common::CharCount(s.DialogFileName) <= kShortestFileName) return;
  // No trap: a file that cannot be written is the platform's error message. The old file stays
  // whole until the new one is complete. A preset the composer made read-only is refused before
  // anything is written, and said so.
  try {
    files.OpenOutputReplacing(kPresetFile, s.DialogFileName);
  } catch (const common::RuntimeError& e) {
    if (e.number() != common::kPathFileAccessError) throw;
    ShowError("Die Datei " + s.DialogFileName + " konnte nicht geschrieben werden: " + e.text());
    return;
  }
  for (int row = 1; row <= kRowCount; ++row)
    files.Print(kPresetFile, Box(PanelRowBoxes(row).second).text());
  files.Close(kPresetFile);
}

// ---- Compiling the random list --------------------------------------------------------------

void CompilerWindow::Command10_Click() {
  HideSettingsPanel();
  Zufallsliste_Click();
  Direktstart_Click();  // the pass ends the program: what follows runs only where it returns
  Command5_Click();
}

void CompilerWindow::Direktstart_Click() {
  HideSettingsPanel();
  AdoptRandomList();
}

void CompilerWindow::AdoptRandomList() {
  state.ChosenListPath = state.RandomListPath;
  state.ChosenListFlag = true;
  Form_Load();  // ends the program
  ListScoreAndOrchestra();
}

}  // namespace compiler
