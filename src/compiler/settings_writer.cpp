// The settings panel (nine boxes that steer the score importer, each keeping its field up to date),
// and the settings file "C:\Arbeit\Talvik.ini": its reader and its writer.
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/numbers.h"
#include "common/printed_line.h"
#include "compiler/compiler_window.h"

namespace compiler {
namespace {

constexpr int kSettingsFile = 9;
const char* const kSettingsPath = "C:\\Arbeit\\Talvik.ini";

// The nine boxes in the order of the file's lines 1 to 9.
struct SettingsBox {
  const char* name;
  const char* label;  // what the window shows for the box: its heading or its label box
  double CompilerState::*field;
  const char* designText;
  const char* toolTip;  // nullptr: none
};

const SettingsBox kSettingsBoxes[] = {
    {"Text45", "Härte", &CompilerState::Hardness, "0.05",
     "z.B. 0.001, 0.005, 0.01, 0.1 - danach erneut die Taste 3 drücken"},
    {"Text46", "Tempo", &CompilerState::Tempo, "1",
     "z.B. 1, 2, 3, 0.5, 0.3 - danach erneut die Taste 3 drücken"},
    {"Text47", "Tonhöhe", &CompilerState::FrequencyFactor, "1",
     "Gesamt-Tonhöhe, z.B. 1, 2, 3, 0.5, 0.125 - danach erneut die Taste 3 drücken"},
    {"Text58", "Lautstärke", &CompilerState::LoudnessFactor, "1",
     "Gesamt-Lautstärke, z.B. 0.75, 0.5, 1-5, 2, 4 - danach erneut die Taste 3 drücken"},
    {"Text48", "FUA", &CompilerState::SettingFua, "1", nullptr},
    {"Text49", "FUB", &CompilerState::SettingFub, "2", nullptr},
    {"Text50", "ENTE", &CompilerState::SettingEnte, "0.01", nullptr},
    {"Text51", "DEL", &CompilerState::SettingDel, "0.001", nullptr},
    {"Text52", "FOM", &CompilerState::SettingFom, "50", nullptr},
};

// The largest number a box of the window takes: twice it, and the span between two such
// numbers, are numbers still.
constexpr double kLargestUsable = std::numeric_limits<double>::max() / 2;

// The boxes that name the five sound settings, Text53 to Text57.
const struct {
  const char* text;
  const char* toolTip;
} kSoundLabels[] = {
    {"FUA",
     "Grundeinstellung für den Klang: erste FOF-Funktion. Einstellen, dann erneut die Taste 3 "
     "drücken!"},
    {"FUB",
     "Grundeinstellung für den Klang: zweite FOF-Funktion. Einstellen, dann erneut die Taste 3 "
     "drücken!"},
    {"ENTE",
     "Grundeinstellung für den Klang: Enteneffekt. Einstellen, dann erneut die Taste 3 drücken!"},
    {"DEL",
     "Grundeinstellung für den Klang: Fünffach-Delay. Einstellen, dann erneut die Taste 3 "
     "drücken!"},
    {"FOM",
     "Grundeinstellung für den Klang: Frequenz-Vervielfachung. Einstellen, dann erneut die Taste "
     "3 drücken!"},
};

// Lines 10 to 12.
constexpr double CompilerState::*kListFactors[] = {
    &CompilerState::SettingLtf, &CompilerState::SettingLts, &CompilerState::SettingHts};

}  // namespace

const std::vector<std::string>& CompilerWindow::SettingsBoxNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (const SettingsBox& b : kSettingsBoxes) v.emplace_back(b.name);
    return v;
  }();
  return names;
}

void CompilerWindow::WireSettingsPanel() {
  forms::Label& heading = Lbl("Label18");
  heading.SetCaption("Härte        Tempo      Tonhöhe   Lautstärke");
  heading.SetToolTip("z.B. 0.001, 0.005, 0.01, 0.1");
  for (int k = 0; k < static_cast<int>(std::size(kSoundLabels)); ++k) {
    forms::TextBox& label = Box("Text" + std::to_string(53 + k));
    label.SetText(kSoundLabels[k].text);
    label.SetToolTip(kSoundLabels[k].toolTip);
  }
  // The design texts are the window's stored ones: they are in place before the handlers, so each
  // field holds 0 until its box's text first changes.
  for (const SettingsBox& b : kSettingsBoxes) {
    forms::TextBox& box = Box(b.name);
    box.SetText(b.designText);
    if (b.toolTip) box.SetToolTip(b.toolTip);
    // A number too large is refused where it comes in: the box gets back the text it held
    // before, so that its field and what a save writes stay as they were.
    auto taken = std::make_shared<std::string>(b.designText);
    box.onChange = [this, &box, taken, field = b.field, label = b.label] {
      const std::optional<double> number = UsableNumber(box.text(), label);
      if (!number) {
        box.SetText(*taken);
        return;
      }
      state.*field = *number;
      *taken = box.text();
    };
  }
}

std::optional<double> CompilerWindow::UsableNumber(const std::string& text,
                                                   const std::string& boxName) {
  const double number = common::LeadingNumberOrInfinity(text);
  if (std::fabs(number) <= kLargestUsable) return number;
  RefuseNumber(text, boxName, "zu groß");
  return std::nullopt;
}

void CompilerWindow::RefuseNumber(const std::string& text, const std::string& boxName,
                                  const std::string& why) {
  ShowError("Die Zahl \"" + text + "\" im Feld \"" + boxName + "\" ist " + why +
            ". Es gilt weiter der bisherige Wert.");
}

void CompilerWindow::LoadCompilerSettings() {
  files.OpenInput(kSettingsFile, kSettingsPath);
  for (const SettingsBox& b : kSettingsBoxes) {
    state.CurrentLine = files.LineInput(kSettingsFile);
    Box(b.name).SetText(state.CurrentLine);
  }
  for (double CompilerState::*field : kListFactors) {
    state.CurrentLine = files.LineInput(kSettingsFile);
    state.*field = common::StrictNumber(state.CurrentLine);
  }
  state.CurrentLine = files.LineInput(kSettingsFile);
  state.FileNameCounter = common::ToInt16(common::LeadingNumber(state.CurrentLine));
  files.Close(kSettingsFile);
}

void CompilerWindow::SaveCompilerSettings() {
  // The boxes' texts as typed, not their fields: "0,5" is saved as "0,5". A failure drops the new
  // text and leaves the old file whole, for the next start of a compiler reads it.
  files.OpenOutputReplacing(kSettingsFile, kSettingsPath);
  try {
    for (const SettingsBox& b : kSettingsBoxes) files.Print(kSettingsFile, Box(b.name).text());
    for (double CompilerState::*field : kListFactors)
      files.Print(kSettingsFile, common::PrintedLine().Double(state.*field).str());
    files.Print(kSettingsFile, common::PrintedLine().Integer(state.FileNameCounter).str());
    files.Close(kSettingsFile);
  } catch (...) {
    files.Discard(kSettingsFile);
    throw;
  }
}

void CompilerWindow::SaveCompilerSettingsOrReport() {
  try {
    SaveCompilerSettings();
  } catch (const common::RuntimeError& e) {
    ShowError(std::string("Die Einstellungen konnten nicht nach ") + kSettingsPath +
              " geschrieben werden: " + e.text());
  }
}

}  // namespace compiler
