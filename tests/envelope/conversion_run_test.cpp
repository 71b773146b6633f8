// Whole conversion runs on a REAPER project as REAPER writes it: the tone list, the start/stop
// file and the compiler build that is started.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "common/errors.h"
#include "converter_fixture.h"
#include "reaper_project.h"

namespace envelope_test {
namespace {

namespace fs = std::filesystem;
using platform_test::ReadHostFile;

const fs::path kExamples = fs::path(ORMILA_SOURCE_DIR) / "examples";

class RunTest : public ConverterTest {
 protected:
  void SetUp() override {
    root.Write("c/Arbeit/Gleiten.rpp", ReadHostFile(kExamples / "Gleiten.rpp"));
    root.Write("c/Arbeit/Tesu.ini", ReadHostFile(kExamples / "Tesu.ini"));
    root.Write("c/Arbeit/Klang.wav", "RIFF");
    windowSystem.windows = {{7, "Dozudava.wav - Cool Edit"}};
    window->Form_Load();
  }
  envelope::ConverterState& s() { return window->state; }
  std::vector<std::string> Started() const {
    std::vector<std::string> out;
    for (const auto& start : starter.starts) out.push_back(start.commandLine);
    return out;
  }
};

TEST_F(RunTest, Cso1ConvertsTheMarkedRangeAndStartsTalvikTe) {
  window->Command3.Click();
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  EXPECT_EQ(s().RangeStartLine, 139);
  EXPECT_EQ(s().RangeEndLine, 144);
  // The tone list, byte for byte (the clock is fixed).
  const fs::path goldenPath = fs::path(ORMILA_TEST_DATA) / "golden" / "envelope" / "Gleiten.rsz";
  if (const char* u = std::getenv("ORMILA_UPDATE_GOLDEN"); u && std::string(u) == "1")
    std::ofstream(goldenPath, std::ios::binary) << ReadArbeit("Tesu.rsz");
  EXPECT_EQ(ReadArbeit("Tesu.rsz"), ReadHostFile(goldenPath));
  // The audio editor's window was closed and build A started minimised.
  EXPECT_EQ(windowSystem.closeMessages, std::vector<platform::WindowId>{7});
  ASSERT_EQ(starter.starts.size(), 1u);
  EXPECT_EQ(starter.starts[0].commandLine, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe");
  EXPECT_EQ(starter.starts[0].windowStyle, 2);
  // The start/stop file holds the envelope's point lines of the run.
  EXPECT_EQ(ReadArbeit("Tesu2.ini"), " 139 \r\n 145 \r\n");
  EXPECT_TRUE(window->Variation.enabled());
  EXPECT_EQ(window->Variation2.backColour(), 0xFFC0C0);
  EXPECT_EQ(window->Testlist.height(), 1365);
  EXPECT_EQ(window->frmDatei.caption(),
            "Ormila v5.31      Gelesene Datei: Gleiten.rpp      Spur: Glissando");
}

TEST_F(RunTest, TheTwoSwitchesChooseTheBuild) {
  struct Case {
    bool cso2;
    bool withEditor;
    const char* program;
  };
  for (const Case& c : {Case{false, true, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe"},
                        Case{false, false, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe2.exe"},
                        Case{true, true, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe3.exe"},
                        Case{true, false, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe4.exe"}}) {
    starter.starts.clear();
    s().WithAudioEditor = c.withEditor;
    (c.cso2 ? window->Command19 : window->Command3).Click();
    EXPECT_EQ(Started(), std::vector<std::string>{c.program});
  }
}

// A build reads at most its number of values from a tone-list line: a longer ZP line would leave
// its LT, HT and KL lines unread and the render silent. Such a run ("Cso1", "Cso2" or the one with
// new settings) writes nothing and starts nothing; TalvikTe takes every range the converter lets
// through.
TEST_F(RunTest, ARangeLongerThanTheChosenBuildTakesIsRefused) {
  enum Button { Cso1, Cso2, NewSettings };
  struct Case {
    Button button;
    bool withEditor;
    int points;
    const char* build;
    bool refused;
  };
  const Case cases[] = {{Cso1, true, 1200, "TalvikTe", false},
                        {Cso1, false, 1200, "TalvikTe2", true},
                        {Cso2, true, 1200, "TalvikTe3", true},
                        {Cso2, false, 1200, "TalvikTe4", true},
                        {Cso1, false, 1000, "TalvikTe2", false},
                        {NewSettings, false, 1200, "TalvikTe2", true},
                        {NewSettings, true, 1200, "TalvikTe", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.build) + " " + std::to_string(c.points) + " by button " +
                 std::to_string(c.button));
    root.Write("c/Arbeit/Lang.rpp",
               MarkedRangeProject(SecondPoints(c.points), {{"1", "440"}}).Text());
    s().ProjectName = "Lang";
    s().TrackName = "R-01";
    s().WithAudioEditor = c.withEditor;
    root.Write("c/Arbeit/Tesu.rsz", "alt\r\n");
    starter.starts.clear();
    windowSystem.closeMessages.clear();
    dialogs.messages.clear();
    if (c.button == NewSettings) {
      // The project and the track typed, Return on the rest.
      dialogs.answers = {"Lang", "R-01", "", ""};
      window->Command1.Click();
    } else {
      (c.button == Cso2 ? window->Command19 : window->Command3).Click();
    }
    if (c.refused) {
      EXPECT_EQ(Messages(), std::vector<std::string>{
                                "Der Bereich ist zu groß für " + std::string(c.build) + ": " +
                                std::to_string(c.points) + " Punkte, " + c.build +
                                " nimmt höchstens 1000 Punkte. Es wurde nichts geschrieben und "
                                "nichts gestartet."});
      EXPECT_TRUE(ReadArbeit("Tesu.rsz") == "alt\r\n") << "the old tone list stays";
      EXPECT_TRUE(Started().empty());
      EXPECT_TRUE(windowSystem.closeMessages.empty());
    } else {
      EXPECT_TRUE(Messages().empty());
      EXPECT_EQ(Started(),
                std::vector<std::string>{"C:\\Arbeit\\VB\\Tesu01\\" + std::string(c.build) + ".exe"});
      // Every point is on the ZP line: the keyword and one value each.
      std::istringstream list(ReadArbeit("Tesu.rsz"));
      std::string line;
      for (int n = 0; n < 4; ++n) std::getline(list, line);
      std::istringstream words(line);
      EXPECT_EQ(std::distance(std::istream_iterator<std::string>(words),
                              std::istream_iterator<std::string>()),
                c.points + 1);
    }
  }
}

// The copy run starts no build, so a range that only TalvikTe would take is copied all the same.
TEST_F(RunTest, TheCopyOfARangeLongerThanTheChosenBuildTakesIsWritten) {
  root.Write("c/Arbeit/Lang.rpp", MarkedRangeProject(SecondPoints(1200), {{"1", "440"}}).Text());
  window->Text[1]->SetText("Lang");
  window->Text[2]->SetText("R-01");
  s().WithAudioEditor = false;
  window->kopieren.Click();
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  EXPECT_TRUE(fs::exists(root / "c/Arbeit/Langc.rpp"));
  EXPECT_TRUE(starter.starts.empty());
}

TEST_F(RunTest, FirstCso1ResetsTheStartStopFileThenStoresTheRun) {
  root.Write("c/Arbeit/Tesu2.ini", " 50 \r\n 60 \r\n");
  s().AutoPoints = true;
  window->Command3.Click();
  // The stored start line read at the click (50) chose the whole envelope.
  EXPECT_EQ(s().RangeStartLine, 139);
  EXPECT_EQ(s().RangeEndLine, 145);
  EXPECT_TRUE(window->kopieren.enabled());
  EXPECT_EQ(ReadArbeit("Tesu2.ini"), " 139 \r\n 145 \r\n");
  EXPECT_EQ(window->StartStoppLos.backColour(), 0xBFFA8F);
}

TEST_F(RunTest, CopyRunWritesTheToneListButStartsNothing) {
  s().InfoPage = -1;
  window->Command3_Click();
  EXPECT_TRUE(fs::exists(root / "c/Arbeit/Tesu.rsz"));
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_TRUE(windowSystem.closeMessages.empty());
  EXPECT_EQ(s().InfoPage, 0);
}

struct FailureCase {
  const char* name;
  std::function<void(RunTest&)> spoil;
  const char* message;  // the start of the message shown
};

// Replaces a text of the example project.
std::function<void(RunTest&)> Spoil(std::string from, std::string to) {
  return [from, to](RunTest& t) {
    std::string p = ReadHostFile(kExamples / "Gleiten.rpp");
    p.replace(p.find(from), from.size(), to);
    t.root.Write("c/Arbeit/Gleiten.rpp", p);
  };
}

TEST_F(RunTest, AFailedStepShowsItsMessageAndWritesNothing) {
  const std::string before = "alte Tonverlaufsliste\r\n";
  const FailureCase cases[] = {
      {"missing project", [](RunTest& t) { t.window->Text[1]->SetText("Fehlt"); },
       "C:\\Arbeit\\Fehlt.rpp existiert nicht."},
      {"missing track", [](RunTest& t) { t.window->Text[2]->SetText("glissando"); },
       "Spur mit Namen glissando existiert nicht im Reaperfile Gleiten"},
      {"no envelope",
       [](RunTest& t) {
         std::string p = ReadHostFile(kExamples / "Gleiten.rpp");
         p.replace(p.find("<VOLENV2"), 8, "<PANENV2");
         t.root.Write("c/Arbeit/Gleiten.rpp", p);
       },
       "Die Spur Glissando hat keine"},
      {"one marked point",
       [](RunTest& t) {
         std::string p = ReadHostFile(kExamples / "Gleiten.rpp");
         p.replace(p.find("PT 6.5 0.01 0 0 1"), 17, "PT 6.5 0.01 0");
         t.root.Write("c/Arbeit/Gleiten.rpp", p);
       },
       "Es fehlt die zweite Markierung!"},
      // A number too large for a value stops the run (it used to end the program).
      {"point level too large", Spoil("PT 3.25 0.5 0", "PT 3.25 1e400 0"),
       "Zeile 141 der Reaperdatei C:\\Arbeit\\Gleiten.rpp enthält eine zu große Zahl (1e400): "
       "PT 3.25 1e400 0"},
      {"point time too large", Spoil("PT 3.25 0.5 0", "PT 1e400 0.5 0"),
       "Zeile 141 der Reaperdatei C:\\Arbeit\\Gleiten.rpp enthält eine zu große Zahl (1e400)"},
      {"marker time too large", Spoil("MARKER 3 4 440", "MARKER 3 1e400 440"),
       "Zeile 101 der Reaperdatei C:\\Arbeit\\Gleiten.rpp enthält eine zu große Zahl (1e400): "
       "MARKER 3 1e400 440 0 0 1 B"},
      {"marker pitch too large", Spoil("MARKER 3 4 440", "MARKER 3 4 1e400"),
       "Zeile 101 der Reaperdatei C:\\Arbeit\\Gleiten.rpp enthält eine zu große Zahl (1e400)"},
      {"marker timbre too large", Spoil("\"330 660\"", "\"330 1e400\""),
       "Zeile 100 der Reaperdatei C:\\Arbeit\\Gleiten.rpp enthält eine zu große Zahl (1e400)"},
      {"selection too large",
       [](RunTest& t) {
         Spoil("SELECTION 1 5.5", "SELECTION 1 1e400")(t);
         t.window->state.UseStartStopPoints = false;
       },
       "Zeile 69 der Reaperdatei C:\\Arbeit\\Gleiten.rpp enthält eine zu große Zahl (1e400)"},
      // A value too wide for its column of the tone list (30000 x 1e300).
      {"level too wide", Spoil("PT 3.25 0.5 0", "PT 3.25 1e300 0"),
       "Ein Wert passt nicht in seine Spalte der Tonverlaufsliste (höchstens 11 Zeichen): LT "},
      // A FIFO in place of the project would block the window.
      {"project is a FIFO",
       [](RunTest& t) {
         fs::remove(t.root / "c/Arbeit/Gleiten.rpp");
         ASSERT_EQ(::mkfifo((t.root / "c/Arbeit/Gleiten.rpp").c_str(), 0600), 0);
       },
       "C:\\Arbeit\\Gleiten.rpp ist keine Datei."},
  };
  for (const FailureCase& c : cases) {
    SetUp();
    root.Write("c/Arbeit/Tesu.rsz", before);
    starter.starts.clear();
    dialogs.messages.clear();
    c.spoil(*this);
    window->Command3.Click();
    ASSERT_FALSE(dialogs.messages.empty()) << c.name;
    EXPECT_EQ(dialogs.messages.front().text.rfind(c.message, 0), 0u)
        << c.name << ": " << dialogs.messages.front().text;
    EXPECT_EQ(dialogs.messages.front().title, "FEHLER");
    EXPECT_EQ(dialogs.messages.size(), 1u) << c.name << ": " << dialogs.messages.back().text;
    EXPECT_EQ(ReadArbeit("Tesu.rsz"), before) << c.name;
    EXPECT_TRUE(starter.starts.empty()) << c.name;
  }
}

// A settings file of one line leaves the settings boxes empty: the run names the first empty box
// and writes no tone list with a keyword lacking its value.
TEST_F(RunTest, AnEmptySettingStopsTheRunBeforeAnythingIsWritten) {
  root.Write("c/Arbeit/Tesu.ini", "Gleiten\r\n");
  NewWindow();
  window->Form_Load();
  dialogs.messages.clear();
  window->Command3.Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "Das Feld \"FUA\" ist leer. Die Tonverlaufsliste braucht dort einen Wert.");
  EXPECT_EQ(dialogs.messages[0].title, "FEHLER");
  EXPECT_FALSE(fs::exists(root / "c/Arbeit/Tesu.rsz"));
  EXPECT_TRUE(starter.starts.empty());

  // Filled in, the boxes give a tone list every keyword of which has its value.
  for (int box = 4; box <= 14; ++box) window->Text[box]->SetText("1");
  window->Text[2]->SetText("Glissando");
  dialogs.messages.clear();
  window->Command3.Click();
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  EXPECT_EQ(Started(), std::vector<std::string>{"C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe"});
  std::istringstream list(ReadArbeit("Tesu.rsz"));
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // SMP may stand alone: without a sample the compiler reads no sample.
    if (line.rfind("SMP", 0) == 0) continue;
    if (line.size() >= 3 && line[0] != ' ' && line.find_first_of(" ") != std::string::npos) {
      EXPECT_NE(line.find_first_not_of(' ', line.find(' ')), std::string::npos)
          << "a keyword without its value: " << line;
    }
  }
}

// Numbers too large or not numbers at all in the settings: the window stays open, nothing of the
// settings file is lost, and a run names the box instead of writing silence or failing.
TEST_F(RunTest, SettingsThatAreNoUsableNumbersAreNamed) {
  const std::string ini = ReadArbeit("Tesu.ini");
  dialogs.messages.clear();
  window->Text[12]->SetText("1e999");  // typed: the box keeps its value, the file stays
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "Die Zahl \"1e999\" im Feld \"Gesamtlautstärke\" ist zu groß. Es gilt weiter der "
            "bisherige Wert.");
  EXPECT_EQ(s().OverallLoudness.AsLeadingNumber(), 1);
  EXPECT_EQ(ReadArbeit("Tesu.ini"), ini);

  const struct {
    const char* name;
    std::function<void(RunTest&)> spoil;
    const char* message;
  } cases[] = {
      {"a decimal comma typed", [](RunTest& t) { t.window->Text[12]->SetText("0,5"); },
       "Das Feld \"Gesamtlautstärke\" enthält \"0,5\": keine Zahl (mit dem Punkt als "
       "Dezimaltrennzeichen)."},
      {"letters from the settings file", [](RunTest& t) {
         t.window->state.Fua = envelope::SettingValue::Text("abc");
       },
       "Das Feld \"FUA\" enthält \"abc\": keine Zahl (mit dem Punkt als Dezimaltrennzeichen)."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    fs::remove(root / "c/Arbeit/Tesu.rsz");
    starter.starts.clear();
    c.spoil(*this);
    dialogs.messages.clear();
    window->Command3.Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, c.message);
    EXPECT_FALSE(fs::exists(root / "c/Arbeit/Tesu.rsz"));
    EXPECT_TRUE(starter.starts.empty());
  }
}

// A settings file with a number too large in FUB is read whole (it used to stop there, leave the
// boxes below empty, and the next save wrote them empty); a run names the box.
TEST_F(RunTest, ASettingsFileWithANumberTooLargeIsReadWhole) {
  std::string ini = ReadHostFile(kExamples / "Tesu.ini");
  ini.replace(ini.find("\r\n2\r\n"), 5, "\r\n1e999\r\n");  // line 5, FUB
  root.Write("c/Arbeit/Tesu.ini", ini);
  NewWindow();
  dialogs.messages.clear();
  window->Form_Load();
  EXPECT_EQ(window->Text[5]->text(), "1e999");
  EXPECT_EQ(window->Text[14]->text(), "1") << "the lines behind FUB are read";
  EXPECT_EQ(window->Text[17]->text(), "Klang");
  EXPECT_EQ(s().SnapshotCounter.AsNumber(), 0);
  fs::remove(root / "c/Arbeit/Tesu.rsz");
  dialogs.messages.clear();
  window->Command3.Click();
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back().text, "Das Feld \"FUB\" enthält eine zu große Zahl (1e999).");
  EXPECT_FALSE(fs::exists(root / "c/Arbeit/Tesu.rsz"));
  EXPECT_TRUE(starter.starts.empty());
}

// A number too large in DEL is named by the run, whether the settings file has its counter line
// (the value is then the file's text) or ends before it (start-up keeps no text, and the box that
// refused the number still shows it).
TEST_F(RunTest, ANumberTooLargeInTheSettingsFileIsNamedWithOrWithoutTheCounterLine) {
  for (const bool counterLine : {true, false}) {
    SCOPED_TRACE(counterLine ? "18 lines" : "17 lines");
    std::string ini = ReadHostFile(kExamples / "Tesu.ini");
    ini.replace(ini.find("\r\n0.001\r\n"), 9, "\r\n1e309\r\n");  // line 7, DEL
    if (!counterLine) ini.erase(ini.rfind("0\r\n"));
    root.Write("c/Arbeit/Tesu.ini", ini);
    NewWindow();
    window->Form_Load();
    EXPECT_EQ(window->Text[7]->text(), "1e309");
    fs::remove(root / "c/Arbeit/Tesu.rsz");
    dialogs.messages.clear();
    window->Command3.Click();
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Das Feld \"DEL\" enthält eine zu große Zahl (1e309)."});
    EXPECT_FALSE(fs::exists(root / "c/Arbeit/Tesu.rsz"));
    EXPECT_TRUE(starter.starts.empty());
    dialogs.messages.clear();
  }
}

TEST_F(RunTest, MissingCompilerProgramIsReportedWithItsPath) {
  starter.missing = {"C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe"};
  window->Command3.Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].text.find("C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe"), std::string::npos);
  EXPECT_EQ(dialogs.messages[0].title, "FEHLER");
}

TEST_F(RunTest, NewSettingsRunAsksTheDialogue) {
  // Return on every question: the stored values of all settings.
  for (int i = 0; i < 4; ++i) dialogs.answers.push_back(std::string());
  window->Command1.Click();
  ASSERT_EQ(dialogs.questions.size(), 4u);
  EXPECT_EQ(dialogs.questions[0].prompt, "Reaper-Datei (.rpp) angeben  (Return = Gleiten)");
  EXPECT_EQ(dialogs.questions[3].title, "EINGABE");
  EXPECT_EQ(Started(), std::vector<std::string>{"C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe"});
  EXPECT_EQ(window->Testlist.height(), 1575);
  EXPECT_FALSE(s().RunStarted);
}

}  // namespace
}  // namespace envelope_test
