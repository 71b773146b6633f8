// The launchers, the toggles, "CSO", "L", "einbauen", the two ending controls and the plug-in
// template buttons of the converter window, on a temporary drive root with fake services.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/errors.h"
#include "envelope/converter_fixture.h"
#include "platform/file_table.h"
#include "platform/recording_fakes.h"
#include "write_faults.h"

namespace envelope_test {
namespace {

namespace fs = std::filesystem;
using envelope::ConverterState;
using envelope::ConverterWindow;

constexpr forms::Colour kWhite = 0xFFFFFF, kRed = 0xB3B3FF, kGreen = 0xBFFA8F, kGrey = 0xDFDFDF,
                        kDark = 0x696969, kNeutral = 0xE0E0E0, kRun = 0xFFC0C0;

using platform_test::FolderRecordingStarter;

class LauncherTest : public ConverterTest {
 public:
  LauncherTest() : cwd(fs::current_path()) {
    window->state.WorkFolder = "C:\\Arbeit\\";
    window->state.ProjectName = "Gleiten";
  }
  ~LauncherTest() override { fs::current_path(cwd); }

  envelope::ConverterState& s() { return window->state; }
  forms::Button& Button(const std::string& name) {
    auto* b = dynamic_cast<forms::Button*>(window->frmDatei.Find(name));
    if (!b) throw std::logic_error("no button " + name);
    return *b;
  }
  std::vector<std::string> Messages() const { return platform_test::ErrorMessages(dialogs); }
  std::vector<std::string> CommandLines() const { return platform_test::CommandLines(starter); }

  fs::path cwd;
};

// --------------------------------------------------------------------- captions and tooltips

TEST_F(LauncherTest, CaptionsAndToolTips) {
  const struct {
    const char* button;
    const char* caption;
    const char* toolTip;
  } cases[] = {
      {"Command5", "Reaper",
       "Reaper starten und die Hüllkurve der aktuellen (im Feld mit der blauen Schrift "
       "angezeigten) Datei ansehen"},
      {"Command13", "Reaper",
       "Reaper starten und die variierte Hüllkurve ansehen. Erst 'Snapshot' drücken!"},
      {"Command8", "rsz", "Tesu.rsz im Editor ansehen"},
      {"Orcknopf", "orc",
       "die Datei Dozudava.orc im Editor ansehen und gegebenenfalls verändern"},
      {"Scoknopf", "sco",
       "die Datei Dozudava.sco im Editor ansehen und gegebenenfalls verändern"},
      {"Command9", "vsk", "Veskar2_Spezialist.txt öffnen"},
      {"Command6", "dir", "alle Wav-Dateien in C:\\ Arbeit auflisten"},
      {"Command12", "anhören", "Sample anhören"},
      {"Command11", "einbauen",
       "Sample einbauen. Jede beliebige (Stereo)-WAV-Datei, die sich auf der Festplatte "
       "befindet, kann eingebaut werden!"},
      {"Zumkknopf", "PLG",
       "ZUMK: Plugins in Dozudava.orc und Dozudava.sco einbauen, um die Klänge zu erweitern"},
      {"Csoundknopf", "CSO",
       "Csound starten, ohne die Einstellungen in Dozudava.orc und Dozudava.sco zu verändern"},
      {"Command15", "L",
       "Namen einer mit 'S' gespeicherten Csound-Datei (mit oder ohne Extension!) angeben - wird "
       "in Dozudava.sco und Dozudava.orc umgewandelt. Dozudava.sco und Dozudava.orc werden "
       "vorher automatisch geschlossen"},
      {"Stimmen", "vgl", "Vergleichston"},
      {"Cool", "Cool", "grün mit, grau ohne Cool Edit"},
      {"Command7", "u", "hell: Start-Stoppunkte beachten, dunkel: Selektion beachten"},
      {"PRFix", "", "rot: der Knopf 'Point Reset (P R)' ist deaktiviert"},
      {"StartStoppFix", "", "rot: Cso1-Knopf ist deaktiviert"},
      {"Command10", "e", "Ende"},
      {"Command16", "e", "ein neues Einzelton-Plugin (eine Default-Datei) erstellen"},
      {"Command17", "d", "ein neues Dauerton-Plugin (eine Default-Datei) erstellen"},
  };
  for (const auto& c : cases) {
    const forms::Button& b = Button(c.button);
    EXPECT_EQ(b.caption(), c.caption) << b.name();
    EXPECT_EQ(b.toolTip(), c.toolTip) << b.name();
    EXPECT_TRUE(b.visible() && b.enabled()) << b.name();
    EXPECT_GT(b.width(), 0) << b.name() << " has no place in the window";
    EXPECT_EQ(window->frmDatei.Find(b.name()), &b);
  }
  EXPECT_EQ(window->Label17.caption(), "Label17");
  EXPECT_EQ(window->Text18.text(), "Tempo");
  EXPECT_GT(window->Text18.width(), 0);
  EXPECT_EQ(window->Cool.backColour(), kGreen);
  // Command13 has no action.
  window->Command13.Click();
  EXPECT_TRUE(starter.starts.empty());
}

// --------------------------------------------------------------------- launchers

TEST_F(LauncherTest, LaunchersStartTheirCommandLines) {
  s().SamplePath = "C:\\Klaenge\\Geige.wav";
  const struct {
    const char* button;
    const char* commandLine;
    int style;
  } cases[] = {
      {"Command5", "C:\\Programme\\REAPER\\reaper.exe c:\\arbeit\\Gleiten.rpp", 2},
      {"Command8", "C:\\Arbeit\\Editor\\NoteTab.exe  C:\\Arbeit\\Tesu.rsz", 2},
      {"Orcknopf", "C:\\Arbeit\\Editor\\NoteTab.exe C:\\Arbeit\\Dozudava.orc", 2},
      {"Scoknopf", "C:\\Arbeit\\Editor\\NoteTab.exe C:\\Arbeit\\Dozudava.sco", 2},
      {"Command9",
       "C:\\Arbeit\\Editor-K\\NoteTab.exe  C:\\Arbeit-xqt\\Infotexte\\Veskar2_Spezialist.txt", 2},
      {"Command6", "C:\\Arbeit\\directory3g.bat", 1},
      {"Command12", "C:\\cool\\COOL96.EXE C:\\Klaenge\\Geige.wav", 1},
  };
  for (const auto& c : cases) {
    starter.starts.clear();
    (Button(c.button)).Click();
    ASSERT_EQ(starter.starts.size(), 1u) << c.commandLine;
    EXPECT_EQ(starter.starts[0].commandLine, c.commandLine);
    EXPECT_EQ(starter.starts[0].windowStyle, c.style) << c.commandLine;
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LauncherTest, AMissingProgramIsReportedByName) {
  starter.missing = {"C:\\Programme\\REAPER\\reaper.exe c:\\arbeit\\Gleiten.rpp",
                     "C:\\Arbeit\\directory3g.bat"};
  window->Command5.Click();
  window->Command6.Click();
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "C:\\Programme\\REAPER\\reaper.exe konnte nicht gestartet werden: "
                            "Datei nicht gefunden",
                            "C:\\Arbeit\\directory3g.bat konnte nicht gestartet werden: Datei "
                            "nicht gefunden"}));
}

// --------------------------------------------------------------------- toggles

TEST_F(LauncherTest, CoolAndUToggleTheirFlagsAndColours) {
  window->Form_Load();
  const struct {
    const char* button;
    bool ConverterState::*flag;
    forms::Colour cleared, set;
  } cases[] = {
      {"Cool", &ConverterState::WithAudioEditor, kGrey, kGreen},
      {"Command7", &ConverterState::UseStartStopPoints, kDark, kGrey},
  };
  for (const auto& c : cases) {
    forms::Button& b = Button(c.button);
    ASSERT_TRUE(s().*(c.flag)) << b.name();
    b.Click();
    EXPECT_FALSE(s().*(c.flag)) << b.name();
    EXPECT_EQ(b.backColour(), c.cleared) << b.name();
    b.Click();
    EXPECT_TRUE(s().*(c.flag)) << b.name();
    EXPECT_EQ(b.backColour(), c.set) << b.name();
  }
}

TEST_F(LauncherTest, CoolChoosesTheBuildWithoutTheAudioEditor) {
  window->Form_Load();
  const struct {
    int mode;
    const char* with;
    const char* without;
  } cases[] = {{0, "TalvikTe.exe", "TalvikTe2.exe"}, {2, "TalvikTe3.exe", "TalvikTe4.exe"}};
  for (const auto& c : cases) {
    s().CompilerMode = c.mode;
    EXPECT_EQ(window->CompilerProgramPath(), std::string("C:\\Arbeit\\VB\\Tesu01\\") + c.with);
    window->Cool.Click();
    EXPECT_EQ(window->CompilerProgramPath(), std::string("C:\\Arbeit\\VB\\Tesu01\\") + c.without);
    window->Cool.Click();
  }
}

TEST_F(LauncherTest, PRFixTwice) {
  window->Form_Load();
  window->PRFix.Click();
  EXPECT_TRUE(s().AutoPoints);
  EXPECT_FALSE(s().PointResetLocked);
  EXPECT_EQ(window->PRFix.backColour(), kNeutral);
  EXPECT_TRUE(window->StartStoppLos.enabled());
  window->StartStoppLos.SetBackColour(kGreen);
  window->PRFix.Click();
  EXPECT_FALSE(s().AutoPoints);
  EXPECT_TRUE(s().PointResetLocked);
  EXPECT_EQ(window->PRFix.backColour(), kRed);
  EXPECT_FALSE(window->StartStoppLos.enabled());
  EXPECT_EQ(window->StartStoppLos.backColour(), kGrey);
}

struct LookOfCso {
  forms::Colour cso1, cso2, var1, fix;
  bool cso1Enabled, cso2Enabled, var1Enabled, state;
};

LookOfCso Look(const ConverterWindow& w) {
  return {w.Command3.backColour(), w.Command19.backColour(), w.Variation.backColour(),
          w.StartStoppFix.backColour(), w.Command3.enabled(), w.Command19.enabled(),
          w.Variation.enabled(), w.state.StartStopFixState};
}

void ExpectLocked(const ConverterWindow& w, bool state) {
  const LookOfCso l = Look(w);
  EXPECT_EQ(l.cso1, kWhite);
  EXPECT_FALSE(l.cso1Enabled);
  EXPECT_EQ(l.fix, kRed);
  EXPECT_EQ(l.state, state);
}

void ExpectUnlocked(const ConverterWindow& w) {
  const LookOfCso l = Look(w);
  EXPECT_EQ(l.cso1, kRun);
  EXPECT_EQ(l.cso2, kRun);
  EXPECT_EQ(l.var1, kRun);
  EXPECT_TRUE(l.cso1Enabled && l.cso2Enabled && l.var1Enabled);
  EXPECT_EQ(l.fix, kNeutral);
  EXPECT_FALSE(l.state);
}

TEST_F(LauncherTest, StartStoppFixLocksCso1AndUnlocksAllThree) {
  window->Form_Load();
  window->Command19.SetEnabled(false);
  window->StartStoppFix.Click();
  ExpectLocked(*window, true);
  EXPECT_FALSE(window->Command19.enabled());  // locking touches "Cso1" only
  EXPECT_FALSE(window->Variation.enabled());
  window->StartStoppFix.Click();
  ExpectUnlocked(*window);
}

TEST_F(LauncherTest, AfterPLGOrLTheSecondClickOfStartStoppFixUnlocks) {
  root.MakeFolder("c/Arbeit/VB/Talvik4");
  for (const char* button : {"Zumkknopf", "Command15"}) {
    window->Form_Load();
    forms::Button& b = Button(button);
    b.Click();
    SCOPED_TRACE(b.name());
    ExpectLocked(*window, false);
    EXPECT_EQ(window->Orcknopf.backColour(), kGreen);
    EXPECT_EQ(window->Scoknopf.backColour(), kGreen);
    window->StartStoppFix.Click();  // locks again: nothing to see
    ExpectLocked(*window, true);
    window->StartStoppFix.Click();
    ExpectUnlocked(*window);
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

// --------------------------------------------------------------------- PLG

TEST_F(LauncherTest, PLGStartsTheInserterInItsFolder) {
  FolderRecordingStarter recording;
  window = std::make_unique<ConverterWindow>(
      envelope::ConverterServices{clock, recording, windowSystem, dialogs, dialogs, dialogs, dialogs});
  window->Form_Load();
  root.MakeFolder("c/Arbeit/VB/Talvik4");
  window->Zumkknopf.Click();
  ASSERT_EQ(recording.starts.size(), 1u);
  EXPECT_EQ(recording.starts[0].commandLine, "C:\\Arbeit\\VB\\Talvik4\\ZUMK");
  EXPECT_EQ(recording.starts[0].windowStyle, 1);
  EXPECT_EQ(recording.folders, std::vector<std::string>{"C:\\Arbeit\\VB\\Talvik4"});
  EXPECT_EQ(platform::CurrentFolder(), "C:\\Arbeit\\");
  EXPECT_EQ(fs::current_path(), fs::canonical(root / "c/Arbeit"));
  EXPECT_EQ(window->Variation.backColour(), 0xF3F3F3);
  EXPECT_FALSE(window->Variation.enabled());
}

TEST_F(LauncherTest, PLGWithoutFolderOrInserterChangesNothing) {
  for (const bool folderThere : {false, true}) {
    SCOPED_TRACE(folderThere ? "inserter missing" : "folder missing");
    window->Form_Load();
    window->Variation.SetEnabled(true);
    if (folderThere) root.MakeFolder("c/Arbeit/VB/Talvik4");
    starter.missing = {"C:\\Arbeit\\VB\\Talvik4\\ZUMK"};
    dialogs.messages.clear();
    const LookOfCso before = Look(*window);
    const std::string folderBefore = platform::CurrentFolder();
    window->Zumkknopf.Click();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(folderThere ? "C:\\Arbeit\\VB\\Talvik4\\ZUMK" : "Der Ordner C:\\Arbeit\\VB\\Talvik4"),
              std::string::npos)
        << Messages()[0];
    const LookOfCso after = Look(*window);
    EXPECT_EQ(after.cso1, before.cso1);
    EXPECT_EQ(after.fix, before.fix);
    EXPECT_TRUE(after.cso1Enabled && after.var1Enabled);
    EXPECT_NE(window->Orcknopf.backColour(), kGreen);
    // the inserter's folder was entered and left again; a missing one was never entered
    EXPECT_EQ(platform::CurrentFolder(), folderThere ? std::string("C:\\Arbeit\\") : folderBefore);
  }
}

// --------------------------------------------------------------------- vgl

TEST_F(LauncherTest, VglTwiceStartsAndClosesTheComparisonTone) {
  // The fake's task ids count the starts: the first start is task 1.
  windowSystem.windows = {{10, "Ormila v5.31      Gelesene Datei: Kelvo-Test.rpp", false,
                           platform::OwnProcessId()},
                          {11, "KELVO - Vergleichston", false, 1},
                          {12, "Editor", false, 0}};
  window->Stimmen.Click();
  EXPECT_EQ(CommandLines(), std::vector<std::string>{"C:\\Arbeit\\VB\\Kelvo\\Kelvo.exe"});
  EXPECT_EQ(starter.starts[0].windowStyle, 1);
  EXPECT_EQ(windowSystem.activated, std::vector<platform::WindowId>{11});
  EXPECT_TRUE(s().ComparisonToneRunning);
  window->Stimmen.Click();
  EXPECT_FALSE(s().ComparisonToneRunning);
  EXPECT_EQ(windowSystem.closeMessages, std::vector<platform::WindowId>{11});  // never its own
  EXPECT_EQ(starter.starts.size(), 1u);
  // A program without a window is started all the same.
  windowSystem.windows.clear();
  window->Stimmen.Click();
  EXPECT_TRUE(s().ComparisonToneRunning);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LauncherTest, VglWithoutTheProgramKeepsTheFlagCleared) {
  starter.missing = {"C:\\Arbeit\\VB\\Kelvo\\Kelvo.exe"};
  window->Stimmen.Click();
  EXPECT_FALSE(s().ComparisonToneRunning);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("C:\\Arbeit\\VB\\Kelvo\\Kelvo.exe"), std::string::npos);
}

// --------------------------------------------------------------------- einbauen

class SampleTest : public LauncherTest {
 public:
  SampleTest() {
    window->Form_Load();
    s().SamplePath = "C:\\Arbeit\\Alt.wav";
    s().SampleName = "Alt";
    window->Text[17]->SetText("Alt");
    window->SaveSettings();
  }
  std::string SettingsLine17() {
    const std::string ini = ReadArbeit("Tesu.ini");
    size_t pos = 0;
    for (int i = 1; i < 17; ++i) pos = ini.find("\r\n", pos) + 2;
    return ini.substr(pos, ini.find("\r\n", pos) - pos);
  }
};

TEST_F(SampleTest, EinbauenCopiesTheChosenSample) {
  root.MakeFolder("c/Klaenge");
  root.Write("c/Klaenge/Geige lang.wav", "RIFF-Geige");
  dialogs.chosenFiles = {"C:\\Klaenge\\Geige lang.wav"};
  window->Command11.Click();
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(ReadArbeit("Samp100.wav"), "RIFF-Geige");
  EXPECT_EQ(s().SamplePath, "C:\\Klaenge\\Geige lang.wav");
  EXPECT_EQ(s().SampleCopyPath, "c:\\Arbeit\\Samp100.wav");
  EXPECT_EQ(s().SampleName, "Geige lang");
  EXPECT_EQ(window->Text[17]->text(), "Geige lang");
  EXPECT_EQ(SettingsLine17(), "C:\\Klaenge\\Geige lang.wav");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SampleTest, EinbauenCancelledKeepsTheSample) {
  window->Command11.Click();  // the scripted dialog answers Cancel
  EXPECT_EQ(s().SamplePath, "C:\\Arbeit\\Alt.wav");
  EXPECT_EQ(window->Text[17]->text(), "Alt");
  EXPECT_FALSE(fs::exists(root / "c/Arbeit/Samp100.wav"));
  window->SaveSettings();  // the next settings file still names the sample
  EXPECT_EQ(SettingsLine17(), "C:\\Arbeit\\Alt.wav");
}

TEST_F(SampleTest, EinbauenOfSamp100ItselfCountsAsDone) {
  root.Write("c/Arbeit/Samp100.wav", "RIFF-Samp");
  dialogs.chosenFiles = {"C:\\Arbeit\\Samp100.wav"};
  window->Command11.Click();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(ReadArbeit("Samp100.wav"), "RIFF-Samp");
  EXPECT_EQ(s().SamplePath, "C:\\Arbeit\\Samp100.wav");
  EXPECT_EQ(window->Text[17]->text(), "Samp100");
  EXPECT_EQ(SettingsLine17(), "C:\\Arbeit\\Samp100.wav");
  // The next start copies the sample onto itself and reads on to the snapshot counter.
  s().SnapshotCounter = envelope::SettingValue::Number(7);
  window->SaveSettings();
  window = std::make_unique<ConverterWindow>(
      envelope::ConverterServices{clock, starter, windowSystem, dialogs, dialogs, dialogs, dialogs});
  window->Form_Load();
  EXPECT_EQ(s().SnapshotCounter.AsLeadingNumber(), 7);
  EXPECT_EQ(window->Text[17]->text(), "Samp100");
  EXPECT_EQ(ReadArbeit("Samp100.wav"), "RIFF-Samp");
}

TEST_F(SampleTest, EinbauenOfAShortOrMissingNameCopiesNothing) {
  const struct {
    const char* chosen;
    const char* samplePathAfter;
    bool message;
  } cases[] = {{"a.wav", "a.wav", false},  // 5 characters: taken, nothing copied or saved
               {"C:\\Arbeit\\Fehlt.wav", "C:\\Arbeit\\Alt.wav", true}};
  for (const auto& c : cases) {
    s().SamplePath = "C:\\Arbeit\\Alt.wav";
    dialogs.messages.clear();
    dialogs.chosenFiles = {c.chosen};
    window->Command11.Click();
    EXPECT_EQ(s().SamplePath, c.samplePathAfter) << c.chosen;
    EXPECT_EQ(window->Text[17]->text(), "Alt") << c.chosen;
    EXPECT_FALSE(fs::exists(root / "c/Arbeit/Samp100.wav")) << c.chosen;
    EXPECT_EQ(dialogs.messages.size(), c.message ? 1u : 0u) << c.chosen;
    EXPECT_EQ(SettingsLine17(), "C:\\Arbeit\\Alt.wav") << c.chosen;  // nothing saved
  }
}

// --------------------------------------------------------------------- CSO

TEST_F(LauncherTest, CSOWritesCs06bAndStartsCs06b3) {
  windowSystem.windows = {{1, "Dozudava.wav - Cool Edit Pro"}, {2, "NoteTab Light  -  Dozudava.orc"}};
  root.Write("c/Arbeit/cs06b.bat", "alt\r\n");
  window->Csoundknopf.Click();
  EXPECT_EQ(ReadArbeit("cs06b.bat"), GoldenBytes("cs06b.bat"));
  EXPECT_EQ(windowSystem.closeMessages, std::vector<platform::WindowId>{1});
  ASSERT_EQ(starter.starts.size(), 1u);
  EXPECT_EQ(starter.starts[0].commandLine, "C:\\Arbeit\\cs06b3.bat");
  EXPECT_EQ(starter.starts[0].windowStyle, 2);
  EXPECT_FALSE(fs::exists(root / "c/Arbeit/cs06b3.bat"));  // the batch of TalvikTe3 is not written here
}

TEST_F(LauncherTest, CSOFailuresAreReported) {
  starter.missing = {"C:\\Arbeit\\cs06b3.bat"};
  window->Csoundknopf.Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "C:\\Arbeit\\cs06b3.bat konnte nicht gestartet werden: Datei nicht "
                            "gefunden"});
  // Without C:\Arbeit\ nothing is written and nothing started.
  dialogs.messages.clear();
  fs::remove_all(root / "c/Arbeit");
  window->Csoundknopf.Click();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("C:\\Arbeit\\cs06b.bat"), std::string::npos);
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_FALSE(window->files.IsOpen(4));
}

// --------------------------------------------------------------------- L

class RestoreTest : public LauncherTest {
 public:
  RestoreTest() {
    window->Form_Load();
    root.Write("c/Arbeit/Dozudava.orc", "aktuell orc");
    root.Write("c/Arbeit/Dozudava.sco", "aktuell sco");
    root.Write("c/Arbeit/Tesu7.orc", "Tesu7 orc");
    root.Write("c/Arbeit/Tesu7.sco", "Tesu7 sco");
    root.Write("c/Arbeit/Tesu7.wav", "RIFF");
    root.Write("c/Arbeit/Halb.orc", "Halb orc");
  }
};

TEST_F(RestoreTest, LRestoresAKeptPair) {
  const struct {
    const char* chosen;
    const char* orc;
    const char* sco;
    bool message;
  } cases[] = {
      {"C:\\Arbeit\\Tesu7.wav", "Tesu7 orc", "Tesu7 sco", false},
      {"C:\\Arbeit\\Tesu7.sco", "Tesu7 orc", "Tesu7 sco", false},
      {"C:\\Arbeit\\Tesu7", "Tesu7 orc", "Tesu7 sco", false},  // typed without extension
      // same case only: "Tesu7.ORC" is a base name, and Tesu7.ORC.orc does not exist
      {"c:\\Arbeit\\Tesu7.ORC", "aktuell orc", "aktuell sco", true},
      // one half of a pair: nothing is copied
      {"C:\\Arbeit\\Halb.orc", "aktuell orc", "aktuell sco", true},
      {"", "aktuell orc", "aktuell sco", false},          // cancelled
      {"C:\\a", "aktuell orc", "aktuell sco", false},     // 5 characters
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    root.Write("c/Arbeit/Dozudava.orc", "aktuell orc");
    root.Write("c/Arbeit/Dozudava.sco", "aktuell sco");
    window->Form_Load();
    dialogs.messages.clear();
    starter.starts.clear();
    windowSystem.windows = {{1, "NoteTab Light  -  C:\\Arbeit\\Dozudava.orc"},
                            {2, "NoteTab Light  -  C:\\Arbeit\\Dozudava.sco *"},
                            {3, "NoteTab Light  -  C:\\Arbeit\\Tesu.rsz"}};
    windowSystem.closeMessages.clear();
    dialogs.chosenFiles = {c.chosen};
    window->Command15.Click();
    EXPECT_EQ(windowSystem.closeMessages, (std::vector<platform::WindowId>{1, 2}));
    EXPECT_EQ(CommandLines(), std::vector<std::string>{"C:\\Arbeit\\directory3h.bat"});
    EXPECT_EQ(starter.starts[0].windowStyle, 1);
    EXPECT_EQ(ReadArbeit("Dozudava.orc"), c.orc);
    EXPECT_EQ(ReadArbeit("Dozudava.sco"), c.sco);
    EXPECT_EQ(dialogs.messages.size(), c.message ? 1u : 0u);
    ExpectLocked(*window, false);  // recoloured also when nothing was copied
    EXPECT_EQ(window->Orcknopf.backColour(), kGreen);
    EXPECT_EQ(window->Scoknopf.backColour(), kGreen);
  }
}

// "L" replaces both files or neither: with either target protected, the score's copy cut short
// by a full disk after the orchestra's was made, or the score not put in place after the
// orchestra was, both stay as they were byte for byte, nothing is left beside them, and the
// message names the file that could not be written. Then, with the fault gone, the pair is
// restored.
TEST_F(RestoreTest, LWithATargetThatCannotBeWrittenKeepsBoth) {
  const struct {
    const char* label;
    const char* target;  // in C:\Arbeit
    bool protect;        // else a full disk at this stage of its copy
    platform::WriteStage stage;
    const char* message;
  } cases[] = {
      {"orchestra protected", "Dozudava.orc", true, platform::WriteStage::Copy,
       "Die Datei c:\\Arbeit\\Dozudava.orc konnte nicht geschrieben werden (Fehler beim Zugriff "
       "auf Pfad/Datei). Dozudava.orc und Dozudava.sco bleiben, wie sie sind."},
      {"score protected", "Dozudava.sco", true, platform::WriteStage::Copy,
       "Die Datei c:\\Arbeit\\Dozudava.sco konnte nicht geschrieben werden (Fehler beim Zugriff "
       "auf Pfad/Datei). Dozudava.orc und Dozudava.sco bleiben, wie sie sind."},
      {"the score's copy meets a full disk", "Dozudava.sco", false, platform::WriteStage::Copy,
       "Die Datei c:\\Arbeit\\Dozudava.sco konnte nicht geschrieben werden (Datenträger voll). "
       "Dozudava.orc und Dozudava.sco bleiben, wie sie sind."},
      {"the score not put in place", "Dozudava.sco", false, platform::WriteStage::Rename,
       "Die Datei c:\\Arbeit\\Dozudava.sco konnte nicht geschrieben werden (Datenträger voll). "
       "Dozudava.orc und Dozudava.sco bleiben, wie sie sind."},
  };
  const auto restore = [&] {
    dialogs.messages.clear();
    dialogs.chosenFiles = {"C:\\Arbeit\\Tesu7.wav"};
    window->Command15.Click();
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const fs::path target = root / ("c/Arbeit/" + std::string(c.target));
    if (c.protect)
      fs::permissions(target, fs::perms(0444));
    else
      platform::SetWriteFaults(testing_support::FailAt(c.stage, target.string(), ENOSPC));
    restore();
    platform::SetWriteFaults({});
    fs::permissions(target, fs::perms(0644));
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(ReadArbeit("Dozudava.orc"), "aktuell orc");
    EXPECT_EQ(ReadArbeit("Dozudava.sco"), "aktuell sco");
    EXPECT_EQ(testing_support::BesideLeftovers(root / "c/Arbeit"), std::vector<std::string>{});
  }
  restore();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadArbeit("Dozudava.orc"), "Tesu7 orc");
  EXPECT_EQ(ReadArbeit("Dozudava.sco"), "Tesu7 sco");
}

TEST_F(RestoreTest, LWithoutTheListingChangesNothing) {
  starter.missing = {"C:\\Arbeit\\directory3h.bat"};
  dialogs.chosenFiles = {"C:\\Arbeit\\Tesu7.wav"};
  window->Command15.Click();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("C:\\Arbeit\\directory3h.bat"), std::string::npos);
  EXPECT_TRUE(dialogs.fileRequests.empty());
  EXPECT_EQ(ReadArbeit("Dozudava.orc"), "aktuell orc");
  EXPECT_TRUE(window->Command3.enabled());
  EXPECT_EQ(window->StartStoppFix.backColour(), kNeutral);
}

// --------------------------------------------------------------------- the end

TEST_F(LauncherTest, CommandTenAndLabel17EndTheProgram) {
  EXPECT_THROW(window->Command10.Click(), common::ProgramEnd);
  EXPECT_THROW(window->Label17.MouseMove(), common::ProgramEnd);
  EXPECT_THROW(window->EndProgram(), common::ProgramEnd);
  EXPECT_FALSE(fs::exists(root / "c/Arbeit/Tesu.ini"));  // nothing saved
}

// --------------------------------------------------------------------- plug-in templates

TEST_F(LauncherTest, PluginTemplateButtonsWriteAndOpenTheirFiles) {
  const struct {
    const char* button;
    const char* file;
    const char* commandLine;
  } cases[] = {
      {"Command16", "Default-Einzelton.plg",
       "C:\\Arbeit\\Editor\\NoteTab.exe C:\\Arbeit\\Default-Einzelton.plg"},
      {"Command17", "Default-Dauerton.plg",
       "C:\\Arbeit\\Editor\\NoteTab.exe C:\\Arbeit\\Default-Dauerton.plg"},
  };
  const fs::path golden = fs::path(ORMILA_TEST_DATA) / "golden" / "csound";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string want = platform_test::ReadHostFile(golden / c.file);
    starter.starts.clear();
    forms::Button& b = Button(c.button);
    b.Click();
    EXPECT_EQ(ReadArbeit(c.file), want);
    root.Write(std::string("c/Arbeit/") + c.file, "vom Benutzer geändert\r\n");
    b.Click();  // the second click gives the same file again
    EXPECT_EQ(ReadArbeit(c.file), want);
    EXPECT_EQ(CommandLines(), (std::vector<std::string>{c.commandLine, c.commandLine}));
    EXPECT_EQ(starter.starts[0].windowStyle, 2);
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LauncherTest, APluginTemplateThatCannotBeWrittenIsReported) {
  fs::remove_all(root / "c/Arbeit");
  window->Command16.Click();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("c:\\Arbeit\\Default-Einzelton.plg"), std::string::npos);
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_FALSE(window->files.IsOpen(5));
}

// "u" and "Cool" steer the next "Cso1" run of the example project (time selection 1 to 5.5 s,
// marked points at 1 and 6.5 s).
class ToggledRunTest : public LauncherTest {
 public:
  ToggledRunTest() {
    const fs::path examples = fs::path(ORMILA_SOURCE_DIR) / "examples";
    project = platform_test::ReadHostFile(examples / "Gleiten.rpp");
    root.Write("c/Arbeit/Gleiten.rpp", project);
    root.Write("c/Arbeit/Tesu.ini", platform_test::ReadHostFile(examples / "Tesu.ini"));
    root.Write("c/Arbeit/Klang.wav", "RIFF");
    window->Form_Load();
  }
  // The project line number of the point line that starts with `start`.
  long LineOf(const std::string& start) const {
    long n = 0;
    size_t pos = 0;
    while (pos < project.size()) {
      ++n;
      const size_t end = project.find('\n', pos);
      const std::string line = project.substr(pos, end - pos);
      if (line.find(start) != std::string::npos) return n;
      if (end == std::string::npos) break;
      pos = end + 1;
    }
    return -1;
  }
  std::string project;
};

TEST_F(ToggledRunTest, UMakesTheRunTakeTheTimeSelection) {
  const struct {
    bool pressU;
    const char* first;
    const char* last;
  } cases[] = {{false, "PT 1 0.25118864", "PT 6.5 0.01"}, {true, "PT 1 0.25118864", "PT 4 0.89125094"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pressU ? "u pressed" : "as started");
    window->Form_Load();
    if (c.pressU) window->Command7.Click();
    window->Command3.Click();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(s().RangeStartLine, LineOf(c.first));
    EXPECT_EQ(s().RangeEndLine, LineOf(c.last));
    const std::string toneList = ReadArbeit("Tesu.rsz");
    EXPECT_EQ(toneList.find("6.5") == std::string::npos, c.pressU) << toneList;
  }
}

TEST_F(ToggledRunTest, CoolMakesTheRunStartTheBuildWithoutTheAudioEditor) {
  window->Cool.Click();
  window->Command3.Click();
  ASSERT_FALSE(starter.starts.empty());
  EXPECT_EQ(starter.starts.back().commandLine, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe2.exe");
}

}  // namespace
}  // namespace envelope_test
