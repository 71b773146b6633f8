// The launchers (outside programs and the text editor on fixed files), the toggles that steer the
// conversion run, the render-batch button "CSO", the restore button "L", the sample button
// "einbauen" and the two buttons that end the program.
#include <string>

#include "common/codec.h"
#include "common/errors.h"
#include "csound/writers.h"
#include "envelope/converter_window.h"
#include "platform/dialogs.h"
#include "platform/file_table.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"
#include "tonelist/tone_list.h"

namespace envelope {
namespace {

constexpr forms::Colour kWhite = 0xFFFFFF;
constexpr forms::Colour kRed = 0xB3B3FF;
constexpr forms::Colour kGreen = 0xBFFA8F;
constexpr forms::Colour kGrey = 0xDFDFDF;
constexpr forms::Colour kDark = 0x696969;
constexpr forms::Colour kNeutral = 0xE0E0E0;
constexpr forms::Colour kRunColour = 0xFFC0C0;
constexpr forms::Colour kVariationOff = 0xF3F3F3;

constexpr const char* kEditor = "C:\\Arbeit\\Editor\\NoteTab.exe";
constexpr const char* kSampleCopy = "c:\\Arbeit\\Samp100.wav";
constexpr const char* kInserterFolder = "C:\\Arbeit\\VB\\Talvik4";
constexpr const char* kHomeFolder = "C:\\Arbeit\\";

// "Cso1" locked, as "PLG", "L" and the lock of StartStoppFix leave it.
void LockCso1(ConverterWindow& w) {
  w.Command3.SetBackColour(kWhite);
  w.Command3.SetEnabled(false);
  w.StartStoppFix.SetBackColour(kRed);
}

}  // namespace

void ConverterWindow::CreateLauncherControls() {
  struct Design {
    forms::Button* button;
    const char* caption;  // nullptr: none
    const char* toolTip;
    void (ConverterWindow::*click)();  // nullptr: no action
  };
  const Design buttons[] = {
      {&Command5, "Reaper",
       "Reaper starten und die Hüllkurve der aktuellen (im Feld mit der blauen Schrift "
       "angezeigten) Datei ansehen",
       &ConverterWindow::Command5_Click},
      {&Command13, "Reaper",
       "Reaper starten und die variierte Hüllkurve ansehen. Erst 'Snapshot' drücken!", nullptr},
      {&Command8, "rsz", "Tesu.rsz im Editor ansehen", &ConverterWindow::Command8_Click},
      {&Orcknopf, "orc", "die Datei Dozudava.orc im Editor ansehen und gegebenenfalls verändern",
       &ConverterWindow::Orcknopf_Click},
      {&Scoknopf, "sco", "die Datei Dozudava.sco im Editor ansehen und gegebenenfalls verändern",
       &ConverterWindow::Scoknopf_Click},
      {&Command9, "vsk", "Veskar2_Spezialist.txt öffnen", &ConverterWindow::Command9_Click},
      {&Command6, "dir", "alle Wav-Dateien in C:\\ Arbeit auflisten",
       &ConverterWindow::Command6_Click},
      {&Command12, "anhören", "Sample anhören", &ConverterWindow::Command12_Click},
      {&Command11, "einbauen",
       "Sample einbauen. Jede beliebige (Stereo)-WAV-Datei, die sich auf der Festplatte "
       "befindet, kann eingebaut werden!",
       &ConverterWindow::Command11_Click},
      {&Zumkknopf, "PLG",
       "ZUMK: Plugins in Dozudava.orc und Dozudava.sco einbauen, um die Klänge zu erweitern",
       &ConverterWindow::Zumkknopf_Click},
      {&Csoundknopf, "CSO",
       "Csound starten, ohne die Einstellungen in Dozudava.orc und Dozudava.sco zu verändern",
       &ConverterWindow::Csoundknopf_Click},
      {&Command15, "L",
       "Namen einer mit 'S' gespeicherten Csound-Datei (mit oder ohne Extension!) angeben - wird "
       "in Dozudava.sco und Dozudava.orc umgewandelt. Dozudava.sco und Dozudava.orc werden "
       "vorher automatisch geschlossen",
       &ConverterWindow::Command15_Click},
      {&Stimmen, "vgl", "Vergleichston", &ConverterWindow::Stimmen_Click},
      {&Cool, "Cool", "grün mit, grau ohne Cool Edit", &ConverterWindow::Cool_Click},
      {&Command7, "u", "hell: Start-Stoppunkte beachten, dunkel: Selektion beachten",
       &ConverterWindow::Command7_Click},
      {&PRFix, nullptr, "rot: der Knopf 'Point Reset (P R)' ist deaktiviert",
       &ConverterWindow::PRFix_Click},
      {&StartStoppFix, nullptr, "rot: Cso1-Knopf ist deaktiviert",
       &ConverterWindow::StartStoppFix_Click},
      {&Command10, "e", "Ende", &ConverterWindow::Command10_Click},
      {&Command16, "e", "ein neues Einzelton-Plugin (eine Default-Datei) erstellen",
       &ConverterWindow::Command16_Click},
      {&Command17, "d", "ein neues Dauerton-Plugin (eine Default-Datei) erstellen",
       &ConverterWindow::Command17_Click},
  };
  for (const Design& b : buttons) {
    if (b.caption) b.button->SetCaption(b.caption);
    b.button->SetToolTip(b.toolTip);
    if (b.click) b.button->onClick = [this, click = b.click] { (this->*click)(); };
  }
  Cool.SetBackColour(kGreen);  // WithAudioEditor is set at every start
  Label17.SetCaption("Label17");
  Label17.onMouseMove = [this] { Label17_MouseMove(); };
  Text18.SetText("Tempo");
}

bool ConverterWindow::StartOrReport(const std::string& commandLine, int windowStyle,
                                    double* taskId) {
  try {
    const double id = services.starter.StartProgram(commandLine, windowStyle);
    if (taskId) *taskId = id;
    return true;
  } catch (const common::RuntimeError& e) {
    ShowError(platform::CommandName(commandLine) + " konnte nicht gestartet werden: " + e.text());
    return false;
  }
}

namespace {

// Makes `folder` current; a folder that is missing is reported and gives false.
bool ChangeFolderOrReport(ConverterWindow& w, const std::string& folder) {
  try {
    platform::ChangeFolder(folder);
    return true;
  } catch (const common::RuntimeError& e) {
    w.ShowError("Der Ordner " + folder + " konnte nicht geöffnet werden: " + e.text());
    return false;
  }
}

}  // namespace

// ------------------------------------------------------------------ launchers

void ConverterWindow::Command5_Click() {
  StartOrReport("C:\\Programme\\REAPER\\reaper.exe c:\\arbeit\\" + state.ProjectName + ".rpp",
                platform::kMinimizedFocus);
}

void ConverterWindow::Command8_Click() {
  StartOrReport(std::string(kEditor) + "  " + state.WorkFolder + "Tesu" + ".rsz",
                platform::kMinimizedFocus);
}

void ConverterWindow::Orcknopf_Click() {
  StartOrReport(std::string(kEditor) + " " + state.WorkFolder + "Dozudava" + ".orc",
                platform::kMinimizedFocus);
}

void ConverterWindow::Scoknopf_Click() {
  StartOrReport(std::string(kEditor) + " " + state.WorkFolder + "Dozudava" + ".sco",
                platform::kMinimizedFocus);
}

void ConverterWindow::Command9_Click() {
  StartOrReport(
      "C:\\Arbeit\\Editor-K\\NoteTab.exe  C:\\Arbeit-xqt\\Infotexte\\Veskar2_Spezialist.txt",
      platform::kMinimizedFocus);
}

void ConverterWindow::Command6_Click() {
  StartOrReport("C:\\Arbeit\\directory3g.bat", platform::kNormalFocus);
}

void ConverterWindow::Command12_Click() {
  StartOrReport("C:\\cool\\COOL96.EXE " + state.SamplePath, platform::kNormalFocus);
}

void ConverterWindow::Zumkknopf_Click() {
  // The inserter works in the folder it is started in; C:\Arbeit\ is current again afterwards,
  // also when the start fails.
  if (!ChangeFolderOrReport(*this, kInserterFolder)) return;
  const bool started = StartOrReport(std::string(kInserterFolder) + "\\ZUMK", platform::kNormalFocus);
  ChangeFolderOrReport(*this, kHomeFolder);
  if (!started) return;
  LockCso1(*this);
  Orcknopf.SetBackColour(kGreen);
  Scoknopf.SetBackColour(kGreen);
  Variation.SetBackColour(kVariationOff);
  Variation.SetEnabled(false);
}

bool ConverterWindow::StartAndActivate(const std::string& path) {
  double task = 0;
  if (!StartOrReport(path, platform::kNormalFocus, &task)) return false;
  try {
    services.windows.BringToFront(task);
  } catch (const common::RuntimeError&) {
    // A program that shows no window (yet) stays where it is.
  }
  return true;
}

void ConverterWindow::Stimmen_Click() {
  ConverterState& s = state;
  if (!s.ComparisonToneRunning) {
    if (StartAndActivate("C:\\Arbeit\\VB\\Kelvo\\Kelvo.exe")) s.ComparisonToneRunning = true;
  } else {
    // The window's own caption holds the project's name, which may contain "Kelvo".
    platform::CloseWindowsByTitle(services.windows, "Kelvo", platform::OwnProcessId());
    s.ComparisonToneRunning = false;
  }
}

// ------------------------------------------------------------------ toggles

void ConverterWindow::Cool_Click() {
  ConverterState& s = state;
  s.WithAudioEditor = !s.WithAudioEditor;
  Cool.SetBackColour(s.WithAudioEditor ? kGreen : kGrey);
}

void ConverterWindow::Command7_Click() {
  ConverterState& s = state;
  s.UseStartStopPoints = !s.UseStartStopPoints;
  Command7.SetBackColour(s.UseStartStopPoints ? kGrey : kDark);
}

void ConverterWindow::PRFix_Click() {
  ConverterState& s = state;
  if (s.PointResetLocked) {
    s.AutoPoints = true;
    s.PointResetLocked = false;
    PRFix.SetBackColour(kNeutral);
    StartStoppLos.SetEnabled(true);
  } else {
    s.AutoPoints = false;
    s.PointResetLocked = true;
    PRFix.SetBackColour(kRed);
    StartStoppLos.SetEnabled(false);
    StartStoppLos.SetBackColour(kGrey);
  }
}

void ConverterWindow::StartStoppFix_Click() {
  ConverterState& s = state;
  if (!s.StartStopFixState) {
    LockCso1(*this);
    s.StartStopFixState = true;
  } else {
    for (forms::Button* b : {&Command3, &Command19, &Variation}) {
      b->SetBackColour(kRunColour);
      b->SetEnabled(true);
    }
    StartStoppFix.SetBackColour(kNeutral);
    s.StartStopFixState = false;
  }
}

// ------------------------------------------------------------------ the sample

void ConverterWindow::Command11_Click() {
  ConverterState& s = state;
  const std::string chosen =
      services.fileDialog.OpenFile("Sample einbauen", s.WorkFolder,
                                   "WAV-Dateien (*.wav)|*.wav|Alle Dateien (*.*)|*.*");
  // Cancelled: the sample in use stays, also in the settings file written later.
  if (chosen.empty()) return;
  if (common::CharCount(chosen) <= 5) {
    s.SamplePath = chosen;
    return;
  }
  try {
    platform::CopyFile(chosen, kSampleCopy);
  } catch (const common::RuntimeError& e) {
    ShowError("Das Sample " + chosen + " konnte nicht nach " + kSampleCopy +
              " kopiert werden: " + e.text());
    return;
  }
  s.SamplePath = chosen;
  s.SampleCopyPath = kSampleCopy;
  ExtractSampleName(s.SamplePath);
  Text[17]->SetText(s.SampleName);
  SaveSettings();
}

// ------------------------------------------------------------------ render batch and restore

void ConverterWindow::Csoundknopf_Click() {
  // 1. The render batch of the compiler builds, renamed.
  const std::string batch = state.WorkFolder + "cs06b.bat";
  try {
    const tonelist::ToneListState noList(0);  // the batch reads no tone list
    csound::WriterContext c{files, noList, services.clock};
    c.BatchPath = batch;
    c.WorkFolder = "C:\\Arbeit\\";
    c.OutputBaseName = "Dozudava";
    c.BatchTag = "c:\\arbeit\\cs06b3.bat";
    files.OpenOutputReplacing(csound::kBatchFile, batch);
    csound::WriteRenderBatch(c);
    files.Close(csound::kBatchFile);
  } catch (const common::RuntimeError& e) {
    files.Discard(csound::kBatchFile);
    ShowError("Die Datei " + batch + " konnte nicht geschrieben werden: " + e.text());
    return;
  }
  // 2-3. The batch that TalvikTe3 writes renders the orchestra and score as they are.
  platform::CloseWindowsByTitle(services.windows, "Dozudava.wav - Cool Edit");
  StartOrReport("C:\\Arbeit\\cs06b3.bat", platform::kMinimizedFocus);
}

void ConverterWindow::Command15_Click() {
  // 1.
  platform::CloseWindowsByTitle(services.windows, "NoteTab Light  -  C:\\Arbeit\\Dozudava.orc");
  platform::CloseWindowsByTitle(services.windows, "NoteTab Light  -  C:\\Arbeit\\Dozudava.sco");
  // 3 before 2: a listing that cannot be started leaves the buttons as they were.
  if (!StartOrReport("C:\\Arbeit\\directory3h.bat", platform::kNormalFocus)) return;
  // 2.
  LockCso1(*this);
  Orcknopf.SetBackColour(kGreen);
  Scoknopf.SetBackColour(kGreen);
  // 4.
  const std::string chosen = services.fileDialog.OpenFile(
      "Gespeicherte Csound-Datei", state.WorkFolder,
      "Csound-Dateien (*.orc;*.sco;*.wav)|*.orc;*.sco;*.wav|Alle Dateien (*.*)|*.*");
  // 5.
  if (chosen.empty() || common::CharCount(chosen) <= 5) return;
  std::string base = chosen;
  for (const char* extension : {".orc", ".sco", ".wav"})
    if (chosen.ends_with(extension)) base = chosen.substr(0, chosen.size() - 4);
  const std::string orchestra = base + ".orc", score = base + ".sco";
  // Both files or neither: a pair of which one half is missing would mix two sets.
  for (const std::string& file : {orchestra, score}) {
    if (!platform::FileExists(file)) {
      ShowError("Die Datei " + file +
                " wurde nicht gefunden. Dozudava.orc und Dozudava.sco bleiben, wie sie sind.");
      return;
    }
  }
  // Both are replaced or neither: a protected score must not leave the new orchestra beside
  // the old score.
  const std::vector<platform::FileCopy> copies = {{orchestra, "c:\\Arbeit\\Dozudava.orc"},
                                                  {score, "c:\\Arbeit\\Dozudava.sco"}};
  try {
    platform::CopyFilesTogether(copies);
  } catch (const platform::GroupCopyError& e) {
    ShowError("Die Datei " + copies[e.index()].target + " konnte nicht geschrieben werden (" +
              e.text() + "). Dozudava.orc und Dozudava.sco bleiben, wie sie sind.");
  }
}

// ------------------------------------------------------------------ the end

void ConverterWindow::Command10_Click() { EndProgram(); }

void ConverterWindow::Label17_MouseMove() { EndProgram(); }

void ConverterWindow::EndProgram() { common::EndProgram(); }

}  // namespace envelope
