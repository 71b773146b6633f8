// The compiler window's controls, its fixed geometry, the panel switches, the list styles and
// the manual.
#include <iterator>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>

#include "compiler/compiler_window.h"
#include "compiler/manual_text.h"

namespace compiler {

namespace {

constexpr forms::Colour kWhite = forms::Rgb(255, 255, 255);

// The random panel: 22 rows in five groups, a caption box and a value box per row.
struct PanelRow {
  int group;
  const char* captionBox;
  const char* captionText;
  const char* valueBox;
};

constexpr PanelRow kPanelRows[] = {
    {1, "Text5", "Gesamtdauer:", "Text3"},
    {1, "Text6", "kleinster Zeitabstand:", "Text2"},
    {1, "Text7", "größter Zeitabstand:", "Text1"},
    {1, "Text8", "Zeit-Quantisierung:", "Text4"},
    {2, "Text11", "kleinste Lautstärke:", "Text9"},
    {2, "Text12", "größte Lautstärke:", "Text10"},
    {3, "Text18", "tiefster Ton:", "Text13"},
    {3, "Text19", "höchster Ton:", "Text14"},
    {3, "Text21", "größtes Intervall:", "Text16"},
    {3, "Text22", "Tonhöhenquantisierung:", "Text17"},
    {3, "Text24", "Tonhöhenwiederholung:", "Text23"},
    {4, "Text28", "tiefste Formantfreq.:", "Text32"},
    {4, "Text27", "höchste Formantfreq.:", "Text31"},
    {4, "Text26", "größtes Intervall:", "Text30"},
    {4, "Text25", "Frequenzquantisierung:", "Text29"},
    {4, "Text15", "Frequenzwiederholung:", "Text20"},
    {5, "Text33", "erste FOF-Funktion:", "Text39"},
    {5, "Text34", "zweite FOF-Funktion:", "Text40"},
    {5, "Text35", "Fünffach-Delay:", "Text41"},
    {5, "Text36", "Enteneffekt:", "Text42"},
    {5, "Text37", "Formantfaktor:", "Text43"},
    {5, "Text38", "Frequenzvervielfachung:", "Text44"},
};

// Background of both boxes of a row, by group 1 to 5.
constexpr forms::Colour kGroupColours[] = {
    forms::Rgb(255, 255, 160), forms::Rgb(192, 192, 255), forms::Rgb(255, 224, 192),
    forms::Rgb(192, 255, 192), forms::Rgb(176, 176, 160)};

constexpr int kCaptionLeft = 8610, kCaptionWidth = 1765;
constexpr int kValueLeft = 10465, kValueWidth = 1065;
constexpr int kBoxHeight = 215;
constexpr int kPanelTop = 500, kRowPitch = 270;

// The seven buttons of the random tools, on the right part of Picture2.
struct ToolButton {
  const char* name;
  const char* caption;
  const char* toolTip;
  int top, left, height, width;
};

constexpr ToolButton kToolButtons[] = {
    {"Zufallsliste", "Zuf",
     "Starten - dann die Zufallsliste anzeigen. Das Formular auf der rechten Seite ist editierbar!",
     8505, 1500, 285, 360},
    {"Command9", "", "'zufall.rsz' editieren", 8505, 1860, 285, 180},
    {"Command11", "Einst.", "Nur die Einstellungen der Zufallsliste anzeigen", 9075, 1500, 285,
     540},
    {"Direktstart", "D", "'Zufall.rsz' in eine Csound-Partitur umwandeln", 8505, 2040, 285, 180},
    {"Command12", "L", "gespeicherte Zufalls-Presets laden", 8790, 2040, 285, 180},
    {"Command13", "S", "Zufalls-Presets abspeichern", 9075, 2040, 285, 180},
    {"Command10", "POWER",
     "POWER (Zufallsprogramm starten - übernehmen - Csound - Cool Edit)", 8790, 1500, 285, 540},
};

// One of the display list's fixed styles.
struct ListStyle {
  forms::Colour fore, back;
  double fontSize;
  bool bold;
  int height;
};

constexpr ListStyle kListLarge{forms::kBlack, kWhite, 10, true, 8250};
constexpr ListStyle kListSmall{forms::kBlack, kWhite, 8, false, 8250};
constexpr ListStyle kHiddenLarge{kWhite, kWhite, 10, true, 8250};
constexpr ListStyle kHiddenSmall{kWhite, kWhite, 8, false, 8250};

void ApplyListStyle(forms::ListBox& list, const ListStyle& style) {
  list.SetForeColour(style.fore);
  list.SetBackColour(style.back);
  list.SetFontSize(style.fontSize);
  list.SetFontBold(style.bold);
  list.SetHeight(style.height);
}

template <class T>
T& Named(const forms::Form& form, const std::string& name, const char* kind) {
  if (auto* control = dynamic_cast<T*>(form.Find(name))) return *control;
  throw std::out_of_range(std::string("no ") + kind + " " + name);
}

}  // namespace

std::pair<std::string, std::string> CompilerWindow::PanelRowBoxes(int row) {
  if (row < 1 || row > static_cast<int>(std::size(kPanelRows)))
    throw std::out_of_range("no panel row " + std::to_string(row));
  const PanelRow& r = kPanelRows[row - 1];
  return {r.captionBox, r.valueBox};
}

forms::Button& CompilerWindow::Btn(const std::string& name) {
  return Named<forms::Button>(frmDatei, name, "button");
}

forms::Label& CompilerWindow::Lbl(const std::string& name) {
  return Named<forms::Label>(frmDatei, name, "label");
}

forms::PictureBox& CompilerWindow::Pic(const std::string& name) {
  return Named<forms::PictureBox>(frmDatei, name, "picture box");
}

forms::CheckBox& CompilerWindow::Chk(const std::string& name) {
  return Named<forms::CheckBox>(frmDatei, name, "check box");
}

// The window's stored design: the controls with the properties that no procedure sets.
void CompilerWindow::CreateControls() {
  Testliste.SetFontName("Courier New");

  frmDatei.Add<forms::PictureBox>("Picture2");

  for (int n = 1; n <= 58; ++n) {
    const std::string name = "Text" + std::to_string(n);
    boxes_[name] = &frmDatei.Add<forms::TextBox>(name);
  }
  // Caption boxes name their row and stay out of the tab walk down the value column.
  for (const PanelRow& row : kPanelRows) {
    forms::TextBox& caption = Box(row.captionBox);
    caption.SetText(row.captionText);
    caption.SetTabStop(false);
  }
  // The settings panel, shown over the right part of the list: the four boxes of hardness, tempo,
  // pitch and loudness side by side under their heading, then the five sound settings, each box
  // beside the box that names it.
  forms::Label& heading = frmDatei.Add<forms::Label>("Label18");
  heading.Move(kCaptionLeft, 230, 3525, 255);
  for (int k = 0; const char* name : {"Text45", "Text46", "Text47", "Text58"}) {
    Box(name).Move(kCaptionLeft + 885 * k++, 500, 840, 285);
  }
  for (int k = 0; k < 5; ++k) {
    const int top = 950 + 330 * k;
    Box("Text" + std::to_string(53 + k)).Move(kCaptionLeft, top, 1000, 285);
    Box("Text" + std::to_string(48 + k)).Move(kCaptionLeft + 1045, top, 1000, 285);
    Box("Text" + std::to_string(53 + k)).SetTabStop(false);
  }

  // The workflow buttons, the importer's and the tool buttons with their labels, below the list
  // and right of Picture2.
  struct Placed {
    const char* name;
    int left, top, width, height;
  };
  for (const auto& [l, caption] :
       {std::pair{Placed{"Label4", 2400, 8535, 4200, 225},
                  "die manuell erstellte Tonverlaufsliste 'Tonverlauf.rsz'"},
        std::pair{Placed{"Label16", 2400, 8835, 1000, 225}, "editieren:"},
        std::pair{Placed{"Label1", 2400, 9120, 1000, 225}, "übernehmen:"}}) {
    forms::Label& label = frmDatei.Add<forms::Label>(l.name);
    label.SetCaption(caption);
    label.Move(l.left, l.top, l.width, l.height);
  }
  constexpr int kRowA = 8535, kRowB = 8820, kRowC = 9075, kRowD = 9360, kHigh = 255;
  const Placed buttons[] = {
      // edit and compile the lists
      {"Command3", 3450, 8790, 375, 285}, {"Command7", 3870, 8790, 375, 285},
      {"Command8", 4290, 8790, 375, 285}, {"Command1", 3450, 9075, 375, 285},
      {"Command4", 4500, 9075, 540, 285}, {"Command6", 5085, 9075, 540, 285},
      {"Command2", 11595, 9075, 540, 285}, {"Ende", 11010, 9075, 540, 285},
      // from the notation to the imported list and its sound
      {"Command17", 6700, kRowA, 375, kHigh}, {"Command18", 7105, kRowA, 375, kHigh},
      {"Command19", 7510, kRowA, 375, kHigh}, {"Command20", 7915, kRowA, 375, kHigh},
      {"Command14", 8320, kRowA, 375, kHigh}, {"Command16", 8725, kRowA, 375, kHigh},
      {"Command15", 9130, kRowA, 375, kHigh}, {"Command31", 9535, kRowA, 375, kHigh},
      {"Command32", 9940, kRowA, 375, kHigh}, {"Command33", 10345, kRowA, 375, kHigh},
      {"Command34", 10750, kRowA, 375, kHigh},
      // the outside programs and their help texts
      {"Command21", 5200, kRowB, 600, kHigh}, {"Command22", 5845, kRowB, 600, kHigh},
      {"Command25", 6490, kRowB, 540, kHigh}, {"Command35", 7075, kRowB, 285, kHigh},
      {"Command36", 7405, kRowB, 285, kHigh}, {"Command23", 7735, kRowB, 540, kHigh},
      {"Command30", 8320, kRowB, 285, kHigh}, {"Command24", 8650, kRowB, 540, kHigh},
      {"Command37", 9235, kRowB, 285, kHigh},
      {"Command38", 5700, kRowC, 540, kHigh}, {"Command39", 6285, kRowC, 540, kHigh},
      {"Command40", 6870, kRowC, 285, kHigh}, {"Command41", 7200, kRowC, 285, kHigh},
      {"Command26", 5700, kRowD, 675, kHigh}, {"Command27", 6420, kRowD, 675, kHigh},
      {"Command28", 7140, kRowD, 675, kHigh}, {"Command29", 7860, kRowD, 675, kHigh},
  };
  for (const Placed& b : buttons)
    frmDatei.Add<forms::Button>(b.name).Move(b.left, b.top, b.width, b.height);
  Command5.Move(3900, 9075, 540, 285);
  // The importer's three switches, right of the plug-in buttons.
  for (int k = 0; const char* name : {"Check1", "Check2", "Check3"}) {
    frmDatei.Add<forms::CheckBox>(name).Move(7600 + 300 * k++, kRowC, 255, kHigh);
  }

  for (const ToolButton& t : kToolButtons) {
    forms::Button& button =
        t.name == std::string("Zufallsliste") ? Zufallsliste : frmDatei.Add<forms::Button>(t.name);
    button.SetCaption(t.caption);
    button.SetToolTip(t.toolTip);
  }
  // The stored default button; the pass takes the mark from it.
  frmDatei.SetDefaultButton(&Zufallsliste);
}

void CompilerWindow::ArrangeMainWindow() {
  frmDatei.SetHeight(10070);
  frmDatei.SetWidth(12360);
  client.left = 0;
  client.top = 0;
  client.width = 12240;

  Testliste.SetBackColour(kWhite);
  Testliste.SetForeColour(kWhite);
  Testliste.SetHeight(8250);
  Testliste.SetLeft(120);
  Testliste.SetTop(150);
  Testliste.SetWidth(12015);

  forms::PictureBox& picture = Pic("Picture2");
  picture.SetHeight(990);
  picture.SetLeft(240);
  picture.SetTop(8482);
  picture.SetWidth(1980);

  // Row k of group g stands at 500 + 270 x (k - 1 + g - 1): one empty pitch between groups.
  int tabIndex = 0;
  for (int k = 1; const PanelRow& row : kPanelRows) {
    const forms::Colour colour = kGroupColours[row.group - 1];
    const int top = kPanelTop + kRowPitch * (k - 1 + row.group - 1);
    for (const auto& [name, left, width] : {std::tuple{row.captionBox, kCaptionLeft, kCaptionWidth},
                                            std::tuple{row.valueBox, kValueLeft, kValueWidth}}) {
      forms::TextBox& box = Box(name);
      box.SetBackColour(colour);
      box.SetTop(top);
      box.SetLeft(left);
      box.SetHeight(kBoxHeight);
      box.SetWidth(width);
    }
    Box(row.valueBox).SetTabIndex(++tabIndex);
    ++k;
  }

  frmDatei.SetDefaultButton(&Btn("Command10"));
}

void CompilerWindow::ArrangeButtons() {
  HideSettingsPanel();
  for (const ToolButton& t : kToolButtons) {
    forms::Button& button = Btn(t.name);
    button.SetTop(t.top);
    button.SetLeft(t.left);
    button.SetHeight(t.height);
    button.SetWidth(t.width);
  }
}

void CompilerWindow::ShowListLarge() { ApplyListStyle(Testliste, kListLarge); }

void CompilerWindow::ShowListSmall() { ApplyListStyle(Testliste, kListSmall); }

void CompilerWindow::HideListSmall() { ApplyListStyle(Testliste, kHiddenSmall); }

void CompilerWindow::HideListLarge() { ApplyListStyle(Testliste, kHiddenLarge); }

void CompilerWindow::HideRandomPanel() {
  Pic("Picture2").SetVisible(true);
  for (const char* name : {"Command3", "Command1", "Command5"}) Btn(name).SetTabStop(true);
  for (int n = 1; n <= 44; ++n) Box("Text" + std::to_string(n)).SetVisible(false);
  for (int n = 1; n <= 4; ++n) Box("Text" + std::to_string(n)).SetTabStop(false);
  HideSettingsPanel();
}

void CompilerWindow::HideSettingsPanel() { ShowSettingsPanel(false); }

void CompilerWindow::ShowSettingsPanel(bool shown) {
  for (int n = 45; n <= 52; ++n) Box("Text" + std::to_string(n)).SetVisible(shown);
  Box("Text58").SetVisible(shown);
  Lbl("Label18").SetVisible(shown);
  for (int n = 53; n <= 57; ++n) Box("Text" + std::to_string(n)).SetVisible(shown);
  for (const char* name : {"Label16", "Label1", "Label4"}) Lbl(name).SetVisible(!shown);
}

void CompilerWindow::FillManualList() {
  state.VersionText = std::string(kManualVersionText);
  for (std::string& line : ManualLines(state.VersionText, state.ToneListBaseName, state.WorkFolder)) {
    Testliste.AddItem(std::move(line));
  }
}

}  // namespace compiler
