#include "envelope/converter_window.h"

#include "common/errors.h"
#include "common/numbers.h"
#include "common/printed_line.h"
#include "platform/dialogs.h"
#include "platform/file_table.h"

namespace envelope {
namespace {

constexpr forms::Colour kWhite = 0xFFFFFF;
constexpr forms::Colour kPaleGrey = 0xF4F4F4;

}  // namespace

ConverterWindow::ConverterWindow(ConverterServices services)
    : services(services),
      Label9(frmDatei.Add<forms::Label>("Label9")),
      Tempo(frmDatei.Add<forms::TextBox>("Tempo")),
      Command1(frmDatei.Add<forms::Button>("Command1")),
      Command3(frmDatei.Add<forms::Button>("Command3")),
      Command19(frmDatei.Add<forms::Button>("Command19")),
      Variation(frmDatei.Add<forms::Button>("Variation")),
      Variation2(frmDatei.Add<forms::Button>("Variation2")),
      Command7(frmDatei.Add<forms::Button>("Command7")),
      StartStoppFix(frmDatei.Add<forms::Button>("StartStoppFix")),
      PRFix(frmDatei.Add<forms::Button>("PRFix")),
      StartStoppLos(frmDatei.Add<forms::Button>("StartStoppLos")),
      kopieren(frmDatei.Add<forms::Button>("kopieren")),
      Abstandstext(frmDatei.Add<forms::TextBox>("Abstandstext")),
      Command11(frmDatei.Add<forms::Button>("Command11")),
      Command12(frmDatei.Add<forms::Button>("Command12")),
      Orcknopf(frmDatei.Add<forms::Button>("Orcknopf")),
      Scoknopf(frmDatei.Add<forms::Button>("Scoknopf")),
      Testlist(frmDatei.Add<forms::ListBox>("Testlist")) {
  CreateControls();
  ConnectCopyButton();
  CreateSnapshotButtons();
  ArrangeControls();
  ConnectSettingsBoxes();
}

void ConverterWindow::CreateControls() {
  static const char* const kLabels[18] = {"",
                                          "Reaper-Datei",
                                          "Hüllkurvenspur",
                                          "Sinus (ja oder nein)",
                                          "FUA",
                                          "FUB",
                                          "ENTE",
                                          "DEL",
                                          "FOM",
                                          "FOF / Sinus - Lautstärkefaktor",
                                          "Sample - Lautstärkefaktor",
                                          "Sample - Frequenzfaktor",
                                          "Gesamtlautstärke",
                                          "Tonhöhenmultiplikator",
                                          "Klangfrequenzmultiplikator",
                                          "Feste Tonhöhe",
                                          "Fester Klang",
                                          "Sample"};
  for (int i = 1; i <= 17; ++i) {
    Text[i] = &frmDatei.Add<forms::TextBox>("Text" + std::to_string(i));
    if (i == 9) {
      BoxLabel[i] = &Label9;
    } else {
      // Only Label9 has a name of its own; the other box labels must not take the names of
      // other controls (Label17 is the label that ends the program).
      BoxLabel[i] = &frmDatei.Add<forms::Label>("BoxLabel" + std::to_string(i));
    }
    BoxLabel[i]->SetCaption(kLabels[i]);
  }
  for (int i = 1; i <= 4; ++i) Testliste[i] = &frmDatei.Add<forms::ListBox>("Testliste", i);

  Command1.SetCaption("&n");
  Command1.SetToolTip("Neue Eingaben ");
  Command3.SetCaption("Cso1");
  Command19.SetCaption("Cso2");
  Variation.SetCaption("Var1");
  Variation2.SetCaption("Var2");
  StartStoppLos.SetCaption("P R");
  kopieren.SetCaption("Copy");
  kopieren.SetToolTip(
      "Wenn die Punkteautomatik aus ist: den markierten Teil der aktuellen Hüllkurve verdoppeln - "
      "Wenn die Punkteautomatik an ist: die komplette aktuelle Hüllkurve verdoppeln");
  Abstandstext.SetText("0");
  Abstandstext.SetToolTip(
      "Abstand der kopierten Hüllkurve von der Originalhüllkurve hier eintragen (nur positive "
      "Werte)");
  StartStoppLos.SetToolTip(
      "grün: Punkteautomatik ist eingeschaltet - grau: die von Hand gesetzten "
      "Kurvenpunktmarkierungen werden berücksichtigt");

  Command3.onClick = [this] { Command3_Click(); };
  Command19.onClick = [this] { Command19_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
  StartStoppLos.onClick = [this] { StartStoppLos_Click(); };
  CreateVariationControls();
  // The launchers' and toggles' captions, tool tips and handlers.
  CreateLauncherControls();
  CreateInfoButtons();
}

void ConverterWindow::ShowError(const std::string& text) {
  ++errorsShown_;
  services.messages.ShowMessage(text, kErrorTitle);
}

void ConverterWindow::ClearDisplayLists(bool alsoTestlist) {
  if (alsoTestlist) {
    Testlist.Clear();
    Testlist.SetBackColour(kWhite);
  }
  for (int i = 1; i <= 4; ++i) Testliste[i]->Clear();
}

void ConverterWindow::WriteStartStopFile(double first, double second) {
  constexpr int kStartStopFile = 7;
  bool opened = false;
  try {
    files.OpenOutputReplacing(kStartStopFile, StartStopFilePath());
    opened = true;
    files.Print(kStartStopFile, common::PrintedLine().Double(first).str());
    files.Print(kStartStopFile, common::PrintedLine().Double(second).str());
    files.Close(kStartStopFile);
  } catch (const common::RuntimeError& e) {
    // The old file stays whole; the run goes on with the range it holds in memory.
    if (opened) files.Discard(kStartStopFile);
    if (startStopClick_ && startStopReported_) return;
    startStopReported_ = true;
    ShowError("Die Datei " + StartStopFilePath() + " konnte nicht geschrieben werden: " + e.text());
  }
}

}  // namespace envelope
