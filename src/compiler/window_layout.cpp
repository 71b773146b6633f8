#include "compiler/compiler_window.h"

namespace compiler {

void CompilerWindow::CreateControls() {
  for (const char* name :
       {"Text1",  "Text2",  "Text3",  "Text4",  "Text9",  "Text10", "Text13", "Text14",
        "Text16", "Text17", "Text20", "Text23", "Text29", "Text30", "Text31", "Text32",
        "Text39", "Text40", "Text41", "Text42", "Text43", "Text44", "Text45", "Text46",
        "Text47", "Text48", "Text49", "Text50", "Text51", "Text52", "Text53", "Text54",
        "Text55", "Text56", "Text57", "Text58"}) {
    boxes_[name] = &frmDatei.Add<forms::TextBox>(name);
  }
}

void CompilerWindow::ArrangeMainWindow() {}
void CompilerWindow::ArrangeButtons() {}
void CompilerWindow::ShowListLarge() {}
void CompilerWindow::HideListSmall() {}
void CompilerWindow::HideRandomPanel() {}
void CompilerWindow::FillManualList() {}

}  // namespace compiler
