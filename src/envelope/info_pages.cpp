// The info pages: the "i" button steps through the manual, the start page, the settings legend and
// the reference tables and back to the work by way of a run; "info" shows the plug-in inserter's
// manual; a click on the list returns to the work.
#include <stdexcept>
#include <string>
#include <vector>

#include "common/errors.h"
#include "csound/fixed_texts.h"
#include "envelope/converter_window.h"
#include "envelope/info_texts.h"
#include "platform/file_table.h"

namespace envelope {
namespace {

constexpr forms::Colour kWhite = forms::Rgb(0xFF, 0xFF, 0xFF);
constexpr forms::Colour kDarkGreen = forms::Rgb(0x35, 0x5A, 0x16);
constexpr forms::Colour kGrey = forms::Rgb(0x70, 0x70, 0x70);
constexpr forms::Colour kManualBack = forms::Rgb(0xF7, 0xFC, 0xF3);
constexpr forms::Colour kStartPageBack = forms::Rgb(0xF7, 0xF7, 0xF9);

constexpr int kInfoHeight = 9820;
constexpr int kWorkingHeight = 1365;
constexpr int kInserterManualFile = 8;
constexpr int kStartPageFile = 9;

// The work controls by name, in the order they are hidden.
constexpr const char* kWorkControlNames[] = {
    "Command15", "Command16",   "Command17", "Zumkinfo",  "Zumkknopf",     "Csoundknopf",
    "Orcknopf",  "Csoundstore", "Scoknopf",  "Text18",    "Tempo",         "Text1",
    "Text2",     "Z_Enter1",    "Z_Enter2",  "Text17",    "StartStoppFix", "StartStoppLos",
    "Command4",  "Command5",    "kopieren",  "Abstandstext", "PRFix",      "Variation",
    "Variation2", "Command3",   "Command19", "Cool",      "Command11",     "Command12"};
constexpr const char* kSliderAndKeyNames[] = {"VScroll1", "VScroll2", "VScroll3", "VScroll4",
                                              "Z_Reset",  "L_Enter",  "L_Reset",  "H_Enter",
                                              "H_Reset",  "K_Enter",  "K_Reset"};
// The work controls that the run of "Cso1" shows again itself.
bool ShownByTheRun(const forms::Control& c) {
  return c.name() == "Text17" || c.name() == "Command11" || c.name() == "Command12" ||
         c.name() == "Testliste";
}

void SetVisible(const std::vector<forms::Control*>& controls, bool visible) {
  for (forms::Control* c : controls) c->SetVisible(visible);
}

// The list as every info page has it, before its page is drawn.
void EnlargeTestlist(ConverterWindow& w, double fontSize) {
  w.Testlist.SetHeight(kInfoHeight);
  w.Testlist.SetFontSize(fontSize);
  w.Testlist.SetFontBold(true);
}

void FillTestlist(ConverterWindow& w, forms::Colour back, const std::vector<std::string>& lines) {
  w.Testlist.Clear();
  w.Testlist.SetBackColour(back);
  for (const std::string& line : lines) w.Testlist.AddItem(line);
}

// Appends the lines of a text file of the composer (UTF-8, else Windows-1252) and closes it; a
// file that cannot be read throws, with the file closed when it was opened here.
void AppendFileLines(ConverterWindow& w, int number, const std::string& path) {
  w.files.OpenInput(number, path, platform::Encoding::Utf8OrCp1252);
  try {
    while (!w.files.Eof(number)) w.Testlist.AddItem(w.files.LineInput(number));
  } catch (...) {
    w.files.Close(number);
    throw;
  }
  w.files.Close(number);
}

}  // namespace

void ConverterWindow::CreateInfoButtons() {
  Command2.SetCaption("i");
  Command2.SetToolTip(
      "Klick 1: Bedienungsanleitung, Klick 2: Hintergrundinfos zu Ormila, Klick 3: Inhalt der "
      "INI-Datei , Klick 4: Lautstärke- und Frequenz-Info, Klick 5: Listenansicht");
  Command2.onClick = [this] { Command2_Click(); };
  Zumkinfo.SetCaption("info");
  Zumkinfo.SetToolTip("ZUMK-Info");
  Zumkinfo.onClick = [this] { Zumkinfo_Click(); };
  Testlist.onClick = [this] { Testlist_Click(); };
}

std::vector<forms::Control*> ConverterWindow::WorkControls() const {
  std::vector<forms::Control*> controls;
  auto take = [&](const std::string& name, int index) {
    forms::Control* c = frmDatei.Find(name, index);
    if (!c) throw std::logic_error("info pages: the window has no control " + name);
    controls.push_back(c);
  };
  for (const char* name : kWorkControlNames) take(name, -1);
  for (int i = 1; i <= 4; ++i) take("Testliste", i);
  for (const char* name : kSliderAndKeyNames) take(name, -1);
  return controls;
}

std::vector<forms::Control*> ConverterWindow::ControlsShownOnReturn() const {
  std::vector<forms::Control*> controls;
  for (forms::Control* c : WorkControls())
    if (!ShownByTheRun(*c)) controls.push_back(c);
  return controls;
}

void ConverterWindow::Command2_Click() {
  ConverterState& s = state;
  if (s.VariationActive) return;
  SetVisible(WorkControls(), false);
  EnlargeTestlist(*this, 12);
  switch (s.InfoPage) {
    case 0:
      Testlist.SetForeColour(kDarkGreen);
      ShowManual();
      break;
    case 1:
      Testlist.SetForeColour(kGrey);
      ShowStartPage();
      break;
    case 2:
      Testlist.SetForeColour(forms::kBlack);
      ShowSettingsLegend();
      break;
    case 3:
      Testlist.SetForeColour(forms::kBlack);
      ShowReferenceTables();
      break;
    case 4:
      Testlist.SetForeColour(forms::kBlack);
      Testlist.Clear();
      Testlist.SetBackColour(kWhite);
      // With InfoPage still 4 the run writes the tone list but starts no build; it leaves
      // InfoPage at 0, the list at its working height and shows its seven controls.
      Command3_Click();
      SetVisible(ControlsShownOnReturn(), true);
      break;
    default:
      break;
  }
}

void ConverterWindow::ShowManual() {
  FillTestlist(*this, kManualBack, ManualLines(state.VersionText));
  state.InfoPage = 1;
}

void ConverterWindow::ShowStartPage() {
  FillTestlist(*this, kStartPageBack, {});
  try {
    AppendFileLines(*this, kStartPageFile, StartPagePath());
  } catch (const common::RuntimeError& e) {
    // A missing start page is named on the page; the next click goes on with the legend.
    Testlist.AddItem("Die Startseite " + StartPagePath() + " konnte nicht gelesen werden: " +
                     e.text());
  }
  state.InfoPage = 2;
}

void ConverterWindow::ShowSettingsLegend() {
  FillTestlist(*this, kWhite, SettingsLegendLines());
  state.InfoPage = 3;
}

void ConverterWindow::ShowReferenceTables() {
  FillTestlist(*this, kWhite, csound::ReferenceTableLines());
  state.InfoPage = 4;
}

void ConverterWindow::Zumkinfo_Click() {
  // Any error ends the click without a message; the manual's file is closed all the same, so
  // that a later click can open it again.
  try {
    files.OpenInput(kInserterManualFile, InserterManualPath(), platform::Encoding::Utf8OrCp1252);
  } catch (const common::RuntimeError&) {
    return;
  }
  try {
    SetVisible(WorkControls(), false);
    Testlist.Clear();
    Testlist.SetBackColour(kWhite);
    EnlargeTestlist(*this, 10);
    while (!files.Eof(kInserterManualFile))
      Testlist.AddItem(files.LineInput(kInserterManualFile));
  } catch (const common::RuntimeError&) {
  }
  files.Close(kInserterManualFile);
}

void ConverterWindow::Testlist_Click() {
  // From an info page and from the working view alike: the work comes back by way of a run that
  // re-reads the project and writes the tone list without starting a build (InfoPage is not 0);
  // the run drops the variations in memory.
  SetVisible(ControlsShownOnReturn(), true);
  Testlist.SetHeight(kWorkingHeight);
  Testlist.SetFontSize(12);
  Testlist.SetFontBold(true);
  Testlist.Clear();
  Testlist.SetBackColour(kWhite);
  state.InfoPage = 1;
  Command3_Click();
}

}  // namespace envelope
