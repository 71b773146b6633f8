#include "compiler/compiler_window.h"

#include <stdexcept>

namespace compiler {

CompilerWindow::CompilerWindow(const BuildSettings& build, CompilerServices services)
    : state(build),
      services(services),
      Testliste(frmDatei.Add<forms::ListBox>("Testliste")),
      Zufallsliste(frmDatei.Add<forms::Button>("Zufallsliste")),
      Command5(frmDatei.Add<forms::Button>("Command5")) {
  CreateControls();
  WireRandomPanel();
  WireWorkflowButtons();
  WireToolButtons();
  WireSettingsPanel();
  WireScoreImporter();

  Command5.SetCaption("Cso");
  Command5.SetToolTip("CSOUND-Start mit 'Dozudava.sco' und 'Dozudava.orc'");
  Command5.onClick = [this] { Command5_Click(); };
}

forms::TextBox& CompilerWindow::Box(const std::string& name) {
  auto it = boxes_.find(name);
  if (it == boxes_.end()) throw std::out_of_range("no text box " + name);
  return *it->second;
}

}  // namespace compiler
