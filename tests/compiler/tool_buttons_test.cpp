// The tool buttons: "4" and the end of the program, the launchers with their folders and traps,
// the help texts and the reference tables in Testliste, the backups of Vuzov.rsz, keeping the
// rendered sound and the plug-in templates.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "csound/fixed_texts.h"
#include "csound/plugin_templates.h"
#include "tools_fixture.h"

namespace compiler_test {
namespace {

const std::string kHelp = "c/Arbeit-xqt/Eigene Dateien 2/Texte/Bedienungsanleitungen/";

class ToolButtonsTest : public ToolsTest {
 protected:
  ToolButtonsTest() {
    for (const char* folder : {"c/SEKD/SamStud", "c/Programme/Cakewalk/SONAR 1", "c/Arbeit/VB/Kelvo",
                               "c/Programme/meine", "c/Programme/capella2004"})
      root.MakeFolder(folder);
    root.Write(kHelp + "Sonar.txt", "SONAR\r\nzweite Zeile\r\n");
    root.Write(kHelp + "Samplitude.txt", "Samplitude\r\n");
    root.Write(kHelp + "ZUMK.txt", "ZUMK: Plugins einf\xfc" "gen\r\n");
    platform::ChangeFolder("C:\\Arbeit\\");
  }
  size_t Shown() const { return window->Testliste.items().size(); }
};

TEST_F(ToolButtonsTest, CaptionsAndToolTips) {
  const struct {
    const char* name;
    const char* caption;
    const char* toolTip;
  } cases[] = {
      {"Command15", "4",
       "die Tonverlaufsliste Vuzov.rsz umwandeln und damit Csound starten, also Vuzov.rsz ---> "
       "Dozudava.sco ---> Dozudava.wav"},
      {"Command31", "",
       "MIDI-POWER-Taste: Sample.sco ---> Vuzov.rsz ---> Dozudava.sco. Dann wird Csound gestartet "
       "und es entsteht Dozudava.wav."},
      {"Command32", "", "Sicherungskopie von Vuzov.rsz herstellen (C:\\Arbeit\\Rsz-Backup-1)"},
      {"Command34", "", "UNDO: die automatisch erzeugte Datei C:\\Arbeit\\Rsz-Backup-0 öffnen"},
      {"Command17", "1",
       "CAPELLA-Start mit Sample.cap. Die geschriebenen Noten müssen als Sample.mid exportiert "
       "werden!"},
      {"Command19", "", "Dir *.sco"},
      {"Command21", "LT-HT", "Info über Lautstärke- und Tonhöhenrelationen"},
      {"Command22", "UA-100", "UA-100: hochwertige Musikwiedergabe"},
      {"Command36", "", "Dozudava.wav für Samplitude kopieren (Name = Lumo...wav)"},
      {"Command30", "", "Sonar-Infos"},
      {"Command38", "PLG", "ZUMK starten - damit werden Plugins in Dozudava.orc und Dozudava.sco eingefügt"},
      {"Command39", "Info", "Bedienungsanleitung zu ZUMK"},
      {"Command40", "e", "ein neues Einzelton-Plugin (eine Default-Datei) erstellen"},
      {"Command41", "d", "ein neues Dauerton-Plugin (eine Default-Datei) erstellen"},
      {"Command14", "3",
       "aus Sample.sco die Tonverlaufsliste Vuzov.rsz herstellen, also Sample.sco ---> Vuzov.rsz | "
       "2. Funktion: die Beschriftung der weißen Felder übernehmen (LTF, LTS und HTS werden NICHT "
       "verändert!)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Button(c.name).caption(), c.caption);
    EXPECT_EQ(Button(c.name).toolTip(), c.toolTip);
    EXPECT_TRUE(Button(c.name).onClick);
  }
  for (const char* name : {"Command26", "Command27", "Command28", "Command29"}) {
    EXPECT_EQ(Button(name).caption(), "Programm");
    EXPECT_FALSE(Button(name).onClick) << name << " has no action";
  }
}

TEST_F(ToolButtonsTest, FourCompilesVuzovAndEndsTheProgramSoNothingFollows) {
  WriteArbeit("Vuzov.rsz", CrLf({"ZP 0 1 2", "HT 440 . .", "LT 0 20000 0", "KL 440 . ."}));
  Box("Text45").SetVisible(true);
  EXPECT_TRUE(EndsTheProgram([&] { Button("Command15").Click(); }));
  EXPECT_EQ(s().ChosenListPath, "C:\\Arbeit\\Vuzov.rsz");
  EXPECT_TRUE(s().ChosenListFlag);
  EXPECT_EQ(s().ToneListPath, "C:\\Arbeit\\Vuzov.rsz");
  EXPECT_TRUE(s().FofMode);
  EXPECT_EQ(StartLines(), std::vector<std::string>{"C:\\Arbeit\\cs06b.bat"}) << "one batch start";
  const auto& items = window->Testliste.items();
  EXPECT_EQ(std::count(items.begin(), items.end(), std::string(106, '=')), 0)
      << "the listing behind the pass never runs";
  EXPECT_FALSE(Box("Text45").visible());
}

TEST_F(ToolButtonsTest, HelpTextsAreAppendedEveryTime) {
  window->Testliste.AddItem("davor");
  window->HideListSmall();
  Button("Command30").Click();
  Button("Command30").Click();
  const auto& items = window->Testliste.items();
  ASSERT_GE(items.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(items.end() - 5, items.end()),
            (std::vector<std::string>{"davor", "SONAR", "zweite Zeile", "SONAR", "zweite Zeile"}));
  EXPECT_EQ(window->Testliste.foreColour(), 0) << "small and readable";
  EXPECT_EQ(window->Testliste.fontSize(), 8);
  const size_t before = Shown();
  Button("Command39").Click();
  EXPECT_EQ(ListFrom(before), std::vector<std::string>{"ZUMK: Plugins einfügen"});
  // a help text that is not there shows nothing and leaves no file open
  std::filesystem::remove(root / (kHelp + "Samplitude.txt"));
  Button("Command35").Click();
  Button("Command35").Click();
  EXPECT_EQ(Shown(), before + 1);
  EXPECT_FALSE(window->files.IsOpen(6));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ToolButtonsTest, LtHtAppendsTheReferenceTablesAndShowsTheFirstFourBoxes) {
  window->Testliste.AddItem("davor");
  for (int n = 45; n <= 58; ++n) Box("Text" + std::to_string(n)).SetVisible(true);
  const size_t before = Shown();
  Button("Command21").Click();
  EXPECT_EQ(ListFrom(before), csound::ReferenceTableLines());
  EXPECT_EQ(window->Testliste.items()[before - 1], "davor");
  for (int n = 45; n <= 58; ++n) {
    const bool shown = n <= 47 || n == 58;
    EXPECT_EQ(Box("Text" + std::to_string(n)).visible(), shown) << n;
  }
  EXPECT_TRUE(window->Lbl("Label18").visible());
  EXPECT_EQ(window->Lbl("Label18").caption(), "Härte        Tempo      Tonhöhe   Lautstärke");
  for (const char* label : {"Label1", "Label4", "Label16"}) EXPECT_FALSE(window->Lbl(label).visible());
  EXPECT_EQ(window->Testliste.fontSize(), 8);
}

TEST_F(ToolButtonsTest, LaunchersStartInTheirFoldersAndComeBackToArbeit) {
  const struct {
    const char* button;
    const char* commandLine;
    const char* folderAtStart;
    const char* helpLine;  // appended after the start; nullptr: none
  } cases[] = {
      {"Command25", "C:\\SEKD\\SamStud\\Sam45.exe  C:\\Arbeit\\Sample.vip", "C:\\SEKD\\SamStud\\",
       "Samplitude"},
      {"Command23", "C:\\Programme\\Cakewalk\\SONAR 1\\SONAR.EXE C:\\Arbeit\\Sample.mid",
       "C:\\Programme\\Cakewalk\\SONAR 1\\", "zweite Zeile"},
      {"Command24", "C:\\Arbeit\\VB\\Kelvo\\Kelvo.exe", "C:\\Arbeit\\VB\\Kelvo\\", nullptr},
      {"Command38", "C:\\Programme\\meine\\ZUMK", "C:\\Programme\\meine\\", nullptr},
      {"Command17", "C:\\Programme\\capella2004\\capella.exe  C:\\Arbeit\\Sample.cap",
       "C:\\Programme\\capella2004\\", nullptr},
      {"Command22", "C:\\Programme\\Roland\\Ua100ctl\\UA100cnt.exe", "C:\\Arbeit\\", nullptr},
      {"Command37", "C:\\Arbeit\\directory3g.bat", "C:\\Arbeit\\", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    starter.starts.clear();
    starter.folders.clear();
    const size_t before = Shown();
    Button(c.button).Click();
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine, c.commandLine);
    EXPECT_EQ(starter.starts[0].windowStyle, 1);
    EXPECT_EQ(starter.folders[0], c.folderAtStart);
    EXPECT_EQ(platform::CurrentFolder(), "C:\\Arbeit\\");
    if (c.helpLine) EXPECT_EQ(window->Testliste.items().back(), c.helpLine);
    else EXPECT_EQ(Shown(), before);
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ToolButtonsTest, ProgramsThatAreMissing) {
  // Samp: the start is passed over, C:\Arbeit\ is current again, the help text is still shown.
  starter.missing = {"C:\\SEKD\\SamStud\\Sam45.exe  C:\\Arbeit\\Sample.vip",
                     "C:\\Programme\\meine\\ZUMK", "C:\\Programme\\Roland\\Ua100ctl\\UA100cnt.exe",
                     "C:\\Arbeit\\directory3b.bat", "C:\\Arbeit\\directory3g.bat"};
  Button("Command25").Click();
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Arbeit\\");
  EXPECT_EQ(window->Testliste.items().back(), "Samplitude");
  // UA-100 and "Dir *.sco" pass over a failing start quietly
  Button("Command22").Click();
  Button("Command19").Click();
  EXPECT_TRUE(Messages().empty());
  // PLG: the error ends the click, the inserter's folder stays current
  Button("Command38").Click();
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Programme\\meine\\");
  EXPECT_TRUE(Messages().empty());
  // "Dir *.wav" traps nothing: the failure is reported
  Button("Command37").Click();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "C:\\Arbeit\\directory3g.bat konnte nicht gestartet werden: Datei nicht gefunden");
}

TEST_F(ToolButtonsTest, AMissingFolderIsReportedAndKeepsTheCurrentFolder) {
  std::filesystem::remove_all(root / "c/SEKD");
  const size_t before = Shown();
  Button("Command25").Click();
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Arbeit\\");
  EXPECT_EQ(Shown(), before) << "the click ends before the help text";
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0],
            "Der Ordner C:\\SEKD\\SamStud\\ konnte nicht geöffnet werden: Pfad nicht gefunden");
  // capella's folder is inside its trap: quietly nothing
  std::filesystem::remove_all(root / "c/Programme/capella2004");
  Button("Command17").Click();
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Arbeit\\");
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ToolButtonsTest, DirButtonsHideTheListBeforeTheirBatchDirWavLeavesIt) {
  window->ShowListSmall();
  Button("Command20").Click();
  EXPECT_EQ(window->Testliste.foreColour(), 0xFFFFFF);
  window->ShowListSmall();
  Button("Command37").Click();
  EXPECT_EQ(window->Testliste.foreColour(), 0);
  EXPECT_EQ(StartLines(), (std::vector<std::string>{"C:\\Arbeit\\directory3c.bat",
                                                    "C:\\Arbeit\\directory3g.bat"}));
}

TEST_F(ToolButtonsTest, TwoStartsTheConverterAndListsTheScoreAsItStands) {
  WriteArbeit("Sample.sco", CrLf({"i01 0 1 440 10000", "e"}));
  const size_t before = Shown();
  Button("Command18").Click();
  EXPECT_EQ(StartLines(), std::vector<std::string>{"C:\\Arbeit\\MIDI2CS1.bat"});
  EXPECT_EQ(ListFrom(before), (std::vector<std::string>{"i01 0 1 440 10000", "e"}));
  // without the converter's batch: reported, nothing listed
  starter.missing = {"C:\\Arbeit\\MIDI2CS1.bat"};
  Button("Command18").Click();
  EXPECT_EQ(Shown(), before + 2);
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ToolButtonsTest, BackupsOfVuzovAndTheEditors) {
  // no list yet: the backup is reported and makes no file
  Button("Command32").Click();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "C:\\Arbeit\\Vuzov.rsz konnte nicht nach C:\\Arbeit\\Rsz-Backup-1 kopiert "
                           "werden: Datei nicht gefunden");
  EXPECT_FALSE(ArbeitHas("Rsz-Backup-1"));
  WriteArbeit("Vuzov.rsz", "ZP 0 1\r\n");
  Button("Command32").Click();
  EXPECT_EQ(ReadArbeit("Rsz-Backup-1"), "ZP 0 1\r\n");

  const struct {
    const char* button;
    const char* commandLine;
    bool setsTheFlag;
  } cases[] = {
      {"Command16", "C:\\Arbeit\\Editor\\NoteTab.exe  C:\\Arbeit\\Vuzov.rsz", true},
      {"Command33", "C:\\Arbeit\\Editor\\NoteTab.exe  C:\\Arbeit\\Rsz-Backup-1", false},
      {"Command34", "C:\\Arbeit\\Editor\\NoteTab.exe  C:\\Arbeit\\Rsz-Backup-0", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    starter.starts.clear();
    s().ChosenListPath = "C:\\Arbeit\\Alt.rsz";
    s().ChosenListFlag = false;
    Button(c.button).Click();
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine, c.commandLine);
    EXPECT_EQ(starter.starts[0].windowStyle, 2);
    EXPECT_EQ(s().ChosenListPath, "C:\\Arbeit\\Vuzov.rsz");
    EXPECT_EQ(s().ChosenListFlag, c.setsTheFlag);
    // without the editor: reported, the state as before the click
    dialogs.messages.clear();
    starter.missing = {c.commandLine};
    s().ChosenListPath = "C:\\Arbeit\\Alt.rsz";
    s().ChosenListFlag = false;
    Button(c.button).Click();
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(s().ChosenListPath, "C:\\Arbeit\\Alt.rsz");
    EXPECT_FALSE(s().ChosenListFlag);
    starter.missing.clear();
  }
}

TEST_F(ToolButtonsTest, KeepingTheSoundTakesTheNextFreeNumberAndSavesTheCounter) {
  WriteArbeit("Dozudava.wav", "RIFF-Klang");
  s().FileNameCounter = 11;
  Button("Command36").Click();
  EXPECT_EQ(ReadArbeit("Lumo12.wav"), "RIFF-Klang");
  EXPECT_EQ(s().FileNameCounter, 12);
  EXPECT_EQ(StartLines(), std::vector<std::string>{"C:\\Arbeit\\directory3d.bat"});
  EXPECT_EQ(ReadArbeit("Talvik.ini").substr(ReadArbeit("Talvik.ini").size() - 6), " 12 \r\n");
  // a kept sound is never replaced: Lumo13 is there already
  WriteArbeit("Lumo13.wav", "alt");
  Button("Command36").Click();
  EXPECT_EQ(ReadArbeit("Lumo13.wav"), "alt");
  EXPECT_EQ(ReadArbeit("Lumo14.wav"), "RIFF-Klang");
  EXPECT_EQ(s().FileNameCounter, 14);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ToolButtonsTest, KeepingTheSoundFailsWithoutChangingTheCounter) {
  const struct {
    const char* name;
    bool wave;
    std::int16_t counter;
    const char* says;
  } cases[] = {
      {"no rendered sound", false, 3, "Datei nicht gefunden"},
      {"the counter at its end", true, 32767, "Überlauf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.messages.clear();
    std::error_code ec;
    std::filesystem::remove(root / "c/Arbeit/Dozudava.wav", ec);
    if (c.wave) WriteArbeit("Dozudava.wav", "RIFF");
    const std::string settings = ReadArbeit("Talvik.ini");
    s().FileNameCounter = c.counter;
    Button("Command36").Click();
    EXPECT_EQ(s().FileNameCounter, c.counter);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(c.says), std::string::npos) << Messages()[0];
    EXPECT_EQ(ReadArbeit("Talvik.ini"), settings);
    EXPECT_TRUE(starter.starts.empty());
  }
}

TEST_F(ToolButtonsTest, PluginTemplatesAreWrittenAndOpened) {
  const struct {
    const char* button;
    const char* file;
    csound::PluginTemplateKind kind;
  } cases[] = {
      {"Command40", "Default-Einzelton.plg", csound::PluginTemplateKind::SingleTone},
      {"Command41", "Default-Dauerton.plg", csound::PluginTemplateKind::SustainedTone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    starter.starts.clear();
    WriteArbeit(c.file, "von Hand geändert\r\n");
    Button(c.button).Click();
    std::string expected;
    for (const std::string& line :
         csound::PluginTemplateLines(c.kind, csound::PluginTemplateOwner::Compiler))
      expected += common::Utf8ToCp1252(line) + "\r\n";
    EXPECT_EQ(ReadArbeit(c.file), expected);
    EXPECT_EQ(StartLines(), std::vector<std::string>{std::string("C:\\Arbeit\\Editor\\NoteTab.exe C:\\Arbeit\\") + c.file});
    EXPECT_EQ(starter.starts[0].windowStyle, 2);
  }
  // the compiler's sustained tone is instrument 97
  EXPECT_NE(ReadArbeit("Default-Dauerton.plg").find("\r\n Instr 97\r\n"), std::string::npos);
}

TEST_F(ToolButtonsTest, TheButtonsRowsBelowTheListDoNotOverlap) {
  // Every button and switch below the display list, inside the client width, none over another.
  struct Box {
    std::string name;
    int left, top, right, bottom;
  };
  std::vector<Box> placed;
  for (const auto& control : window->frmDatei.controls()) {
    if (!dynamic_cast<forms::Button*>(control.get()) && !dynamic_cast<forms::CheckBox*>(control.get()))
      continue;
    const forms::Control& c = *control;
    SCOPED_TRACE(c.name());
    EXPECT_GT(c.width(), 0);
    EXPECT_GT(c.height(), 0);
    EXPECT_GE(c.top(), 8400) << "below the list";
    EXPECT_LE(c.left() + c.width(), 12240);
    EXPECT_LE(c.top() + c.height(), 9650);
    placed.push_back({c.name(), c.left(), c.top(), c.left() + c.width(), c.top() + c.height()});
  }
  EXPECT_GE(placed.size(), 45u);
  for (size_t a = 0; a < placed.size(); ++a)
    for (size_t b = a + 1; b < placed.size(); ++b) {
      const Box& p = placed[a];
      const Box& q = placed[b];
      const bool apart = p.right <= q.left || q.right <= p.left || p.bottom <= q.top || q.bottom <= p.top;
      EXPECT_TRUE(apart) << p.name << " and " << q.name;
    }
}

}  // namespace
}  // namespace compiler_test
