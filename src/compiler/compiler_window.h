// frmDatei, the compiler's one window object: its controls, its state and its procedures.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "compiler/compiler_state.h"
#include "csound/writers.h"
#include "forms/form.h"
#include "platform/file_table.h"

namespace platform {
class Clock;
class ProgramStarter;
class WindowSystem;
}  // namespace platform

namespace compiler {

// The platform services the compiler window talks to; tests pass fakes.
struct CompilerServices {
  platform::Clock& clock;
  platform::ProgramStarter& starter;
  platform::WindowSystem& windows;
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

  // Layout, list styles and manual called by the pass.
  void ArrangeMainWindow();
  void ArrangeButtons();
  void ShowListLarge();
  void HideListSmall();
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

 private:
  void CreateControls();
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
