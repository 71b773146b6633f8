// frmDatei of the envelope converter Ormila: its controls, its state and its procedures.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "envelope/converter_state.h"
#include "forms/form.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_table.h"

namespace platform {
class Clock;
class ProgramStarter;
class WindowSystem;
}  // namespace platform

namespace envelope {

// The platform services the converter talks to; tests pass fakes.
struct ConverterServices {
  platform::Clock& clock;
  platform::ProgramStarter& starter;
  platform::WindowSystem& windows;
  platform::MessageBoxService& messages;
  platform::InputBoxService& input;
  platform::ClipboardService& clipboard;
  platform::FileDialogService& fileDialog = platform::CancelledFileDialog();
  platform::RandomSource& random = platform::ProcessRandom();
};

// The title of every message box of a failed step.
inline constexpr const char* kErrorTitle = "FEHLER";

class ConverterWindow {
 public:
  explicit ConverterWindow(ConverterServices services);
  ConverterWindow(const ConverterWindow&) = delete;
  ConverterWindow& operator=(const ConverterWindow&) = delete;

  // Start-up, settings file and settings display.
  void Form_Load();
  void SaveSettings();
  void ShowSineMode();
  void ShowSampleMode();
  void ExtractSampleName(const std::string& samplePath);
  std::string RunCaption() const;
  std::string BoxCaption() const;

  // The conversion run and its buttons.
  void RunEnvelopeConversion();
  // False, with a message naming the box, when a setting the tone list is written from (boxes
  // 4 to 14) is empty: a short settings file leaves such boxes without a value.
  bool ToneListSettingsComplete();
  void Command3_Click();   // "Cso1"
  void Command19_Click();  // "Cso2"
  void Command1_Click();   // new settings, with the input dialogue
  void StartStoppLos_Click();
  // The compiler build that CompilerMode and WithAudioEditor choose: its name, its program and
  // the most points it takes from a tone list.
  struct CompilerBuild {
    std::string name;
    std::string program;
    long pointCapacity;
  };
  const CompilerBuild& ChosenCompilerBuild() const;
  std::string CompilerProgramPath() const;
  // False, with a message naming the points, the build and its limit, when the range holds more
  // points than the chosen build takes.
  bool ChosenBuildTakesRange();
  void StartCompilerBuild();

  // The input dialogue (may end the program).
  void AskRunSettings();

  // The project reader.
  void LoadProjectLines();
  void FindTrackByName();
  void FindVolumeEnvelope();
  void FindPointLines();
  void CollectMarkers();

  // --- Reader and range checks (project_reader.cpp, range_selection.cpp) ---
  // Shows the message for EnvelopeMissing (no volume envelope, no point line, no envelope end);
  // shows nothing when the flag is not set.
  void ReportEnvelopeProblem();
  // Sets RangeTooLarge, with a message, when the range reaches beyond the point arrays or holds
  // more points than a tone list can take.
  void CheckRangeBounds();
  // --- end of reader and range checks ---

  // The range.
  void TakeMarkedPointRange();
  void TakeSelectionRange();
  void TakeWholeEnvelopeRange();
  void ParsePointTime();

  // Point values and marker frequencies.
  void ReadPointValues();
  void ParsePointTimeField();
  void ParsePointValueField();
  void ReadMarkers();
  void ParseMarkerTime(int m);
  void ParseMarkerName(int m);
  void AssignMarkerFrequencies();
  // The number at the start of a field of a project line; a number too large for a value shows
  // its message once, sets ValueTooLarge and counts as 0.
  double ProjectNumber(std::string_view field, const std::string& lineText);

  // The tone list and the display lists. WriteToneList leaves the old list whole when it fails;
  // WriteToneListOrReport then shows a message and gives false.
  void WriteToneList();
  bool WriteToneListOrReport();
  void ShowExtractedValues();
  // The first value of the range whose text no longer fits its tone-list column (at most 11
  // characters), as "<keyword> <text>"; empty when every value fits.
  std::string ValueTooWideForToneList() const;
  // False, with a message that begins with `opening` ("Ein Wert passt nicht"), when a value is
  // too wide: nothing is then written or started.
  bool ToneListValuesFit(const std::string& opening);

  // Variation editor (variation_editor.cpp): the sliders, the keys and their resets, Var1, Var2.
  void VScroll1_Change();
  void VScroll2_Change();
  void VScroll3_Change();
  void VScroll4_Change();
  void Z_Enter1_Click();
  void Z_Enter2_Click();
  void L_Enter_Click();
  void H_Enter_Click();
  void K_Enter_Click();
  void Z_Reset_Click();
  void L_Reset_Click();
  void H_Reset_Click();
  void K_Reset_Click();
  void Variation_Click();
  void Variation2_Click();
  // Called by the run once ReadPointValues has read every point line of the range.
  void NotePointLinesRead();

  // Diagnostic lists (diagnostic_lists.cpp): the reader's arrays listed into Testlist.
  void ShowRelevantTimes();
  void ShowLineArray();
  void ShowMarkerLines();
  void ShowMarkerTimesArray();
  void ShowMarkerFrequencies();
  void ShowPitchArray();
  void ListTimeArray();
  void ListLoudnessArray();

  // Project templates written at every start.
  void WriteProjectTemplates();

  // Generated projects: the copy button and the snapshot project (generated_projects.cpp).
  void kopieren_Click();  // "Copy"
  void WriteCopyProject();
  void WriteSnapshotProject();
  // Raises, as WriteSnapshotProject would, when the snapshot project cannot be made whole (a
  // template missing or cut, the range beyond the arrays); writes nothing.
  void CheckSnapshotProject();
  // True when the last run ended with every failure flag clear.
  bool LastRunSucceeded() const;

  // Snapshots and the mix file (snapshots.cpp).
  void Command4_Click();     // "Snapshot"
  void Csoundstore_Click();  // "S"
  void WriteSubmixBatch();
  std::string MixFilePath() const { return "C:\\Arbeit\\mix-ormila.txt"; }

  // The start/stop file "Tesu2.ini": two printed numbers; a failure shows a message, once in a
  // click that writes the file more than once (see StartStopClick).
  void WriteStartStopFile(double first, double second);
  std::string StartStopFilePath() const { return state.WorkFolder + "Tesu2.ini"; }
  std::string SettingsFilePath() const { return state.WorkFolder + "Tesu.ini"; }

  // --- Launchers, toggles and the render-batch button (launchers.cpp) ---
  void Command5_Click();     // "Reaper": REAPER on the current project
  void Command8_Click();     // "rsz": the tone list in the text editor
  void Orcknopf_Click();     // "orc"
  void Scoknopf_Click();     // "sco"
  void Command9_Click();     // "vsk": the help text
  void Command6_Click();     // "dir": the listing of the wave files
  void Command12_Click();    // "anhören": the sample in the audio editor
  void Command11_Click();    // "einbauen": a new sample
  void Zumkknopf_Click();    // "PLG": the plug-in inserter
  void Csoundknopf_Click();  // "CSO": render the orchestra and score as they are
  void Command15_Click();    // "L": restore a kept orchestra and score
  void Stimmen_Click();      // "vgl": start or close the comparison-tone program
  void Cool_Click();
  void Command7_Click();     // "u"
  void PRFix_Click();
  void StartStoppFix_Click();
  void Command10_Click();    // "e": end
  void Label17_MouseMove();  // ends the program too
  [[noreturn]] void EndProgram();
  // Starts the program (style 1) and brings its window to the front; false when it could not
  // be started (reported).
  bool StartAndActivate(const std::string& path);
  // Starts a command line; a program that cannot be started is reported in a "FEHLER" message
  // naming it and gives false.
  bool StartOrReport(const std::string& commandLine, int windowStyle, double* taskId = nullptr);

  // --- Plug-in templates (plugin_templates.cpp) ---
  void Command16_Click();  // "e": the single-tone template
  void Command17_Click();  // "d": the sustained-tone template

  // --- Info pages (info_pages.cpp): the "i" button's pages, the inserter's manual, the return ---
  void Command2_Click();  // "i"
  void ShowManual();
  void ShowStartPage();
  void ShowSettingsLegend();
  void ShowReferenceTables();
  void Zumkinfo_Click();  // "info"
  void Testlist_Click();
  // The 45 work controls in the order the info view hides them, and the 38 of them that the
  // return shows itself (the run shows Text17, Command11, Command12 and the four value columns).
  std::vector<forms::Control*> WorkControls() const;
  std::vector<forms::Control*> ControlsShownOnReturn() const;
  std::string StartPagePath() const {
    return "C:\\Arbeit-xqt\\Eigene Dateien 2\\Texte\\Bedienungsanleitungen\\Quorel\\"
           "Tesu-Startseite.txt";
  }
  std::string InserterManualPath() const {
    return "C:\\Arbeit-xqt\\Eigene Dateien 2\\Texte\\Bedienungsanleitungen\\ZUMK.txt";
  }

  // Shows a message box titled "FEHLER" with an OK button.
  void ShowError(const std::string& text);
  // How many such messages the window has shown (a step that calls another can tell whether
  // that one has reported its failure already).
  int ErrorsShown() const { return errorsShown_; }
  // Clears the four value columns (and, when asked, Testlist with a white background).
  void ClearDisplayLists(bool alsoTestlist);

  ConverterState state;
  platform::FileTable files;
  ConverterServices services;

  forms::Form frmDatei{"frmDatei"};
  // The sixteen settings boxes Text1..Text16 and the sample box Text17 (index 0 unused), and
  // their labels.
  std::array<forms::TextBox*, 18> Text{};
  std::array<forms::Label*, 18> BoxLabel{};
  forms::Label& Label9;
  forms::TextBox& Tempo;
  forms::Button& Command1;
  forms::Button& Command3;
  forms::Button& Command19;
  forms::Button& Variation;
  forms::Button& Variation2;
  forms::Button& Command7;
  forms::Button& StartStoppFix;
  forms::Button& PRFix;
  forms::Button& StartStoppLos;
  forms::Button& kopieren;
  forms::TextBox& Abstandstext;
  forms::Button& Command11;
  forms::Button& Command12;
  forms::Button& Orcknopf;
  forms::Button& Scoknopf;
  forms::ListBox& Testlist;
  std::array<forms::ListBox*, 5> Testliste{};  // Testliste(1) .. Testliste(4)
  // The snapshot buttons (snapshots.cpp).
  forms::Button& Command4 = frmDatei.Add<forms::Button>("Command4");
  forms::Button& Csoundstore = frmDatei.Add<forms::Button>("Csoundstore");

  // Variation editor.
  forms::ScrollBar& VScroll1 = frmDatei.Add<forms::ScrollBar>("VScroll1");
  forms::ScrollBar& VScroll2 = frmDatei.Add<forms::ScrollBar>("VScroll2");
  forms::ScrollBar& VScroll3 = frmDatei.Add<forms::ScrollBar>("VScroll3");
  forms::ScrollBar& VScroll4 = frmDatei.Add<forms::ScrollBar>("VScroll4");
  forms::Button& Z_Enter1 = frmDatei.Add<forms::Button>("Z_Enter1");
  forms::Button& Z_Enter2 = frmDatei.Add<forms::Button>("Z_Enter2");
  forms::Button& L_Enter = frmDatei.Add<forms::Button>("L_Enter");
  forms::Button& H_Enter = frmDatei.Add<forms::Button>("H_Enter");
  forms::Button& K_Enter = frmDatei.Add<forms::Button>("K_Enter");
  forms::Button& Z_Reset = frmDatei.Add<forms::Button>("Z_Reset");
  forms::Button& L_Reset = frmDatei.Add<forms::Button>("L_Reset");
  forms::Button& H_Reset = frmDatei.Add<forms::Button>("H_Reset");
  forms::Button& K_Reset = frmDatei.Add<forms::Button>("K_Reset");

  // --- Controls of the launchers, the toggles and the plug-in templates, and Text18 ---
  forms::Button& Command5 = frmDatei.Add<forms::Button>("Command5");
  forms::Button& Command13 = frmDatei.Add<forms::Button>("Command13");
  forms::Button& Command8 = frmDatei.Add<forms::Button>("Command8");
  forms::Button& Command9 = frmDatei.Add<forms::Button>("Command9");
  forms::Button& Command6 = frmDatei.Add<forms::Button>("Command6");
  forms::Button& Zumkknopf = frmDatei.Add<forms::Button>("Zumkknopf");
  forms::Button& Csoundknopf = frmDatei.Add<forms::Button>("Csoundknopf");
  forms::Button& Command15 = frmDatei.Add<forms::Button>("Command15");
  forms::Button& Command16 = frmDatei.Add<forms::Button>("Command16");
  forms::Button& Command17 = frmDatei.Add<forms::Button>("Command17");
  forms::Button& Stimmen = frmDatei.Add<forms::Button>("Stimmen");
  forms::Button& Cool = frmDatei.Add<forms::Button>("Cool");
  forms::Button& Command10 = frmDatei.Add<forms::Button>("Command10");
  forms::Label& Label17 = frmDatei.Add<forms::Label>("Label17");
  forms::TextBox& Text18 = frmDatei.Add<forms::TextBox>("Text18");  // shows the word "Tempo"

  // The info buttons.
  forms::Button& Command2 = frmDatei.Add<forms::Button>("Command2");  // "i"
  forms::Button& Zumkinfo = frmDatei.Add<forms::Button>("Zumkinfo");  // "info"

 private:
  void CreateControls();
  void CreateLauncherControls();  // launchers.cpp
  // Positions, sizes and fonts of the controls, all in one place.
  void ArrangeControls();
  void ConnectSettingsBoxes();
  void CreateVariationControls();
  void TextChanged(int box);
  void ConnectCopyButton();      // generated_projects.cpp
  void CreateSnapshotButtons();  // snapshots.cpp
  void CreateInfoButtons();      // info_pages.cpp
  // The window around the display list: in the info view the list is wider (the tables' lines)
  // and the window grows to hold it; back in the working view both are as laid out.
  void FitWindowToTestlist();

  int errorsShown_ = 0;

  // A "Cso1" or "Cso2" click writes the start/stop file up to three times (the reset for a new
  // project, the whole envelope's range, the run's range): while one runs, a failure of that file
  // is told once.
  class StartStopClick {
   public:
    explicit StartStopClick(ConverterWindow& w)
        : w_(w), click_(w.startStopClick_), reported_(w.startStopReported_) {
      w.startStopClick_ = true;
      w.startStopReported_ = false;
    }
    ~StartStopClick() {
      w_.startStopClick_ = click_;
      w_.startStopReported_ = reported_;
    }
    StartStopClick(const StartStopClick&) = delete;
    StartStopClick& operator=(const StartStopClick&) = delete;

   private:
    ConverterWindow& w_;
    bool click_, reported_;
  };
  bool startStopClick_ = false;     // a StartStopClick runs
  bool startStopReported_ = false;  // and has told a failure of the start/stop file
};

}  // namespace envelope
