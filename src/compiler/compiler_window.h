// frmDatei, the compiler's one window object: its controls, its state and its procedures.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "compiler/compiler_state.h"
#include "compiler/random_generator.h"
#include "csound/writers.h"
#include "forms/form.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_table.h"

namespace platform {
class ProgramStarter;
class WindowSystem;
}  // namespace platform

namespace compiler {

// The window caption of a compiled tone list begins so (two blanks on each side of the dash).
inline constexpr const char* kCaptionPrefix = "T A L V I K  -  Tonverlaufsliste: ";

// The platform services the compiler window talks to; tests pass fakes.
struct CompilerServices {
  platform::Clock& clock;
  platform::ProgramStarter& starter;
  platform::WindowSystem& windows;
  // The random panel's draws and its preset dialog (a window that is never shown may keep the
  // defaults: the process's random source and a dialog that answers Cancel).
  platform::RandomSource& random = platform::ProcessRandom();
  platform::FileDialogService& fileDialog = platform::CancelledFileDialog();
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

  // Reads "C:\Arbeit\Talvik.ini" (file 9) into the nine settings boxes and lines 10 to 13.
  void LoadCompilerSettings();

  // Layout, list styles and manual called by the pass (HideListLarge: by the random panel).
  void ArrangeMainWindow();
  void ArrangeButtons();
  void ShowListLarge();
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
  // The window's client coordinate system in twips: origin and width.
  struct ClientScale {
    int left = 0, top = 0, width = 0;
  };
  ClientScale client;
  // The control of that name and kind; an unknown name is std::out_of_range.
  forms::Button& Btn(const std::string& name);
  forms::Label& Lbl(const std::string& name);
  forms::PictureBox& Pic(const std::string& name);
  // ---- end of window layout ------------------------------------------------------------------

  // ---- Random panel and presets (random_panel.cpp) --------------------------------------------
  void Command11_Click();    // shows and validates the panel
  void Command12_Click();    // loads a preset file
  void Command13_Click();    // saves a preset file
  void Command10_Click();    // "POWER": draws, compiles and renders
  void Direktstart_Click();  // compiles the random list
  void AdoptRandomList();    // Direktstart_Click without hiding the settings panel
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
