// The converter's writers under two faults: a target the composer made read-only, and a full disk
// met when the new file is closed (or copied), or flushed to the disk. Either way the old file
// stays as it was, nothing is left beside it, and the message names the true cause (the settings
// file alone fails silently).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "converter_fixture.h"
#include "platform/file_table.h"
#include "write_faults.h"

namespace envelope_test {
namespace {

namespace fs = std::filesystem;

struct WriterCase {
  const char* name;
  const char* target;  // the file's name in C:\Arbeit
  bool copy;           // written by a copy (else by a replacing output)
  std::function<void(ConverterTest&)> step;
  std::vector<std::string> messages;  // "%" stands for the error's text
  std::function<void(ConverterTest&)> before = {};  // more files the step needs
  friend void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }
};

const WriterCase kWriters[] = {
    {"ToneList", "Tesu.rsz", false, [](ConverterTest& t) { t.window->Command3.Click(); },
     {"Die Tonverlaufsliste C:\\Arbeit\\Tesu.rsz konnte nicht geschrieben werden (%). Die "
      "bisherige Liste bleibt, wie sie war; es wird kein Compilerprogramm gestartet."}},
    {"SettingsFileSilently", "Tesu.ini", false,
     [](ConverterTest& t) { t.window->Text[12]->SetText("2"); }, {}},
    {"StartStopFile", "Tesu2.ini", false,
     [](ConverterTest& t) { t.window->StartStoppLos.Click(); },
     {"Die Datei C:\\Arbeit\\Tesu2.ini konnte nicht geschrieben werden: %"}},
    {"CopyProject", "Gleitenc.rpp", false, [](ConverterTest& t) { t.window->kopieren.Click(); },
     {"c:\\Arbeit\\Gleitenc.rpp konnte nicht geschrieben werden (%)."}},
    {"KeptCopyProject", "Gleitenc.rpp-bak", true,
     [](ConverterTest& t) { t.window->kopieren.Click(); },
     {"c:\\Arbeit\\Gleitenc.rpp konnte nicht geschrieben werden (%)."},
     [](ConverterTest& t) { t.root.Write("c/Arbeit/Gleitenc.rpp", "bearbeitet\r\n"); }},
    {"SingleTonePlugin", "Default-Einzelton.plg", false,
     [](ConverterTest& t) { t.window->Command16.Click(); },
     {"Die Datei c:\\Arbeit\\Default-Einzelton.plg konnte nicht geschrieben werden: %"}},
    {"SustainedTonePlugin", "Default-Dauerton.plg", false,
     [](ConverterTest& t) { t.window->Command17.Click(); },
     {"Die Datei c:\\Arbeit\\Default-Dauerton.plg konnte nicht geschrieben werden: %"}},
    {"RenderBatch", "cs06b.bat", false, [](ConverterTest& t) { t.window->Csoundknopf.Click(); },
     {"Die Datei C:\\Arbeit\\cs06b.bat konnte nicht geschrieben werden: %"}},
    {"SampleCopy", "Samp100.wav", true,
     [](ConverterTest& t) {
       t.dialogs.chosenFiles = {"C:\\Arbeit\\Klang.wav"};
       t.window->Command11.Click();
     },
     {"Das Sample C:\\Arbeit\\Klang.wav konnte nicht nach c:\\Arbeit\\Samp100.wav kopiert werden: "
      "%"}},
    {"RestoredOrchestra", "Dozudava.orc", true,
     [](ConverterTest& t) {
       t.dialogs.chosenFiles = {"C:\\Arbeit\\Tesu7.orc"};
       t.window->Command15.Click();
     },
     {"Die Datei c:\\Arbeit\\Dozudava.orc konnte nicht geschrieben werden (%). Dozudava.orc und "
      "Dozudava.sco bleiben, wie sie sind."},
     [](ConverterTest& t) {
       t.root.Write("c/Arbeit/Tesu7.orc", "Tesu7 orc");
       t.root.Write("c/Arbeit/Tesu7.sco", "Tesu7 sco");
     }},
};

using testing_support::Fault;

class ProtectedFilesTest : public ConverterTest,
                           public ::testing::WithParamInterface<std::tuple<WriterCase, Fault>> {
 protected:
  ~ProtectedFilesTest() override { platform::SetWriteFaults({}); }
};

TEST_P(ProtectedFilesTest, TheOldFileStaysAndTheMessageNamesTheCause) {
  const auto& [c, fault] = GetParam();
  StartWithExample();
  ASSERT_TRUE(Messages().empty());
  const fs::path target = root / ("c/Arbeit/" + std::string(c.target));
  if (!fs::exists(target)) root.Write("c/Arbeit/" + std::string(c.target), "alt\r\n");
  if (c.before) c.before(*this);
  const std::string bytes = ReadArbeit(c.target);
  const fs::perms mode = testing_support::PutFault(fault, target, c.copy);
  starter.starts.clear();

  c.step(*this);

  const std::string cause =
      fault == Fault::ReadOnly ? "Fehler beim Zugriff auf Pfad/Datei" : "Datenträger voll";
  EXPECT_EQ(Messages(), testing_support::WithCause(c.messages, cause));
  EXPECT_EQ(ReadArbeit(c.target), bytes);
  EXPECT_EQ(fs::status(target).permissions(), mode);
  EXPECT_EQ(testing_support::BesideLeftovers(root / "c/Arbeit"), std::vector<std::string>{});
  // Only the listing that "L" starts before it asks for the files.
  EXPECT_LE(starter.starts.size(), std::string(c.name) == "RestoredOrchestra" ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Writers, ProtectedFilesTest,
    ::testing::Combine(::testing::ValuesIn(kWriters), testing_support::EveryFault()),
    testing_support::WriterFaultName<ProtectedFilesTest::ParamType>);

// "Cso1" and "Cso2" write the start/stop file up to three times in one click (the reset for a
// new project, the whole envelope's range, the run's range): a file that cannot be written is
// told once a click, and the run goes on with the range in memory.
TEST_F(ConverterTest, AStartStopFileThatCannotBeWrittenIsToldOnceAClick) {
  StartWithExample();
  window->Command3.Click();  // the file holds the run's range
  window->PRFix.Click();     // automatic points: "Cso2" then takes the whole envelope
  const std::string stored = ReadArbeit("Tesu2.ini");
  const std::filesystem::path file = root / "c/Arbeit/Tesu2.ini";
  std::filesystem::permissions(file, std::filesystem::perms(0444));
  window->state.LastRunProjectName = {};  // the next "Cso1" resets the file first
  const std::string message =
      "Die Datei C:\\Arbeit\\Tesu2.ini konnte nicht geschrieben werden: Fehler beim Zugriff auf "
      "Pfad/Datei";
  for (forms::Button* button : {&window->Command3, &window->Command3, &window->Command19}) {
    SCOPED_TRACE(button->name());
    dialogs.messages.clear();
    root.Write("c/Arbeit/Tesu.rsz", "alt\r\n");
    button->Click();
    EXPECT_EQ(Messages(), std::vector<std::string>{message});
    EXPECT_NE(ReadArbeit("Tesu.rsz"), "alt\r\n") << "the run went on";
    EXPECT_EQ(ReadArbeit("Tesu2.ini"), stored);
  }
  // Outside such a click every failure is told.
  dialogs.messages.clear();
  window->StartStoppLos.Click();
  window->StartStoppLos.Click();
  EXPECT_EQ(Messages(), (std::vector<std::string>{message, message}));
}

}  // namespace
}  // namespace envelope_test
