// frmDatei, the compiler's one window object: its controls, its state and its procedures.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "compiler/compiler_state.h"
#include "compiler/random_generator.h"
#include "csound/plugin_templates.h"
#include "csound/writers.h"
#include "forms/form.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_table.h"

namespace common {
class PrintedLine;
}
namespace platform {
class ProgramStarter;
class WindowSystem;
}  // namespace platform

namespace compiler {

// The window caption of a compiled tone list begins so (two blanks on each side of the dash).
inline constexpr const char* kCaptionPrefix = "T A L V I K  -  Tonverlaufsliste: ";

// The title of the messages that report a failed step.
inline constexpr const char* kErrorTitle = "FEHLER";

// The platform services the compiler window talks to; tests pass fakes.
struct CompilerServices {
  platform::Clock& clock;
  platform::ProgramStarter& starter;
  platform::WindowSystem& windows;
  // The random panel's draws, the file dialogs and the messages of the window's tools (a window
  // that is never shown may keep the defaults: the process's random source, a dialog that answers
  // Cancel, messages on stderr).
  platform::RandomSource& random = platform::ProcessRandom();
  platform::FileDialogService& fileDialog = platform::CancelledFileDialog();
  platform::MessageBoxService& messages = platform::StderrMessages();
};

class CompilerWindow {
 public:
  CompilerWindow(const BuildSettings& build, CompilerServices services);
  CompilerWindow(const CompilerWindow&) = delete;
  CompilerWindow& operator=(const CompilerWindow&) = delete;

  // The compiler pass; ends the program (common::ProgramEnd) in every case.
  void Form_Load();
  void Command5_Click();
  void ListScoreFile();
  void ListOrchestraFile();

  // Layout, the four list styles, the random panel's switch and the manual.
  void ArrangeMainWindow();
  void ArrangeButtons();
  void ShowListLarge();
  void ShowListSmall();
  void HideListSmall();
  void HideListLarge();
  void HideRandomPanel();
  void FillManualList();

  CompilerState state;
  platform::FileTable files;
  CompilerServices services;

  forms::Form frmDatei{"frmDatei"};
  forms::ListBox& Testliste;
  forms::Button& Zufallsliste;
  forms::Button& Command5;

  // The text box of that name ("Text45"); an unknown name is std::out_of_range.
  forms::TextBox& Box(const std::string& name);

  // ---- Window layout, panels and manual (window_layout.cpp) ----------------------------------
  // Hides the settings panel and shows the labels of the workflow buttons.
  void HideSettingsPanel();
  // The settings boxes Text45 to Text58 and their heading shown (the labels they cover hidden),
  // or the reverse.
  void ShowSettingsPanel(bool shown = true);
  // The window's client coordinate system in twips: origin and width.
  struct ClientScale {
    int left = 0, top = 0, width = 0;
  };
  ClientScale client;
  // The control of that name and kind; an unknown name is std::out_of_range.
  forms::Button& Btn(const std::string& name);
  forms::Label& Lbl(const std::string& name);
  forms::PictureBox& Pic(const std::string& name);
  forms::CheckBox& Chk(const std::string& name);
  // ---- end of window layout ------------------------------------------------------------------

  // ---- Workflow buttons (workflow_buttons.cpp) ------------------------------------------------
  void Command3_Click();  // "A": edits Tesu.rsz
  void Command1_Click();  // "B": compiles Tesu.rsz (ends the program)
  void Command7_Click();  // chooses a stored list and edits it
  void Command8_Click();  // "P": chooses a stored list and compiles it (ends the program)
  void Command9_Click();  // edits Zufall.rsz
  void Command4_Click();  // "sco"
  void Command6_Click();  // "orc"
  void Command2_Click();  // "Info": the manual
  void Ende_Click();      // saves the settings and ends the program
  // Appends ToneListLines(1..LineCount) to Testliste (no control runs it).
  void ListToneListLines();
  // ---- end of workflow buttons ----------------------------------------------------------------

  // ---- Tool buttons and launchers (tool_buttons.cpp) ------------------------------------------
  // Appends the lines of a text file to Testliste in its small readable style; a file that cannot
  // be read ends the listing quietly.
  void ShowTextFile(const std::string& path);
  // Appends the 34 lines of the reference tables to Testliste.
  void ShowReferenceTable();
  // Copies C:\Arbeit\Vuzov.rsz to C:\Arbeit\Rsz-Backup-0 (nothing to copy when there is no list).
  void BackupToneListForUndo();
  void Command15_Click();  // "4": compiles Vuzov.rsz (ends the program)
  void Command31_Click();  // MIDI-POWER: imports, then compiles when the import wrote the list
  void Command16_Click();  // edits Vuzov.rsz
  void Command32_Click();  // backs Vuzov.rsz up to Rsz-Backup-1
  void Command33_Click();  // opens Rsz-Backup-1
  void Command34_Click();  // opens Rsz-Backup-0
  void Command17_Click();  // "1": capella
  void Command18_Click();  // "2": MIDI2CS, then the score as it stands
  void Command19_Click();  // "Dir *.sco"
  void Command20_Click();  // "Dir *.mid"
  void Command37_Click();  // "Dir *.wav"
  void Command21_Click();  // "LT-HT": the first four settings boxes and the reference tables
  void Command22_Click();  // "UA-100"
  void Command25_Click();  // "Samp"
  void Command35_Click();  // Samplitude help
  void Command36_Click();  // keeps Dozudava.wav as the next free LumoN.wav
  void Command23_Click();  // "Sonar"
  void Command30_Click();  // Sonar help
  void Command24_Click();  // "Kelvo"
  void Command38_Click();  // "PLG": ZUMK
  void Command39_Click();  // ZUMK help
  void Command40_Click();  // "e": the single-tone plug-in template
  void Command41_Click();  // "d": the sustained-tone plug-in template
  // A message box titled "FEHLER".
  void ShowError(const std::string& text);
  // Starts a command line; a program that cannot be started is reported and gives false.
  bool StartOrReport(const std::string& commandLine, int windowStyle);
  // ---- end of tool buttons --------------------------------------------------------------------

  // ---- Settings panel and settings writer (settings_writer.cpp) -------------------------------
  // Reads "C:\Arbeit\Talvik.ini" (file 9) into the nine settings boxes and lines 10 to 13.
  void LoadCompilerSettings();
  // Writes the nine box texts, LTF, LTS, HTS and the file-name counter to Talvik.ini, beside the
  // old file and put in place when complete; an error goes to the caller, the old file stays whole.
  void SaveCompilerSettings();
  // SaveCompilerSettings, a failure shown as a message.
  void SaveCompilerSettingsOrReport();
  // The nine settings boxes in the order of the file's lines 1 to 9.
  static const std::vector<std::string>& SettingsBoxNames();
  // The leading number of a box's text (the box shows `boxName`), or nothing when the number is
  // too large to be used: beyond half the double range, where twice it or the span between two
  // such numbers is no number any more. Nothing comes with a message naming the box.
  std::optional<double> UsableNumber(const std::string& text, const std::string& boxName);
  // The message that the number in the box is refused (`why`: "zu groß", "zu klein") and the
  // box's previous value holds.
  void RefuseNumber(const std::string& text, const std::string& boxName, const std::string& why);
  // ---- end of settings panel ------------------------------------------------------------------

  // ---- Score importer (score_importer.cpp) ----------------------------------------------------
  // "3": Sample.sco to Vuzov.rsz. Every field is checked before anything is written; a score that
  // cannot be taken is reported naming the line and the score, and Vuzov.rsz, Rsz-Backup-0 and the
  // notes of the last import stay as they were. True when Vuzov.rsz was written.
  bool Command14_Click();
  void Check1_Click();
  void Check2_Click();
  void Check3_Click();
  void ScanScoreForNotes();
  void ParseNoteLine();
  void VelocityToLoudness();
  void WriteImportedToneList();
  void WriteNoteNumberRow();
  void WriteTimeRow();
  void WriteLoudnessRow();
  void WritePitchRow();
  void WriteFormantRow();
  // Appends the remaining lines of the open input file 1 to Testliste (no control runs it).
  void ListOpenFileToList();
  // ---- end of score importer ------------------------------------------------------------------

  // ---- Random panel and presets (random_panel.cpp) --------------------------------------------
  void Command11_Click();    // shows and validates the panel
  void Command12_Click();    // loads a preset file
  void Command13_Click();    // saves a preset file
  void Command10_Click();    // "POWER": draws, compiles and renders
  void Direktstart_Click();  // compiles the random list
  void AdoptRandomList();    // Direktstart_Click without hiding the settings panel
  // What a compiling button lists behind the pass, where the pass returns: score, a separator of
  // "=" between empty lines, orchestra.
  void ListScoreAndOrchestra();
  void Picture2_MouseMove();
  // Steps 2 to 4 of Command11_Click: tab stops, the 44 boxes shown, the 22 validators in order.
  void ShowAndValidatePanel();
  // The validators of the 22 input boxes, rows 1 to 22.
  void Text3_Click();
  void Text2_Click();
  void Text1_Click();
  void Text4_Click();
  void Text9_Click();
  void Text10_Click();
  void Text13_Click();
  void Text14_Click();
  void Text16_Click();
  void Text17_Click();
  void Text23_Click();
  void Text32_Click();
  void Text31_Click();
  void Text30_Click();
  void Text29_Click();
  void Text20_Click();
  void Text39_Click();
  void Text40_Click();
  void Text41_Click();
  void Text42_Click();
  void Text43_Click();
  void Text44_Click();
  // The caption box and the input box of panel row 1 to 22 (window_layout.cpp, from the rows'
  // table); another row is std::out_of_range.
  static std::pair<std::string, std::string> PanelRowBoxes(int row);
  // ---- end of random panel --------------------------------------------------------------------

  // ---- Random-composition generator (random_generator.cpp) ------------------------------------
  void Zufallsliste_Click();
  // Reseeds, then draws x in [min, max + 1) and rounds it to `quanti` decimals.
  double Zufzahl2(double min, double max, double quanti);
  // Reseeds, then draws a whole number from min to max (both whole).
  double Zufzahl(double min, double max);
  // The working lists of the last run.
  RandomComposition composition;
  // ---- end of random-composition generator ----------------------------------------------------

 private:
  void CreateControls();
  // The random panel's tool tips and the handlers of its boxes, buttons and picture.
  void WireRandomPanel();
  // Captions, tool tips and handlers of the workflow buttons, the tool buttons, the settings panel
  // and the importer's controls.
  void WireWorkflowButtons();
  void WireToolButtons();
  void WireSettingsPanel();
  void WireScoreImporter();
  // A launcher whose folder must be current while its program starts: the folder (a missing one
  // is reported and ends the click), the start (a failing one passed over quietly), C:\Arbeit\.
  bool StartInFolder(const std::string& folder, const std::string& commandLine);
  // The steps of WriteImportedToneList: the settings boxes and the carried LTF, LTS and HTS
  // checked and read; the notes scaled and listed in Testliste; the notes checked for a list that
  // sounds and that the build can read; the rows and the last lines written and the list put in
  // place.
  void ReadImportSettings();
  void ListImportedNotes(const std::string& moment);
  void CheckImportedNotes();
  void WriteImportedRows();
  // The pitch row's terms under `keyword`; a gap note's last column holds the next note's pitch
  // term, or "." when not `gapEndsOnNextPitch`.
  void WritePitchTermRow(const char* keyword, bool gapEndsOnNextPitch);
  // The importer's point plan: note i ends more than a millisecond before the next one starts.
  bool IsGapNote(int i) const;
  // One row of the imported list: the keyword, each note's terms (`note(i, gap)`), the closing
  // term; a term too long for its column is a failure of the import.
  template <class NoteTerms, class Closing>
  void WriteRow(const char* keyword, NoteTerms note, Closing closing);
  void PrintColumn(common::PrintedLine& row, const std::string& term);
  // The score lines of the notes found by the scan, and the note whose columns are being written.
  std::vector<int> noteLines_;
  int noteOfColumn_ = 0;
  // Writes a plug-in template and opens it in the text editor.
  void WritePluginTemplateAndOpen(csound::PluginTemplateKind kind, const std::string& path,
                                  const std::string& editorPath);
  // Step 8 of the pass: caption, SourceDescription and OriginNote.
  void SetCaptionAndOrigin();
  csound::WriterContext WriterContext();
  // Steps 10 to 14: batch, orchestra and score, the editor's window, Command5_Click.
  void WritingSteps();
  // Orchestra and score; build B keeps the orchestra and rewrites the score's second part.
  void WriteCsoundFiles(const csound::WriterContext& context);
  // After a failed writing step: no file of the steps stays open, and no new file is put in place.
  void AbandonWritingSteps();
  std::map<std::string, forms::TextBox*> boxes_;
};

}  // namespace compiler
