// The compiler window's writers under two faults: a target the composer made read-only, and a
// full disk met when the new file is closed (or copied), or flushed to the disk. Either way the
// old file stays as it was and nothing is left beside it; the message names the true cause, the
// random list fails silently, and saving a preset, which traps nothing, ends with the runtime's
// error but for a read-only preset, which it names.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/file_table.h"
#include "write_faults.h"
#include "tools_fixture.h"

namespace compiler_test {
namespace {

namespace fs = std::filesystem;

const char* const kUnchanged = "C:\\Arbeit\\Vuzov.rsz bleibt, wie sie war.";

// What a step reaches of the window's test.
struct Context {
  compiler::CompilerWindow& window;
  platform::ScriptedDialogs& dialogs;
  const platform_test::TempDriveRoot& root;
};

struct WriterCase {
  const char* name;
  const char* target;  // the file's name in C:\Arbeit
  bool copy;           // written by a copy (else by a replacing output)
  std::function<void(Context&)> step;
  std::vector<std::string> messages;  // "%" stands for the error's text
  // The step ends with the runtime error itself, but for a read-only target, which it names.
  bool untrapped = false;
  friend void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }
};

void Import(Context& t);

const WriterCase kWriters[] = {
    {"ImportedList", "Vuzov.rsz", false, Import,
     {std::string("C:\\Arbeit\\Vuzov.rsz konnte nicht geschrieben werden: %\n") + kUnchanged}},
    {"UndoCopyOfTheImportedList", "Rsz-Backup-0", true, Import,
     {std::string("Die Sicherheitskopie C:\\Arbeit\\Rsz-Backup-0 der bisherigen Liste konnte "
                  "nicht angelegt werden: %\n") +
      kUnchanged}},
    {"BackupOfTheImportedList", "Rsz-Backup-1", true,
     [](Context& t) { t.window.Command32_Click(); },
     {"C:\\Arbeit\\Vuzov.rsz konnte nicht nach C:\\Arbeit\\Rsz-Backup-1 kopiert werden: %"}},
    {"CompilerSettings", "Talvik.ini", false, Import,
     {"Die Einstellungen konnten nicht nach C:\\Arbeit\\Talvik.ini geschrieben werden: %"}},
    {"SingleTonePlugin", "Default-Einzelton.plg", false,
     [](Context& t) { t.window.Command40_Click(); },
     {"Die Datei c:\\Arbeit\\Default-Einzelton.plg konnte nicht geschrieben werden: %"}},
    {"SustainedTonePlugin", "Default-Dauerton.plg", false,
     [](Context& t) { t.window.Command41_Click(); },
     {"Die Datei c:\\Arbeit\\Default-Dauerton.plg konnte nicht geschrieben werden: %"}},
    {"RandomListSilently", "Zufall.rsz", false,
     [](Context& t) { t.window.Zufallsliste_Click(); }, {}},
    {"PresetUntrapped", "Dunkel.prs", false,
     [](Context& t) {
       t.dialogs.chosenFiles = {"C:\\Arbeit\\Dunkel.prs"};
       t.window.Command13_Click();
     },
     {"Die Datei C:\\Arbeit\\Dunkel.prs konnte nicht geschrieben werden: %"}, true},
};

// A score of two notes imported into Vuzov.rsz, beside an older list.
void Import(Context& t) {
  t.root.Write("c/Arbeit/Sample.sco", CrLf({"i01 0 2 880 10000", "i01 2 1 440 8000"}));
  t.window.Command14_Click();
}

using testing_support::Fault;

class ProtectedFilesTest : public ToolsTest,
                           public ::testing::WithParamInterface<std::tuple<WriterCase, Fault>> {
 protected:
  ~ProtectedFilesTest() override { platform::SetWriteFaults({}); }
};

TEST_P(ProtectedFilesTest, TheOldFileStaysAndTheCauseIsNamed) {
  const auto& [c, fault] = GetParam();
  WriteArbeit("Vuzov.rsz", CrLf({"ZP 0 1", "LTF 2"}));
  const fs::path target = root / ("c/Arbeit/" + std::string(c.target));
  if (!fs::exists(target)) WriteArbeit(c.target, "alt\r\n");
  const std::string bytes = ReadArbeit(c.target);
  const fs::perms mode = testing_support::PutFault(fault, target, c.copy);

  Context context{*window, dialogs, root};
  const int error = platform_test::ErrorOf([&] { c.step(context); });

  const int expectedError = fault == Fault::ReadOnly ? common::kPathFileAccessError
                                                     : common::kDiskFull;
  const bool ends = c.untrapped && fault != Fault::ReadOnly;
  EXPECT_EQ(error, ends ? expectedError : 0);
  EXPECT_EQ(Messages(),
            ends ? std::vector<std::string>{}
                 : testing_support::WithCause(c.messages, common::ErrorText(expectedError)));
  EXPECT_EQ(ReadArbeit(c.target), bytes);
  EXPECT_EQ(fs::status(target).permissions(), mode);
  EXPECT_EQ(testing_support::BesideLeftovers(root / "c/Arbeit"), std::vector<std::string>{});
  EXPECT_TRUE(starter.starts.empty()) << "nothing is opened that was not written";
}

INSTANTIATE_TEST_SUITE_P(
    Writers, ProtectedFilesTest,
    ::testing::Combine(::testing::ValuesIn(kWriters), testing_support::EveryFault()),
    testing_support::WriterFaultName<ProtectedFilesTest::ParamType>);

}  // namespace
}  // namespace compiler_test
