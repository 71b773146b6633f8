#include "compiler/compiler_window.h"

#include <stdexcept>

#include "common/errors.h"
#include "common/numbers.h"

namespace compiler {

CompilerWindow::CompilerWindow(const BuildSettings& build, CompilerServices services)
    : state(build),
      services(services),
      Testliste(frmDatei.Add<forms::ListBox>("Testliste")),
      Zufallsliste(frmDatei.Add<forms::Button>("Zufallsliste")),
      Command5(frmDatei.Add<forms::Button>("Command5")) {
  CreateControls();
  WireRandomPanel();

  // The settings panel: each box keeps its field at the LeadingNumber of its text.
  const std::pair<const char*, double CompilerState::*> settingBoxes[] = {
      {"Text45", &CompilerState::Hardness},    {"Text46", &CompilerState::Tempo},
      {"Text47", &CompilerState::FrequencyFactor}, {"Text58", &CompilerState::LoudnessFactor},
      {"Text48", &CompilerState::SettingFua},  {"Text49", &CompilerState::SettingFub},
      {"Text50", &CompilerState::SettingEnte}, {"Text51", &CompilerState::SettingDel},
      {"Text52", &CompilerState::SettingFom}};
  for (const auto& [name, field] : settingBoxes) {
    forms::TextBox& box = Box(name);
    box.onChange = [this, &box, field = field] { state.*field = common::LeadingNumber(box.text()); };
  }

  Command5.SetCaption("Cso");
  Command5.SetToolTip("CSOUND-Start mit 'Dozudava.sco' und 'Dozudava.orc'");
  Command5.onClick = [this] { Command5_Click(); };
}

forms::TextBox& CompilerWindow::Box(const std::string& name) {
  auto it = boxes_.find(name);
  if (it == boxes_.end()) throw std::out_of_range("no text box " + name);
  return *it->second;
}

void CompilerWindow::LoadCompilerSettings() {
  constexpr int kSettingsFile = 9;
  files.OpenInput(kSettingsFile, "C:\\Arbeit\\Talvik.ini");
  for (const char* name : {"Text45", "Text46", "Text47", "Text58", "Text48", "Text49", "Text50",
                           "Text51", "Text52"}) {
    state.CurrentLine = files.LineInput(kSettingsFile);
    Box(name).SetText(state.CurrentLine);
  }
  for (double CompilerState::*field :
       {&CompilerState::SettingLtf, &CompilerState::SettingLts, &CompilerState::SettingHts}) {
    state.CurrentLine = files.LineInput(kSettingsFile);
    state.*field = common::StrictNumber(state.CurrentLine);
  }
  state.CurrentLine = files.LineInput(kSettingsFile);
  state.FileNameCounter = common::ToInt16(common::LeadingNumber(state.CurrentLine));
  files.Close(kSettingsFile);
}

}  // namespace compiler
