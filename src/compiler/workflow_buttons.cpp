// The workflow buttons: edit the default tone list and compile it, choose a stored list to edit or
// to compile, look at the score and the orchestra, show the manual, end. A compiling button runs
// the pass, which ends the program: nothing in its handler runs after it.
#include <string>

#include "common/errors.h"
#include "compiler/compiler_window.h"
#include "platform/program_start.h"

namespace compiler {
namespace {

constexpr const char* kEditor = "C:\\Arbeit\\Editor\\NoteTab.exe";

// The file dialog CommonDialog1, the same for choosing a list to edit and one to compile.
const char* const kListDialogTitle = "Tonverlaufs-Dateien";
const char* const kListDialogFilter = "Tonverlaufs-Dateien|*.rsz";
const char* const kListDialogFolder = "C:\\Arbeit\\";
const char* const kListDialogFileName = "*.rsz";
const char* const kListDialogExtension = "rsz";

}  // namespace

void CompilerWindow::WireWorkflowButtons() {
  const struct {
    const char* name;
    const char* caption;  // nullptr: none
    const char* toolTip;
    void (CompilerWindow::*click)();
  } buttons[] = {
      {"Command3", "A", "'Tonverlauf.rsz' editieren", &CompilerWindow::Command3_Click},
      {"Command1", "B",
       "'Tonverlauf.rsz' in eine Csound-Partitur 'Dozudava.sco' umwandeln und damit Csound "
       "starten",
       &CompilerWindow::Command1_Click},
      {"Command7", nullptr, "eine gespeicherte Tonverlaufsliste auswählen und editieren",
       &CompilerWindow::Command7_Click},
      {"Command8", "P",
       "POWER-Taste: eine gespeicherte Tonverlaufsliste auswählen, umwandeln und damit Csound "
       "starten",
       &CompilerWindow::Command8_Click},
      {"Command9", nullptr, "'zufall.rsz' editieren", &CompilerWindow::Command9_Click},
      {"Command4", "sco", "'Dozudava.sco' im Editor zeigen", &CompilerWindow::Command4_Click},
      {"Command6", "orc", "'Dozudava.orc' im Editor zeigen", &CompilerWindow::Command6_Click},
      {"Command2", "Info", "Bedienungsanleitung für Talvik", &CompilerWindow::Command2_Click},
      {"Ende", "Ende",
       "das Programm immer mit dieser Taste beenden, damit die Einstellungen gespeichert werden!",
       &CompilerWindow::Ende_Click},
  };
  for (const auto& b : buttons) {
    forms::Button& button = Btn(b.name);
    if (b.caption) button.SetCaption(b.caption);
    button.SetToolTip(b.toolTip);
    button.onClick = [this, click = b.click] { (this->*click)(); };
  }
}

void CompilerWindow::Command3_Click() {
  HideRandomPanel();
  HideListSmall();
  state.ChosenListFlag = false;
  StartOrReport(std::string(kEditor) + "  " + state.WorkFolder + state.ToneListBaseName + ".rsz",
                platform::kMinimizedFocus);
}

void CompilerWindow::Command1_Click() {
  state.PresetsLoaded = false;
  HideRandomPanel();
  HideListSmall();
  state.ChosenListFlag = false;
  Form_Load();  // compiles Tesu.rsz and ends the program
}

void CompilerWindow::Command7_Click() {
  CompilerState& s = state;
  s.ChosenListFlag = false;
  const std::string before = s.ChosenListPath;
  s.ChosenListPath =
      services.fileDialog.OpenFile(kListDialogTitle, kListDialogFolder, kListDialogFilter,
                                   kListDialogFileName, kListDialogExtension);
  if (s.ChosenListPath.empty()) return;
  // An editor that cannot be started leaves the choice as it was before the click.
  if (!StartOrReport(std::string(kEditor) + "  " + s.ChosenListPath, platform::kMinimizedFocus)) {
    s.ChosenListPath = before;
    return;
  }
  s.ChosenListFlag = true;
}

void CompilerWindow::Command8_Click() {
  CompilerState& s = state;
  HideRandomPanel();
  HideListSmall();
  s.ChosenListFlag = false;
  s.ChosenListPath =
      services.fileDialog.OpenFile(kListDialogTitle, kListDialogFolder, kListDialogFilter,
                                   kListDialogFileName, kListDialogExtension);
  if (s.ChosenListPath.empty()) return;
  s.ChosenListFlag = true;
  Form_Load();  // compiles the chosen list and ends the program
}

void CompilerWindow::Command9_Click() {
  HideSettingsPanel();
  StartOrReport(std::string(kEditor) + " " + state.RandomListPath, platform::kMinimizedFocus);
}

void CompilerWindow::Command4_Click() {
  HideRandomPanel();
  HideListSmall();
  StartOrReport(std::string(kEditor) + " " + state.WorkFolder + state.OutputBaseName + ".sco",
                platform::kMinimizedFocus);
}

void CompilerWindow::Command6_Click() {
  HideRandomPanel();
  HideListSmall();
  StartOrReport(std::string(kEditor) + " " + state.WorkFolder + state.OutputBaseName + ".orc",
                platform::kMinimizedFocus);
}

void CompilerWindow::Command2_Click() {
  HideRandomPanel();
  ShowListLarge();
  FillManualList();
}

void CompilerWindow::Ende_Click() {
  SaveCompilerSettings();  // a failure is the caller's: the program ends with its message
  common::EndProgram(0);
}

void CompilerWindow::ListToneListLines() {
  CompilerState& s = state;
  for (s.LineIndex = 1; s.LineIndex <= s.LineCount; ++s.LineIndex)
    Testliste.AddItem(s.ToneListLines[static_cast<size_t>(s.LineIndex)]);
}

}  // namespace compiler
