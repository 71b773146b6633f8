// Keeping results by number: "Snapshot" (TesuN.wav/.rsz/.inv/.rpp), "S" (TesuN.orc/.sco/.wav),
// the mix file's lines and the CDP mix batch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "converter_fixture.h"
#include "platform/file_table.h"
#include "write_faults.h"

namespace envelope_test {
namespace {

namespace fs = std::filesystem;
using platform_test::ReadHostFile;

const fs::path kExamples = fs::path(ORMILA_SOURCE_DIR) / "examples";
const char* const kMixTail = "    0.00    2    1    L    1    R\r\n";

void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A 16-bit stereo wave of `frames` frames as a finished render leaves it; with `finished` false
// its header still counts no sound data, as while Csound writes it.
std::string Wave(std::uint32_t frames, bool finished = true) {
  const std::uint32_t data = frames * 4;
  std::string w = "RIFF";
  Put32(w, finished ? 36 + data : 36);
  w += "WAVEfmt ";
  Put32(w, 16);
  w += std::string("\x01\x00\x02\x00", 4);
  Put32(w, 44100);
  Put32(w, 44100 * 4);
  w += std::string("\x04\x00\x10\x00", 4);
  w += "data";
  Put32(w, finished ? data : 0);
  for (std::uint32_t i = 0; i < data; ++i) w += static_cast<char>(i * 7);
  return w;
}

// The example project converted once ("Cso1"), a rendered wave and the Csound files beside it.
// The settings file's counter (line 18) is given.
class SnapshotTest : public ConverterTest {
 public:
  // Line 18 of the settings file is `counterLine`; with `emptySampleLine` line 17 is empty, so
  // that start-up stops reading before the counter.
  void Start(const std::string& counterLine, bool emptySampleLine = false) {
    std::string ini = ReadHostFile(kExamples / "Tesu.ini");
    ini.replace(ini.rfind("0\r\n"), 3, counterLine + "\r\n");
    if (emptySampleLine) ini.replace(ini.find("C:\\Arbeit\\Klang.wav"), 19, "");
    root.Write("c/Arbeit/Tesu.ini", ini);
    root.Write("c/Arbeit/Gleiten.rpp", ReadHostFile(kExamples / "Gleiten.rpp"));
    root.Write("c/Arbeit/Klang.wav", "RIFF");
    root.Write("c/Arbeit/Dozudava.wav", Wave(100));
    root.Write("c/Arbeit/Dozudava.orc", "instr 1\r\nendin\r\n");
    root.Write("c/Arbeit/Dozudava.sco", "i1 0 1\r\ne\r\n");
    window->Form_Load();
  }
  void SetUp() override { Start("41"); }
  void Run() {
    window->Command3.Click();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  }
  envelope::ConverterState& s() { return window->state; }
  bool Exists(const std::string& name) const { return fs::exists(root / ("c/Arbeit/" + name)); }
  // The names in C:\Arbeit\ that begin with "Tesu" and a digit, or "mix".
  std::vector<std::string> KeptFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(root / "c/Arbeit")) {
      const std::string n = e.path().filename().string();
      if ((n.size() > 4 && n.starts_with("Tesu") && std::isdigit(static_cast<unsigned char>(n[4])) &&
           n != "Tesu2.ini") ||
          n.starts_with("mix"))
        names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(SnapshotTest, SnapshotBeforeAnyRunDoesNothing) {
  const std::string settings = ReadArbeit("Tesu.ini");
  window->Command4.Click();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(KeptFiles().empty());
  EXPECT_EQ(s().SnapshotCounter.AsNumber(), 41);
  EXPECT_EQ(ReadArbeit("Tesu.ini"), settings);
  EXPECT_EQ(dialogs.clipboard, "Gleiten.wav");  // what start-up put there
}

TEST_F(SnapshotTest, Counter41GivesTesu42ThenSGivesTesu43) {
  Run();
  window->Command4.Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadArbeit("Tesu42.wav"), Wave(100));
  EXPECT_EQ(ReadArbeit("Tesu42.rsz"), ReadArbeit("Tesu.rsz"));
  EXPECT_EQ(ReadArbeit("Tesu42.inv"), ReadArbeit("Tesu.ini"));
  EXPECT_TRUE(ReadArbeit("Tesu42.inv").ends_with("\r\n 42 \r\n")) << "the raised counter";
  const std::string project = ReadArbeit("Tesu42.rpp");
  EXPECT_TRUE(project.starts_with(GoldenBytes("Grundtext1") + "\r\n  MARKER 1 2  \"220  220\" 0\r\n"));
  EXPECT_NE(project.find("      PT 0.5 0.0224403690390498 0\r\n      PT 2 0.563676578001702 0 0 1"),
            std::string::npos);
  EXPECT_TRUE(project.ends_with("      PT 7.5 0.0224403690390498 0 0 1\r\n" + GoldenBytes("Grundtext4")));
  EXPECT_EQ(ReadArbeit("mix-ormila.txt"), std::string("c:\\Arbeit\\Tesu42.wav") + kMixTail);
  EXPECT_EQ(dialogs.clipboard, "Tesu42.wav");
  EXPECT_EQ(window->Testlist.items(),
            (std::vector<std::string>{"Datei c:\\Arbeit\\Tesu42.wav und",
                                      "Datei c:\\Arbeit\\Tesu42.rsz und",
                                      "Datei c:\\Arbeit\\Tesu42.inv und",
                                      "Datei c:\\Arbeit\\Tesu42.rpp geschrieben.",
                                      "Im Zwischenspeicher steht Tesu42.wav."}));

  window->Csoundstore.Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadArbeit("Tesu43.orc"), "instr 1\r\nendin\r\n");
  EXPECT_EQ(ReadArbeit("Tesu43.sco"), "i1 0 1\r\ne\r\n");
  EXPECT_EQ(ReadArbeit("Tesu43.wav"), Wave(100));
  EXPECT_TRUE(ReadArbeit("Tesu.ini").ends_with("\r\n 43 \r\n"));
  EXPECT_EQ(ReadArbeit("mix-ormila.txt"), std::string("c:\\Arbeit\\Tesu42.wav") + kMixTail +
                                              "c:\\Arbeit\\Tesu43.wav" + kMixTail);
  EXPECT_EQ(dialogs.clipboard, "Tesu43.wav");
  EXPECT_EQ(window->Testlist.items(),
            (std::vector<std::string>{"",
                                      "Dateien c:\\Arbeit\\Tesu43.orc, c:\\Arbeit\\Tesu43.sco ",
                                      "und c:\\Arbeit\\Tesu43.wav geschrieben."}));
  EXPECT_EQ(KeptFiles(), (std::vector<std::string>{"Tesu42.inv", "Tesu42.rpp", "Tesu42.rsz",
                                                   "Tesu42.wav", "Tesu43.orc", "Tesu43.sco",
                                                   "Tesu43.wav", "mix-ormila.txt"}));
}

// "S" needs no run; the mix file keeps what it held and grows at its end.
TEST_F(SnapshotTest, SWorksWithoutARunAndAppendsToTheMixFile) {
  root.Write("c/Arbeit/mix-ormila.txt", std::string("d:\\Alt\\a.wav") + kMixTail);
  window->Csoundstore.Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadArbeit("Tesu42.wav"), Wave(100));
  EXPECT_EQ(ReadArbeit("mix-ormila.txt"),
            std::string("d:\\Alt\\a.wav") + kMixTail + "c:\\Arbeit\\Tesu42.wav" + kMixTail);
}

struct FreeNumberCase {
  const char* label;
  const char* counterLine;  // line 18 of the settings file; "" for a file that ends at line 17
  bool emptySampleLine;     // start-up then stops before the counter
  std::vector<std::string> existing;
  const char* expected;  // the name of the new set's wave
};

// A kept set never replaces files of an earlier one: the number is the smallest above the counter
// for which no TesuN.wav/.rsz/.inv/.rpp/.orc/.sco exists, whatever the counter says.
TEST(SnapshotNumbers, TheNextFreeNumberAboveTheCounter) {
  const FreeNumberCase cases[] = {
      {"counter not read", "5", true, {"Tesu1.wav", "Tesu1.rsz", "Tesu1.inv"}, "Tesu2.wav"},
      {"counter not read, two sets", "", true, {"Tesu1.wav", "tesu2.SCO"}, "Tesu3.wav"},
      {"files above the counter", "41", false, {"Tesu42.rpp", "TESU43.ORC"}, "Tesu44.wav"},
      {"files below the counter", "3", false, {"Tesu1.wav", "Tesu3.inv"}, "Tesu4.wav"},
      {"other files of the name", "0", false, {"Tesu1.ini", "Tesu1.txt"}, "Tesu1.wav"},
  };
  for (const bool snapshot : {true, false}) {
    for (const FreeNumberCase& c : cases) {
      SCOPED_TRACE(std::string(c.label) + (snapshot ? " (Snapshot)" : " (S)"));
      class Case : public SnapshotTest {
        void TestBody() override {}
      } t;
      for (const std::string& name : c.existing) t.root.Write("c/Arbeit/" + name, "alt " + name);
      t.Start(c.counterLine, c.emptySampleLine);
      if (c.emptySampleLine) {
        EXPECT_TRUE(t.s().SnapshotCounter.IsUnset());
      }
      t.Run();
      (snapshot ? t.window->Command4 : t.window->Csoundstore).Click();
      EXPECT_TRUE(t.Messages().empty());
      EXPECT_EQ(t.dialogs.clipboard, c.expected);
      EXPECT_EQ(t.ReadArbeit(c.expected), Wave(100));
      for (const std::string& name : c.existing)
        EXPECT_EQ(t.ReadArbeit(name), "alt " + name) << name;
    }
  }
}

struct StopCase {
  const char* label;
  std::function<void(SnapshotTest&)> spoil;
  bool snapshot;  // else "S"
  std::vector<std::string> messages;
};

// A keep that cannot be made shows why and writes nothing: no set files, no mix line, the
// counter and the settings file as they were.
TEST_F(SnapshotTest, AKeepThatCannotBeMadeWritesNothing) {
  const char* missing = "C:\\Arbeit\\Dozudava.wav existiert nicht. Nichts gespeichert.";
  const char* unfinished =
      "C:\\Arbeit\\Dozudava.wav ist noch nicht fertig geschrieben (läuft Csound noch?). Nichts "
      "gespeichert.";
  const StopCase cases[] = {
      {"no wave", [](SnapshotTest& t) { fs::remove(t.root / "c/Arbeit/Dozudava.wav"); }, true,
       {missing}},
      {"no wave, S", [](SnapshotTest& t) { fs::remove(t.root / "c/Arbeit/Dozudava.wav"); },
       false, {missing}},
      {"wave still being written",
       [](SnapshotTest& t) { t.root.Write("c/Arbeit/Dozudava.wav", Wave(100, false)); }, true,
       {unfinished}},
      {"wave still being written, S",
       [](SnapshotTest& t) { t.root.Write("c/Arbeit/Dozudava.wav", Wave(100, false)); }, false,
       {unfinished}},
      {"not a wave", [](SnapshotTest& t) { t.root.Write("c/Arbeit/Dozudava.wav", "RIFF"); },
       false, {unfinished}},
      {"last run failed",
       [](SnapshotTest& t) {
         t.window->Text[2]->SetText("Fehlt");
         t.window->Command3.Click();
         t.dialogs.messages.clear();
       },
       true,
       {"Der letzte Lauf ist nicht fehlerfrei zu Ende gegangen: kein Snapshot geschrieben."}},
      // A run that stopped on a number too large leaves its flag; one that stopped on an empty
      // setting leaves none, only the tone list unwritten.
      {"last run read a number too large",
       [](SnapshotTest& t) {
         std::string p = t.root.Read("c/Arbeit/Gleiten.rpp");
         p.replace(p.find("PT 3.25 0.5 0"), 13, "PT 3.25 1e999 0");
         t.root.Write("c/Arbeit/Gleiten.rpp", p);
         t.window->Command3.Click();
         t.dialogs.messages.clear();
         p.replace(p.find("PT 3.25 1e999 0"), 15, "PT 3.25 0.5 0");
         t.root.Write("c/Arbeit/Gleiten.rpp", p);
       },
       true,
       {"Der letzte Lauf ist nicht fehlerfrei zu Ende gegangen: kein Snapshot geschrieben."}},
      {"last run stopped on an empty setting",
       [](SnapshotTest& t) {
         const envelope::SettingValue fua = t.window->state.Fua;
         t.window->state.Fua = envelope::SettingValue::Text("");
         t.window->Command3.Click();
         t.window->state.Fua = fua;
         t.dialogs.messages.clear();
       },
       true,
       {"Der letzte Lauf ist nicht fehlerfrei zu Ende gegangen: kein Snapshot geschrieben."}},
  };
  Run();
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.label);
    root.Write("c/Arbeit/Dozudava.wav", Wave(100));
    window->Text[2]->SetText("Glissando");
    Run();
    c.spoil(*this);
    const std::string settings = ReadArbeit("Tesu.ini");
    (c.snapshot ? window->Command4 : window->Csoundstore).Click();
    EXPECT_EQ(Messages(), c.messages);
    dialogs.messages.clear();
    EXPECT_TRUE(KeptFiles().empty());
    EXPECT_EQ(s().SnapshotCounter.AsNumber(), 41);
    EXPECT_EQ(ReadArbeit("Tesu.ini"), settings);
  }
}

// A template cut short (a disk that was full at the last start) gives no whole project: "Copy"
// and "Snapshot" show one message each and write nothing: no project, no "-bak" of the older
// copy, no file of the set, no mix line, the counter and the settings as they were.
TEST_F(SnapshotTest, ACutTemplateStopsCopyAndSnapshot) {
  const std::string g1 = GoldenBytes("Grundtext1"), g3 = GoldenBytes("Grundtext3"),
                    g4 = GoldenBytes("Grundtext4");
  const struct {
    const char* name;
    std::string cut;
    const char* fault;
  } cases[] = {
      // As a full disk left it in the field: the track's volume envelope lost its opening line.
      {"Grundtext3", g3.substr(0, g3.find("    FREEMODE") + 5),
       "14 Blöcke geöffnet, 15 geschlossen"},
      {"Grundtext1", g1.substr(0, g1.find("  <MASTERPANENV2") + 30),
       "15 Blöcke geöffnet, 14 geschlossen"},
      {"Grundtext4", g4.substr(0, g4.rfind(">")), "15 Blöcke geöffnet, 14 geschlossen"},
      {"Grundtext4", "", "14 Blöcke geöffnet, 11 geschlossen"},
      {"Grundtext1", "Vorspann\r\n" + g1, "die erste Zeile öffnet keinen Block"},
      {"Grundtext4", g4 + "Nachspann\r\n", "der Projektblock endet vor der letzten Zeile"},
  };
  Run();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ": " + c.fault);
    window->WriteProjectTemplates();
    root.Write(std::string("c/Arbeit/") + c.name, c.cut);
    root.Write("c/Arbeit/Gleitenc.rpp", "bearbeitet\r\n");
    const std::string settings = ReadArbeit("Tesu.ini");
    const std::string reason = "die Vorlagen Grundtext1 bis Grundtext4 in C:\\Arbeit\\ ergeben kein "
                               "ganzes REAPER-Projekt: " + std::string(c.fault) +
                               "; beim nächsten Start schreibt Ormila sie neu";

    window->kopieren.Click();
    EXPECT_EQ(Messages(), std::vector<std::string>{"c:\\Arbeit\\Gleitenc.rpp konnte nicht "
                                                   "geschrieben werden (" + reason + ")."});
    EXPECT_EQ(ReadArbeit("Gleitenc.rpp"), "bearbeitet\r\n");
    EXPECT_FALSE(Exists("Gleitenc.rpp-bak"));
    EXPECT_EQ(window->Text[1]->text(), "Gleiten");
    dialogs.messages.clear();

    window->Command4.Click();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Das Snapshot-Projekt kann nicht geschrieben "
                                                   "werden (" + reason + "). Nichts gespeichert."});
    EXPECT_TRUE(KeptFiles().empty());
    EXPECT_EQ(s().SnapshotCounter.AsNumber(), 41);
    EXPECT_EQ(ReadArbeit("Tesu.ini"), settings);
    dialogs.messages.clear();
  }
  // The templates written whole again: both go through.
  window->WriteProjectTemplates();
  window->kopieren.Click();
  window->Text[1]->SetText("Gleiten");
  window->Command4.Click();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadArbeit("Gleitenc.rpp-bak"), "bearbeitet\r\n");
  EXPECT_TRUE(Exists("Tesu42.rpp"));
}

// A copy that fails stops the keep; what was done stays, and the mix file gets no line for a
// sound that was not copied.
TEST_F(SnapshotTest, AFailedCopyStopsTheRestAndAddsNoMixLine) {
  Run();
  fs::create_directories(root / "c/Arbeit/Tesu42.wav/besetzt");  // the copy cannot be put there
  window->Command4.Click();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0],
            "C:\\Arbeit\\Dozudava.wav konnte nicht nach c:\\Arbeit\\Tesu42.wav kopiert werden "
            "(Zugriff verweigert).");
  EXPECT_EQ(KeptFiles(), std::vector<std::string>{"Tesu42.wav"});  // the folder only
  dialogs.messages.clear();

  // "S": the orchestra and the score are kept, the sound and its mix line are not.
  fs::create_directories(root / "c/Arbeit/Tesu43.wav/besetzt");
  window->Csoundstore.Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "C:\\Arbeit\\Dozudava.wav konnte nicht nach c:\\Arbeit\\Tesu43.wav "
                            "kopiert werden (Zugriff verweigert)."});
  EXPECT_EQ(KeptFiles(),
            (std::vector<std::string>{"Tesu42.wav", "Tesu43.orc", "Tesu43.sco", "Tesu43.wav"}));
  EXPECT_TRUE(ReadArbeit("Tesu.ini").ends_with("\r\n 43 \r\n")) << "raised and saved first";
  dialogs.messages.clear();

  // A missing score stops "S" before the sound.
  fs::remove(root / "c/Arbeit/Dozudava.sco");
  window->Csoundstore.Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "C:\\Arbeit\\Dozudava.sco konnte nicht nach c:\\Arbeit\\Tesu44.sco "
                            "kopiert werden (Datei nicht gefunden)."});
  EXPECT_FALSE(Exists("Tesu44.wav"));
  EXPECT_FALSE(Exists("mix-ormila.txt"));
}

// A wave copy that fails for lack of space says so; the keep stops before the mix line.
TEST_F(SnapshotTest, AWaveCopyOnAFullDiskNamesTheCause) {
  Run();
  platform::SetWriteFaults(testing_support::FailAt(
      platform::WriteStage::Copy, (root / "c/Arbeit/Tesu42.wav").string(), ENOSPC));
  window->Command4.Click();
  platform::SetWriteFaults({});
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "C:\\Arbeit\\Dozudava.wav konnte nicht nach c:\\Arbeit\\Tesu42.wav "
                            "kopiert werden (Datenträger voll)."});
  EXPECT_TRUE(KeptFiles().empty());
}

TEST_F(SnapshotTest, TheSubmixBatchMatchesItsGoldenFile) {
  window->WriteSubmixBatch();
  const std::string batch = ReadArbeit("CDP-Plug.plc");
  ExpectGoldenBytes("CDP-Plug.plc", batch);
  EXPECT_NE(batch.find("Rem  08:15:00  10.12.2026\r\n"), std::string::npos);
  EXPECT_NE(batch.find("\r\n     C:\\cdpr7\\_cdp\\_cdprogs\\submix mix  C:\\Arbeit\\mix-ormila.txt"
                       "    c:\\arbeit\\outfile.wav   -g0.2  -a\r\n\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace envelope_test
