// The compiler window's layout, panel switches, list styles and manual.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "compiler/compiler_window.h"
#include "forms/controls.h"
#include "platform/clock.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"

namespace compiler {
namespace {

constexpr forms::Colour kWhite = 0xFFFFFF;

std::string TextBoxName(int n) { return "Text" + std::to_string(n); }

// The golden manual: one entry a line, each ended by a newline.
std::vector<std::string> GoldenManual() {
  std::ifstream in(ORMILA_TEST_DATA "/golden/compiler/manual.txt", std::ios::binary);
  EXPECT_TRUE(in) << "golden manual missing";
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string all = bytes.str();
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(all.substr(start, end - start));
  EXPECT_EQ(start, all.size()) << "golden manual must end with a newline";
  return lines;
}

class WindowLayoutTest : public ::testing::Test {
 protected:
  platform::FixedClock clock{"01.02.2024", "12:00:00"};
  platform::FakeProgramStarter starter;
  platform::FakeWindowSystem windows;
  CompilerWindow window{BuildSettings::TalvikTe(), CompilerServices{clock, starter, windows}};

  // The fields the pass sets before the manual is filled.
  void SetPassFields() {
    window.state.ToneListBaseName = "Tesu";
    window.state.WorkFolder = "C:\\Arbeit\\";
  }
  std::vector<std::string> ListItemsFrom(std::size_t first) const {
    const auto& items = window.Testliste.items();
    return {items.begin() + static_cast<std::ptrdiff_t>(first), items.end()};
  }
};

// ---- Manual ----------------------------------------------------------------------------------

TEST_F(WindowLayoutTest, ManualIsAppendedLineForLineAsTheGoldenText) {
  SetPassFields();
  window.Testliste.AddItem("vorher");
  window.ShowListLarge();
  const std::vector<std::string> golden = GoldenManual();
  ASSERT_FALSE(golden.empty());

  window.FillManualList();

  EXPECT_EQ(window.Testliste.items().front(), "vorher");  // the list is not cleared
  EXPECT_EQ(ListItemsFrom(1), golden);
  EXPECT_EQ(window.state.VersionText, golden.front());
  // The style stays as the caller set it.
  EXPECT_EQ(window.Testliste.foreColour(), forms::kBlack);
  EXPECT_EQ(window.Testliste.fontSize(), 10);
  EXPECT_TRUE(window.Testliste.fontBold());
}

TEST_F(WindowLayoutTest, SecondFillAppendsTheManualAgain) {
  SetPassFields();
  const std::vector<std::string> golden = GoldenManual();
  window.FillManualList();
  window.FillManualList();

  std::vector<std::string> twice = golden;
  twice.insert(twice.end(), golden.begin(), golden.end());
  EXPECT_EQ(ListItemsFrom(0), twice);
}

TEST_F(WindowLayoutTest, JoinedManualLinesFollowBaseNameAndWorkFolder) {
  window.state.ToneListBaseName = "Probe";
  window.state.WorkFolder = "D:\\Musik\\";
  const std::vector<std::string> golden = GoldenManual();
  window.FillManualList();
  const std::vector<std::string> filled = ListItemsFrom(0);
  ASSERT_EQ(filled.size(), golden.size());

  // Line number (from 1) and its text with these fields; every other line is as in the golden.
  const std::map<std::size_t, std::string> joined = {
      {7, "Der Name dieser Tonverlaufsliste ist Probe.rsz."},
      {9, "Die Existenz von Probe.rsz (im Arbeitsordner D:\\Musik\\)"},
      {49, "Folgendes kann in der Datei 'Probe.txt' stehen:"},
  };
  for (std::size_t i = 0; i < filled.size(); ++i) {
    const auto it = joined.find(i + 1);
    EXPECT_EQ(filled[i], it == joined.end() ? golden[i] : it->second) << "line " << i + 1;
  }
}

// ---- List styles -----------------------------------------------------------------------------

struct ListStyleCase {
  const char* name;
  void (CompilerWindow::*apply)();
  forms::Colour fore, back;
  double fontSize;
  bool bold;
};

TEST_F(WindowLayoutTest, ListStylesSetColoursFontAndHeightAndKeepEntries) {
  const ListStyleCase cases[] = {
      {"ShowListLarge", &CompilerWindow::ShowListLarge, forms::kBlack, kWhite, 10, true},
      {"ShowListSmall", &CompilerWindow::ShowListSmall, forms::kBlack, kWhite, 8, false},
      {"HideListLarge", &CompilerWindow::HideListLarge, kWhite, kWhite, 10, true},
      {"HideListSmall", &CompilerWindow::HideListSmall, kWhite, kWhite, 8, false},
  };
  for (const ListStyleCase& c : cases) {
    SCOPED_TRACE(c.name);
    forms::ListBox& list = window.Testliste;
    list.Clear();
    list.AddItem("eins");
    list.AddItem("");
    list.AddItem("drei");
    // Start from values that neither style has.
    list.SetForeColour(0x123456);
    list.SetBackColour(0x654321);
    list.SetFontSize(12);
    list.SetFontBold(!c.bold);
    list.SetHeight(100);
    list.SetVisible(false);

    (window.*c.apply)();

    EXPECT_EQ(list.foreColour(), c.fore);
    EXPECT_EQ(list.backColour(), c.back);
    EXPECT_EQ(list.fontSize(), c.fontSize);
    EXPECT_EQ(list.fontBold(), c.bold);
    EXPECT_EQ(list.height(), 8250);
    EXPECT_FALSE(list.visible());  // visibility is not part of a style
    EXPECT_EQ(list.items(), (std::vector<std::string>{"eins", "", "drei"}));
  }
}

TEST_F(WindowLayoutTest, DisplayListUsesCourierNew) {
  EXPECT_EQ(window.Testliste.fontName(), "Courier New");
}

// ---- ArrangeMainWindow -----------------------------------------------------------------------

struct Placement {
  const char* name;
  int left, top, width, height;
  forms::Colour back;
};

TEST_F(WindowLayoutTest, ArrangeMainWindowPlacesListPictureAndPanel) {
  window.ArrangeMainWindow();

  EXPECT_EQ(window.frmDatei.height(), 10070);
  EXPECT_EQ(window.frmDatei.width(), 12360);
  EXPECT_EQ(window.client.left, 0);
  EXPECT_EQ(window.client.top, 0);
  EXPECT_EQ(window.client.width, 12240);

  const Placement cases[] = {
      {"Testliste", 120, 150, 12015, 8250, kWhite},
      {"Text5", 8610, 500, 1765, 215, forms::Rgb(255, 255, 160)},    // row 1, group 1
      {"Text3", 10465, 500, 1065, 215, forms::Rgb(255, 255, 160)},
      {"Text4", 10465, 1310, 1065, 215, forms::Rgb(255, 255, 160)},  // last of group 1
      {"Text11", 8610, 1850, 1765, 215, forms::Rgb(192, 192, 255)},  // group 2 after a gap
      {"Text10", 10465, 2120, 1065, 215, forms::Rgb(192, 192, 255)},
      {"Text18", 8610, 2660, 1765, 215, forms::Rgb(255, 224, 192)},  // group 3
      {"Text23", 10465, 3740, 1065, 215, forms::Rgb(255, 224, 192)},
      {"Text28", 8610, 4280, 1765, 215, forms::Rgb(192, 255, 192)},  // group 4
      {"Text20", 10465, 5360, 1065, 215, forms::Rgb(192, 255, 192)},
      {"Text33", 8610, 5900, 1765, 215, forms::Rgb(176, 176, 160)},  // group 5
      {"Text38", 8610, 7250, 1765, 215, forms::Rgb(176, 176, 160)},  // row 22
      {"Text44", 10465, 7250, 1065, 215, forms::Rgb(176, 176, 160)},
  };
  for (const Placement& c : cases) {
    SCOPED_TRACE(c.name);
    const forms::Control* control = window.frmDatei.Find(c.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->left(), c.left);
    EXPECT_EQ(control->top(), c.top);
    EXPECT_EQ(control->width(), c.width);
    EXPECT_EQ(control->height(), c.height);
    EXPECT_EQ(control->backColour(), c.back);
  }
  EXPECT_EQ(window.Testliste.foreColour(), kWhite);  // white on white until a style is set

  const forms::PictureBox& picture = window.Pic("Picture2");
  EXPECT_EQ(picture.left(), 240);
  EXPECT_EQ(picture.top(), 8482);
  EXPECT_EQ(picture.width(), 1980);
  EXPECT_EQ(picture.height(), 990);
}

TEST_F(WindowLayoutTest, ValueBoxesTabDownTheValueColumnBesideTheirCaptions) {
  window.ArrangeMainWindow();
  // Value box and caption box of each row, in row order.
  const std::pair<const char*, const char*> rows[] = {
      {"Text3", "Text5"},   {"Text2", "Text6"},   {"Text1", "Text7"},   {"Text4", "Text8"},
      {"Text9", "Text11"},  {"Text10", "Text12"}, {"Text13", "Text18"}, {"Text14", "Text19"},
      {"Text16", "Text21"}, {"Text17", "Text22"}, {"Text23", "Text24"}, {"Text32", "Text28"},
      {"Text31", "Text27"}, {"Text30", "Text26"}, {"Text29", "Text25"}, {"Text20", "Text15"},
      {"Text39", "Text33"}, {"Text40", "Text34"}, {"Text41", "Text35"}, {"Text42", "Text36"},
      {"Text43", "Text37"}, {"Text44", "Text38"}};
  int previousTop = 0;
  for (int row = 1; const auto& [value, caption] : rows) {
    SCOPED_TRACE(value);
    forms::TextBox& v = window.Box(value);
    forms::TextBox& c = window.Box(caption);
    EXPECT_EQ(v.tabIndex(), row);
    EXPECT_EQ(v.top(), c.top());
    EXPECT_EQ(v.backColour(), c.backColour());
    EXPECT_GT(v.top(), previousTop);
    previousTop = v.top();
    ++row;
  }
  EXPECT_EQ(previousTop + window.Box("Text44").height(), 7465);  // the panel ends at y 7465
}

TEST_F(WindowLayoutTest, ArrangeMainWindowMakesCommand10TheDefaultButton) {
  ASSERT_NE(window.frmDatei.defaultButton(), &window.Btn("Command10"));
  window.ArrangeMainWindow();
  EXPECT_EQ(window.frmDatei.defaultButton(), &window.Btn("Command10"));
  EXPECT_FALSE(window.Zufallsliste.isDefault());
}

// The layout procedures change geometry, colours, tab indexes and the default button only.
TEST_F(WindowLayoutTest, LayoutProceduresKeepTextsAndVisibilityOfThePanel) {
  for (int n = 1; n <= 44; ++n) window.Box(TextBoxName(n)).SetVisible(n % 2 == 0);
  const std::pair<const char*, std::function<void()>> procedures[] = {
      {"ArrangeMainWindow", [&] { window.ArrangeMainWindow(); }},
      {"ArrangeButtons", [&] { window.ArrangeButtons(); }},
  };
  for (const auto& [name, run] : procedures) {
    SCOPED_TRACE(name);
    std::vector<std::string> texts;
    for (int n = 1; n <= 44; ++n) texts.push_back(window.Box(TextBoxName(n)).text());
    run();
    for (int n = 1; n <= 44; ++n) {
      EXPECT_EQ(window.Box(TextBoxName(n)).text(), texts[n - 1]) << TextBoxName(n);
      EXPECT_EQ(window.Box(TextBoxName(n)).visible(), n % 2 == 0) << TextBoxName(n);
    }
  }
}

TEST_F(WindowLayoutTest, CaptionBoxesNameTheirRows) {
  const std::pair<const char*, const char*> cases[] = {
      {"Text5", "Gesamtdauer:"},          {"Text7", "größter Zeitabstand:"},
      {"Text12", "größte Lautstärke:"},   {"Text22", "Tonhöhenquantisierung:"},
      {"Text26", "größtes Intervall:"},   {"Text15", "Frequenzwiederholung:"},
      {"Text35", "Fünffach-Delay:"},      {"Text38", "Frequenzvervielfachung:"},
  };
  for (const auto& [box, text] : cases) EXPECT_EQ(window.Box(box).text(), text) << box;
}

// ---- ArrangeButtons --------------------------------------------------------------------------

struct ButtonPlacement {
  const char* name;
  int top, left, height, width;
  const char* toolTip;
};

TEST_F(WindowLayoutTest, ArrangeButtonsPlacesTheRandomToolButtons) {
  window.ArrangeButtons();
  const ButtonPlacement cases[] = {
      {"Zufallsliste", 8505, 1500, 285, 360,
       "Starten - dann die Zufallsliste anzeigen. Das Formular auf der rechten Seite ist "
       "editierbar!"},
      {"Command9", 8505, 1860, 285, 180, "'zufall.rsz' editieren"},
      {"Command11", 9075, 1500, 285, 540, "Nur die Einstellungen der Zufallsliste anzeigen"},
      {"Direktstart", 8505, 2040, 285, 180, "'Zufall.rsz' in eine Csound-Partitur umwandeln"},
      {"Command12", 8790, 2040, 285, 180, "gespeicherte Zufalls-Presets laden"},
      {"Command13", 9075, 2040, 285, 180, "Zufalls-Presets abspeichern"},
      {"Command10", 8790, 1500, 285, 540,
       "POWER (Zufallsprogramm starten - übernehmen - Csound - Cool Edit)"},
  };
  for (const ButtonPlacement& c : cases) {
    SCOPED_TRACE(c.name);
    const forms::Button& b = window.Btn(c.name);
    EXPECT_EQ(b.top(), c.top);
    EXPECT_EQ(b.left(), c.left);
    EXPECT_EQ(b.height(), c.height);
    EXPECT_EQ(b.width(), c.width);
    EXPECT_EQ(b.toolTip(), c.toolTip);
  }
}

TEST_F(WindowLayoutTest, ArrangeButtonsHidesTheSettingsPanelFirst) {
  window.Box("Text45").SetVisible(true);
  window.Lbl("Label18").SetVisible(true);
  window.Lbl("Label1").SetVisible(false);
  window.ArrangeButtons();
  EXPECT_FALSE(window.Box("Text45").visible());
  EXPECT_FALSE(window.Lbl("Label18").visible());
  EXPECT_TRUE(window.Lbl("Label1").visible());
}

// ---- HideRandomPanel -------------------------------------------------------------------------

TEST_F(WindowLayoutTest, HideRandomPanelHidesBothPanelsAndShowsThePicture) {
  // Everything the procedure touches starts in the opposite state.
  for (int n = 1; n <= 58; ++n) {
    window.Box(TextBoxName(n)).SetVisible(true);
    window.Box(TextBoxName(n)).SetTabStop(true);
  }
  window.Lbl("Label18").SetVisible(true);
  for (const char* label : {"Label1", "Label4", "Label16"}) window.Lbl(label).SetVisible(false);
  window.Pic("Picture2").SetVisible(false);
  for (const char* button : {"Command1", "Command3", "Command5"})
    window.Btn(button).SetTabStop(false);
  window.Testliste.SetVisible(true);

  window.HideRandomPanel();

  for (int n = 1; n <= 58; ++n) {
    SCOPED_TRACE(TextBoxName(n));
    EXPECT_FALSE(window.Box(TextBoxName(n)).visible());
    // Only the first four value boxes lose their tab stop.
    EXPECT_EQ(window.Box(TextBoxName(n)).tabStop(), n > 4);
  }
  EXPECT_FALSE(window.Lbl("Label18").visible());
  for (const char* label : {"Label1", "Label4", "Label16"})
    EXPECT_TRUE(window.Lbl(label).visible()) << label;
  EXPECT_TRUE(window.Pic("Picture2").visible());
  for (const char* button : {"Command1", "Command3", "Command5"})
    EXPECT_TRUE(window.Btn(button).tabStop()) << button;
  EXPECT_TRUE(window.Testliste.visible());
}

// ---- Controls of the window ------------------------------------------------------------------

TEST_F(WindowLayoutTest, LabelsAndButtonsCarryTheirCaptions) {
  const std::pair<const char*, const char*> labels[] = {
      {"Label1", "übernehmen:"},
      {"Label4", "die manuell erstellte Tonverlaufsliste 'Tonverlauf.rsz'"},
      {"Label16", "editieren:"},
  };
  for (const auto& [name, caption] : labels) EXPECT_EQ(window.Lbl(name).caption(), caption);
  EXPECT_EQ(window.Btn("Command2").caption(), "Info");
  // "A" edits the list and stands on the "editieren:" row; "B" compiles it.
  EXPECT_EQ(window.Btn("Command3").caption(), "A");
  EXPECT_EQ(window.Btn("Command1").caption(), "B");
  EXPECT_EQ(window.Btn("Command3").top(), 8790);
  EXPECT_LT(window.Btn("Command3").top(), window.Btn("Command1").top());
  EXPECT_EQ(window.Btn("Command5").caption(), "Cso");
  EXPECT_EQ(&window.Btn("Command5"), &window.Command5);
  EXPECT_EQ(&window.Btn("Zufallsliste"), &window.Zufallsliste);
  EXPECT_THROW(window.Btn("Label1"), std::out_of_range);
  EXPECT_THROW(window.Lbl("Command99"), std::out_of_range);
}

}  // namespace
}  // namespace compiler
