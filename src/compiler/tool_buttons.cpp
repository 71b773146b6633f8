// The tool buttons around the score importer: the outside programs (notation, MIDI-to-score
// conversion, sequencer, sound editor, audio interface panel, comparison tones, plug-in inserter)
// on fixed files, help texts and the reference tables in Testliste, backups of Vuzov.rsz, the
// compile of Vuzov.rsz and the plug-in templates.
//
// Where a start is skipped on error, a failing start is passed over quietly; where errors end the
// click, the steps after a failing one do not run, also quietly. Everything else that fails (a
// missing folder before such a trap, the editor, a batch, a file to copy) is reported and leaves
// the state and the current folder as they were before the click.
#include <string>
#include <utility>

#include "common/errors.h"
#include "common/numbers.h"
#include "compiler/compiler_window.h"
#include "csound/fixed_texts.h"
#include "platform/file_table.h"
#include "platform/program_start.h"

namespace compiler {
namespace {

constexpr const char* kEditor = "C:\\Arbeit\\Editor\\NoteTab.exe";
constexpr const char* kHomeFolder = "C:\\Arbeit\\";
constexpr const char* kImportList = "C:\\Arbeit\\Vuzov.rsz";
constexpr const char* kUndoBackup = "C:\\Arbeit\\Rsz-Backup-0";
constexpr const char* kBackup = "C:\\Arbeit\\Rsz-Backup-1";
const std::string kHelpFolder = "C:\\Arbeit-xqt\\Eigene Dateien 2\\Texte\\Bedienungsanleitungen\\";

// The file a help text or a listing is read from while it is shown.
constexpr int kTextFile = 6;
constexpr int kPluginTemplateFile = 5;

// Runs the steps; any runtime error ends them quietly.
template <class F>
void ErrorsEndTheClick(F&& steps) {
  common::SkipOnRuntimeError(std::forward<F>(steps));
}

}  // namespace

void CompilerWindow::WireToolButtons() {
  const struct {
    const char* name;
    const char* caption;  // nullptr: none
    const char* toolTip;
    void (CompilerWindow::*click)();  // nullptr: no action
  } buttons[] = {
      {"Command15", "4",
       "die Tonverlaufsliste Vuzov.rsz umwandeln und damit Csound starten, also Vuzov.rsz ---> "
       "Dozudava.sco ---> Dozudava.wav",
       &CompilerWindow::Command15_Click},
      {"Command31", nullptr,
       "MIDI-POWER-Taste: Sample.sco ---> Vuzov.rsz ---> Dozudava.sco. Dann wird Csound gestartet "
       "und es entsteht Dozudava.wav.",
       &CompilerWindow::Command31_Click},
      {"Command16", nullptr,
       "Vuzov.rsz editieren. Achtung! - dann sofort eine Sicherungskopie machen (kleiner brauner "
       "Knopf), damit Talvik nicht durch das Neuschreiben von Vuzov.rsz diese Handarbeit zunichte "
       "macht!",
       &CompilerWindow::Command16_Click},
      {"Command32", nullptr, "Sicherungskopie von Vuzov.rsz herstellen (C:\\Arbeit\\Rsz-Backup-1)",
       &CompilerWindow::Command32_Click},
      {"Command33", nullptr,
       "Datei C:\\Arbeit\\Rsz-Backup-1 öffnen, um einzelne Zeilen oder das ganze Vuzov.rsz "
       "wiederherzustellen.",
       &CompilerWindow::Command33_Click},
      {"Command34", nullptr, "UNDO: die automatisch erzeugte Datei C:\\Arbeit\\Rsz-Backup-0 öffnen",
       &CompilerWindow::Command34_Click},
      {"Command17", "1",
       "CAPELLA-Start mit Sample.cap. Die geschriebenen Noten müssen als Sample.mid exportiert "
       "werden!",
       &CompilerWindow::Command17_Click},
      {"Command18", "2",
       "MIDI2CS-Start: aus der Midi-Datei wird eine Csound-Partitur, also Sample.mid ---> "
       "Sample.sco",
       &CompilerWindow::Command18_Click},
      {"Command19", nullptr, "Dir *.sco", &CompilerWindow::Command19_Click},
      {"Command20", nullptr, "Dir *.mid", &CompilerWindow::Command20_Click},
      {"Command37", nullptr, "Dir *.wav", &CompilerWindow::Command37_Click},
      {"Command21", "LT-HT", "Info über Lautstärke- und Tonhöhenrelationen",
       &CompilerWindow::Command21_Click},
      {"Command22", "UA-100", "UA-100: hochwertige Musikwiedergabe",
       &CompilerWindow::Command22_Click},
      {"Command25", "Samp",
       "SAMPLITUDE: Mixer und Editor für Sounds im WAV-Format - Samplitude wird mit Sample.vip "
       "gestartet",
       &CompilerWindow::Command25_Click},
      {"Command35", nullptr, "Samplitude-Infos", &CompilerWindow::Command35_Click},
      {"Command36", nullptr, "Dozudava.wav für Samplitude kopieren (Name = Lumo...wav)",
       &CompilerWindow::Command36_Click},
      {"Command23", "Sonar", "SONAR mit Sample.mid starten: Midi-Sequencer und -Editor",
       &CompilerWindow::Command23_Click},
      {"Command30", nullptr, "Sonar-Infos", &CompilerWindow::Command30_Click},
      {"Command24", "Kelvo",
       "KELVO: Midi-Instrumente mit genau einstellbaren Frequenzen spielen, damit Tonhöhen "
       "vergleichen",
       &CompilerWindow::Command24_Click},
      {"Command38", "PLG",
       "ZUMK starten - damit werden Plugins in Dozudava.orc und Dozudava.sco eingefügt",
       &CompilerWindow::Command38_Click},
      {"Command39", "Info", "Bedienungsanleitung zu ZUMK", &CompilerWindow::Command39_Click},
      {"Command40", "e", "ein neues Einzelton-Plugin (eine Default-Datei) erstellen",
       &CompilerWindow::Command40_Click},
      {"Command41", "d", "ein neues Dauerton-Plugin (eine Default-Datei) erstellen",
       &CompilerWindow::Command41_Click},
  };
  for (const auto& b : buttons) {
    forms::Button& button = Btn(b.name);
    if (b.caption) button.SetCaption(b.caption);
    button.SetToolTip(b.toolTip);
    if (b.click) button.onClick = [this, click = b.click] { (this->*click)(); };
  }
  for (const char* name : {"Command26", "Command27", "Command28", "Command29"})
    Btn(name).SetCaption("Programm");
}

void CompilerWindow::ShowError(const std::string& text) {
  services.messages.ShowMessage(text, kErrorTitle);
}

bool CompilerWindow::StartOrReport(const std::string& commandLine, int windowStyle) {
  try {
    services.starter.StartProgram(commandLine, windowStyle);
    return true;
  } catch (const common::RuntimeError& e) {
    ShowError(platform::CommandName(commandLine) + " konnte nicht gestartet werden: " + e.text());
    return false;
  }
}

// ---- Listings in Testliste ----------------------------------------------------------------------

void CompilerWindow::ShowTextFile(const std::string& path) {
  HideRandomPanel();
  ShowListSmall();
  try {
    files.OpenInput(kTextFile, path);
    while (!files.Eof(kTextFile)) {
      state.CurrentLine = files.LineInput(kTextFile);
      Testliste.AddItem(state.CurrentLine);
    }
    files.Close(kTextFile);
  } catch (const common::RuntimeError&) {
    // The lines read so far stay; the file is not left open for the next listing.
    files.Close(kTextFile);
  }
}

void CompilerWindow::ShowReferenceTable() {
  for (std::string& line : csound::ReferenceTableLines()) Testliste.AddItem(std::move(line));
}

// ---- Vuzov.rsz: compile, edit, back up ---------------------------------------------------------

void CompilerWindow::Command15_Click() {
  HideRandomPanel();
  HideListSmall();
  state.ChosenListPath = kImportList;
  state.ChosenListFlag = true;
  Form_Load();  // compiles Vuzov.rsz and ends the program
  ListScoreAndOrchestra();
  Command5_Click();
}

void CompilerWindow::Command31_Click() {
  // A list that was not written is not compiled: the old Vuzov.rsz would sound as if it were new.
  if (!Command14_Click()) return;
  Command15_Click();
}

void CompilerWindow::Command16_Click() {
  const std::string before = state.ChosenListPath;
  state.ChosenListPath = kImportList;
  if (!StartOrReport(std::string(kEditor) + "  " + state.ChosenListPath, platform::kMinimizedFocus)) {
    state.ChosenListPath = before;
    return;
  }
  state.ChosenListFlag = true;
}

void CompilerWindow::BackupToneListForUndo() {
  if (platform::FileExists(kImportList)) platform::CopyFile(kImportList, kUndoBackup);
}

void CompilerWindow::Command32_Click() {
  try {
    platform::CopyFile(kImportList, kBackup);
  } catch (const common::RuntimeError& e) {
    ShowError(std::string(kImportList) + " konnte nicht nach " + kBackup + " kopiert werden: " +
              e.text());
  }
}

void CompilerWindow::Command33_Click() {
  const std::string before = state.ChosenListPath;
  state.ChosenListPath = kImportList;
  if (!StartOrReport(std::string(kEditor) + "  " + kBackup, platform::kMinimizedFocus))
    state.ChosenListPath = before;
}

void CompilerWindow::Command34_Click() {
  const std::string before = state.ChosenListPath;
  state.ChosenListPath = kImportList;
  if (!StartOrReport(std::string(kEditor) + "  " + kUndoBackup, platform::kMinimizedFocus))
    state.ChosenListPath = before;
}

// ---- From the notation to the score ------------------------------------------------------------

void CompilerWindow::Command17_Click() {
  ErrorsEndTheClick([this] {
    platform::ChangeFolder("C:\\Programme\\capella2004\\");
    services.starter.StartProgram("C:\\Programme\\capella2004\\capella.exe  C:\\Arbeit\\Sample.cap",
                                  platform::kNormalFocus);
    platform::ChangeFolder(kHomeFolder);
  });
}

void CompilerWindow::Command18_Click() {
  HideRandomPanel();
  ShowListSmall();
  if (!StartOrReport("C:\\Arbeit\\MIDI2CS1.bat", platform::kNormalFocus)) return;
  // At once, while the batch still runs: the score as it stands at this moment.
  ShowTextFile("C:\\Arbeit\\Sample.sco");
}

void CompilerWindow::Command19_Click() {
  HideRandomPanel();
  HideListSmall();
  ErrorsEndTheClick(
      [this] { services.starter.StartProgram("C:\\Arbeit\\directory3b.bat", platform::kNormalFocus); });
}

void CompilerWindow::Command20_Click() {
  HideRandomPanel();
  HideListSmall();
  ErrorsEndTheClick(
      [this] { services.starter.StartProgram("C:\\Arbeit\\directory3c.bat", platform::kNormalFocus); });
}

void CompilerWindow::Command37_Click() {
  StartOrReport("C:\\Arbeit\\directory3g.bat", platform::kNormalFocus);
}

void CompilerWindow::Command21_Click() {
  HideRandomPanel();
  ShowListSmall();
  // Of the settings panel only hardness, tempo, pitch and loudness.
  ShowSettingsPanel();
  for (int n = 48; n <= 57; ++n) Box("Text" + std::to_string(n)).SetVisible(false);
  ShowReferenceTable();
}

// ---- The outside programs ----------------------------------------------------------------------

bool CompilerWindow::StartInFolder(const std::string& folder, const std::string& commandLine) {
  const std::string before = platform::CurrentFolder();
  try {
    platform::ChangeFolder(folder);
  } catch (const common::RuntimeError& e) {
    ShowError("Der Ordner " + folder + " konnte nicht geöffnet werden: " + e.text());
    return false;
  }
  ErrorsEndTheClick([&] { services.starter.StartProgram(commandLine, platform::kNormalFocus); });
  try {
    platform::ChangeFolder(kHomeFolder);
  } catch (const common::RuntimeError& e) {
    ErrorsEndTheClick([&] { platform::ChangeFolder(before); });
    ShowError(std::string("Der Ordner ") + kHomeFolder + " konnte nicht geöffnet werden: " +
              e.text());
    return false;
  }
  return true;
}

void CompilerWindow::Command22_Click() {
  ErrorsEndTheClick([this] {
    services.starter.StartProgram("C:\\Programme\\Roland\\Ua100ctl\\UA100cnt.exe",
                                  platform::kNormalFocus);
  });
}

void CompilerWindow::Command25_Click() {
  if (!StartInFolder("C:\\SEKD\\SamStud\\", "C:\\SEKD\\SamStud\\Sam45.exe  C:\\Arbeit\\Sample.vip"))
    return;
  ShowTextFile(kHelpFolder + "Samplitude.txt");
}

void CompilerWindow::Command35_Click() { ShowTextFile(kHelpFolder + "Samplitude.txt"); }

void CompilerWindow::Command36_Click() {
  CompilerState& s = state;
  // The next counter whose copy is not there yet: a sound kept earlier is never replaced.
  const std::int16_t before = s.FileNameCounter;
  std::string target;
  try {
    do {
      s.FileNameCounter = common::ToInt16(s.FileNameCounter + 1.0);
      target = "c:\\Arbeit\\Lumo" + common::DoubleText(s.FileNameCounter) + ".wav";
    } while (platform::FileExists(target));
    platform::CopyFile("C:\\Arbeit\\Dozudava.wav", target);
  } catch (const common::RuntimeError& e) {
    s.FileNameCounter = before;
    ShowError("C:\\Arbeit\\Dozudava.wav konnte nicht kopiert werden: " + e.text());
    return;
  }
  // The copy is made: the listing may fail, the counter is kept all the same.
  StartOrReport("C:\\Arbeit\\directory3d.bat", platform::kNormalFocus);
  SaveCompilerSettingsOrReport();
}

void CompilerWindow::Command23_Click() {
  if (!StartInFolder("C:\\Programme\\Cakewalk\\SONAR 1\\",
                     "C:\\Programme\\Cakewalk\\SONAR 1\\SONAR.EXE C:\\Arbeit\\Sample.mid"))
    return;
  ShowTextFile(kHelpFolder + "Sonar.txt");
}

void CompilerWindow::Command30_Click() { ShowTextFile(kHelpFolder + "Sonar.txt"); }

void CompilerWindow::Command24_Click() {
  StartInFolder("C:\\Arbeit\\VB\\Kelvo\\", "C:\\Arbeit\\VB\\Kelvo\\Kelvo.exe");
}

void CompilerWindow::Command38_Click() {
  // After a failing start the inserter's folder stays the current one.
  ErrorsEndTheClick([this] {
    platform::ChangeFolder("C:\\Programme\\meine\\");
    services.starter.StartProgram("C:\\Programme\\meine\\ZUMK", platform::kNormalFocus);
    platform::ChangeFolder(kHomeFolder);
  });
}

void CompilerWindow::Command39_Click() { ShowTextFile(kHelpFolder + "ZUMK.txt"); }

// ---- Plug-in templates -------------------------------------------------------------------------

void CompilerWindow::WritePluginTemplateAndOpen(csound::PluginTemplateKind kind,
                                                const std::string& path,
                                                const std::string& editorPath) {
  try {
    csound::WritePluginTemplate(files, kPluginTemplateFile, path, kind,
                                csound::PluginTemplateOwner::Compiler);
  } catch (const common::RuntimeError& e) {
    files.Discard(kPluginTemplateFile);
    ShowError("Die Datei " + path + " konnte nicht geschrieben werden: " + e.text());
    return;
  }
  StartOrReport(std::string(kEditor) + " " + editorPath, platform::kMinimizedFocus);
}

void CompilerWindow::Command40_Click() {
  WritePluginTemplateAndOpen(csound::PluginTemplateKind::SingleTone,
                             "c:\\Arbeit\\Default-Einzelton.plg", "C:\\Arbeit\\Default-Einzelton.plg");
}

void CompilerWindow::Command41_Click() {
  WritePluginTemplateAndOpen(csound::PluginTemplateKind::SustainedTone,
                             "c:\\Arbeit\\Default-Dauerton.plg", "C:\\Arbeit\\Default-Dauerton.plg");
}

}  // namespace compiler
