// The workflow buttons: their captions and tool tips, the editor starts, the choice of a stored
// list, the compiling buttons that end the program, the manual and "Ende".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors.h"
#include "tools_fixture.h"

namespace compiler_test {
namespace {

using WorkflowButtonsTest = ToolsTest;

TEST_F(WorkflowButtonsTest, CaptionsAndToolTips) {
  const struct {
    const char* name;
    const char* caption;
    const char* toolTip;
  } cases[] = {
      {"Command3", "A", "'Tonverlauf.rsz' editieren"},
      {"Command1", "B",
       "'Tonverlauf.rsz' in eine Csound-Partitur 'Dozudava.sco' umwandeln und damit Csound starten"},
      {"Command7", "", "eine gespeicherte Tonverlaufsliste auswählen und editieren"},
      {"Command8", "P",
       "POWER-Taste: eine gespeicherte Tonverlaufsliste auswählen, umwandeln und damit Csound "
       "starten"},
      {"Command9", "", "'zufall.rsz' editieren"},
      {"Command4", "sco", "'Dozudava.sco' im Editor zeigen"},
      {"Command6", "orc", "'Dozudava.orc' im Editor zeigen"},
      {"Command2", "Info", "Bedienungsanleitung für Talvik"},
      {"Ende", "Ende",
       "das Programm immer mit dieser Taste beenden, damit die Einstellungen gespeichert werden!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Button(c.name).caption(), c.caption);
    EXPECT_EQ(Button(c.name).toolTip(), c.toolTip);
    EXPECT_TRUE(Button(c.name).onClick);
  }
}

TEST_F(WorkflowButtonsTest, TheEditorButtonsStartNoteTabOnTheirFiles) {
  const struct {
    const char* button;
    const char* commandLine;
    bool hidesTheList;
  } cases[] = {
      {"Command3", "C:\\Arbeit\\Editor\\NoteTab.exe  C:\\Arbeit\\Tesu.rsz", true},
      {"Command9", "C:\\Arbeit\\Editor\\NoteTab.exe C:\\Arbeit\\Zufall.rsz", false},
      {"Command4", "C:\\Arbeit\\Editor\\NoteTab.exe C:\\Arbeit\\Dozudava.sco", true},
      {"Command6", "C:\\Arbeit\\Editor\\NoteTab.exe C:\\Arbeit\\Dozudava.orc", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    starter.starts.clear();
    window->ShowListLarge();
    Box("Text45").SetVisible(true);
    s().ChosenListFlag = true;
    Button(c.button).Click();
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine, c.commandLine);
    EXPECT_EQ(starter.starts[0].windowStyle, 2);
    EXPECT_FALSE(Box("Text45").visible()) << "the settings panel is hidden";
    EXPECT_EQ(window->Testliste.foreColour() == 0xFFFFFF, c.hidesTheList);
    EXPECT_EQ(s().ChosenListFlag, std::string(c.button) != "Command3")
        << "only A clears the chosen list";
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(WorkflowButtonsTest, AnEditorThatCannotBeStartedIsReported) {
  starter.missing = {"C:\\Arbeit\\Editor\\NoteTab.exe  C:\\Arbeit\\Alt.rsz"};
  s().ChosenListPath = "C:\\Arbeit\\Vorher.rsz";
  dialogs.chosenFiles = {"C:\\Arbeit\\Alt.rsz"};
  window->Command7_Click();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "C:\\Arbeit\\Editor\\NoteTab.exe konnte nicht gestartet werden: Datei nicht gefunden");
  EXPECT_EQ(s().ChosenListPath, "C:\\Arbeit\\Vorher.rsz");
  EXPECT_FALSE(s().ChosenListFlag);
}

TEST_F(WorkflowButtonsTest, Command8WithAnEmptyAnswerCompilesNothing) {
  s().ChosenListFlag = true;
  s().ChosenListPath = "C:\\Arbeit\\Vorher.rsz";
  window->Command8_Click();  // returns: the dialog gave no name
  EXPECT_FALSE(s().ChosenListFlag);
  EXPECT_EQ(s().ChosenListPath, "");
  EXPECT_TRUE(starter.starts.empty());
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs.fileRequests[0].title, "Tonverlaufs-Dateien");
  EXPECT_EQ(dialogs.fileRequests[0].filter, "Tonverlaufs-Dateien|*.rsz");
  EXPECT_EQ(dialogs.fileRequests[0].initialFolder, "C:\\Arbeit\\");
  EXPECT_EQ(dialogs.fileRequests[0].fileName, "*.rsz");
  EXPECT_EQ(dialogs.fileRequests[0].defaultExtension, "rsz");
  EXPECT_FALSE(dialogs.fileRequests[0].save);
}

TEST_F(WorkflowButtonsTest, Command8CompilesTheChosenListAndEndsTheProgram) {
  WriteArbeit("Alt.rsz", CrLf({"ZP 0 1 2", "HT 440 . 330", "LT 0 20000 0"}));
  dialogs.chosenFiles = {"C:\\Arbeit\\Alt.rsz"};
  EXPECT_TRUE(EndsTheProgram([&] { window->Command8_Click(); }));
  EXPECT_EQ(s().ToneListPath, "C:\\Arbeit\\Alt.rsz");
  EXPECT_EQ(s().PointCount, 3);
  EXPECT_EQ(s().OriginNote, "Eine ältere Tonverlaufsliste wurde verwendet.");
  EXPECT_EQ(StartLines(), std::vector<std::string>{"C:\\Arbeit\\cs06b.bat"});
}

TEST_F(WorkflowButtonsTest, Command7ThenCommand1CompilesTesuNotTheChosenList) {
  WriteArbeit("Tesu.rsz", CrLf({"ZP 0 1", "HT 440 440", "LT 0 0"}));
  WriteArbeit("Alt.rsz", CrLf({"ZP 0 1 2", "HT 440 . 330", "LT 0 20000 0"}));
  dialogs.chosenFiles = {"C:\\Arbeit\\Alt.rsz"};
  window->Command7_Click();
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);  // the same dialog as the one of "P"
  EXPECT_EQ(dialogs.fileRequests[0].fileName, "*.rsz");
  EXPECT_EQ(dialogs.fileRequests[0].defaultExtension, "rsz");
  EXPECT_EQ(StartLines(), std::vector<std::string>{"C:\\Arbeit\\Editor\\NoteTab.exe  C:\\Arbeit\\Alt.rsz"});
  EXPECT_TRUE(s().ChosenListFlag);
  EXPECT_EQ(s().ChosenListPath, "C:\\Arbeit\\Alt.rsz");
  s().PresetsLoaded = true;
  EXPECT_TRUE(EndsTheProgram([&] { window->Command1_Click(); }));
  EXPECT_EQ(s().ToneListPath, "C:\\Arbeit\\Tesu.rsz");
  EXPECT_EQ(s().PointCount, 2);
  EXPECT_FALSE(s().PresetsLoaded);
  EXPECT_EQ(window->frmDatei.caption(),
            "T A L V I K  -  Tonverlaufsliste: Tesu.rsz  -  von Hand eingegeben");
  EXPECT_EQ(s().OriginNote, "Diese Tonverlaufsliste habe ich von Hand eingegeben.");
}

TEST_F(WorkflowButtonsTest, InfoShowsTheManualLargeBelowWhatTheListHolds) {
  window->Testliste.Clear();
  window->Testliste.AddItem("bleibt");
  window->HideListSmall();
  window->Command2_Click();
  ASSERT_GT(window->Testliste.ListCount(), 100);
  EXPECT_EQ(window->Testliste.items()[0], "bleibt");
  EXPECT_EQ(window->Testliste.foreColour(), 0);
  EXPECT_EQ(window->Testliste.fontSize(), 10);
  EXPECT_TRUE(window->Testliste.fontBold());
}

TEST_F(WorkflowButtonsTest, EndeSavesTheSettingsAndEndsTheProgram) {
  Box("Text46").SetText("3");
  s().FileNameCounter = 5;
  EXPECT_TRUE(EndsTheProgram([&] { window->Ende_Click(); }));
  EXPECT_EQ(ReadArbeit("Talvik.ini"),
            CrLf({"0.05", "3", "1", "1", "1", "2", "0.01", "0.001", "50", " 1 ", " 1 ", " 1 ", " 5 "}));
}

TEST_F(WorkflowButtonsTest, ListToneListLinesAppendsTheLinesRead) {
  s().ToneListLines[1] = "ZP 0 1";
  s().ToneListLines[2] = "HT 440 .";
  s().ToneListLines[3] = "nicht gelesen";
  s().LineCount = 2;
  const size_t before = window->Testliste.items().size();
  window->ListToneListLines();
  EXPECT_EQ(ListFrom(before), (std::vector<std::string>{"ZP 0 1", "HT 440 ."}));
}

}  // namespace
}  // namespace compiler_test
