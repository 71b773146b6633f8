// The info pages: the manual, the start page, the settings legend and the reference tables of the
// "i" button, the inserter's manual of "info", and the click on the list that returns to the work.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/codec.h"
#include "common/errors.h"
#include "csound/fixed_texts.h"
#include "envelope/converter_fixture.h"
#include "envelope/info_texts.h"

namespace envelope_test {
namespace {

namespace fs = std::filesystem;

constexpr forms::Colour kWhite = 0xFFFFFF, kBlack = 0x000000;
constexpr forms::Colour kDarkGreen = forms::Rgb(0x35, 0x5A, 0x16);
constexpr forms::Colour kGrey = forms::Rgb(0x70, 0x70, 0x70);
constexpr forms::Colour kManualBack = forms::Rgb(0xF7, 0xFC, 0xF3);
constexpr forms::Colour kStartPageBack = forms::Rgb(0xF7, 0xF7, 0xF9);

constexpr const char* kStartPage =
    "c/Arbeit-xqt/Eigene Dateien 2/Texte/Bedienungsanleitungen/Quorel/Tesu-Startseite.txt";
constexpr const char* kInserterManual =
    "c/Arbeit-xqt/Eigene Dateien 2/Texte/Bedienungsanleitungen/ZUMK.txt";

// The work controls as the info view hides them.
const std::vector<std::string> kWorkControls = {
    "Command15", "Command16", "Command17", "Zumkinfo", "Zumkknopf", "Csoundknopf", "Orcknopf",
    "Csoundstore", "Scoknopf", "Text18", "Tempo", "Text1", "Text2", "Z_Enter1", "Z_Enter2",
    "Text17", "StartStoppFix", "StartStoppLos", "Command4", "Command5", "kopieren",
    "Abstandstext", "PRFix", "Variation", "Variation2", "Command3", "Command19", "Cool",
    "Command11", "Command12", "Testliste1", "Testliste2", "Testliste3", "Testliste4", "VScroll1",
    "VScroll2", "VScroll3", "VScroll4", "Z_Reset", "L_Enter", "L_Reset", "H_Enter", "H_Reset",
    "K_Enter", "K_Reset"};

std::string NameOf(const forms::Control& c) {
  return c.name() + (c.index() >= 0 ? std::to_string(c.index()) : "");
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string CsoundGolden(const std::string& name) {
  return platform_test::TempDriveRoot::ReadHost(fs::path(ORMILA_TEST_DATA) / "golden" / "csound" /
                                                name);
}

class InfoPagesTest : public ConverterTest {
 public:
  InfoPagesTest() {
    StartWithExample();
    fs::remove(root / "c/Arbeit/Tesu.rsz");
  }

  // The names of the controls of the window that are hidden now.
  std::set<std::string> Hidden() const {
    std::set<std::string> names;
    for (const auto& c : window->frmDatei.controls())
      if (!c->visible()) names.insert(NameOf(*c));
    return names;
  }
  bool ToneListWritten() const { return fs::exists(root / "c/Arbeit/Tesu.rsz"); }
  forms::ListBox& list() { return window->Testlist; }
};

// ------------------------------------------------------------------ the fixed texts

TEST_F(InfoPagesTest, ManualAndLegendAsGoldenText) {
  ExpectGoldenBytes("manual.txt", Joined(envelope::ManualLines("v5.31")));
  ExpectGoldenBytes("settings_legend.txt", Joined(envelope::SettingsLegendLines()));

  const std::vector<std::string> manual = envelope::ManualLines("v5.31");
  ASSERT_EQ(manual.size(), 192u);
  EXPECT_EQ(manual[1], std::string(27, ' ') + "O R M I L A  v5.31");
  EXPECT_EQ(envelope::ManualLines("v6.0")[1], std::string(27, ' ') + "O R M I L A  v6.0");
  std::vector<int> empty;
  for (int n = 1; n <= 192; ++n) {
    const std::string& line = manual[static_cast<size_t>(n - 1)];
    if (line.empty()) empty.push_back(n);
    EXPECT_LE(common::CharCount(line), 73u) << "line " << n;
    EXPECT_TRUE(line.empty() || line.back() != ' ') << "line " << n;
  }
  const std::vector<int> expectedEmpty = {
      1,   3,   12,  17,  24,  32,  38,  55,  56,  57,  58,  60,  69,  73,  84,  93,
      94,  96,  100, 101, 102, 103, 105, 124, 125, 127, 130, 134, 135, 136, 137, 139,
      143, 148, 149, 151, 157, 158, 159, 160, 161, 162, 167, 170, 174, 177, 183, 192};
  EXPECT_EQ(empty, expectedEmpty);
  // Lines the manual quotes as they stand.
  const struct {
    int line;
    const char* text;
  } quoted[] = {
      {27, "Zwischenergebnis wird in eine Datei 'Tesu.rsz' eine Liste geschrieben,"},
      {31, "Reaper - Ormila - TalvikTe in vier Versionen - Csound."},
      {33, "Arbeitsschritte für das Nachbilden eines vorhandenen Klangereignisses."},
      {54, "5. Abspeichern in Reaper."},
      {59, "Nähere Erläuterungen:"},
      {70, "Wichtig: Das Programm braucht einen 'leeren' (nicht markierten)"},
      {72, "links sollte die Hüllkurve keine Punkte enthalten."},
      {95, "Wiedergabe von Samples:"},
      {104, "Variation:"},
      {126, "Tempo:"},
      {133, "Werte verwendet."},
      {138, "Plugins (Knopf 'PLG'):"},
      {144, "Achtung! Beim Drücken von Knopf 'Cso1' werden die Dateien Dozudava.orc"},
      {147, "Die klangbestimmenden Eintragungen werden dann nicht überschrieben."},
      {150, "Csound-Instrumente von Hand schreiben:"},
      {163, "G l o s s a r"},
      {164, "-------------------------------------------------------------------------"},
      {168, "REAPER:        Rapid Environment for Audio Production, Engineering, and"},
      {189, "               Beispiele:  |440 260|  |123.4|  |55.8  77.2|"},
      {191, "-------------------------------------------------------------------------"},
  };
  for (const auto& q : quoted) EXPECT_EQ(manual[static_cast<size_t>(q.line - 1)], q.text);

  const std::vector<std::string> legend = envelope::SettingsLegendLines();
  ASSERT_EQ(legend.size(), 24u);
  EXPECT_EQ(legend[2], "Inhalt der Datei Tesu.ini:");
  EXPECT_EQ(legend[8], "05 FUB (für FOF");  // as the composer wrote it
  EXPECT_EQ(legend[21], "18 Nummer (Zähler) für Autoname");
}

// The fourth page is the tables both windows share, whatever the list held before.
TEST_F(InfoPagesTest, TheReferenceTablesAreTheSharedText) {
  list().AddItem("vorher");
  list().SetForeColour(kGrey);
  list().SetBackColour(kManualBack);
  window->ShowReferenceTables();
  EXPECT_EQ(list().items(), csound::ReferenceTableLines());
  EXPECT_EQ(Joined(list().items()), CsoundGolden("reference_table.txt"));
  EXPECT_EQ(list().items()[22].substr(40, 9), "b   0.892");
  EXPECT_EQ(list().items()[7].substr(14, 4), "7.49");
  EXPECT_EQ(window->state.InfoPage, 4);
  EXPECT_EQ(list().backColour(), kWhite);
  EXPECT_EQ(list().foreColour(), kGrey) << "the page sets no text colour";
}

// ------------------------------------------------------------------ the "i" button

TEST_F(InfoPagesTest, FiveClicksShowThePagesAndTheFifthWritesTheToneListWithoutABuild) {
  root.Write(kStartPage, "Startseite\r\n\r\nGrüße aus Tallinn\r\n");
  const std::set<std::string> workControls(kWorkControls.begin(), kWorkControls.end());
  const struct {
    int infoPage;
    forms::Colour fore, back;
    std::vector<std::string> items;
  } pages[] = {
      {1, kDarkGreen, kManualBack, envelope::ManualLines("v5.31")},
      {2, kGrey, kStartPageBack, {"Startseite", "", "Grüße aus Tallinn"}},
      {3, kBlack, kWhite, envelope::SettingsLegendLines()},
      {4, kBlack, kWhite, csound::ReferenceTableLines()},
  };
  for (const auto& page : pages) {
    SCOPED_TRACE(page.infoPage);
    window->Command2.Click();
    EXPECT_EQ(window->state.InfoPage, page.infoPage);
    EXPECT_EQ(list().foreColour(), page.fore);
    EXPECT_EQ(list().backColour(), page.back);
    EXPECT_EQ(list().items(), page.items);
    EXPECT_EQ(list().height(), 9820);
    EXPECT_EQ(list().fontSize(), 12);
    EXPECT_TRUE(list().fontBold());
    EXPECT_EQ(Hidden(), workControls);
    EXPECT_FALSE(ToneListWritten());
  }
  window->Command2.Click();
  EXPECT_EQ(window->state.InfoPage, 0);
  EXPECT_TRUE(ToneListWritten());
  EXPECT_NE(ReadArbeit("Tesu.rsz").find("Reaperdatei: Gleiten.rpp"), std::string::npos);
  EXPECT_TRUE(starter.starts.empty()) << "a compiler build was started";
  EXPECT_TRUE(Hidden().empty());
  EXPECT_EQ(list().height(), 1365);
  EXPECT_EQ(list().foreColour(), kBlack);
  ASSERT_GE(list().ListCount(), 2);
  EXPECT_EQ(list().items()[1], "Analyse der aus C:\\Arbeit\\Gleiten.rpp herausgefilterten Werte.");
  EXPECT_EQ(window->Testliste[3]->items().at(3), "220");
  // The cycle starts again with the manual.
  window->Command2.Click();
  EXPECT_EQ(window->state.InfoPage, 1);
  EXPECT_EQ(list().items().size(), 192u);
  EXPECT_TRUE(Messages().empty());
}

// A run that fails on the way back reports itself; the work controls come back all the same.
TEST_F(InfoPagesTest, AFailingRunOnTheWayBackStillShowsTheWork) {
  for (int click = 1; click <= 4; ++click) window->Command2.Click();
  fs::remove(root / "c/Arbeit/Gleiten.rpp");
  window->Command2.Click();
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(window->state.InfoPage, 0);
  EXPECT_TRUE(Hidden().empty());
  EXPECT_EQ(list().height(), 1365);
  EXPECT_FALSE(ToneListWritten());
  EXPECT_TRUE(starter.starts.empty());
}

TEST_F(InfoPagesTest, WhileAVariationIsActiveTheButtonDoesNothing) {
  window->Command3.Click();
  window->H_Enter.Click();
  ASSERT_TRUE(window->state.VariationActive);
  const std::vector<std::string> shown = list().items();
  const std::vector<std::string> pitches = window->Testliste[3]->items();
  window->Command2.Click();
  EXPECT_TRUE(Hidden().empty());
  EXPECT_EQ(list().items(), shown);
  EXPECT_EQ(list().height(), 1365);
  EXPECT_EQ(window->Testliste[3]->items(), pitches);
  EXPECT_EQ(window->state.InfoPage, 0);
}

TEST_F(InfoPagesTest, AnInfoPageValueOutsideTheCycleOnlyEnlargesTheList) {
  window->state.InfoPage = 7;
  list().AddItem("bleibt");
  window->Command2.Click();
  EXPECT_EQ(Hidden().size(), 45u);
  EXPECT_EQ(list().height(), 9820);
  EXPECT_EQ(list().items(), std::vector<std::string>{"bleibt"});
  EXPECT_EQ(window->state.InfoPage, 7);
}

// The composer's start page: UTF-8 when it is valid, else Windows-1252; an empty file gives an
// empty page; a missing one names itself on the page and the next click goes on.
TEST_F(InfoPagesTest, TheStartPageAsTheFileHoldsIt) {
  const std::string missingLine =
      "Die Startseite C:\\Arbeit-xqt\\Eigene Dateien 2\\Texte\\Bedienungsanleitungen\\Quorel\\"
      "Tesu-Startseite.txt konnte nicht gelesen werden: Datei nicht gefunden";
  const struct {
    const char* what;
    const char* bytes;  // nullptr: no file
    std::vector<std::string> items;
  } cases[] = {
      {"UTF-8", "Hüllkurve\nzweite Zeile", {"Hüllkurve", "zweite Zeile"}},
      {"Windows-1252", "H\xFC" "llkurve\r\n\x80 5\r\n", {"Hüllkurve", "€ 5"}},
      {"empty", "", {}},
      {"missing", nullptr, {missingLine}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(root / kStartPage);
    if (c.bytes) root.Write(kStartPage, c.bytes);
    window->state.InfoPage = 1;
    window->Command2.Click();
    EXPECT_EQ(list().items(), c.items);
    EXPECT_EQ(list().backColour(), kStartPageBack);
    EXPECT_EQ(list().foreColour(), kGrey);
    EXPECT_EQ(window->state.InfoPage, 2);
    EXPECT_FALSE(window->files.IsOpen(9));
  }
  window->Command2.Click();  // after the missing page: the legend
  EXPECT_EQ(list().items(), envelope::SettingsLegendLines());
}

// ------------------------------------------------------------------ the click on the list

// The click on the list, from every view: the work comes back by way of a run that re-reads the
// project and writes the tone list without a build, drops the variations in memory (the pitch of
// point 3 is 220 again, not 221.53), and leaves the text colour as the last page left it. A run
// that fails reports itself once and the work comes back all the same.
TEST_F(InfoPagesTest, AClickOnTheListRunsFromEveryView) {
  root.Write(kInserterManual, "ZUMK\r\n");
  const auto varied = [](InfoPagesTest& t) {
    t.window->Command3.Click();
    t.window->H_Enter.Click();
  };
  const auto manual = [](InfoPagesTest& t) { t.window->Command2.Click(); };
  const struct {
    const char* view;
    std::function<void(InfoPagesTest&)> enter;
    bool projectMissing;
  } cases[] = {
      {"working view at start", [](InfoPagesTest&) {}, false},
      {"working view after Cso1", [](InfoPagesTest& t) { t.window->Command3.Click(); }, false},
      {"working view with a variation", varied, false},
      {"manual", manual, false},
      {"reference tables",
       [](InfoPagesTest& t) {
         for (int click = 1; click <= 4; ++click) t.window->Command2.Click();
       },
       false},
      {"inserter's manual during a variation",
       [varied](InfoPagesTest& t) {
         varied(t);
         t.window->Zumkinfo.Click();
       },
       false},
      {"working view with a variation, project gone", varied, true},
      {"manual, project gone", manual, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.view);
    NewWindow();
    root.Write("c/Arbeit/Gleiten.rpp", platform_test::ReadHostFile(
                                           fs::path(ORMILA_SOURCE_DIR) / "examples" / "Gleiten.rpp"));
    window->Form_Load();
    c.enter(*this);
    ASSERT_TRUE(dialogs.messages.empty());
    fs::remove(root / "c/Arbeit/Tesu.rsz");
    if (c.projectMissing) fs::remove(root / "c/Arbeit/Gleiten.rpp");
    const size_t starts = starter.starts.size();
    const forms::Colour fore = list().foreColour();

    list().SetListIndex(0);
    list().Click();

    EXPECT_EQ(window->state.InfoPage, 0);
    EXPECT_TRUE(Hidden().empty());
    EXPECT_EQ(list().height(), 1365);
    EXPECT_EQ(list().fontSize(), 12);
    EXPECT_TRUE(list().fontBold());
    EXPECT_EQ(list().backColour(), kWhite);
    EXPECT_EQ(list().foreColour(), fore);
    EXPECT_FALSE(window->state.VariationActive);
    EXPECT_TRUE(window->state.RunStarted);
    EXPECT_EQ(starter.starts.size(), starts) << "a compiler build was started";
    if (c.projectMissing) {
      EXPECT_EQ(Messages(), std::vector<std::string>{"C:\\Arbeit\\Gleiten.rpp existiert nicht."});
      EXPECT_FALSE(ToneListWritten());
      EXPECT_TRUE(window->Testliste[3]->items().empty());
    } else {
      EXPECT_TRUE(Messages().empty());
      EXPECT_TRUE(ToneListWritten());
      EXPECT_NE(ReadArbeit("Tesu.rsz").find("Reaperdatei: Gleiten.rpp"), std::string::npos);
      ASSERT_GE(list().ListCount(), 2);
      EXPECT_EQ(list().items()[1],
                "Analyse der aus C:\\Arbeit\\Gleiten.rpp herausgefilterten Werte.");
      EXPECT_EQ(window->Testliste[3]->items().at(3), "220");
    }
    window->Command2.Click();
    EXPECT_EQ(window->state.InfoPage, 1) << "the next click of i starts with the manual";
    dialogs.messages.clear();
  }
}

// ------------------------------------------------------------------ the inserter's manual

TEST_F(InfoPagesTest, InfoShowsTheInserterManualAlsoDuringAVariation) {
  root.Write(kInserterManual, "ZUMK\r\n\r\nPlugins einf\xFCgen\r\n");
  window->Command3.Click();
  window->H_Enter.Click();
  ASSERT_TRUE(window->state.VariationActive);
  const std::vector<std::string> pitches = window->Testliste[3]->items();
  list().SetForeColour(kGrey);
  window->Zumkinfo.Click();
  EXPECT_EQ(list().items(), (std::vector<std::string>{"ZUMK", "", "Plugins einfügen"}));
  EXPECT_EQ(list().fontSize(), 10);
  EXPECT_TRUE(list().fontBold());
  EXPECT_EQ(list().height(), 9820);
  EXPECT_EQ(list().backColour(), kWhite);
  EXPECT_EQ(list().foreColour(), kGrey);
  EXPECT_EQ(window->state.InfoPage, 0);
  EXPECT_EQ(Hidden().size(), 45u);
  EXPECT_FALSE(window->files.IsOpen(8));
  EXPECT_EQ(window->Testliste[3]->items(), pitches) << "the varied values stay in memory";
}

TEST_F(InfoPagesTest, AMissingInserterManualChangesNothing) {
  list().AddItem("bleibt");
  window->Zumkinfo.Click();
  EXPECT_TRUE(Hidden().empty());
  EXPECT_EQ(list().items(), std::vector<std::string>{"bleibt"});
  EXPECT_EQ(list().height(), 1365);
  EXPECT_TRUE(Messages().empty());
}

// A failure in the middle of the manual leaves the lines read so far and the controls hidden, and
// the file closed: the next click reads it again.
TEST_F(InfoPagesTest, AFailureWhileReadingTheInserterManualClosesItsFile) {
  root.Write(kInserterManual, "eins\r\nzwei\r\ndrei\r\n");
  bool fail = true;
  list().Observe([&](forms::Control&) {
    if (fail && list().ListCount() == 2) common::Raise(common::kPathFileAccessError);
  });
  window->Zumkinfo.Click();
  EXPECT_EQ(list().items(), (std::vector<std::string>{"eins", "zwei"}));
  EXPECT_EQ(Hidden().size(), 45u);
  EXPECT_FALSE(window->files.IsOpen(8));
  fail = false;
  window->Zumkinfo.Click();
  EXPECT_EQ(list().items(), (std::vector<std::string>{"eins", "zwei", "drei"}));
  EXPECT_TRUE(Messages().empty());
}

// ------------------------------------------------------------------ the work controls

TEST_F(InfoPagesTest, TheWorkControlsAndTheControlsThatStay) {
  std::vector<std::string> names;
  for (const forms::Control* c : window->WorkControls()) names.push_back(NameOf(*c));
  EXPECT_EQ(names, kWorkControls);
  std::vector<std::string> returned;
  for (const forms::Control* c : window->ControlsShownOnReturn()) returned.push_back(NameOf(*c));
  std::vector<std::string> expected;
  for (const std::string& n : kWorkControls)
    if (n != "Text17" && n != "Command11" && n != "Command12" && n.rfind("Testliste", 0) != 0)
      expected.push_back(n);
  EXPECT_EQ(returned.size(), 38u);
  EXPECT_EQ(returned, expected);

  EXPECT_EQ(window->Command2.caption(), "i");
  EXPECT_EQ(window->Command2.toolTip(),
            "Klick 1: Bedienungsanleitung, Klick 2: Hintergrundinfos zu Ormila, Klick 3: Inhalt "
            "der INI-Datei , Klick 4: Lautstärke- und Frequenz-Info, Klick 5: Listenansicht");
  EXPECT_EQ(window->Zumkinfo.caption(), "info");
  EXPECT_EQ(window->Zumkinfo.toolTip(), "ZUMK-Info");

  window->Command2.Click();
  for (const char* name : {"Command1", "Command2", "Command6", "Command7", "Command8", "Command9",
                           "Command10", "Command13", "Stimmen", "Text3", "Text16", "BoxLabel3",
                           "BoxLabel16", "Testlist"})
    EXPECT_TRUE(window->frmDatei.Find(name)->visible()) << name;
}

// "n" on an info page: its run writes the tone list and starts nothing, leaves InfoPage at 0 and
// shows the value columns; the other work controls wait for the click on the list.
TEST_F(InfoPagesTest, NewInputsOnAnInfoPageWriteTheToneListAndLeaveTheRestHidden) {
  window->Command2.Click();
  dialogs.answers.assign(40, std::string());  // Return keeps every value
  window->Command1.Click();
  EXPECT_EQ(window->state.InfoPage, 0);
  EXPECT_TRUE(ToneListWritten());
  EXPECT_TRUE(starter.starts.empty());
  std::set<std::string> stillHidden(kWorkControls.begin(), kWorkControls.end());
  for (int i = 1; i <= 4; ++i) stillHidden.erase("Testliste" + std::to_string(i));
  EXPECT_EQ(Hidden(), stillHidden);
  list().Click();
  EXPECT_TRUE(Hidden().empty());
}

}  // namespace
}  // namespace envelope_test

namespace envelope_test {
namespace {

// The label that ends the program on a mouse move lies below everything the mouse goes to, in
// the work view and on the info pages: under the lists, inside the window, in its right corner.
TEST_F(InfoPagesTest, TheLabelThatEndsTheProgramLiesBelowTheLists) {
  for (int click = 0; click <= 4; ++click) {
    SCOPED_TRACE(click);
    if (click > 0) window->Command2.Click();
    const forms::Label& label = window->Label17;
    int lowest = 0;
    for (const auto& c : window->frmDatei.controls())
      if (c.get() != &label && c->visible()) lowest = std::max(lowest, c->top() + c->height());
    EXPECT_GE(label.top(), lowest);
    EXPECT_LE(label.top() + label.height(), window->frmDatei.height());
    EXPECT_LE(label.left() + label.width(), window->frmDatei.width());
    EXPECT_GT(label.left(), window->frmDatei.width() / 2);
  }
}

}  // namespace
}  // namespace envelope_test
